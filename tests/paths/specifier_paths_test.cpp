// The path rules of the built-in specifiers over a fresh machine: shell
// folders per Windows family, registry defaults, the office folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/script_fixture.h"
#include "paths/cmp_TPathSpecifier.h"
#include "paths/machine_folders.h"
#include "paths/specifiers_Office.h"
#include "paths/specifiers_windows.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/machine.h"
#include "platform/win/os_version.h"
#include "platform/win/paths.h"
#include "platform/win/registry_store.h"
#include "platform/win/shell_folders.h"

namespace wenmoor {
namespace {

using platform::RegValue;
using platform::RootKey;

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* kWindowsKey = "Software\\Microsoft\\Windows\\CurrentVersion";

class SpecifierPathsTest : public testing::ScriptFixture {
 protected:
  SpecifierPathsTest() { CreateStandardSpecifiers(form(), true); }

  static platform::RegistryStore& Reg() { return platform::CurrentRegistry(); }
  static void SetString(RootKey root, const std::string& key, const std::string& name, const std::string& value) {
    ASSERT_TRUE(Reg().SetValue(root, key, name, RegValue::String(value)));
  }
  static void SetVersion(const std::string& wine_name) { platform::SetWindowsVersion(Reg(), wine_name); }

  std::string PathOf(const TClassInfo& cls) {
    TCustomPathSpecifier* s = StandardPathSpecifiers().FindSpecifier(cls);
    EXPECT_EQ(s->Owner(), form()) << cls.Name();
    return s->Path(nullptr);
  }

  // "%U" is the user's profile, "%A" the all-users profile.
  static std::string Expand(std::string pattern) {
    const std::string user = "C:\\users\\" + platform::Machine::UserName();
    for (size_t at; (at = pattern.find("%U")) != std::string::npos;) pattern.replace(at, 2, user);
    for (size_t at; (at = pattern.find("%A")) != std::string::npos;) pattern.replace(at, 2, "C:\\users\\All Users");
    return pattern;
  }
};

struct ShellCase {
  const char* version;
  const TClassInfo* cls;
  const char* expected;
};

TEST_F(SpecifierPathsTest, ShellFolderSpecifiersFollowTheWindowsFamily) {
  const ShellCase cases[] = {
      // 9x family: no per-user shell folders for some, the user's own for the common ones.
      {"win98", &TpsRecent::StaticClass(), "undefined"},
      {"win98", &TpsSendTo::StaticClass(), ""},
      {"win98", &TpsPrinters::StaticClass(), "undefined"},
      {"win98", &TpsFavorites::StaticClass(), "undefined"},
      {"win98", &TpsStartup::StaticClass(), ""},
      {"win98", &TpsCookies::StaticClass(), ""},
      {"win98", &TpsCommonDesktopDirectory::StaticClass(), "%U\\Desktop"},
      {"win98", &TpsCommonStartup::StaticClass(), "%U\\Start Menu\\Programs\\Startup"},
      {"win98", &TpsCommonAltStartup::StaticClass(), "%U\\Start Menu\\Programs\\Startup"},
      {"win98", &TpsCommonFavorites::StaticClass(), "%U\\Favorites"},
      {"win98", &TpsCommonPrograms::StaticClass(), "%U\\Start Menu\\Programs"},
      {"win98", &TpsCommonStartMenu::StaticClass(), "%U\\Start Menu"},
      {"winme", &TpsRecent::StaticClass(), "undefined"},
      // NT family: the shell's folders; virtual folders have no path.
      {"win2k", &TpsRecent::StaticClass(), "%U\\Recent"},
      {"win2k", &TpsSendTo::StaticClass(), "%U\\SendTo"},
      {"win2k", &TpsPrinters::StaticClass(), ""},
      {"win2k", &TpsControlPanel::StaticClass(), ""},
      {"win2k", &TpsBitBucket::StaticClass(), ""},
      {"win2k", &TpsFavorites::StaticClass(), "%U\\Favorites"},
      {"win2k", &TpsStartup::StaticClass(), "%U\\Start Menu\\Programs\\Startup"},
      {"win2k", &TpsCookies::StaticClass(), "%U\\Cookies"},
      {"win2k", &TpsCommonDesktopDirectory::StaticClass(), "%A\\Desktop"},
      {"win2k", &TpsCommonStartup::StaticClass(), "%A\\Start Menu\\Programs\\Startup"},
      {"win2k", &TpsCommonAltStartup::StaticClass(), "%A\\Start Menu\\Programs\\Startup"},
      {"win2k", &TpsCommonFavorites::StaticClass(), "%A\\Favorites"},
      {"win2k", &TpsCommonPrograms::StaticClass(), "%A\\Start Menu\\Programs"},
      {"win2k", &TpsCommonStartMenu::StaticClass(), "%A\\Start Menu"},
      {"nt40", &TpsCommonStartup::StaticClass(), "%A\\Start Menu\\Programs\\Startup"},
      // Windows XP gets the all-users startup folder like the rest of its family.
      {"winxp", &TpsCommonStartup::StaticClass(), "%A\\Start Menu\\Programs\\Startup"},
      {"winxp", &TpsCommonDesktopDirectory::StaticClass(), "%A\\Desktop"},
      // Versions past XP are unknown to the rules.
      {"vista", &TpsCommonDesktopDirectory::StaticClass(), "undefined"},
      {"vista", &TpsRecent::StaticClass(), "undefined"},
      {"vista", &TpsSendTo::StaticClass(), ""},
      {"vista", &TpsCommonStartup::StaticClass(), ""},
  };
  for (const ShellCase& c : cases) {
    SetVersion(c.version);
    EXPECT_EQ(PathOf(*c.cls), Expand(c.expected)) << c.version << " " << c.cls->Name();
  }
}

TEST_F(SpecifierPathsTest, QuickLaunchIsBelowApplicationDataOrUndefined) {
  for (const char* version : {"win98", "win2k", "winxp", "vista"}) {
    SetVersion(version);
    EXPECT_EQ(PathOf(TpsQuickLaunchMenu::StaticClass()),
              Expand("%U\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch"))
        << version;
  }
  // A trailing backslash of the folder is not doubled.
  SetString(RootKey::CurrentUser, kShellFolders, "AppData", "C:\\data\\");
  EXPECT_EQ(PathOf(TpsQuickLaunchMenu::StaticClass()), "C:\\data\\Microsoft\\Internet Explorer\\Quick Launch");
  Reg().DeleteValue(RootKey::CurrentUser, kShellFolders, "AppData");
  Reg().DeleteValue(RootKey::CurrentUser, kUserShellFolders, "AppData");
  EXPECT_EQ(PathOf(TpsQuickLaunchMenu::StaticClass()), "undefined");
}

TEST(ShellFoldersTest, SpecialFolderPathOnlyForFoldersOnDisk) {
  const std::filesystem::path dir = testing::MakeTempDir();
  {
    platform::Machine::TestScope scope(dir / "prefix");
    const std::string user = "C:\\users\\" + platform::Machine::UserName();
    EXPECT_EQ(platform::SHGetSpecialFolderPath(platform::CSIDL_PERSONAL), user + "\\My Documents");
    // The create flag in the high byte does not change the folder.
    EXPECT_EQ(platform::SHGetSpecialFolderPath(platform::CSIDL_APPDATA | 0x8000), user + "\\Application Data");
    EXPECT_EQ(platform::SHGetSpecialFolderPath(platform::CSIDL_COMMON_APPDATA),
              "C:\\users\\All Users\\Application Data");
    for (int csidl : {platform::CSIDL_CONTROLS, platform::CSIDL_PRINTERS, platform::CSIDL_BITBUCKET, 0x7f, -1})
      EXPECT_EQ(platform::SHGetSpecialFolderPath(csidl), "") << csidl;
    // Without the expanded value the shell takes the unexpanded one.
    platform::CurrentRegistry().DeleteValue(RootKey::CurrentUser, kShellFolders, "Cookies");
    EXPECT_EQ(platform::SHGetSpecialFolderPath(platform::CSIDL_COOKIES), user + "\\Cookies");
    platform::CurrentRegistry().DeleteValue(RootKey::CurrentUser, kUserShellFolders, "Cookies");
    EXPECT_EQ(platform::SHGetSpecialFolderPath(platform::CSIDL_COOKIES), "");
  }
  std::filesystem::remove_all(dir);
}

TEST_F(SpecifierPathsTest, WindowsDirectoriesAndShellFolderDefaults) {
  EXPECT_EQ(PathOf(TpsWindow::StaticClass()), "C:\\windows");
  EXPECT_EQ(PathOf(TpsSystem::StaticClass()), "C:\\windows\\system32");
  EXPECT_EQ(PathOf(TpsStartMenu::StaticClass()), Expand("%U\\Start Menu"));
  EXPECT_EQ(PathOf(TpsProgramMenu::StaticClass()), Expand("%U\\Start Menu\\Programs"));
  EXPECT_EQ(PathOf(TpsDesktopMenu::StaticClass()), Expand("%U\\Desktop"));
  EXPECT_EQ(PathOf(TpsStartupMenu::StaticClass()), Expand("%U\\Start Menu\\Programs\\Startup"));
  EXPECT_EQ(PathOf(TpsOfficeFavoritesDirectory::StaticClass()), Expand("%U\\Favorites"));

  // Stored values lose a trailing backslash.
  SetString(RootKey::CurrentUser, kShellFolders, "Desktop", "C:\\Desk\\");
  EXPECT_EQ(PathOf(TpsDesktopMenu::StaticClass()), "C:\\Desk");

  // Missing values give the defaults below the Windows directory.
  for (const char* name : {"Start Menu", "Programs", "Desktop", "Startup", "Favorites"})
    Reg().DeleteValue(RootKey::CurrentUser, kShellFolders, name);
  EXPECT_EQ(PathOf(TpsStartMenu::StaticClass()), "C:\\windows\\Startmen");
  EXPECT_EQ(PathOf(TpsProgramMenu::StaticClass()), "C:\\windows\\Startmen\\Programs");
  EXPECT_EQ(PathOf(TpsDesktopMenu::StaticClass()), "C:\\windows\\Desktop");
  EXPECT_EQ(PathOf(TpsStartupMenu::StaticClass()), "C:\\windows\\Startup");
  EXPECT_EQ(PathOf(TpsOfficeFavoritesDirectory::StaticClass()), "C:\\windows\\Favorites");

  // An empty stored value is kept: the default applies only to a missing one.
  SetString(RootKey::CurrentUser, kShellFolders, "Start Menu", "");
  EXPECT_EQ(PathOf(TpsStartMenu::StaticClass()), "");
  EXPECT_EQ(PathOf(TpsProgramMenu::StaticClass()), "Programs");
}

TEST_F(SpecifierPathsTest, BdeDllPathTakesTheFirstDirectory) {
  const char* key = "Software\\Borland\\Database Engine";
  const struct {
    const char* stored;  // nullptr: no value
    const char* expected;
  } cases[] = {
      {nullptr, "C:\\Program Files\\Borland\\Common Files\\BDE"},
      {"", "C:\\Program Files\\Borland\\Common Files\\BDE"},
      {"C:\\BDE", "C:\\BDE"},
      {"C:\\BDE;D:\\Other", "C:\\BDE"},
      {"C:\\BDE\\;D:\\Other;E:\\Third", "C:\\BDE\\"},
      {";D:\\Other", ""},
  };
  for (const auto& c : cases) {
    if (c.stored)
      SetString(RootKey::LocalMachine, key, "DLLPath", c.stored);
    else
      Reg().DeleteValue(RootKey::LocalMachine, key, "DLLPath");
    EXPECT_EQ(PathOf(TpsBDEDLL::StaticClass()), c.expected) << (c.stored ? c.stored : "(missing)");
  }
}

TEST_F(SpecifierPathsTest, ProgramFilesDefaultToTheCurrentDrive) {
  EXPECT_EQ(PathOf(TpsProgramFiles::StaticClass()), "C:\\Program Files");
  EXPECT_EQ(PathOf(TpsCommonFiles::StaticClass()), "C:\\Program Files\\Common Files");
  SetString(RootKey::LocalMachine, kWindowsKey, "ProgramFilesDir", "E:\\Apps");
  EXPECT_EQ(PathOf(TpsProgramFiles::StaticClass()), "E:\\Apps");
  EXPECT_EQ(PathOf(TpsBDEDLL::StaticClass()), "E:\\Apps\\Borland\\Common Files\\BDE");

  Reg().DeleteValue(RootKey::LocalMachine, kWindowsKey, "ProgramFilesDir");
  Reg().DeleteValue(RootKey::LocalMachine, kWindowsKey, "CommonFilesDir");
  platform::PathMap& paths = platform::Machine::Current().Paths();
  const std::string drive = ExtractFileDrive(paths.CurrentDirectory());
  ASSERT_EQ(drive.size(), 2u);
  EXPECT_EQ(PathOf(TpsProgramFiles::StaticClass()), drive + "\\Program Files");
  EXPECT_EQ(PathOf(TpsCommonFiles::StaticClass()), drive + "\\Program Files\\Common Files");

  // Moved to the other drive, the default follows.
  const std::filesystem::path saved = std::filesystem::current_path();
  const std::string other = drive == "C:" ? "Z:\\" : "C:\\windows";
  ASSERT_TRUE(paths.SetCurrentDirectory(other));
  const std::string other_files = PathOf(TpsProgramFiles::StaticClass());
  std::filesystem::current_path(saved);
  EXPECT_EQ(other_files, other.substr(0, 2) + "\\Program Files");
}

class OfficePathsTest : public SpecifierPathsTest {
 protected:
  // Registers Word.Document.<n> (CurVer `cur_ver`), with a server program
  // that exists when `server_exists`.
  void RegisterWord(const std::string& cur_ver, bool server_exists) {
    SetString(RootKey::ClassesRoot, "Word.Document\\CurVer", "", cur_ver);
    const std::filesystem::path host = dir() / "prefix" / "drive_c" / "Program Files" / "winword.exe";
    if (server_exists) std::ofstream(host) << "MZ";
    SetString(RootKey::ClassesRoot, cur_ver + "\\protocol\\StdFileEditing\\server", "",
              "C:\\Program Files\\winword.exe");
  }
  // Fills the FileNew and Word option values below `base`.
  void StoreOfficeKeys(const std::string& base) {
    SetString(RootKey::CurrentUser, base + "\\Common\\FileNew\\LocalTemplates", "", "C:\\Tpl\\");
    SetString(RootKey::CurrentUser, base + "\\Common\\FileNew\\SharedTemplates", "", "C:\\Shared");
    SetString(RootKey::CurrentUser, base + "\\Word\\Options", "PICTURE-PATH", "C:\\Clip");
    SetString(RootKey::CurrentUser, base + "\\Word\\Options", "STARTUP-PATH", "C:\\Start");
    SetString(RootKey::CurrentUser, base + "\\Word\\Options", "TOOLS-PATH", "C:\\Tools");
  }
  void ExpectDefaults(const std::string& what) {
    EXPECT_EQ(PathOf(TpsOfficeUserTemplates::StaticClass()), "C:\\Program Files\\Microsoft Office\\Templates")
        << what;
    EXPECT_EQ(PathOf(TpsOfficeWorkgroupTemplates::StaticClass()), "C:\\Program Files\\Microsoft Office\\Templates")
        << what;
    EXPECT_EQ(PathOf(TpsOfficeClipartDirectory::StaticClass()), "C:\\Program Files\\Microsoft Office\\Clipart")
        << what;
    EXPECT_EQ(PathOf(TpsOfficeStartupDirectory::StaticClass()),
              "C:\\Program Files\\Microsoft Office\\Office\\Startup")
        << what;
    EXPECT_EQ(PathOf(TpsOfficeToolsDirectory::StaticClass()), "C:\\Program Files\\Microsoft Office\\Office") << what;
  }
  void ExpectStored(const std::string& what) {
    EXPECT_EQ(PathOf(TpsOfficeUserTemplates::StaticClass()), "C:\\Tpl") << what;
    EXPECT_EQ(PathOf(TpsOfficeWorkgroupTemplates::StaticClass()), "C:\\Shared") << what;
    EXPECT_EQ(PathOf(TpsOfficeClipartDirectory::StaticClass()), "C:\\Clip") << what;
    EXPECT_EQ(PathOf(TpsOfficeStartupDirectory::StaticClass()), "C:\\Start") << what;
    EXPECT_EQ(PathOf(TpsOfficeToolsDirectory::StaticClass()), "C:\\Tools") << what;
  }
};

TEST_F(OfficePathsTest, WithoutWordEverythingIsUnderProgramFiles) {
  StoreOfficeKeys("Software\\Microsoft\\Office\\8.0");
  EXPECT_EQ(GetOfficeVersion(), -1);
  ExpectDefaults("no CurVer");
  EXPECT_EQ(PathOf(TpsOfficeFavoritesDirectory::StaticClass()), Expand("%U\\Favorites"));
}

TEST_F(OfficePathsTest, VersionPicksTheKeysThatAreRead) {
  const struct {
    const char* cur_ver;
    bool server_exists;
    int version;
    const char* keys;  // where the stored values are found; nullptr: defaults apply
  } cases[] = {
      {"Word.Document.8", true, 8, "Software\\Microsoft\\Office\\8.0"},
      {"Word.Document.7", true, 7, "Software\\Microsoft\\Office\\7.0"},
      {"Word.Document.9", true, 9, "Software\\Policies\\Microsoft\\Office\\9.0"},
      {"Word.Document.19", true, 19, "Software\\Policies\\Microsoft\\Office\\19.0"},
      {"Word.Document.8", false, -1, nullptr},  // server program missing
      {"Word.Document.20", true, 20, nullptr},  // beyond the known suites
      {"Word.Document.6", true, 6, nullptr},
      {"Word.Document", true, -1, nullptr},  // only one "."
      {"Word.Document.x", true, -1, nullptr},
  };
  for (const auto& c : cases) {
    Reg().DeleteTree(RootKey::CurrentUser, "Software\\Microsoft\\Office");
    Reg().DeleteTree(RootKey::CurrentUser, "Software\\Policies");
    std::filesystem::remove(dir() / "prefix" / "drive_c" / "Program Files" / "winword.exe");
    RegisterWord(c.cur_ver, c.server_exists);
    // Values for the other branch must not be taken.
    StoreOfficeKeys(c.keys ? c.keys : "Software\\Microsoft\\Office\\8.0");
    if (c.keys && std::string(c.keys).find("Policies") != std::string::npos) {
      SetString(RootKey::CurrentUser, "Software\\Microsoft\\Office\\9.0\\Word\\Options", "TOOLS-PATH", "C:\\Wrong");
    }
    const std::string what = std::string(c.cur_ver) + (c.server_exists ? "" : " (no server)");
    EXPECT_EQ(GetOfficeVersion(), c.version) << what;
    if (c.keys)
      ExpectStored(what);
    else
      ExpectDefaults(what);
  }
}

TEST_F(OfficePathsTest, WorkgroupTemplatesFallBackToUserTemplates) {
  RegisterWord("Word.Document.8", true);
  SetString(RootKey::CurrentUser, "Software\\Microsoft\\Office\\8.0\\Common\\FileNew\\LocalTemplates", "",
            "C:\\Mine");
  EXPECT_EQ(PathOf(TpsOfficeWorkgroupTemplates::StaticClass()), "C:\\Mine");
  // Missing options of a registered suite give the defaults under Program files.
  EXPECT_EQ(PathOf(TpsOfficeToolsDirectory::StaticClass()), "C:\\Program Files\\Microsoft Office\\Office");
}

}  // namespace
}  // namespace wenmoor
