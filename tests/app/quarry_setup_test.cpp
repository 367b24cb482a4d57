// quarry-setup as the developer and the user run it: the distribution built
// with -b from the built-in script, installed through setup.exe on a machine
// where Delphi 4 is registered, with the package registered afterwards.
#include <gtest/gtest.h>

#include <cstdlib>

#include "common/run_command.h"
#include "tools/distribution_fixture.h"

namespace quarry {
namespace {

namespace fs = std::filesystem;
using wenmoor::test::ReadHostFile;
using wenmoor::test::WinOf;
using wenmoor::test::WriteHostFile;
using wenmoor::HKEY;
using wenmoor::HKEY_CURRENT_USER;
using wenmoor::HKEY_LOCAL_MACHINE;

class QuarrySetupTest : public ::testing::Test {
 protected:
  QuarrySetupTest() : dir_(wenmoor::testing::MakeTempDir()) {
    fs::create_directories(dir_ / "prog");
    const fs::path setup = fs::path(WENMOOR_BIN_DIR) / "quarry-setup";
    const std::string strip = "objcopy --strip-debug '" + setup.string() + "' '" + Program().string() + "' 2>/dev/null";
    if (std::system(strip.c_str()) != 0) fs::copy_file(setup, Program(), fs::copy_options::overwrite_existing);
    WriteHostFile(dir_ / "prog" / "BUILD.INF", WinOf(dir_ / "out") + "\r\n");
    fs::create_directories(dir_ / "out");
  }
  ~QuarrySetupTest() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  fs::path Program() const { return dir_ / "prog" / "quarry-setup"; }
  fs::path DriveC() const { return dir_ / "user" / "drive_c"; }

  // Runs `program` headless on the machine `machine` (a directory below the test's).
  wenmoor::testing::CommandResult Run(const fs::path& program, const std::string& args,
                                      const std::string& machine) const {
    return wenmoor::testing::RunCommand("cd '" + dir_.string() + "' && env WINEPREFIX='" + (dir_ / machine).string() +
                                        "' WENMOOR_UI=headless TZ=UTC '" + program.string() + "' " + args + " 2>&1");
  }
  std::optional<std::string> UserValue(HKEY root, const std::string& key, const std::string& name) const {
    wenmoor::platform::Machine::TestScope scope(dir_ / "user");
    wenmoor::TRegistry reg;
    reg.SetRootKey(root);
    if (!reg.OpenKeyReadOnly(key) || !reg.ValueExists(name)) return std::nullopt;
    return reg.ReadString(name);
  }

  fs::path dir_;
};

TEST_F(QuarrySetupTest, BuildsAndInstallsIntoTheDemoMachineAndRegistersThePackage) {
  auto built = Run(Program(), "-b", "builder");
  ASSERT_EQ(built.status, 0) << built.output;
  ASSERT_TRUE(fs::exists(dir_ / "out" / "setup.exe"));

  auto prepared = Run(fs::path(WENMOOR_BIN_DIR) / "quarry-demo-prefix", "", "user");
  ASSERT_EQ(prepared.status, 0) << prepared.output;
  auto installed = Run(dir_ / "out" / "setup.exe", "", "user");
  ASSERT_EQ(installed.status, 0) << installed.output;

  const fs::path product = DriveC() / "Program Files" / "Quarry";
  EXPECT_EQ(ReadHostFile(product / "Delphi4" / "dclqry14d4.bpl"),
            ReadHostFile(fs::path(WENMOOR_SOURCE_DIR) / "examples/quarry/payload/Delphi4/dclqry14d4.bpl"));
  EXPECT_TRUE(fs::exists(product / "Help" / "quarry.hlp"));
  EXPECT_TRUE(fs::exists(product / "Demo" / "QryDemo.dpr"));
  EXPECT_TRUE(fs::exists(DriveC() / "windows" / "system32" / "qrydb14.dll"));
  EXPECT_TRUE(fs::exists(product / "Uninstall" / "uninstall.exe"));
  EXPECT_FALSE(fs::exists(product / "Source"));

  const std::string ide = "\\software\\Borland\\Delphi\\4.0";
  EXPECT_EQ(UserValue(HKEY_CURRENT_USER, ide + "\\Known Packages",
                      "C:\\Program Files\\Quarry\\Delphi4\\dclqry14d4.bpl"),
            "Quarry Database Engine");
  EXPECT_EQ(UserValue(HKEY_CURRENT_USER, ide + "\\Palette", "Data Access"), "TQryDatabase;TQryTable;TQryQuery");
  EXPECT_EQ(UserValue(HKEY_CURRENT_USER, ide + "\\Library", "Search Path"),
            "$(DELPHI)\\Lib;$(DELPHI)\\Bin;$(DELPHI)\\Imports;C:\\Program Files\\Quarry\\Delphi4");
  EXPECT_NE(ReadHostFile(DriveC() / "Program Files" / "Borland" / "Delphi4" / "Help" / "delphi4.ohl")
                .find(":Link quarry.hlp\r\n"),
            std::string::npos);
  EXPECT_EQ(UserValue(HKEY_LOCAL_MACHINE, "\\Software\\Fennick Software\\Quarry", "InstallPath"),
            "C:\\Program Files\\Quarry");

  // The log of the run, in the temporary directory: the destination was
  // still relative when the log moved to it.
  const std::string log = ReadHostFile(DriveC() / "windows" / "temp" / "instlog.txt");
  EXPECT_EQ(log.rfind("Commencing Installation - Quarry Database Engine\r\n", 0), 0u) << log;
  EXPECT_NE(log.find("Delphi Ver Dlg skip - True\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Installing product. Product - Delphi 4 Done\r\n"), std::string::npos) << log;

  // A second installation goes where the first went, and logs there.
  installed = Run(dir_ / "out" / "setup.exe", "", "user");
  ASSERT_EQ(installed.status, 0) << installed.output;
  const std::string again = ReadHostFile(product / "instlog.txt");
  EXPECT_NE(again.find("Install1AfterInitialized. Moving Dir to: C:\\Program Files\\Quarry\r\n"), std::string::npos)
      << again;
}

// A registration that fails fails the installation: the IDE's palette page
// holds a number where the class list belongs.
TEST_F(QuarrySetupTest, AFailedPackageRegistrationFailsTheInstallation) {
  ASSERT_EQ(Run(Program(), "-b", "builder").status, 0);
  ASSERT_EQ(Run(fs::path(WENMOOR_BIN_DIR) / "quarry-demo-prefix", "", "user").status, 0);
  auto broken = Run(fs::path(WENMOOR_BIN_DIR) / "wenmoor",
                    "reg add 'HKCU\\software\\Borland\\Delphi\\4.0\\Palette' /v 'Data Access' /t REG_DWORD /d 7 /f",
                    "user");
  ASSERT_EQ(broken.status, 0) << broken.output;

  auto installed = Run(dir_ / "out" / "setup.exe", "", "user");
  EXPECT_EQ(installed.status, 1) << installed.output;
  const std::string log = ReadHostFile(DriveC() / "windows" / "temp" / "instlog.txt");
  EXPECT_NE(log.find("Install into palette. Product - Delphi 4. Exception "), std::string::npos) << log;
  EXPECT_EQ(log.find("Installing product. Product - Delphi 4 Done"), std::string::npos) << log;
  EXPECT_EQ(UserValue(HKEY_CURRENT_USER, "\\software\\Borland\\Delphi\\4.0\\Known Packages",
                      "C:\\Program Files\\Quarry\\Delphi4\\dclqry14d4.bpl"),
            std::nullopt);
}

}  // namespace
}  // namespace quarry
