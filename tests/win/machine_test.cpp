// The prefix a machine is made of: layout, registry values, environment,
// and existing prefixes used as they are.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/win/machine.h"
#include "platform/win/os_version.h"
#include "platform/win/paths.h"
#include "platform/win/prefix.h"
#include "support/temp_prefix.h"

namespace fs = std::filesystem;

namespace wenmoor::platform {
namespace {

std::optional<std::string> Str(RootKey root, std::string_view key, std::string_view name) {
  std::optional<RegValue> v = CurrentRegistry().QueryValue(root, key, name);
  return v ? v->AsString() : std::nullopt;
}

TEST(PrefixTest, NewPrefixHasTheLayoutOfAnXpMachine) {
  test::TempPrefix prefix;
  const std::string user = Machine::UserName();
  for (const char* dir : {"windows/system32", "windows/system", "windows/temp", "Program Files/Common Files",
                          "users/All Users/Start Menu/Programs/Startup", "users/All Users/Desktop"}) {
    EXPECT_TRUE(fs::is_directory(prefix.DriveC() / dir)) << dir;
  }
  for (const char* dir : {"Desktop", "Start Menu/Programs/Startup", "Favorites", "Recent", "SendTo", "Cookies",
                          "Application Data", "My Documents", "Templates"}) {
    EXPECT_TRUE(fs::is_directory(prefix.DriveC() / "users" / user / dir)) << dir;
  }
  EXPECT_EQ(fs::read_symlink(prefix.Path() / "dosdevices" / "c:"), "../drive_c");
  EXPECT_EQ(fs::read_symlink(prefix.Path() / "dosdevices" / "z:"), "/");
  for (const char* hive : {"system.reg", "user.reg"}) EXPECT_TRUE(fs::exists(prefix.Path() / hive)) << hive;
}

TEST(PrefixTest, RegistryHoldsTheValuesTheSystemReads) {
  test::TempPrefix prefix;
  const std::string profile = "C:\\users\\" + Machine::UserName();
  const std::string win = "Software\\Microsoft\\Windows\\CurrentVersion";
  const std::string shell = win + "\\Explorer\\Shell Folders";
  const std::string user_shell = win + "\\Explorer\\User Shell Folders";
  EXPECT_EQ(Str(RootKey::LocalMachine, win, "ProgramFilesDir"), "C:\\Program Files");
  EXPECT_EQ(Str(RootKey::LocalMachine, win, "CommonFilesDir"), "C:\\Program Files\\Common Files");
  EXPECT_EQ(Str(RootKey::CurrentUser, shell, "Start Menu"), profile + "\\Start Menu");
  EXPECT_EQ(Str(RootKey::CurrentUser, shell, "Programs"), profile + "\\Start Menu\\Programs");
  EXPECT_EQ(Str(RootKey::CurrentUser, shell, "Startup"), profile + "\\Start Menu\\Programs\\Startup");
  EXPECT_EQ(Str(RootKey::CurrentUser, shell, "Desktop"), profile + "\\Desktop");
  EXPECT_EQ(Str(RootKey::LocalMachine, shell, "Common Programs"), "C:\\users\\All Users\\Start Menu\\Programs");
  EXPECT_EQ(Str(RootKey::LocalMachine, shell, "Common AltStartup"),
            "C:\\users\\All Users\\Start Menu\\Programs\\Startup");
  std::optional<RegValue> expand = CurrentRegistry().QueryValue(RootKey::CurrentUser, user_shell, "AppData");
  ASSERT_TRUE(expand);
  EXPECT_EQ(expand->type, REG_EXPAND_SZ);
  EXPECT_EQ(prefix.Machine().ExpandEnvironmentStrings(*expand->AsString()), profile + "\\Application Data");
  EXPECT_EQ(Str(RootKey::LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion"), "5.1");
  EXPECT_EQ(Str(RootKey::CurrentUser, "Software\\Wine", "Version"), "winxp");
  EXPECT_EQ(Str(RootKey::CurrentUser, "Environment", "TEMP"), "C:\\windows\\temp");
  // Every shell folder the prefix names is a directory of the machine.
  for (const std::string& name : CurrentRegistry().ValueNames(RootKey::CurrentUser, shell)) {
    const std::string path = *Str(RootKey::CurrentUser, shell, name);
    EXPECT_TRUE(fs::is_directory(prefix.Host(path))) << name << " = " << path;
  }
}

TEST(PrefixTest, ExistingPrefixIsLeftAsItIs) {
  test::TempPrefix scratch;
  const fs::path dir = scratch.Dir() / "wine8";
  fs::create_directories(dir / "drive_c");
  for (const char* hive : {"system.reg", "user.reg", "userdef.reg"})
    fs::copy_file(fs::path(WENMOOR_SHARED_FIXTURES) / "wine8-prefix" / hive, dir / hive);
  fs::permissions(dir / "system.reg", fs::perms::owner_write, fs::perm_options::add);
  const auto size_before = fs::file_size(dir / "system.reg");

  EXPECT_FALSE(CreatePrefix(dir));
  Machine::TestScope scope(dir);
  EXPECT_FALSE(fs::exists(dir / "dosdevices"));  // not made: C: and Z: are implied
  EXPECT_EQ(fs::file_size(dir / "system.reg"), size_before);
  // Wine 8 reports Windows 7, from the NT key (no Version value there).
  const OsVersionInfo v = ReadOsVersion(CurrentRegistry());
  EXPECT_EQ(v.major, 6u);
  EXPECT_EQ(v.minor, 1u);
  EXPECT_EQ(v.build, 7601u);
  EXPECT_EQ(Machine::Current().Paths().ToHost("C:\\windows"), dir / "drive_c" / "windows");
  EXPECT_EQ(Machine::Current().EnvironmentVariable("TEMP"), "C:\\users\\root\\Temp");
}

TEST(MachineTest, EnvironmentExpandsLikeWindows) {
  test::TempPrefix prefix;
  Machine& m = prefix.Machine();
  const struct {
    const char* in;
    std::string out;
  } cases[] = {
      {"%SystemRoot%\\system32", "C:\\windows\\system32"},
      {"%windir%", "C:\\windows"},
      {"%SYSTEMDRIVE%\\x", "C:\\x"},
      {"%USERPROFILE%", "C:\\users\\" + Machine::UserName()},
      {"%ALLUSERSPROFILE%\\Desktop", "C:\\users\\All Users\\Desktop"},
      {"%ProgramFiles%\\Qry", "C:\\Program Files\\Qry"},
      {"%TEMP%", "C:\\windows\\temp"},          // from HKCU\Environment
      {"%ComSpec%", "C:\\windows\\system32\\cmd.exe"},  // system environment, itself expanded
      {"%UNKNOWN%\\a", "%UNKNOWN%\\a"},
      {"100%", "100%"},
      {"%UNKNOWN%windir%", "%UNKNOWNC:\\windows"},
  };
  for (const auto& c : cases) EXPECT_EQ(m.ExpandEnvironmentStrings(c.in), c.out) << c.in;
}

TEST(MachineTest, SelfReferringVariableDoesNotLoop) {
  test::TempPrefix prefix;
  CurrentRegistry().SetValue(RootKey::CurrentUser, "Environment", "LOOP", RegValue::String("a%LOOP%", REG_EXPAND_SZ));
  const std::string expanded = prefix.Machine().ExpandEnvironmentStrings("%LOOP%");
  EXPECT_EQ(expanded.rfind("aaaa", 0), 0u) << expanded;
  EXPECT_LT(expanded.size(), 64u);
}

TEST(MachineTest, TestScopesNestAndRestore) {
  test::TempPrefix outer;
  const fs::path outer_prefix = Machine::Current().Prefix();
  {
    test::TempPrefix inner("win98");
    EXPECT_EQ(Machine::Current().Prefix(), inner.Path());
  }
  EXPECT_EQ(Machine::Current().Prefix(), outer_prefix);
}

TEST(MachineTest, DefaultPrefixFollowsWineprefix) {
  const char* saved = std::getenv("WINEPREFIX");
  const std::string keep = saved ? saved : "";
  setenv("WINEPREFIX", "/some/where", 1);
  EXPECT_EQ(Machine::DefaultPrefixPath(), fs::path("/some/where"));
  unsetenv("WINEPREFIX");
  EXPECT_EQ(Machine::DefaultPrefixPath().filename(), ".wine");
  if (saved) setenv("WINEPREFIX", keep.c_str(), 1);
}

}  // namespace
}  // namespace wenmoor::platform
