// System queries of the framework: the Windows version, temporary file
// names, the Windows and system directories, short path names, strings
// from a library's resources.
//
// Failures raise EAPIRoutines with the messages below; GetShortPath and
// LoadStringFromLibrary answer empty instead.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/typeinfo.h"

namespace wenmoor {

enum TOSVerType : uint8_t {
  os31win32,
  oswin95,
  oswinNT,
  oswinNT351,
  osUnidentified,
  osLinux,
  oswin2K,
  oswin98,
  oswinME,
  oswinXP,
};
WENMOOR_ENUM(TOSVerType, os31win32, oswin95, oswinNT, oswinNT351, osUnidentified, osLinux, oswin2K, oswin98,
             oswinME, oswinXP)
using OSSet = TSet<TOSVerType>;

// The NT family, for callers that branch on it.
inline constexpr OSSet NTFamily{oswinNT, oswin2K, oswinXP};

WENMOOR_EXCEPTION(EAPIRoutines, EWenmoorAbnormal);

// The running version, from GetVersionEx of the emulated machine:
//   Win32s -> os31win32; 9x minor 90 -> oswinME, other 9x -> oswin98
//   (Windows 95 included); NT major < 4 -> oswinNT351, 4 -> oswinNT,
//   5.0 -> oswin2K, 5.x -> oswinXP, above 5 -> osUnidentified.
// EAPIRoutines "Could not get information about the current version of
// Windows" when the version cannot be read.
TOSVerType GetWindowsVersion();
// The same table on its own: platform id (0 Win32s, 1 9x, 2 NT) and version.
TOSVerType WindowsVersionFromInfo(uint32_t platform_id, uint32_t major, uint32_t minor);

// A new unique name in the temporary directory (prefix "bat"); the file
// exists afterwards only when `keep` is true. EAPIRoutines "Cannot create a
// temporary file" on failure.
std::string CreateTempFileName(bool keep);

// Without trailing backslash. EAPIRoutines "Could not retrieve the system
// directroy from windows" / "Could not retrieve the windows directory from
// windows" on failure.
std::string GetSystemDir();
std::string GetWindowsDir();

// The short (8.3) form of an existing path; empty when there is none.
std::string GetShortPath(const std::string& path);

// String number `id` of the library `file`; empty when the library or the
// string is missing (native libraries carry no string resources).
std::string LoadStringFromLibrary(const std::string& file, uint32_t id);

}  // namespace wenmoor
