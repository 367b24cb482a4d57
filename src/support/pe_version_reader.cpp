#include "support/pe_version_reader.h"

#include <algorithm>
#include <string_view>

#include "support/le_bytes.h"

namespace wenmoor {
namespace {

constexpr std::uint64_t kBlockHeaderSize = 6;
constexpr std::uint16_t kTextValue = 1;

std::uint64_t Align4(std::uint64_t offset) { return (offset + 3) & ~std::uint64_t{3}; }

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

struct Text {
  std::string utf8;
  bool terminated = false;  // a NUL was found before the end of the range
  std::uint64_t end = 0;    // offset just past the NUL (or the range)
};

// UTF-16 text from `at` up to the first NUL or `limit`, whichever is first.
Text ReadUtf16(const LeBytes& block, std::uint64_t at, std::uint64_t limit) {
  constexpr std::uint32_t kReplacement = 0xFFFD;
  Text text;
  std::uint64_t pos = at;
  while (pos + 2 <= limit) {
    const std::uint16_t unit = *block.U16(pos);
    pos += 2;
    if (unit == 0) {
      text.terminated = true;
      break;
    }
    if (unit >= 0xD800 && unit <= 0xDBFF && pos + 2 <= limit) {
      const std::uint16_t low = *block.U16(pos);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        pos += 2;
        AppendUtf8(text.utf8, 0x10000 + ((std::uint32_t{unit} - 0xD800) << 10) + (low - 0xDC00));
        continue;
      }
    }
    AppendUtf8(text.utf8, unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit);
  }
  text.end = pos;
  return text;
}

// One block of the tree. Invariant: begin + kBlockHeaderSize <= end <= the
// parent's end, and value_begin <= value_end <= children_begin <= end.
struct Block {
  std::uint64_t end = 0;
  std::uint16_t type = 0;
  std::string key;
  std::uint64_t value_begin = 0;
  std::uint64_t value_end = 0;
  std::uint64_t children_begin = 0;
};

std::optional<Block> ReadBlock(const LeBytes& bytes, std::uint64_t at, std::uint64_t limit) {
  if (at + kBlockHeaderSize > limit) return std::nullopt;
  const std::uint16_t length = *bytes.U16(at);
  const std::uint16_t value_length = *bytes.U16(at + 2);
  if (length < kBlockHeaderSize) return std::nullopt;  // also stops at zero padding
  Block block;
  // A length that overruns the parent is cut at the parent's end.
  block.end = std::min<std::uint64_t>(at + length, limit);
  block.type = *bytes.U16(at + 4);
  Text key = ReadUtf16(bytes, at + kBlockHeaderSize, block.end);
  if (!key.terminated) return std::nullopt;
  block.key = std::move(key.utf8);
  // Text values count characters; binary ones count bytes.
  const std::uint64_t value_bytes = block.type == kTextValue ? 2ull * value_length : value_length;
  block.value_begin = std::min(Align4(key.end), block.end);
  block.value_end = std::min(block.value_begin + value_bytes, block.end);
  block.children_begin = std::min(Align4(block.value_end), block.end);
  return block;
}

// Calls `visit` for each child of `parent` that can be read, in order; the
// first unreadable child ends the list. Each step advances by at least the
// header size, so the loop ends within (end - begin) / 6 steps.
template <typename Visit>
void ForEachChild(const LeBytes& bytes, const Block& parent, Visit visit) {
  std::uint64_t at = parent.children_begin;
  while (auto child = ReadBlock(bytes, at, parent.end)) {
    visit(*child);
    at = Align4(child->end);
  }
}

std::optional<FixedFileInfo> ReadFixed(const LeBytes& bytes, const Block& root) {
  if (root.value_end - root.value_begin < FixedFileInfo::kSize) return std::nullopt;
  std::uint32_t fields[FixedFileInfo::kSize / 4];
  for (std::uint64_t i = 0; i < FixedFileInfo::kSize / 4; ++i) fields[i] = *bytes.U32(root.value_begin + 4 * i);
  if (fields[0] != FixedFileInfo::kSignature) return std::nullopt;
  return FixedFileInfo{fields[0], fields[1], fields[2], fields[3], fields[4],  fields[5], fields[6],
                       fields[7], fields[8], fields[9], fields[10], fields[11], fields[12]};
}

VersionStringTable ReadStringTable(const LeBytes& bytes, const Block& table) {
  VersionStringTable result{table.key, {}};
  ForEachChild(bytes, table, [&](const Block& entry) {
    // The stored length is not trusted: tools disagree whether it counts
    // characters or bytes, with or without the NUL. The value runs to its
    // NUL, within the block, as the platform's callers read it.
    result.strings.push_back({entry.key, ReadUtf16(bytes, entry.value_begin, entry.end).utf8});
  });
  return result;
}

std::vector<VersionTranslation> ReadTranslations(const LeBytes& bytes, const Block& var) {
  std::vector<VersionTranslation> pairs;
  for (std::uint64_t at = var.value_begin; at + 4 <= var.value_end; at += 4) {
    pairs.push_back({*bytes.U16(at), *bytes.U16(at + 2)});
  }
  return pairs;
}

}  // namespace

std::optional<PeVersionInfo> PeVersionReader::Read(std::span<const std::uint8_t> image) {
  const auto resource = PeResourceLocator::FindFirst(image, PeResourceLocator::kRtVersion);
  if (!resource) return std::nullopt;
  auto info = ParseBlock(resource->data);
  if (!info) return std::nullopt;
  info->resource_language = resource->language;
  info->format = resource->format;
  return info;
}

std::optional<PeVersionInfo> PeVersionReader::ParseBlock(std::span<const std::uint8_t> data) {
  const LeBytes bytes(data);
  const auto root = ReadBlock(bytes, 0, bytes.size());
  if (!root) return std::nullopt;

  PeVersionInfo info;
  info.fixed = ReadFixed(bytes, *root);
  // As with the platform's lookup, only the first StringFileInfo and the
  // first VarFileInfo\Translation count.
  bool have_strings = false;
  bool have_vars = false;
  ForEachChild(bytes, *root, [&](const Block& child) {
    if (!have_strings && PeVersionInfo::SameName(child.key, "StringFileInfo")) {
      have_strings = true;
      ForEachChild(bytes, child, [&](const Block& table) {
        info.string_tables.push_back(ReadStringTable(bytes, table));
      });
    } else if (!have_vars && PeVersionInfo::SameName(child.key, "VarFileInfo")) {
      have_vars = true;
      ForEachChild(bytes, child, [&](const Block& var) {
        if (!info.translations && PeVersionInfo::SameName(var.key, "Translation")) {
          info.translations = ReadTranslations(bytes, var);
        }
      });
    }
  });
  return info;
}

}  // namespace wenmoor
