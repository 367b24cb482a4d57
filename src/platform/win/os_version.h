// The Windows version of the emulated machine, taken from the prefix as
// Wine takes it:
//   1. HKCU\Software\Wine, value "Version" (win95, win98, winme, nt351,
//      nt40, win2k, winxp, win2003, vista, win7, ...);
//   2. else HKLM\Software\Microsoft\Windows NT\CurrentVersion, values
//      "CurrentVersion" ("5.1"), "CurrentBuildNumber", "CSDVersion": NT;
//   3. else HKLM\Software\Microsoft\Windows\CurrentVersion, value
//      "VersionNumber" ("4.10.2222"): the 9x family;
//   4. else Windows XP.
// A name or number that cannot be parsed is skipped, as Wine skips it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win/registry_store.h"

namespace wenmoor::platform {

enum PlatformId : uint32_t {
  VER_PLATFORM_WIN32s = 0,
  VER_PLATFORM_WIN32_WINDOWS = 1,
  VER_PLATFORM_WIN32_NT = 2,
};

// What GetVersionEx reports.
struct OsVersionInfo {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  uint32_t platform_id = VER_PLATFORM_WIN32_NT;
  std::string csd_version;  // "Service Pack 3"
  std::string product_name; // "Microsoft Windows XP"

  bool IsWin9x() const { return platform_id == VER_PLATFORM_WIN32_WINDOWS; }
};

// The version of one of Wine's names ("winxp"); nullopt when unknown.
std::optional<OsVersionInfo> VersionFromWineName(std::string_view name);

// The version the prefix behind `registry` reports (steps above).
OsVersionInfo ReadOsVersion(RegistryStore& registry);

// GetVersionEx of the current machine. Registry failures are reported as
// false (and ERROR_GEN_FAILURE), as the call reports its own failures.
bool GetVersionEx(OsVersionInfo& info);

// Sets the version that the prefix reports, as winecfg does: the value
// "Version" under HKCU\Software\Wine. `wine_name` must be one of the names
// VersionFromWineName knows; std::invalid_argument otherwise.
void SetWindowsVersion(RegistryStore& registry, std::string_view wine_name);

}  // namespace wenmoor::platform
