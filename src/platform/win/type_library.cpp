#include "platform/win/type_library.h"

#include <cstdio>
#include <vector>

#include "platform/rtl/sysutils.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "platform/win/registry.h"

namespace wenmoor::platform {
namespace {

constexpr uint32_t kMagic = 0x5446534D;  // "MSFT"
constexpr size_t kHeaderFields = 21;
constexpr size_t kSegments = 15;
constexpr size_t kGuidSegment = 5;
constexpr size_t kNameSegment = 7;
constexpr size_t kStringSegment = 8;
constexpr uint32_t kHelpDllFlag = 0x100;
// Larger files are refused unread: no type library comes near this.
constexpr int64_t kMaxImageSize = int64_t{64} << 20;

// Bounds-checked little-endian reads of the image.
class Bytes {
 public:
  explicit Bytes(std::span<const uint8_t> b) : b_(b) {}
  std::optional<uint32_t> U32(size_t at) const {
    if (at > b_.size() || b_.size() - at < 4) return std::nullopt;
    return b_[at] | b_[at + 1] << 8 | b_[at + 2] << 16 | static_cast<uint32_t>(b_[at + 3]) << 24;
  }
  std::optional<uint16_t> U16(size_t at) const {
    if (at > b_.size() || b_.size() - at < 2) return std::nullopt;
    return static_cast<uint16_t>(b_[at] | b_[at + 1] << 8);
  }
  std::optional<std::string> Text(size_t at, size_t length) const {
    if (at > b_.size() || b_.size() - at < length) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(b_.data() + at), length);
  }

 private:
  std::span<const uint8_t> b_;
};

struct Segment {
  uint32_t offset = 0;
  uint32_t length = 0;
  // The absolute position of an entry at `relative` that needs `size`
  // bytes inside the segment; nullopt when it does not fit.
  std::optional<size_t> At(uint32_t relative, size_t size) const {
    if (relative >= length || length - relative < size) return std::nullopt;
    return size_t{offset} + relative;
  }
};

std::string GuidText(const Bytes& b, size_t at) {
  const uint32_t d1 = *b.U32(at);
  const uint16_t d2 = *b.U16(at + 4), d3 = *b.U16(at + 6);
  const std::string d4 = *b.Text(at + 8, 8);
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", d1, d2, d3,
                static_cast<uint8_t>(d4[0]), static_cast<uint8_t>(d4[1]), static_cast<uint8_t>(d4[2]),
                static_cast<uint8_t>(d4[3]), static_cast<uint8_t>(d4[4]), static_cast<uint8_t>(d4[5]),
                static_cast<uint8_t>(d4[6]), static_cast<uint8_t>(d4[7]));
  return text;
}

// A string of the string table; empty for "none" (-1); nullopt when damaged.
std::optional<std::string> StringAt(const Bytes& b, const Segment& strings, uint32_t offset) {
  if (offset == 0xFFFFFFFF) return std::string();
  const auto at = strings.At(offset, 2);
  if (!at) return std::nullopt;
  const uint16_t length = *b.U16(*at);
  if (!strings.At(offset, size_t{2} + length)) return std::nullopt;
  return b.Text(*at + 2, length);
}

std::optional<std::string> NameAt(const Bytes& b, const Segment& names, uint32_t offset) {
  if (offset == 0xFFFFFFFF) return std::string();
  const auto at = names.At(offset, 12);
  if (!at) return std::nullopt;
  const size_t length = *b.U32(*at + 8) & 0xFF;
  if (!names.At(offset, 12 + length)) return std::nullopt;
  return b.Text(*at + 12, length);
}

const char* SysKindKey(uint32_t syskind) {
  switch (syskind) {
    case SYS_WIN16: return "win16";
    case SYS_WIN64: return "win64";
    case SYS_MAC: return "mac";
    default: return "win32";
  }
}

std::string Hex(uint32_t v) {
  char text[12];
  std::snprintf(text, sizeof text, "%x", v);
  return text;
}

}  // namespace

std::optional<TypeLibraryInfo> ParseTypeLibrary(std::span<const uint8_t> image) {
  const Bytes b(image);
  uint32_t header[kHeaderFields];
  for (size_t i = 0; i < kHeaderFields; ++i) {
    const auto v = b.U32(i * 4);
    if (!v) return std::nullopt;
    header[i] = *v;
  }
  if (header[0] != kMagic) return std::nullopt;
  const uint32_t varflags = header[5], type_infos = header[8];
  // The segment directory follows the optional field and the type info offsets.
  const uint64_t directory = kHeaderFields * 4 + ((varflags & kHelpDllFlag) ? 4 : 0) + uint64_t{type_infos} * 4;
  if (directory > image.size()) return std::nullopt;
  Segment segments[kSegments];
  for (size_t i = 0; i < kSegments; ++i) {
    const auto offset = b.U32(static_cast<size_t>(directory) + i * 16);
    const auto length = b.U32(static_cast<size_t>(directory) + i * 16 + 4);
    if (!offset || !length) return std::nullopt;
    if (*offset == 0xFFFFFFFF) continue;  // an absent segment
    if (*offset > image.size() || image.size() - *offset < *length) return std::nullopt;
    segments[i] = {*offset, *length};
  }

  TypeLibraryInfo info;
  const auto guid_at = segments[kGuidSegment].At(header[2], 16);
  if (!guid_at) return std::nullopt;  // a library without its GUID cannot be registered
  info.guid = GuidText(b, *guid_at);
  info.lcid = header[4];
  info.syskind = varflags & 0xF;
  info.major = static_cast<uint16_t>(header[6] & 0xFFFF);
  info.minor = static_cast<uint16_t>(header[6] >> 16);
  info.flags = static_cast<uint16_t>(header[7] & 0xFFFF);
  const auto name = NameAt(b, segments[kNameSegment], header[14]);
  const auto doc = StringAt(b, segments[kStringSegment], header[9]);
  const auto help = StringAt(b, segments[kStringSegment], header[15]);
  if (!name || !doc || !help) return std::nullopt;
  info.name = *name;
  info.doc_string = *doc;
  info.help_file = *help;
  return info;
}

int32_t LoadTypeLib(std::string_view win_path, TypeLibraryInfo& info) {
  if (!FileExists(win_path)) return STG_E_FILENOTFOUND;
  std::vector<uint8_t> bytes;
  try {
    TFileStream in(win_path, fmOpenRead | fmShareDenyWrite);
    const int64_t size = in.Size();
    if (size > kMaxImageSize) return TYPE_E_CANTLOADLIBRARY;
    bytes.resize(static_cast<size_t>(size));
    in.ReadBuffer(bytes.data(), size);
  } catch (const Exception&) {
    return TYPE_E_CANTLOADLIBRARY;
  }
  std::optional<TypeLibraryInfo> parsed = ParseTypeLibrary(bytes);
  if (!parsed) return TYPE_E_CANTLOADLIBRARY;
  info = std::move(*parsed);
  return 0;
}

int32_t RegisterTypeLib(const TypeLibraryInfo& info, std::string_view win_path, std::string_view help_dir) {
  const std::string version_key =
      "\\TypeLib\\" + info.guid + "\\" + Hex(info.major) + "." + Hex(info.minor);
  const std::string dir = help_dir.empty() ? ExtractFileDir(win_path) : std::string(help_dir);
  try {
    TRegistry registry;
    registry.SetRootKey(HKEY_CLASSES_ROOT);
    if (!registry.OpenKey(version_key, true)) return TYPE_E_REGISTRYACCESS;
    registry.WriteString("", info.doc_string.empty() ? info.name : info.doc_string);
    if (!registry.OpenKey(version_key + "\\" + Hex(info.lcid) + "\\" + SysKindKey(info.syskind), true))
      return TYPE_E_REGISTRYACCESS;
    registry.WriteString("", std::string(win_path));
    if (!registry.OpenKey(version_key + "\\FLAGS", true)) return TYPE_E_REGISTRYACCESS;
    registry.WriteString("", IntToStr(info.flags));
    if (!registry.OpenKey(version_key + "\\HELPDIR", true)) return TYPE_E_REGISTRYACCESS;
    registry.WriteString("", dir);
  } catch (const Exception&) {
    return TYPE_E_REGISTRYACCESS;
  }
  return 0;
}

}  // namespace wenmoor::platform
