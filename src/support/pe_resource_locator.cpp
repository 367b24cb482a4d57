#include "support/pe_resource_locator.h"

#include <algorithm>

#include "support/le_bytes.h"

namespace wenmoor {
namespace {

// Field offsets of the PE/COFF structures that the walk reads.
constexpr std::uint64_t kDosHeaderSize = 0x40;
constexpr std::uint64_t kDosLfanew = 0x3C;
constexpr std::uint64_t kCoffHeaderSize = 20;
constexpr std::uint64_t kCoffNumberOfSections = 2;
constexpr std::uint64_t kCoffSizeOfOptionalHeader = 16;
constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;
constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint64_t kResDirHeaderSize = 16;
constexpr std::uint64_t kResEntrySize = 8;
constexpr std::uint32_t kHighBit = 0x80000000u;

struct Section {
  std::uint32_t virtual_address;
  std::uint32_t extent;  // bytes of the section that come from the file
  std::uint32_t raw_pointer;
};

struct Headers {
  PeFormat format;
  std::uint32_t resource_rva;
  std::uint64_t section_table;
  std::uint16_t section_count;
};

std::optional<Headers> ReadHeaders(const LeBytes& file) {
  if (file.size() < kDosHeaderSize || file.U16(0) != 0x5A4D) return std::nullopt;  // "MZ"
  const auto lfanew = file.U32(kDosLfanew);
  if (!lfanew || file.U32(*lfanew) != 0x00004550u) return std::nullopt;  // "PE\0\0"
  const std::uint64_t coff = std::uint64_t{*lfanew} + 4;
  const auto section_count = file.U16(coff + kCoffNumberOfSections);
  const auto optional_size = file.U16(coff + kCoffSizeOfOptionalHeader);
  if (!section_count || !optional_size) return std::nullopt;
  const std::uint64_t optional = coff + kCoffHeaderSize;
  const auto magic = file.U16(optional);
  if (!magic) return std::nullopt;

  Headers headers{};
  std::uint64_t count_field = 0;
  std::uint64_t directories = 0;
  if (*magic == kMagicPe32) {
    headers.format = PeFormat::Pe32;
    count_field = 92;
    directories = 96;
  } else if (*magic == kMagicPe32Plus) {
    headers.format = PeFormat::Pe32Plus;
    count_field = 108;
    directories = 112;
  } else {
    return std::nullopt;
  }
  // The resource directory entry must lie inside the optional header as the
  // file declares it, and the header must declare that many entries.
  const std::uint64_t entry = directories + kResourceDirectoryIndex * 8;
  const auto count = file.U32(optional + count_field);
  if (!count || *count <= kResourceDirectoryIndex || entry + 8 > *optional_size) return std::nullopt;
  const auto rva = file.U32(optional + entry);
  const auto size = file.U32(optional + entry + 4);
  if (!rva || !size || *rva == 0 || *size == 0) return std::nullopt;

  headers.resource_rva = *rva;
  headers.section_table = optional + *optional_size;
  headers.section_count = *section_count;
  return headers;
}

std::optional<Section> ReadSection(const LeBytes& file, const Headers& headers, std::uint16_t index) {
  const std::uint64_t at = headers.section_table + std::uint64_t{index} * kSectionHeaderSize;
  const auto virtual_size = file.U32(at + 8);
  const auto virtual_address = file.U32(at + 12);
  const auto raw_size = file.U32(at + 16);
  const auto raw_pointer = file.U32(at + 20);
  if (!virtual_size || !virtual_address || !raw_size || !raw_pointer) return std::nullopt;
  // The loader maps min(VirtualSize, SizeOfRawData) bytes from the file; the
  // rest of the section is zero-filled memory that has no bytes here. Some
  // linkers leave VirtualSize 0, meaning the raw size.
  const std::uint32_t extent = *virtual_size == 0 ? *raw_size : std::min(*virtual_size, *raw_size);
  return Section{*virtual_address, extent, *raw_pointer};
}

// The bytes of the image from `rva` to the end of the file-backed part of
// its section (clipped to the file), or nullopt when no section holds `rva`.
std::optional<std::span<const std::uint8_t>> MapRva(std::span<const std::uint8_t> image,
                                                    const Headers& headers, std::uint32_t rva) {
  const LeBytes file(image);
  for (std::uint16_t i = 0; i < headers.section_count; ++i) {
    const auto section = ReadSection(file, headers, i);
    if (!section) return std::nullopt;  // the section table runs off the file
    if (rva < section->virtual_address) continue;
    const std::uint32_t into = rva - section->virtual_address;
    if (into >= section->extent) continue;
    const std::uint64_t offset = std::uint64_t{section->raw_pointer} + into;
    if (offset >= file.size()) return std::nullopt;
    const std::uint64_t length = std::min<std::uint64_t>(section->extent - into, file.size() - offset);
    return file.Slice(offset, length);
  }
  return std::nullopt;
}

struct DirEntry {
  std::uint32_t name;
  std::uint32_t target;
  bool named() const { return (name & kHighBit) != 0; }
  bool subdirectory() const { return (target & kHighBit) != 0; }
  std::uint32_t offset() const { return target & ~kHighBit; }
};

std::optional<std::uint32_t> EntryCount(const LeBytes& dir, std::uint64_t at) {
  const auto named = dir.U16(at + 12);
  const auto numbered = dir.U16(at + 14);
  if (!named || !numbered) return std::nullopt;
  return std::uint32_t{*named} + *numbered;
}

std::optional<DirEntry> ReadEntry(const LeBytes& dir, std::uint64_t at, std::uint32_t index) {
  const std::uint64_t entry = at + kResDirHeaderSize + std::uint64_t{index} * kResEntrySize;
  const auto name = dir.U32(entry);
  const auto target = dir.U32(entry + 4);
  if (!name || !target) return std::nullopt;
  return DirEntry{*name, *target};
}

// The first entry of the directory at `at`, if it has one.
std::optional<DirEntry> FirstEntry(const LeBytes& dir, std::uint64_t at) {
  const auto count = EntryCount(dir, at);
  if (!count || *count == 0) return std::nullopt;
  return ReadEntry(dir, at, 0);
}

}  // namespace

std::optional<PeResource> PeResourceLocator::FindFirst(std::span<const std::uint8_t> image,
                                                       std::uint16_t type_id) {
  const LeBytes file(image);
  const auto headers = ReadHeaders(file);
  if (!headers) return std::nullopt;
  const auto root = MapRva(image, *headers, headers->resource_rva);
  if (!root) return std::nullopt;
  // Offsets inside the resource directory count from its start. The walk has
  // exactly three levels, so a directory that points back at itself cannot
  // make it loop: it only fails the check of the level it lands on.
  const LeBytes dir(*root);

  const auto types = EntryCount(dir, 0);
  if (!types) return std::nullopt;
  std::optional<DirEntry> type;
  for (std::uint32_t i = 0; i < *types && !type; ++i) {
    const auto entry = ReadEntry(dir, 0, i);
    if (!entry) return std::nullopt;
    if (!entry->named() && entry->name == type_id) type = entry;
  }
  if (!type || !type->subdirectory()) return std::nullopt;

  const auto name = FirstEntry(dir, type->offset());
  if (!name || !name->subdirectory()) return std::nullopt;
  const auto language = FirstEntry(dir, name->offset());
  if (!language || language->subdirectory()) return std::nullopt;

  // The data entry: the resource's RVA (not a directory offset) and size.
  const auto data_rva = dir.U32(language->offset());
  const auto data_size = dir.U32(std::uint64_t{language->offset()} + 4);
  if (!data_rva || !data_size || *data_size == 0) return std::nullopt;
  const auto data = MapRva(image, *headers, *data_rva);
  if (!data || data->size() < *data_size) return std::nullopt;

  PeResource found;
  found.data = data->first(*data_size);
  found.language = language->named() ? 0 : static_cast<std::uint16_t>(language->name & 0xFFFF);
  found.format = headers->format;
  return found;
}

}  // namespace wenmoor
