// The generic setup program, run as a user runs it: a copy of the program
// with its script beside it, in a fresh prefix.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/script_fixture.h"

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

  Outcome Run(const std::string& args) {
    std::string command = "WINEPREFIX='" + (dir_ / "prefix").string() + "' '" + (dir_ / "wenmoor-setup").string() +
                          "' " + args + " 2>&1";
    Outcome out;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> buf{};
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) out.output.append(buf.data(), n);
    int raw = pclose(pipe);
    out.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
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
  Outcome o = Run("*TODISK *x");
  EXPECT_EQ(o.status, 0) << o.output;
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
