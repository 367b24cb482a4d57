// The package installer over a fresh machine: IDE detection, the component
// palette, known packages, the library search path and the help contents.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/VCLInstall.h"
#include "app/demo_prefix.h"
#include "platform/win/files.h"
#include "platform/win/registry.h"
#include "support/temp_prefix.h"

namespace quarry {
namespace {

using wenmoor::TRegistry;
using Lines = std::vector<std::string>;

const Lines kClasses{"TQryDatabase", "TQryTable", "TQryQuery"};

// The user's value, or "<missing>".
std::string UserValue(const std::string& key, const std::string& name) {
  TRegistry r(wenmoor::KEY_READ);
  r.SetRootKey(wenmoor::HKEY_CURRENT_USER);
  if (!r.OpenKeyReadOnly(key) || !r.ValueExists(name)) return "<missing>";
  return r.ReadString(name);
}

void SetUserValue(const std::string& key, const std::string& name, const std::string& value) {
  TRegistry r;
  r.SetRootKey(wenmoor::HKEY_CURRENT_USER);
  ASSERT_TRUE(r.OpenKey(key, true));
  r.WriteString(name, value);
}

Lines UserValueNames(const std::string& key) {
  TRegistry r(wenmoor::KEY_READ);
  r.SetRootKey(wenmoor::HKEY_CURRENT_USER);
  if (!r.OpenKeyReadOnly(key)) return {};
  return r.ValueNames();
}

bool Contains(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class PackageInstallerTest : public ::testing::Test {
 protected:
  // Delphi 4 registered, the log empty.
  void InstallDelphi4() {
    RegisterDemoIde(ideDelphi4, kRoot);
    log_.Clear();
  }
  static constexpr const char* kRoot = "C:\\Program Files\\Borland\\Delphi4";
  wenmoor::test::TempPrefix prefix_;
  TInstallLog log_;
};

TEST_F(PackageInstallerTest, NoIdeInstalledFindsNothingAndLogsOnlyTheSearch) {
  TPackageInstaller installer(log_);
  for (int ide = 0; ide < kIdeCount; ++ide) EXPECT_FALSE(installer.GetInstallInfo(ide).Found) << ide;
  EXPECT_FALSE(installer.GetInstallInfo(-1).Found);
  EXPECT_FALSE(installer.GetInstallInfo(kIdeCount).Found);
  EXPECT_EQ(log_.Lines(), (Lines{"Starting find products", "Looking for: \\software\\Borland\\C++Builder\\6.0",
                                 "Finished finding products"}));
}

TEST_F(PackageInstallerTest, EachIdeVersionIsFoundUnderItsOwnKey) {
  struct Case {
    int ide;
    const char* key;
    const char* help;
    const char* found_line;
  };
  const Case cases[] = {
      {ideDelphi3, "\\software\\Borland\\Delphi\\3.0", "\\Help\\Delphi3.cfg", "Found Delphi 3 installation"},
      {ideDelphi4, "\\software\\Borland\\Delphi\\4.0", "\\Help\\delphi4.ohl", "Found Delphi 4 installation"},
      {ideDelphi5, "\\software\\Borland\\Delphi\\5.0", "\\Help\\delphi5.ohl", "Found Delphi 5 installation"},
      {ideDelphi6, "\\software\\Borland\\Delphi\\6.0", "\\Help\\delphi6.ohl", "Found Delphi 6 installation"},
      {ideBuilder6, "\\software\\Borland\\C++Builder\\6.0", "\\Help\\bcb6.ohl", "Found Builder 6 installation"},
      {ideDelphi7, "\\software\\Borland\\Delphi\\7.0", "\\Help\\delphi7.ohl", "Found Delphi 7 installation"},
  };
  for (const Case& c : cases) {
    wenmoor::test::TempPrefix machine;
    const std::string root = "C:\\Tools\\IDE" + std::to_string(c.ide);
    RegisterDemoIde(c.ide, root);
    TInstallLog log;
    TPackageInstaller installer(log);
    for (int other = 0; other < kIdeCount; ++other) {
      TInstallInfo info = installer.GetInstallInfo(other);
      EXPECT_EQ(info.Found, other == c.ide) << c.found_line << " / " << other;
      if (other != c.ide) continue;
      EXPECT_EQ(info.RegKey, c.key);
      EXPECT_EQ(info.RootDir, root);
      EXPECT_EQ(info.HelpFile, root + c.help);
      EXPECT_TRUE(wenmoor::platform::FileExists(info.HelpFile)) << info.HelpFile;
    }
    EXPECT_EQ(log.Lines().size(), 4u) << c.found_line;
    EXPECT_TRUE(Contains(log.Lines(), c.found_line)) << c.found_line;
  }
}

TEST_F(PackageInstallerTest, AllIdesAreLoggedInTheSearchOrder) {
  for (int ide = 0; ide < kIdeCount; ++ide) RegisterDemoIde(ide, DefaultDemoIdeRoot(ide));
  TPackageInstaller installer(log_);
  EXPECT_EQ(log_.Lines(),
            (Lines{"Starting find products", "Found Delphi 4 installation", "Found Delphi 5 installation",
                   "Found Delphi 6 installation", "Found Delphi 7 installation", "Found Delphi 3 installation",
                   "Looking for: \\software\\Borland\\C++Builder\\6.0", "Found Builder 6 installation",
                   "Finished finding products"}));
}

TEST_F(PackageInstallerTest, PaletteKeepsWhatIsListedAndAppendsTheRest) {
  const std::string palette = "\\software\\Borland\\Delphi\\4.0\\Palette";
  const std::string prefix = "Install into palette. Product - Delphi 4";
  struct Case {
    const char* existing;  // nullptr: the page has no value yet
    const char* expected;
    bool updated;
  };
  const Case cases[] = {
      {nullptr, "TQryDatabase;TQryTable;TQryQuery", true},
      {"TQryDatabase", "TQryDatabase;TQryTable;TQryQuery;", true},
      {"TOther;TQryDatabase;", "TOther;TQryDatabase;TQryTable;TQryQuery;", true},
      {"TQryQuery;TQryTable;TQryDatabase;", "TQryQuery;TQryTable;TQryDatabase;", false},
      // A longer class name that contains one of ours does not count as ours.
      {"TQryTableEx;TQryDatabase;TQryQuery", "TQryTableEx;TQryDatabase;TQryQuery;TQryTable;", true},
      {"", "TQryDatabase;TQryTable;TQryQuery;", true},
  };
  for (const Case& c : cases) {
    wenmoor::test::TempPrefix machine;
    RegisterDemoIde(ideDelphi4, kRoot);
    if (c.existing) SetUserValue(palette, "Data Access", c.existing);
    TInstallLog log;
    TPackageInstaller installer(log);
    log.Clear();
    installer.PreparePalette(ideDelphi4, "Data Access", kClasses);
    const std::string label = c.existing ? c.existing : "(none)";
    EXPECT_EQ(UserValue(palette, "Data Access"), c.expected) << label;
    EXPECT_EQ(UserValue(palette, "Standard"), "TMainMenu;TPopupMenu;TLabel;TEdit;TMemo;TButton;") << label;
    Lines want{prefix + ". Found Reg Key"};
    if (c.existing) want.push_back(prefix + ". Existing components: " + c.existing);
    if (c.updated) want.push_back(prefix + ". Updating Registry");
    want.push_back(prefix + ". Completed");
    EXPECT_EQ(log.Lines(), want) << label;
  }
}

TEST_F(PackageInstallerTest, PaletteWithoutItsKeyIsLeftAlone) {
  TPackageInstaller installer(log_);  // Delphi 4 not installed: no palette key
  log_.Clear();
  installer.PreparePalette(ideDelphi4, "Data Access", kClasses);
  EXPECT_TRUE(log_.Lines().empty());
  EXPECT_TRUE(UserValueNames("\\software\\Borland\\Delphi\\4.0\\Palette").empty());
}

// A value of the wrong kind where text belongs: the palette step logs the
// failure, saves the log and passes the error on; the search path counts as
// empty and is rewritten.
TEST_F(PackageInstallerTest, ValuesOfTheWrongKind) {
  InstallDelphi4();
  TRegistry r;
  r.SetRootKey(wenmoor::HKEY_CURRENT_USER);
  ASSERT_TRUE(r.OpenKey("\\software\\Borland\\Delphi\\4.0\\Palette", false));
  r.WriteInteger("Data Access", 7);
  ASSERT_TRUE(r.OpenKey("\\software\\Borland\\Delphi\\4.0\\Library", false));
  r.WriteInteger("Search Path", 7);
  r.CloseKey();
  log_.SetLogDir(kRoot);
  TPackageInstaller installer(log_);
  EXPECT_THROW(installer.PreparePalette(ideDelphi4, "Data Access", kClasses), wenmoor::ERegistryException);
  EXPECT_EQ(log_.Lines().back().rfind("Install into palette. Product - Delphi 4. Exception ", 0), 0u)
      << log_.Lines().back();
  EXPECT_NE(prefix_.ReadFile(std::string(kRoot) + "\\instlog.txt").find("Exception"), std::string::npos);

  installer.InstallPackage(ideDelphi4, "C:\\Q\\dclqry14d4.bpl", {"dclqry14d4.bpl"}, "Quarry Database Engine");
  EXPECT_EQ(UserValue("\\software\\Borland\\Delphi\\4.0\\Library", "Search Path"), "C:\\Q");
}

TEST_F(PackageInstallerTest, KnownPackagesLoseOldVersionsAndGainTheNewOne) {
  InstallDelphi4();
  const std::string known = "\\software\\Borland\\Delphi\\4.0\\Known Packages";
  const std::string disabled = "\\software\\Borland\\Delphi\\4.0\\Disabled Packages";
  SetUserValue(known, "C:\\Old\\Quarry\\DCLQRY13D4.BPL", "Quarry 1.3");
  SetUserValue(known, "C:\\Other\\dclother.bpl", "Other");
  SetUserValue(disabled, "C:\\Old\\Quarry\\dclqry12d4.bpl", "Quarry 1.2");
  SetUserValue(disabled, "C:\\Other\\dcloff.bpl", "Off");
  const std::string package = "C:\\Program Files\\Quarry\\Delphi4\\dclqry14d4.bpl";
  TPackageInstaller installer(log_);
  log_.Clear();
  installer.InstallPackage(ideDelphi4, package, {"dclqry12d4.bpl", "dclqry13d4.bpl", "dclqry14d4.bpl"},
                           "Quarry Database Engine");

  EXPECT_EQ(UserValue(known, package), "Quarry Database Engine");
  EXPECT_EQ(UserValue(known, "C:\\Old\\Quarry\\DCLQRY13D4.BPL"), "<missing>");
  EXPECT_EQ(UserValue(known, "C:\\Other\\dclother.bpl"), "Other");
  EXPECT_EQ(UserValue(known, "$(DELPHI)\\Bin\\dclstd40.bpl"), "Standard Components");
  EXPECT_EQ(UserValue(disabled, "C:\\Old\\Quarry\\dclqry12d4.bpl"), "<missing>");
  EXPECT_EQ(UserValue(disabled, "C:\\Other\\dcloff.bpl"), "Off");
  const Lines& log = log_.Lines();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[0], "Install into VCL. Product - Delphi 4.Installing component: " + package);
  EXPECT_EQ(log[1], "Deleting old package: C:\\Old\\Quarry\\DCLQRY13D4.BPL");
  EXPECT_EQ(log[2], "Adding package: " + package);
  EXPECT_EQ(log.back(), "Install into VCL. Product - Delphi 4. Completed");

  // Registering again replaces the entry rather than doubling it.
  installer.InstallPackage(ideDelphi4, package, {"dclqry14d4.bpl"}, "Quarry Database Engine");
  Lines names = UserValueNames(known);
  EXPECT_EQ(std::count(names.begin(), names.end(), package), 1);
}

TEST_F(PackageInstallerTest, MissingKnownPackagesKeyIsReportedAndStopsTheStep) {
  InstallDelphi4();
  TRegistry r;
  r.SetRootKey(wenmoor::HKEY_CURRENT_USER);
  ASSERT_TRUE(r.DeleteKey("\\software\\Borland\\Delphi\\4.0\\Known Packages"));
  TPackageInstaller installer(log_);
  log_.Clear();
  installer.InstallPackage(ideDelphi4, "C:\\Q\\dclqry14d4.bpl", {"dclqry14d4.bpl"}, "Quarry Database Engine");
  EXPECT_EQ(log_.Lines().back(), "Error: Unable to open key:\\software\\Borland\\Delphi\\4.0\\Known Packages");
  EXPECT_EQ(UserValue("\\software\\Borland\\Delphi\\4.0\\Library", "Search Path"),
            "$(DELPHI)\\Lib;$(DELPHI)\\Bin;$(DELPHI)\\Imports");
}

TEST_F(PackageInstallerTest, SearchPathGainsTheComponentPathAndLosesOldProductDirectories) {
  const std::string dir = "C:\\Program Files\\Quarry\\Delphi4";
  const std::string package = dir + "\\dclqry14d4.bpl";
  // Directories holding an earlier copy of the product.
  prefix_.WriteFile("C:\\Old13\\dclqry13d4.bpl", "old");
  prefix_.WriteFile("C:\\Old14\\dclqry14d4.bpl", "old");
  prefix_.WriteFile(package, "new");
  struct Case {
    const char* existing;
    const char* expected;  // nullptr: unchanged and not written
  };
  const Case cases[] = {
      {"$(DELPHI)\\Lib;$(DELPHI)\\Bin", "$(DELPHI)\\Lib;$(DELPHI)\\Bin;C:\\Program Files\\Quarry\\Delphi4"},
      {"$(DELPHI)\\Lib;C:\\Program Files\\Quarry\\Delphi4", nullptr},
      {"$(DELPHI)\\Lib;c:\\program files\\quarry\\delphi4\\", nullptr},
      {"C:\\Program Files\\Quarry\\Delphi4;$(DELPHI)\\Lib; C:\\Old13\\ ",
       "C:\\Program Files\\Quarry\\Delphi4;$(DELPHI)\\Lib"},
      {"C:\\Old13;$(DELPHI)\\Lib;C:\\Old14\\", "$(DELPHI)\\Lib;C:\\Program Files\\Quarry\\Delphi4"},
      {"", "C:\\Program Files\\Quarry\\Delphi4"},
  };
  const std::string library = "\\software\\Borland\\Delphi\\4.0\\Library";
  for (const Case& c : cases) {
    InstallDelphi4();
    SetUserValue(library, "Search Path", c.existing);
    TPackageInstaller installer(log_);
    log_.Clear();
    installer.InstallPackage(ideDelphi4, package, {"dclqry12d4.bpl", "dclqry13d4.bpl", "dclqry14d4.bpl"},
                             "Quarry Database Engine");
    EXPECT_EQ(UserValue(library, "Search Path"), c.expected ? c.expected : c.existing) << c.existing;
    EXPECT_TRUE(Contains(log_.Lines(), std::string("Install into VCL. Existing search path: ") + c.existing));
    EXPECT_TRUE(Contains(log_.Lines(), "Install into VCL. Installing component path: " + dir));
    const std::string outcome = c.expected ? std::string("Install into VCL. Updating search path to: ") + c.expected
                                           : std::string("Install into VCL. Search path not required to update");
    EXPECT_TRUE(Contains(log_.Lines(), outcome)) << c.existing;
  }
}

TEST_F(PackageInstallerTest, Delphi3KeepsItsSearchPathUnderItsOwnValueName) {
  RegisterDemoIde(ideDelphi3, "C:\\D3");
  const std::string library = "\\software\\Borland\\Delphi\\3.0\\Library";
  EXPECT_EQ(UserValue(library, "Search Path"), "<missing>");
  TPackageInstaller installer(log_);
  installer.InstallPackage(ideDelphi3, "C:\\Q\\Delphi3\\dclqry14d3.dpl", {"dclqry14d3.dpl"}, "Quarry Database Engine");
  EXPECT_EQ(UserValue(library, "SearchPath"), "$(DELPHI)\\Lib;$(DELPHI)\\Bin;$(DELPHI)\\Imports;C:\\Q\\Delphi3");
  EXPECT_EQ(UserValue(library, "Search Path"), "<missing>");
}

TEST_F(PackageInstallerTest, HelpContentsGetOneLinkAndTheIndexIsDeleted) {
  struct Case {
    const char* contents;
    bool appended;
  };
  const Case cases[] = {
      {":Title Delphi 4 Help\r\n:Link del4vcl.hlp\r\n;Third-party Help\r\n", true},
      {":Title Delphi 4 Help\r\n;Third-party Help\r\n:Link quarry.hlp\r\n:Link other.hlp\r\n", false},
      // A mention above the third-party marker is the IDE's own entry.
      {":Link quarry.hlp\r\n;THIRD-PARTY HELP\r\n:Link other.hlp\r\n", true},
      // The name is looked for as written.
      {";Third-party Help\r\n:Link QUARRY.HLP\r\n", true},
  };
  for (const Case& c : cases) {
    InstallDelphi4();
    const std::string contents = std::string(kRoot) + "\\Help\\delphi4.ohl";
    const std::string index = std::string(kRoot) + "\\Help\\delphi4.gid";
    prefix_.WriteFile(contents, c.contents);
    prefix_.WriteFile(index, "index");
    TPackageInstaller installer(log_);
    installer.InstallHelp(ideDelphi4, "quarry.hlp");
    std::string want = c.contents;
    if (c.appended) want += ":Link quarry.hlp\r\n";
    EXPECT_EQ(prefix_.ReadFile(contents), want) << c.contents;
    EXPECT_FALSE(wenmoor::platform::FileExists(index)) << c.contents;
  }
}

TEST_F(PackageInstallerTest, HelpOfAnIdeWithoutContentsFileChangesNothing) {
  InstallDelphi4();
  wenmoor::platform::DeleteFile(std::string(kRoot) + "\\Help\\delphi4.ohl");
  prefix_.WriteFile(std::string(kRoot) + "\\Help\\delphi4.gid", "index");
  TPackageInstaller installer(log_);
  installer.InstallHelp(ideDelphi4, "quarry.hlp");
  installer.InstallHelp(ideDelphi5, "quarry.hlp");  // not installed
  EXPECT_FALSE(wenmoor::platform::FileExists(std::string(kRoot) + "\\Help\\delphi4.ohl"));
  EXPECT_TRUE(wenmoor::platform::FileExists(std::string(kRoot) + "\\Help\\delphi4.gid"));
}

TEST_F(PackageInstallerTest, DemoIdeRegistrationIsRepeatable) {
  RegisterDemoIde(ideDelphi4, kRoot);
  SetUserValue("\\software\\Borland\\Delphi\\4.0\\Library", "Search Path", "mine");
  RegisterDemoIde(ideDelphi4, kRoot);
  EXPECT_EQ(UserValue("\\software\\Borland\\Delphi\\4.0\\Library", "Search Path"), "mine");
}

}  // namespace
}  // namespace quarry
