// Name comparison and short names.
#include "platform/win/name_rules.h"

#include <algorithm>
#include <cstdint>
#include <set>

namespace wenmoor::platform {

namespace {

// Decodes one UTF-8 sequence at `i`; answers false (and leaves `i`) for an
// invalid one, so that the caller copies the byte as it is.
bool DecodeUtf8(std::string_view s, size_t& i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  int len = 0;
  if (b0 < 0x80) {
    cp = b0;
    len = 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    cp = b0 & 0x1F;
    len = 2;
  } else if ((b0 & 0xF0) == 0xE0) {
    cp = b0 & 0x0F;
    len = 3;
  } else {
    return false;  // four-byte sequences hold no letters we fold
  }
  if (i + static_cast<size_t>(len) > s.size()) return false;
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
    if ((b & 0xC0) != 0x80) return false;
    cp = cp << 6 | (b & 0x3F);
  }
  if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800)) return false;  // overlong
  i += static_cast<size_t>(len);
  return true;
}

void EncodeUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char32_t UpperCase(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;  // Latin-1
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {  // Latin Extended-A: pairs upper/lower
    const bool odd_pairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    if (odd_pairs) return (c % 2 == 0) ? c - 1 : c;
    return (c % 2 == 1) ? c - 1 : c;
  }
  if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 0x20;  // Greek
  if (c == 0x3AC) return 0x386;                                  // Greek with tonos
  if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;                 // Cyrillic
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

bool IsShortChar(char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'()-@^_`{}~").find(c) != std::string_view::npos;
}

// The stem and extension a long name contributes to its short name.
void Mangle(std::string_view name, std::string& stem, std::string& ext) {
  std::string cleaned;
  for (char c : name)
    if (c != ' ') cleaned += c;
  const size_t first = cleaned.find_first_not_of('.');
  cleaned = first == std::string::npos ? std::string() : cleaned.substr(first);
  const size_t dot = cleaned.rfind('.');
  std::string base = dot == std::string::npos ? cleaned : cleaned.substr(0, dot);
  std::string extension = dot == std::string::npos ? std::string() : cleaned.substr(dot + 1);
  auto clean = [](std::string_view part, size_t limit) {
    std::string out;
    for (size_t i = 0; i < part.size() && out.size() < limit; ++i) {
      const char c = part[i];
      if (c == '.') continue;
      if (static_cast<unsigned char>(c) >= 0x80) {
        // One '_' per character, not per byte.
        while (i + 1 < part.size() && (static_cast<unsigned char>(part[i + 1]) & 0xC0) == 0x80) ++i;
        out += '_';
      } else if (IsShortChar(c)) {
        out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
      } else {
        out += '_';
      }
    }
    return out;
  };
  stem = clean(base, 8);
  ext = clean(extension, 3);
  if (stem.empty()) stem = "_";
}

}  // namespace

std::string FoldFileName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  size_t i = 0;
  while (i < name.size()) {
    const auto b = static_cast<unsigned char>(name[i]);
    if (b < 0x80) {  // the common case, kept fast
      out += (b >= 'a' && b <= 'z') ? static_cast<char>(b - 32) : static_cast<char>(b);
      ++i;
      continue;
    }
    char32_t cp = 0;
    if (DecodeUtf8(name, i, cp)) {
      EncodeUtf8(UpperCase(cp), out);
    } else {
      out += name[i];
      ++i;
    }
  }
  return out;
}

bool IsValidComponent(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 32) return false;
    if (std::string_view("<>:\"|?*\\/").find(c) != std::string_view::npos) return false;
  }
  return true;
}

bool IsShortName(std::string_view name) {
  if (name == "." || name == "..") return true;
  const size_t dot = name.find('.');
  const std::string_view base = name.substr(0, dot);
  const std::string_view ext = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
  if (base.empty() || base.size() > 8) return false;
  if (dot != std::string_view::npos && (ext.empty() || ext.size() > 3)) return false;
  for (char c : base)
    if (!IsShortChar(c)) return false;
  for (char c : ext)
    if (!IsShortChar(c)) return false;  // a second dot lands here
  return true;
}

std::map<std::string, std::string> AssignShortNames(const std::vector<std::string>& names) {
  std::map<std::string, std::string> result;
  std::set<std::string> taken;  // upper-case short names in use
  std::vector<std::pair<std::string, std::string>> longs;  // (upper-case name, name)
  for (const std::string& n : names) {
    if (IsShortName(n)) {
      result[n] = n;
      taken.insert(FoldFileName(n));
    } else {
      longs.emplace_back(FoldFileName(n), n);
    }
  }
  std::sort(longs.begin(), longs.end());
  for (const auto& [upper, name] : longs) {
    std::string stem, ext;
    Mangle(name, stem, ext);
    for (uint64_t n = 1;; ++n) {
      const std::string tail = "~" + std::to_string(n);
      const size_t keep = tail.size() >= 8 ? 1 : 8 - tail.size();
      std::string candidate = stem.substr(0, std::min(stem.size(), keep)) + tail;
      if (!ext.empty()) candidate += "." + ext;
      if (taken.insert(candidate).second) {
        result[name] = candidate;
        break;
      }
    }
  }
  return result;
}

}  // namespace wenmoor::platform
