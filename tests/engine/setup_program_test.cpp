// The generic setup program, run as a user runs it: a copy of the program
// with its script beside it, in a fresh prefix.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "common/script_fixture.h"
#include "engine/cmp_TInstall.h"
#include "platform/rtl/form_reader.h"
#include "platform/win/machine.h"
#include "platform/win/paths.h"
#include "platform/win/registry_store.h"
#include "platform/win/shutdown.h"
#include "registry/routines_Registry.h"

namespace wenmoor {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string output;  // standard error and output together
};

class SetupProgramTest : public ::testing::Test {
 protected:
  SetupProgramTest() : dir_(testing::MakeTempDir()) {
    fs::copy_file(fs::path(WENMOOR_BIN_DIR) / "wenmoor-setup", dir_ / "wenmoor-setup");
    fs::copy_file(fs::path(WENMOOR_SOURCE_DIR) / "examples/minimal/wenmoor-setup.dfm", dir_ / "wenmoor-setup.dfm");
  }
  ~SetupProgramTest() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  // `wrapper` runs the program (such as "timeout -s KILL 0.1 ").
  Outcome Run(const std::string& args, const std::string& wrapper = "") {
    std::string command = "WENMOOR_UI=headless WINEPREFIX='" + (dir_ / "prefix").string() + "' " + wrapper + "'" +
                          (dir_ / "wenmoor-setup").string() + "' " + args + " 2>&1";
    Outcome out;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> buf{};
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) out.output.append(buf.data(), n);
    int raw = pclose(pipe);
    out.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
  }

  // The test directory as the program sees it (through drive Z:).
  std::string WindowsDir() const {
    std::string path = "Z:" + dir_.string();
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
  }

  // The machine of the program's prefix, seen from this process while the
  // object lives (a new object reads what the program wrote).
  struct Machine {
    explicit Machine(const fs::path& prefix) : scope(prefix) {}
    fs::path Host(const std::string& win_path) { return *platform::Machine::Current().Paths().ToHost(win_path); }
    bool KeyExists(const std::string& key) {
      return platform::CurrentRegistry().KeyExists(platform::RootKey::LocalMachine, key.substr(1));
    }
    platform::Machine::TestScope scope;
  };

  // Builds the archive files.1 of the script beside the program, as the
  // build does: the script is loaded and its tree compressed.
  void CompressScript(const fs::path& dfm, const std::string& source_switch) {
    std::ifstream in(dfm);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    TApplication& app = TApplication::Instance();
    app.SetExeName(WindowsDir() + "\\wenmoor-setup");
    app.SetParams({source_switch});
    {
      ComponentPtr<TForm> form = CreateUnowned<TForm>();
      app.SetMainForm(form.get());
      ReadRootComponentFromText(text, dfm.string(), *form);
      CurrentInstall()->Compress({coForceNetFilesLocal, coIncludeAll});
    }
    app.SetMainForm(nullptr);
    app.SetParams({});
    CurrentRecordKey().clear();
  }

  // A script that installs a.txt and a larger big.bin into
  // C:\Program Files\Demo, with its archive built beside the program.
  // Returns the -s argument (quoted for the shell).
  static constexpr uintmax_t kBigSize = 3 << 20;
  std::string PrepareDemo(const std::string& more_objects = "") {
    fs::create_directories(dir_ / "src");
    std::ofstream(dir_ / "src" / "a.txt") << "new a";
    {
      std::ofstream big(dir_ / "src" / "big.bin", std::ios::binary);
      uint32_t x = 12345;
      for (uintmax_t i = 0; i < kBigSize; ++i) big.put(static_cast<char>((x = x * 1103515245 + 12345) >> 24));
    }
    std::string files;
    int id = 1;
    for (const char* name : {"a.txt", "big.bin"}) {
      files += std::string("  object IF") + std::to_string(id) + ": TInstallFile\n"
               "    Container = AppDir\n"
               "    DestDirType = psContainerDestDir\n"
               "    ArchiveFileType = psContainerArchiveFile\n"
               "    DestName = '" + name + "'\n"
               "    FileName = '" + name + "'\n"
               "    IncludeFromDir = '" + WindowsDir() + "\\src'\n"
               "    UniqueID = " + std::to_string(id) + "\n"
               "  end\n";
      ++id;
    }
    std::ofstream(dir_ / "wenmoor-setup.dfm") << "object MainForm: TForm\n"
                                                 "  object Install1: TInstall\n"
                                                 "    Information.ProductName = 'Demo'\n"
                                                 "  end\n"
                                                 "  object AppDir: TInstallDirectory\n"
                                                 "    Container = Install1\n"
                                                 "    DestDir = 'C:\\Program Files\\Demo'\n"
                                                 "    ArchiveFileType = psContainerArchiveFile\n"
                                                 "  end\n"
                                              << files << more_objects << "end\n";
    Machine machine(dir_ / "prefix");
    CompressScript(dir_ / "wenmoor-setup.dfm", "-s" + WindowsDir());
    return "'-s" + WindowsDir() + "'";
  }

  fs::path dir_;
};

TEST_F(SetupProgramTest, RefusesAnInvalidSwitchWithTheExactMessage) {
  const char* expected =
      "Invalid parameter <-x>. Valid command line parameters are: -b (Build), -d (Debug), -f (Transfer to floppies), "
      "-e (Called by self-extractor), -r (After reboot)";
  for (const char* arg : {"-x", "x", "-"}) {
    Outcome o = Run(arg);
    EXPECT_EQ(o.status, 1) << arg;
    std::string want = expected;
    want.replace(want.find("<-x>"), 4, std::string("<") + arg + ">");
    EXPECT_NE(o.output.find(want), std::string::npos) << arg << ": " << o.output;
  }
}

TEST_F(SetupProgramTest, IgnoresStarArgumentsAndRunsTheScript) {
  Outcome o = Run("*TODISK *x '-s" + WindowsDir() + "'");
  EXPECT_EQ(o.status, 0) << o.output;
}

TEST_F(SetupProgramTest, WithoutTheLoadingProgramsSourceSwitchTheRunFails) {
  Outcome o = Run("");
  EXPECT_EQ(o.status, 1) << o.output;
  EXPECT_NE(o.output.find("The path of the loading program was not passed correctly."), std::string::npos)
      << o.output;
}

// A file whose destination cannot be replaced now: the program registers
// itself to run after the restart, asks for the restart and ends with 3;
// started again with -r it finishes (0) and leaves no record behind.
TEST_F(SetupProgramTest, RestartThenResumeWithTheRegisteredCommand) {
  const std::string source = PrepareDemo();
  {
    Machine machine(dir_ / "prefix");
    auto target = machine.Host("C:\\Program Files\\Demo");
    fs::create_directories(target);
    std::ofstream(target / "a.txt") << "old a";
    fs::permissions(target / "a.txt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  }
  Outcome first = Run(source);
  EXPECT_EQ(first.status, 3) << first.output;
  std::string command;
  {
    Machine machine(dir_ / "prefix");
    EXPECT_TRUE(platform::RestartPending());
    ReadRegistryString(hkCurrentUser, "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                       "WenmoorUnfinished", command, "");
    EXPECT_TRUE(machine.KeyExists("\\SOFTWARE\\OAK\\Install\\Install0"));
    platform::ClearRestartPending();
  }
  EXPECT_EQ(command, "\"" + WindowsDir() + "\\wenmoor-setup\" -r \"-s" + WindowsDir() + "\"");

  Outcome resumed = Run("-r " + source);
  EXPECT_EQ(resumed.status, 0) << resumed.output;
  Machine machine(dir_ / "prefix");
  EXPECT_FALSE(machine.KeyExists("\\SOFTWARE\\OAK\\Install"));
}

// Whenever the program is killed, the machine it leaves lets the next run
// complete: the same record is found, the files are written whole, the
// record goes at the end.
TEST_F(SetupProgramTest, KilledAtAnyMomentThenRunAgainCompletes) {
  const std::string source = PrepareDemo();
  int killed = 0;
  for (const char* delay : {"0.01", "0.03", "0.06", "0.1", "0.15", "0.2", "0.3"}) {
    SCOPED_TRACE(delay);
    if (Run(source, std::string("timeout -s KILL ") + delay + " ").status == 137) ++killed;
    Outcome again = Run(source);
    EXPECT_EQ(again.status, 0) << again.output;
    Machine machine(dir_ / "prefix");
    EXPECT_FALSE(machine.KeyExists("\\SOFTWARE\\OAK\\Install"));
    const fs::path target = machine.Host("C:\\Program Files\\Demo");
    std::ifstream a(target / "a.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(a), {}), "new a");
    EXPECT_EQ(fs::file_size(target / "big.bin"), kBigSize);
    fs::remove_all(target);
  }
  EXPECT_GT(killed, 0);  // at least one run did not get to its end
}

// The wizard before the installation, the failure pages and the reboot
// page, as a script has them.
const char kDialogs[] =
    "  object Before: TDialogManager\n"
    "    Container = Install1\n"
    "    ManagerType = dmBeforeInstall\n"
    "  end\n"
    "  object Bad: TDialogManager\n"
    "    Container = Install1\n"
    "    ManagerType = dmAfterBadInstall\n"
    "  end\n"
    "  object RebootManager: TDialogManager\n"
    "    Container = Install1\n"
    "    ManagerType = dmReboot\n"
    "  end\n"
    "  object LicenseDlg: TLicenseDlg\n"
    "    Container = Install1\n"
    "    DialogManager = Before\n"
    "    LicenseAgreement.Strings = (\n"
    "      'Be nice.')\n"
    "  end\n"
    "  object BadInstallationDlg: TBadInstallationDlg\n"
    "    Container = Install1\n"
    "    DialogManager = Bad\n"
    "  end\n"
    "  object RebootDlg: TRebootDlg\n"
    "    Container = Install1\n"
    "    DialogManager = RebootManager\n"
    "  end\n";

// Cancel on the licence page: the failure pages, no error box, nothing
// installed, no record, exit status 2.
TEST_F(SetupProgramTest, CancelInTheWizardEndsAbortedWithoutRecord) {
  const std::string source = PrepareDemo(kDialogs);
  std::ofstream(dir_ / "answers.txt") << "[form \"Software license agreement\"]\npress CancelBtn\n";
  Outcome o = Run(source, "WENMOOR_ANSWERS='" + (dir_ / "answers.txt").string() + "' ");
  EXPECT_EQ(o.status, 2) << o.output;
  EXPECT_NE(o.output.find("=== form \"Setup incomplete\""), std::string::npos) << o.output;
  EXPECT_EQ(o.output.find("=== message"), std::string::npos) << o.output;
  Machine machine(dir_ / "prefix");
  EXPECT_FALSE(fs::exists(machine.Host("C:\\Program Files\\Demo\\a.txt")));
  EXPECT_FALSE(machine.KeyExists("\\SOFTWARE\\OAK\\Install"));
}

// A file in use and "No" on the reboot page: no restart is asked for, but
// the program still ends as waiting for one (3), registered to resume.
TEST_F(SetupProgramTest, NoOnTheRebootPageStillEndsWaitingForTheRestart) {
  const std::string source = PrepareDemo(kDialogs);
  {
    Machine machine(dir_ / "prefix");
    auto target = machine.Host("C:\\Program Files\\Demo");
    fs::create_directories(target);
    std::ofstream(target / "a.txt") << "old a";
    fs::permissions(target / "a.txt", fs::perms::owner_read);
  }
  std::ofstream(dir_ / "answers.txt") << "[form \"Reboot windows\"]\nselect RG = \"No*\"\npress default\n";
  Outcome o = Run(source, "WENMOOR_ANSWERS='" + (dir_ / "answers.txt").string() + "' ");
  EXPECT_EQ(o.status, 3) << o.output;
  EXPECT_NE(o.output.find("=== form \"Reboot windows\""), std::string::npos) << o.output;
  Machine machine(dir_ / "prefix");
  EXPECT_FALSE(platform::RestartPending());
  std::string command;
  ReadRegistryString(hkCurrentUser, "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                     "WenmoorUnfinished", command, "");
  EXPECT_NE(command.find(" -r "), std::string::npos);
  EXPECT_TRUE(machine.KeyExists("\\SOFTWARE\\OAK\\Install\\Install0"));
}

TEST_F(SetupProgramTest, ReportsAMissingScript) {
  fs::remove(dir_ / "wenmoor-setup.dfm");
  Outcome o = Run("");
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.output.find("wenmoor-setup.dfm"), std::string::npos) << o.output;
}

TEST_F(SetupProgramTest, ReportsABadScriptWithItsPlace) {
  std::ofstream(dir_ / "wenmoor-setup.dfm") << "object MainForm: TForm\n  object Install1: TInstall\n    Bogus = 1\n  end\nend\n";
  Outcome o = Run("");
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.output.find("line 3"), std::string::npos) << o.output;
  EXPECT_NE(o.output.find("Bogus"), std::string::npos) << o.output;
}

}  // namespace
}  // namespace wenmoor
