#include "support/pe_version_info.h"

#include <algorithm>
#include <cstdio>

namespace wenmoor {
namespace {

// The non-empty components of a backslash-separated path.
std::vector<std::string_view> Components(std::string_view path) {
  std::vector<std::string_view> parts;
  while (!path.empty()) {
    const auto cut = path.find('\\');
    const auto part = path.substr(0, cut);
    if (!part.empty()) parts.push_back(part);
    if (cut == std::string_view::npos) break;
    path.remove_prefix(cut + 1);
  }
  return parts;
}

}  // namespace

std::array<std::uint16_t, 4> FixedFileInfo::Parts(std::uint32_t ms, std::uint32_t ls) {
  return {static_cast<std::uint16_t>(ms >> 16), static_cast<std::uint16_t>(ms & 0xFFFF),
          static_cast<std::uint16_t>(ls >> 16), static_cast<std::uint16_t>(ls & 0xFFFF)};
}

std::string FixedFileInfo::Dotted(const std::array<std::uint16_t, 4>& parts) {
  std::string text;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += '.';
    text += std::to_string(parts[i]);
  }
  return text;
}

std::optional<PeVersionInfo::Value> PeVersionInfo::Query(std::string_view sub_block) const {
  const auto parts = Components(sub_block);
  if (parts.empty()) {
    if (fixed) return Value{*fixed};
    return std::nullopt;
  }
  if (parts.size() == 2 && SameName(parts[0], "VarFileInfo") &&
      SameName(parts[1], "Translation")) {
    if (translations) return Value{*translations};
    return std::nullopt;
  }
  if (parts.size() == 3 && SameName(parts[0], "StringFileInfo")) {
    if (const std::string* value = FindString(parts[1], parts[2])) return Value{*value};
  }
  return std::nullopt;
}

const std::string* PeVersionInfo::FindString(std::string_view table_key, std::string_view name) const {
  for (const auto& table : string_tables) {
    if (!SameName(table.key, table_key)) continue;
    for (const auto& entry : table.strings) {
      if (SameName(entry.name, name)) return &entry.value;
    }
    // Like the platform, the first table of that key is the only one searched.
    return nullptr;
  }
  return nullptr;
}

bool PeVersionInfo::SameName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

std::string PeVersionInfo::TableKey(std::uint16_t language, std::uint16_t code_page) {
  char key[9];
  std::snprintf(key, sizeof key, "%04X%04X", static_cast<unsigned>(language),
                static_cast<unsigned>(code_page));
  return key;
}

}  // namespace wenmoor
