// Type libraries on the emulated machine: LoadTypeLib (the attributes and
// the documentation of the library itself) and RegisterTypeLib (the
// library's key below HKEY_CLASSES_ROOT\TypeLib).
//
// Format read: the "MSFT" type library that the IDL compilers write, all
// little-endian. A header of 21 32-bit fields (magic "MSFT", format
// version, offset of the library's GUID in the GUID table, LCID, LCID of
// the library, flags whose low 4 bits are the SYSKIND and whose bit 0x100
// adds one field, version (major in the low 16 bits), library flags,
// number of type infos, help string offset, help string context, help
// context, name count, name characters, name offset, help file offset, ...),
// then the optional field, one offset per type info, then 15 segment
// descriptors of 16 bytes (offset, length, two reserved): 5 is the GUID
// table (entries of a 16-byte GUID and two fields), 7 the name table
// (entries of two fields, a length field whose low byte counts the bytes,
// then the name), 8 the string table (a 16-bit length, then the text).
// Offsets of -1 mean "none". Anything else (a PE file holding a library,
// the older "SLTG" layout, a damaged file) does not load: TYPE_E_CANTLOADLIBRARY.
//
// Results are HRESULTs, 0 (S_OK) for success, as the OLE calls answer.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/rtl/exceptions.h"

namespace wenmoor::platform {

inline constexpr int32_t TYPE_E_CANTLOADLIBRARY = static_cast<int32_t>(0x80029C4A);
inline constexpr int32_t TYPE_E_REGISTRYACCESS = static_cast<int32_t>(0x8002801C);
inline constexpr int32_t STG_E_FILENOTFOUND = static_cast<int32_t>(0x80030002);

enum SysKind : uint32_t { SYS_WIN16 = 0, SYS_WIN32 = 1, SYS_MAC = 2, SYS_WIN64 = 3 };

// TLIBATTR and the library's own documentation (GetDocumentation(-1)).
struct TypeLibraryInfo {
  std::string guid;  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case
  uint32_t lcid = 0;
  uint32_t syskind = SYS_WIN32;
  uint16_t major = 0;
  uint16_t minor = 0;
  uint16_t flags = 0;  // LIBFLAG_*
  std::string name;
  std::string doc_string;
  std::string help_file;
};

// The attributes of an MSFT image; nullopt when it is none or is damaged.
// Never reads outside `image`.
std::optional<TypeLibraryInfo> ParseTypeLibrary(std::span<const uint8_t> image);

// LoadTypeLib of a file (a Windows path).
int32_t LoadTypeLib(std::string_view win_path, TypeLibraryInfo& info);

// RegisterTypeLib: below HKCR\TypeLib\<guid>\<major>.<minor> (hexadecimal)
// the default value is the doc string (the name when there is none);
// "<lcid>\win32" (or win16, win64) holds `win_path`; "FLAGS" the flags in
// decimal; "HELPDIR" `help_dir`, or the library's own directory when it is
// empty. TYPE_E_REGISTRYACCESS when the registry refuses.
int32_t RegisterTypeLib(const TypeLibraryInfo& info, std::string_view win_path, std::string_view help_dir);

}  // namespace wenmoor::platform

namespace wenmoor {

// The failure of an OLE call, with its HRESULT.
class EOleError : public Exception {
 public:
  explicit EOleError(int32_t code) : Exception("OLE error %x", static_cast<uint32_t>(code)), code_(code) {}
  int32_t ErrorCode() const { return code_; }

 private:
  int32_t code_;
};

}  // namespace wenmoor
