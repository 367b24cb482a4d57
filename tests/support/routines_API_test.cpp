// System queries: the version table, temporary names, the Windows
// directories, short paths, the file attribute set.
#include <gtest/gtest.h>

#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "platform/win/os_version.h"
#include "script/script_exceptions.h"
#include "support/routines_API.h"
#include "support/routines_FileSystem.h"
#include "support/temp_prefix.h"

namespace wenmoor {
namespace {

TEST(RoutinesApiTest, VersionTable) {
  const struct {
    uint32_t platform, major, minor;
    TOSVerType result;
  } cases[] = {
      {0, 3, 10, os31win32},     {0, 0, 0, os31win32},
      {1, 4, 0, oswin98},        // Windows 95 reports as Windows 98
      {1, 4, 10, oswin98},       {1, 4, 90, oswinME},      {1, 4, 89, oswin98},
      {2, 3, 51, oswinNT351},    {2, 0, 0, oswinNT351},    {2, 4, 0, oswinNT},
      {2, 5, 0, oswin2K},        {2, 5, 1, oswinXP},       {2, 5, 2, oswinXP},
      {2, 6, 0, osUnidentified}, {2, 10, 0, osUnidentified}, {3, 5, 1, osUnidentified},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WindowsVersionFromInfo(c.platform, c.major, c.minor), c.result)
        << c.platform << " " << c.major << "." << c.minor;
}

TEST(RoutinesApiTest, VersionOfThePrefix) {
  const struct {
    const char* wine;
    TOSVerType result;
  } cases[] = {
      {"winxp", oswinXP}, {"win95", oswin98}, {"win98", oswin98}, {"winme", oswinME}, {"nt40", oswinNT},
      {"nt351", oswinNT351}, {"win2k", oswin2K}, {"win2003", oswinXP}, {"vista", osUnidentified},
      {"win31", os31win32},
  };
  for (const auto& c : cases) {
    test::TempPrefix prefix(c.wine);
    EXPECT_EQ(GetWindowsVersion(), c.result) << c.wine;
  }
  EXPECT_TRUE(NTFamily.Contains(oswin2K));
  EXPECT_FALSE(NTFamily.Contains(oswinNT351));
  EXPECT_FALSE(NTFamily.Contains(oswinME));
}

TEST(RoutinesApiTest, DirectoriesOfWindows) {
  test::TempPrefix xp;
  EXPECT_EQ(GetWindowsDir(), "C:\\windows");
  EXPECT_EQ(GetSystemDir(), "C:\\windows\\system32");
  test::TempPrefix nine("win98");
  EXPECT_EQ(GetSystemDir(), "C:\\windows\\system");
}

TEST(RoutinesApiTest, TemporaryFileNames) {
  test::TempPrefix prefix;
  const std::string kept = CreateTempFileName(true);
  EXPECT_EQ(kept.rfind("C:\\windows\\temp\\bat", 0), 0u) << kept;
  EXPECT_TRUE(platform::FileExists(kept));
  const std::string name_only = CreateTempFileName(false);
  EXPECT_NE(name_only, kept);
  EXPECT_FALSE(platform::FileExists(name_only));

  // A temporary directory that cannot be made gives the error.
  prefix.WriteFile("C:\\blocker", "");
  platform::CurrentRegistry().SetValue(platform::RootKey::CurrentUser, "Environment", "TMP",
                             platform::RegValue::String("C:\\blocker\\temp"));
  try {
    CreateTempFileName(true);
    ADD_FAILURE() << "no exception";
  } catch (const EAPIRoutines& e) {
    EXPECT_STREQ(e.what(), "Cannot create a temporary file");
  }
}

TEST(RoutinesApiTest, ShortPathsAndLibraryStrings) {
  test::TempPrefix prefix;
  prefix.WriteFile("C:\\Program Files\\Fennick Software\\quarry.hlp", "");
  EXPECT_EQ(GetShortPath("C:\\Program Files\\Fennick Software\\quarry.hlp"), "C:\\PROGRA~1\\FENNIC~1\\quarry.hlp");
  EXPECT_EQ(GetShortPath("C:\\Program Files\\missing.hlp"), "");
  // Longer than the 401 characters the system hands over: no short form.
  std::string deep = "C:";
  while (deep.size() < 420) deep += "\\abcdefgh";
  ASSERT_TRUE(platform::ForceDirectories(deep));
  EXPECT_EQ(GetShortPath(deep), "");
  EXPECT_EQ(LoadStringFromLibrary("C:\\windows\\system32\\shell32.dll", 4162), "");
}

TEST(RoutinesFileSystemTest, AttributeSetToBits) {
  const struct {
    TWnmrFileAttributesSet set;
    uint32_t bits;
  } cases[] = {
      {{}, 0},
      {{wfaCompressed}, 0},  // no bit at all
      {{wfaArchive}, 0x20},
      {{wfaDirectory}, 0x10},
      {{wfaHidden}, 0x2},
      {{wfaNormal}, 0x80},
      {{wfaOffline}, 0x1000},
      {{wfaReadOnly}, 0x1},
      {{wfaSystem}, 0x4},
      {{wfaTemporary}, 0x100},
      {{wfaReadOnly, wfaHidden, wfaSystem, wfaArchive, wfaCompressed}, 0x27},
  };
  for (const auto& c : cases) EXPECT_EQ(AttributeBitsOf(c.set), c.bits) << c.set.Bits();
}

TEST(RoutinesFileSystemTest, SettingAndReadingAttributes) {
  test::TempPrefix prefix;
  prefix.WriteFile("C:\\a.dll", "x");
  SetFileAttributesFromSet("C:\\a.dll", {wfaReadOnly, wfaHidden});
  EXPECT_EQ(platform::GetFileAttributes("C:\\a.dll"), platform::FILE_ATTRIBUTE_READONLY | platform::FILE_ATTRIBUTE_HIDDEN);
  TWnmrFileAttributesSet read{wfaArchive};
  GetFileAttributeSet("C:\\a.dll", read);
  EXPECT_EQ(read, TWnmrFileAttributesSet{wfaReadOnly});  // only the read-only state is reported

  SetFileAttributesFromSet("C:\\a.dll", {wfaCompressed});
  EXPECT_EQ(platform::GetFileAttributes("C:\\a.dll"), platform::FILE_ATTRIBUTE_NORMAL);
  GetFileAttributeSet("C:\\a.dll", read);
  EXPECT_EQ(read, TWnmrFileAttributesSet{});

  // A file that cannot be opened without sharing leaves the set alone.
  read = {wfaSystem};
  {
    TFileStream held("C:\\a.dll", fmOpenRead | fmShareDenyNone);
    GetFileAttributeSet("C:\\a.dll", read);
  }
  GetFileAttributeSet("C:\\missing.dll", read);
  EXPECT_EQ(read, TWnmrFileAttributesSet{wfaSystem});

  try {
    SetFileAttributesFromSet("C:\\missing.dll", {wfaHidden});
    ADD_FAILURE() << "no exception";
  } catch (const IEfcSetAttributes& e) {
    EXPECT_STREQ(e.what(), "Cannot set file attributes. Error : The system cannot find the file specified.");
  }
}

TEST(RoutinesFileSystemTest, NearestExistingDirectory) {
  test::TempPrefix prefix;
  ASSERT_TRUE(platform::ForceDirectories("C:\\Existing"));
  prefix.WriteFile("C:\\Existing\\file.txt", "");
  const struct {
    const char* path;
    const char* nearest;
  } cases[] = {
      {"C:\\Existing\\Missing\\More", "C:\\Existing"},
      {"C:\\Existing", "C:\\Existing"},
      {"c:\\existing\\", "c:\\existing\\"},
      {"C:\\Existing\\file.txt\\x", "C:\\Existing"},  // a file is no directory
      {"C:\\", "C:\\"},
      {"", ""},
      {"   ", ""},
      {"nothing here", ""},
      {"Q:\\no\\drive", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(NearestExistingDirectory(c.path), c.nearest) << c.path;
}

}  // namespace
}  // namespace wenmoor
