// `wenmoor prefix`: the command-line tool, run as a user runs it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/win/machine.h"

namespace fs = std::filesystem;

namespace wenmoor {
namespace {

struct Result {
  int status;
  std::string output;
};

Result RunTool(const std::string& command) {
  Result r{-1, ""};
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return r;
  std::array<char, 256> buf{};
  while (fgets(buf.data(), buf.size(), pipe)) r.output += buf.data();
  const int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

TEST(PrefixToolTest, CreatesAPrefixAndMapsPaths) {
  const fs::path tool = fs::path(WENMOOR_BIN_DIR) / "wenmoor";
  if (!fs::exists(tool)) GTEST_SKIP() << tool << " is not built";
  std::string pattern = (fs::temp_directory_path() / "wenmoor-tool.XXXXXX").string();
  ASSERT_TRUE(mkdtemp(pattern.data()));
  const fs::path dir = pattern;
  const fs::path prefix = dir / "machine";

  Result created = RunTool("'" + tool.string() + "' prefix create '" + prefix.string() + "'");
  EXPECT_EQ(created.status, 0) << created.output;
  EXPECT_EQ(created.output, "created " + prefix.string() + "\n");
  EXPECT_TRUE(fs::is_directory(prefix / "drive_c" / "Program Files" / "Common Files"));
  Result again = RunTool("'" + tool.string() + "' prefix create '" + prefix.string() + "'");
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.output, prefix.string() + " exists; left as it is\n");

  const std::string env = "WINEPREFIX='" + prefix.string() + "' '" + tool.string() + "' prefix ";
  Result path = RunTool(env + "path 'c:\\program files\\Qry'");
  EXPECT_EQ(path.status, 0) << path.output;
  EXPECT_EQ(path.output, (prefix / "drive_c" / "Program Files" / "Qry").string() + "\n");
  Result back = RunTool(env + "winpath '" + (prefix / "drive_c" / "windows").string() + "'");
  EXPECT_EQ(back.output, "C:\\windows\n");
  Result bad = RunTool(env + "path 'Q:\\x'");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.output, "wenmoor prefix: Q:\\x: The system cannot find the path specified.\n");
  EXPECT_EQ(RunTool(env + "frobnicate").status, 1);

  std::error_code ignored;
  fs::remove_all(dir, ignored);
}

}  // namespace
}  // namespace wenmoor
