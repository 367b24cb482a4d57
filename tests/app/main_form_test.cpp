// The main form over its built-in script: what FormCreate changes, the reuse
// of an earlier installation's directory, the operations the pages use, the
// settings memo, the package registration before the success report and
// the installation log.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_fixture.h"
#include "app/demo_prefix.h"
#include "engine/cmp_TInstall.h"
#include "platform/rtl/strings.h"
#include "platform/ui/control.h"
#include "platform/win/files.h"
#include "platform/win/registry.h"
#include "registry/cmp_TInstallRegistry.h"
#include "registry/routines_Registry.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/cmp_TFileContainer.h"

namespace quarry {
namespace {

using Lines = std::vector<std::string>;
using wenmoor::TRegistry;

constexpr std::array<bool, kIdeCount> kAll{true, true, true, true, true, true};

bool Logged(const std::string& line) {
  const Lines& lines = InstallLog().Lines();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string UserValue(const std::string& key, const std::string& name) {
  std::string value;
  wenmoor::ReadRegistryString(wenmoor::hkCurrentUser, key, name, value, "<missing>");
  return value;
}

class MainFormTest : public test::MainFormFixture {};

TEST_F(MainFormTest, FormCreateAdjustsTheScriptAndStartsTheLog) {
  TMainForm& f = Create();
  wenmoor::TCustomInstall& install = *f.Install1();
  EXPECT_EQ(install.Information()->CompanyName(), "Fennick Software");
  EXPECT_EQ(install.Information()->ProductName(), "Quarry Database Engine");
  EXPECT_EQ(install.Information()->Version(), "141");
  EXPECT_EQ(install.DestDir(), "\\Quarry");
  EXPECT_EQ(install.GetDestinationDir(), "C:\\Program Files\\Quarry");
  auto* registry = dynamic_cast<wenmoor::TCustomInstallRegistry*>(f.FindComponent("InstallRegistry"));
  ASSERT_NE(registry, nullptr);
  EXPECT_EQ(registry->Key(), "\\Software\\Fennick Software\\Quarry");
  auto* title = dynamic_cast<wenmoor::TControl*>(f.FindComponent("ProductLabel"));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->Caption(), "Quarry Database Engine");
  ASSERT_NE(f.PackageInstaller(), nullptr);
  ASSERT_FALSE(InstallLog().Lines().empty());
  EXPECT_EQ(InstallLog().Lines().front(), "Commencing Installation - Quarry Database Engine");
  EXPECT_TRUE(Logged("Finished finding products"));
  // Saved in the temporary directory, where the log starts.
  const std::string saved = prefix_.ReadFile(wenmoor::platform::GetTempPath() + "instlog.txt");
  EXPECT_EQ(saved.rfind("Commencing Installation - Quarry Database Engine\r\nStarting find products\r\n", 0), 0u)
      << saved;
}

TEST_F(MainFormTest, EveryFileOfTheScriptHasAnArchiveIdentifierOfItsOwn) {
  Create();
  const wenmoor::TCustomInstallFileList& files = wenmoor::AllInstallFiles();
  ASSERT_GT(files.Count(), 1);
  std::vector<int> ids;
  for (int i = 0; i < files.Count(); ++i) ids.push_back(files.Items(i)->UniqueID());
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end()) << "two files share an identifier";
  EXPECT_EQ(ids.front(), 0);  // the uninstaller's
}

TEST_F(MainFormTest, AnEarlierInstallationsDirectoryIsReused) {
  struct Case {
    const char* install_path;  // nullptr: no earlier installation
    const char* destination;
  };
  const Case cases[] = {{nullptr, "C:\\Program Files\\Quarry"},
                        {"", "C:\\Program Files\\Quarry"},
                        {"D:\\Apps\\Quarry", "D:\\Apps\\Quarry"}};
  for (const Case& c : cases) {
    wenmoor::test::TempPrefix machine;
    if (c.install_path)
      wenmoor::WriteRegistryString(wenmoor::hkLocalMachine, "\\Software\\Fennick Software\\Quarry", "InstallPath",
                                   c.install_path);
    InstallLog().Clear();
    TMainForm& f = Create();
    f.Install1AfterInitialized(f.Install1());
    EXPECT_EQ(f.Install1()->GetDestinationDir(), c.destination);
    EXPECT_EQ(f.Install1()->DestDirType() == nullptr, c.install_path && *c.install_path);
    EXPECT_TRUE(Logged(std::string("Install1AfterInitialized. Moving Dir to: ") + c.destination));
    EXPECT_EQ(InstallLog().Lines().back(), "Install1AfterInitialized");
    EXPECT_EQ(InstallLog().LogDir(), f.Install1()->DestDir());
    Destroy();
  }
}

TEST_F(MainFormTest, OnlyTheDelphi4DirectoryHoldsFiles) {
  TMainForm& f = Create();
  EXPECT_EQ(f.GetComponentInstallationCount(), 1);
  EXPECT_EQ(InstallLog().Lines().back(), "GetComponentInstallationCount 1");
  const struct {
    int ide;
    bool supported;
    const char* line;
  } cases[] = {
      {0, false, "CheckComponentSupportVersion Delphi 3: False"},
      {1, true, "CheckComponentSupportVersion Delphi 4: True"},
      {2, false, "CheckComponentSupportVersion Delphi 5: False"},
      {3, false, "CheckComponentSupportVersion Delphi 6: False"},
      {4, false, "CheckComponentSupportVersion Builder 6: False"},
      {5, false, "CheckComponentSupportVersion Delphi 7: False"},
      {-1, false, nullptr},
      {6, false, nullptr},
  };
  for (const auto& c : cases) {
    const size_t before = InstallLog().Lines().size();
    EXPECT_EQ(f.CheckComponentSupportVersion(c.ide), c.supported) << c.ide;
    if (c.line) EXPECT_EQ(InstallLog().Lines().back(), c.line);
    else EXPECT_EQ(InstallLog().Lines().size(), before) << c.ide;
  }

  f.SelectIDEs(kAll);
  for (int ide = 0; ide < kIdeCount; ++ide) {
    ASSERT_NE(f.IdeDirectory(ide), nullptr) << ide;
    EXPECT_EQ(f.IdeDirectory(ide)->Include(), ide == ideDelphi4) << ide;
  }
  f.SelectIDEs({true, false, true, true, true, true});
  EXPECT_FALSE(f.IdeDirectory(ideDelphi4)->Include());
  EXPECT_FALSE(f.SelectedIDEs()[ideDelphi4]);
  EXPECT_TRUE(f.SelectedIDEs()[ideDelphi3]);
}

TEST_F(MainFormTest, AProductIsPresentOnlyWhereTheScriptCarriesFilesForAnInstalledIde) {
  const struct {
    int installed;  // -1: none
    bool present;
  } cases[] = {{-1, false}, {ideDelphi4, true}, {ideDelphi5, false}, {ideBuilder6, false}};
  for (const auto& c : cases) {
    wenmoor::test::TempPrefix machine;
    if (c.installed >= 0) RegisterDemoIde(c.installed, DefaultDemoIdeRoot(c.installed));
    TMainForm& f = Create();
    EXPECT_EQ(f.AnyProductPresent(), c.present) << c.installed;
    Destroy();
  }
}

TEST_F(MainFormTest, SettingsMemoListsProductIdesAndDirectory) {
  TMainForm& f = Create();
  f.SelectIDEs(kAll);
  InstallLog().Clear();
  wenmoor::TStringList memo{"old line"};
  f.FillSettingsMemo(memo);
  const Lines expected{" ", "Quarry Database Engine V141", "Demonstration version", " ",
                       "Product Versions to install:", "     Delphi 4", " ", "Installation directory:",
                       "C:\\Program Files\\Quarry"};
  EXPECT_EQ(memo.Items(), expected);
  Lines logged{"Installation Settings"};
  logged.insert(logged.end(), expected.begin(), expected.end());
  logged.push_back("  ");
  EXPECT_EQ(InstallLog().Lines(), logged);
  EXPECT_EQ(InstallLog().LogDir(), "\\Quarry");

  // Nothing chosen: no IDE line.
  f.SelectIDEs({});
  f.FillSettingsMemo(memo);
  EXPECT_EQ(std::count(memo.Items().begin(), memo.Items().end(), "     Delphi 4"), 0);
}

TEST_F(MainFormTest, BeforeTheSuccessReportThePackageIsRegisteredWithTheChosenIde) {
  RegisterDemoIde(ideDelphi4, DefaultDemoIdeRoot(ideDelphi4));
  TMainForm& f = Create();
  f.SelectIDEs(kAll);
  InstallLog().Clear();
  f.Install1BeforeNotifyGoodInstall(f.Install1());

  const std::string package = "C:\\Program Files\\Quarry\\Delphi4\\dclqry14d4.bpl";
  const std::string key = "\\software\\Borland\\Delphi\\4.0";
  EXPECT_EQ(UserValue(key + "\\Known Packages", package), "Quarry Database Engine");
  EXPECT_EQ(UserValue(key + "\\Palette", "Data Access"), "TQryDatabase;TQryTable;TQryQuery");
  EXPECT_EQ(UserValue(key + "\\Library", "Search Path"),
            "$(DELPHI)\\Lib;$(DELPHI)\\Bin;$(DELPHI)\\Imports;C:\\Program Files\\Quarry\\Delphi4");
  EXPECT_NE(prefix_.ReadFile(DefaultDemoIdeRoot(ideDelphi4) + "\\Help\\delphi4.ohl").find(":Link quarry.hlp\r\n"),
            std::string::npos);

  const Lines& log = InstallLog().Lines();
  const Lines brackets{"Installing product. Pre: Delphi 3", "Installing product. Post: Delphi 3",
                       "Installing product. Pre: Delphi 4", "Installing product. Product - Delphi 4 Starting"};
  ASSERT_GE(log.size(), brackets.size());
  EXPECT_EQ(Lines(log.begin(), log.begin() + 4), brackets);
  const Lines tail{"Installing product. Product - Delphi 4 Done", "Installing product. Post: Delphi 4",
                   "Installing product. Pre: Delphi 7",           "Installing product. Post: Delphi 7",
                   "Installing product. Pre: Builder 6",          "Installing product. Post: Builder 6"};
  EXPECT_EQ(Lines(log.end() - 6, log.end()), tail);
}

TEST_F(MainFormTest, NothingIsRegisteredWithoutAChoice) {
  RegisterDemoIde(ideDelphi4, DefaultDemoIdeRoot(ideDelphi4));
  TMainForm& f = Create();  // as after a restart: no IDE chosen
  f.Install1BeforeNotifyGoodInstall(f.Install1());
  EXPECT_EQ(UserValue("\\software\\Borland\\Delphi\\4.0\\Palette", "Data Access"), "<missing>");
  EXPECT_FALSE(Logged("Installing product. Product - Delphi 4 Starting"));
}

TEST_F(MainFormTest, LogGoesToTheTemporaryDirectoryWhenItsOwnIsMissing) {
  TInstallLog log;
  log.Add("one");
  log.SetLogDir("C:\\No\\Such\\Dir");
  EXPECT_EQ(log.Save(), wenmoor::platform::GetTempPath() + "instlog.txt");
  EXPECT_EQ(prefix_.ReadFile(wenmoor::platform::GetTempPath() + "instlog.txt"), "one\r\n");
  log.SetLogDir("C:\\Program Files");
  log.Add("two");
  EXPECT_EQ(log.Save(), "C:\\Program Files\\instlog.txt");
  EXPECT_EQ(prefix_.ReadFile("C:\\Program Files\\instlog.txt"), "one\r\ntwo\r\n");
}

}  // namespace
}  // namespace quarry
