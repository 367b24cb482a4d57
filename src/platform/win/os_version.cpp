// Windows version from the prefix, in Wine's order.
#include "platform/win/os_version.h"

#include <charconv>
#include <stdexcept>

#include "platform/win/machine.h"
#include "platform/win/win_error.h"
#include "platform/rtl/typeinfo.h"

namespace wenmoor::platform {

namespace {

struct NamedVersion {
  const char* name;
  OsVersionInfo info;
};

// Wine's table of version names (major, minor, build, platform, CSD, product).
const NamedVersion kVersions[] = {
    {"win20", {2, 0, 0, VER_PLATFORM_WIN32s, "Win32s 1.3", "Windows 2.0"}},
    {"win30", {3, 0, 0, VER_PLATFORM_WIN32s, "Win32s 1.3", "Windows 3.0"}},
    {"win31", {3, 10, 0, VER_PLATFORM_WIN32s, "Win32s 1.3", "Windows 3.1"}},
    {"win95", {4, 0, 950, VER_PLATFORM_WIN32_WINDOWS, "", "Microsoft Windows 95"}},
    {"win98", {4, 10, 2222, VER_PLATFORM_WIN32_WINDOWS, " A ", "Microsoft Windows 98"}},
    {"winme", {4, 90, 3000, VER_PLATFORM_WIN32_WINDOWS, " ", "Microsoft Windows Millennium Edition"}},
    {"nt351", {3, 51, 1057, VER_PLATFORM_WIN32_NT, "Service Pack 5", "Microsoft Windows NT"}},
    {"nt40", {4, 0, 1381, VER_PLATFORM_WIN32_NT, "Service Pack 6a", "Microsoft Windows NT"}},
    {"win2k", {5, 0, 2195, VER_PLATFORM_WIN32_NT, "Service Pack 4", "Microsoft Windows 2000"}},
    {"winxp", {5, 1, 2600, VER_PLATFORM_WIN32_NT, "Service Pack 3", "Microsoft Windows XP"}},
    {"winxp64", {5, 2, 3790, VER_PLATFORM_WIN32_NT, "Service Pack 2", "Microsoft Windows XP"}},
    {"win2003", {5, 2, 3790, VER_PLATFORM_WIN32_NT, "Service Pack 2", "Microsoft Windows Server 2003"}},
    {"vista", {6, 0, 6002, VER_PLATFORM_WIN32_NT, "Service Pack 2", "Windows Vista Business"}},
    {"win2008", {6, 0, 6002, VER_PLATFORM_WIN32_NT, "Service Pack 2", "Windows Server 2008"}},
    {"win7", {6, 1, 7601, VER_PLATFORM_WIN32_NT, "Service Pack 1", "Windows 7 Professional"}},
    {"win2008r2", {6, 1, 7601, VER_PLATFORM_WIN32_NT, "Service Pack 1", "Windows Server 2008 R2"}},
    {"win8", {6, 2, 9200, VER_PLATFORM_WIN32_NT, "", "Windows 8 Pro"}},
    {"win81", {6, 3, 9600, VER_PLATFORM_WIN32_NT, "", "Windows 8.1 Pro"}},
    {"win10", {10, 0, 19043, VER_PLATFORM_WIN32_NT, "", "Windows 10 Pro"}},
    {"win11", {10, 0, 22000, VER_PLATFORM_WIN32_NT, "", "Windows 10 Pro"}},
};

constexpr std::string_view kWineKey = "Software\\Wine";
constexpr std::string_view kNtKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr std::string_view kWinKey = "Software\\Microsoft\\Windows\\CurrentVersion";

std::optional<std::string> ReadString(RegistryStore& reg, RootKey root, std::string_view key, std::string_view name) {
  std::optional<RegValue> v = reg.QueryValue(root, key, name);
  if (!v) return std::nullopt;
  return v->AsString();
}

// "5.1" or "4.10.2222": up to three dot-separated numbers; nullopt unless
// at least major and minor are there.
std::optional<OsVersionInfo> ParseNumbers(std::string_view text) {
  uint32_t parts[3] = {0, 0, 0};
  int count = 0;
  const char* p = text.data();
  const char* end = text.data() + text.size();
  while (count < 3 && p < end) {
    auto [next, ec] = std::from_chars(p, end, parts[count]);
    if (ec != std::errc()) return std::nullopt;
    ++count;
    p = next;
    if (p < end && *p == '.') ++p;
    else break;
  }
  if (count < 2 || p != end) return std::nullopt;
  OsVersionInfo info;
  info.major = parts[0];
  info.minor = parts[1];
  info.build = parts[2];
  return info;
}

}  // namespace

std::optional<OsVersionInfo> VersionFromWineName(std::string_view name) {
  for (const NamedVersion& v : kVersions)
    if (SameText(name, v.name)) return v.info;
  return std::nullopt;
}

OsVersionInfo ReadOsVersion(RegistryStore& reg) {
  if (std::optional<std::string> name = ReadString(reg, RootKey::CurrentUser, kWineKey, "Version"))
    if (std::optional<OsVersionInfo> v = VersionFromWineName(*name)) return *v;

  if (std::optional<std::string> nt = ReadString(reg, RootKey::LocalMachine, kNtKey, "CurrentVersion")) {
    if (std::optional<OsVersionInfo> v = ParseNumbers(*nt)) {
      v->platform_id = VER_PLATFORM_WIN32_NT;
      if (auto build = ReadString(reg, RootKey::LocalMachine, kNtKey, "CurrentBuildNumber"))
        std::from_chars(build->data(), build->data() + build->size(), v->build);
      v->csd_version = ReadString(reg, RootKey::LocalMachine, kNtKey, "CSDVersion").value_or("");
      v->product_name = ReadString(reg, RootKey::LocalMachine, kNtKey, "ProductName").value_or("");
      return *v;
    }
  }
  if (std::optional<std::string> nine = ReadString(reg, RootKey::LocalMachine, kWinKey, "VersionNumber")) {
    if (std::optional<OsVersionInfo> v = ParseNumbers(*nine)) {
      v->platform_id = VER_PLATFORM_WIN32_WINDOWS;
      v->csd_version = ReadString(reg, RootKey::LocalMachine, kWinKey, "SubVersionNumber").value_or("");
      v->product_name = ReadString(reg, RootKey::LocalMachine, kWinKey, "ProductName").value_or("");
      return *v;
    }
  }
  return *VersionFromWineName("winxp");
}

bool GetVersionEx(OsVersionInfo& info) {
  try {
    info = ReadOsVersion(Machine::Current().Registry());
    return true;
  } catch (const std::exception&) {
    return Fail(ERROR_GEN_FAILURE);
  }
}

void SetWindowsVersion(RegistryStore& reg, std::string_view wine_name) {
  if (!VersionFromWineName(wine_name)) throw std::invalid_argument("unknown Windows version: " + std::string(wine_name));
  reg.SetValue(RootKey::CurrentUser, kWineKey, "Version", RegValue::String(wine_name));
}

}  // namespace wenmoor::platform
