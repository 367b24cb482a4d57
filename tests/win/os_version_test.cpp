// The Windows version of a prefix, read in Wine's order.
#include <gtest/gtest.h>

#include "platform/win/os_version.h"
#include "support/temp_prefix.h"

namespace wenmoor::platform {
namespace {

constexpr const char* kWine = "Software\\Wine";
constexpr const char* kNt = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kWin = "Software\\Microsoft\\Windows\\CurrentVersion";

TEST(OsVersionTest, WineNamesGiveTheirVersions) {
  const struct {
    const char* name;
    uint32_t platform, major, minor, build;
  } cases[] = {
      {"win31", VER_PLATFORM_WIN32s, 3, 10, 0},          {"win95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, 950},
      {"win98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2222}, {"WINME", VER_PLATFORM_WIN32_WINDOWS, 4, 90, 3000},
      {"nt351", VER_PLATFORM_WIN32_NT, 3, 51, 1057},      {"nt40", VER_PLATFORM_WIN32_NT, 4, 0, 1381},
      {"win2k", VER_PLATFORM_WIN32_NT, 5, 0, 2195},       {"winxp", VER_PLATFORM_WIN32_NT, 5, 1, 2600},
      {"win2003", VER_PLATFORM_WIN32_NT, 5, 2, 3790},     {"vista", VER_PLATFORM_WIN32_NT, 6, 0, 6002},
      {"win7", VER_PLATFORM_WIN32_NT, 6, 1, 7601},        {"win10", VER_PLATFORM_WIN32_NT, 10, 0, 19043},
  };
  for (const auto& c : cases) {
    std::optional<OsVersionInfo> v = VersionFromWineName(c.name);
    ASSERT_TRUE(v) << c.name;
    EXPECT_EQ(std::tie(v->platform_id, v->major, v->minor, v->build), std::tie(c.platform, c.major, c.minor, c.build))
        << c.name;
  }
  EXPECT_FALSE(VersionFromWineName("win12"));
}

TEST(OsVersionTest, PrefixIsReadInWinesOrder) {
  test::TempPrefix prefix;
  RegistryStore& reg = CurrentRegistry();
  OsVersionInfo v;
  ASSERT_TRUE(GetVersionEx(v));
  EXPECT_EQ(v.major, 5u);  // a new prefix is Windows XP
  EXPECT_EQ(v.minor, 1u);
  EXPECT_EQ(v.csd_version, "Service Pack 3");

  SetWindowsVersion(reg, "win2k");
  EXPECT_EQ(ReadOsVersion(reg).minor, 0u);
  // An unknown name is skipped; the NT key speaks next.
  reg.SetValue(RootKey::CurrentUser, kWine, "Version", RegValue::String("win12"));
  reg.SetValue(RootKey::LocalMachine, kNt, "CurrentVersion", RegValue::String("4.0"));
  reg.SetValue(RootKey::LocalMachine, kNt, "CurrentBuildNumber", RegValue::String("1381"));
  v = ReadOsVersion(reg);
  EXPECT_EQ(std::tie(v.platform_id, v.major, v.minor, v.build),
            std::make_tuple(uint32_t{VER_PLATFORM_WIN32_NT}, 4u, 0u, 1381u));
  // Without an NT key: the 9x key's VersionNumber.
  reg.DeleteValue(RootKey::LocalMachine, kNt, "CurrentVersion");
  reg.SetValue(RootKey::LocalMachine, kWin, "VersionNumber", RegValue::String("4.90.3000"));
  v = ReadOsVersion(reg);
  EXPECT_EQ(std::tie(v.platform_id, v.major, v.minor, v.build),
            std::make_tuple(uint32_t{VER_PLATFORM_WIN32_WINDOWS}, 4u, 90u, 3000u));
  // A number that cannot be read, and nothing else: Windows XP.
  reg.SetValue(RootKey::LocalMachine, kWin, "VersionNumber", RegValue::String("four"));
  v = ReadOsVersion(reg);
  EXPECT_EQ(std::tie(v.major, v.minor), std::make_tuple(5u, 1u));
  EXPECT_THROW(SetWindowsVersion(reg, "win12"), std::invalid_argument);
}

}  // namespace
}  // namespace wenmoor::platform
