// `wenmoor reg` run as a program, as a person runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class CmdRegTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tool_ = fs::path(WENMOOR_BIN_DIR) / "wenmoor";
    if (!fs::exists(tool_)) GTEST_SKIP() << "the wenmoor program is not built";
    char tmpl[] = "/tmp/wenmoor-cmdreg-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  Result Reg(const std::vector<std::string>& args, const std::string& input = "") {
    std::string cmd = "WINEPREFIX=" + Quote((dir_ / "prefix").string()) + " " + Quote(tool_.string()) + " reg";
    for (const std::string& a : args) cmd += " " + Quote(a);
    cmd += " 2>" + Quote((dir_ / "err").string());
    if (!input.empty()) cmd = "printf " + Quote(input) + " | " + cmd;
    Result r;
    FILE* p = popen(cmd.c_str(), "r");
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(dir_ / "err");
    std::stringstream s;
    s << err.rdbuf();
    r.err = s.str();
    return r;
  }

  fs::path tool_;
  fs::path dir_;
};

TEST_F(CmdRegTest, AddQueryDelete) {
  const std::string key = "HKLM\\Software\\Fennick Software\\Qry";
  EXPECT_EQ(Reg({"add", key, "/v", "Ver", "/t", "REG_SZ", "/d", "5.20", "/f"}).out,
            "The operation completed successfully.\n");
  EXPECT_EQ(Reg({"add", key, "/v", "Count", "/t", "REG_DWORD", "/d", "0x2a", "/f"}).status, 0);
  EXPECT_EQ(Reg({"add", key + "\\Sub", "/ve", "/d", "x"}).status, 0);

  Result q = Reg({"query", key});
  EXPECT_EQ(q.status, 0);
  EXPECT_EQ(q.out,
            "\nHKEY_LOCAL_MACHINE\\Software\\Fennick Software\\Qry\n"
            "    Count    REG_DWORD    0x2a\n"
            "    Ver    REG_SZ    5.20\n"
            "\n"
            "HKEY_LOCAL_MACHINE\\Software\\Fennick Software\\Qry\\Sub\n");
  EXPECT_EQ(Reg({"query", key, "/v", "Ver"}).out,
            "\nHKEY_LOCAL_MACHINE\\Software\\Fennick Software\\Qry\n    Ver    REG_SZ    5.20\n\n");
  EXPECT_NE(Reg({"query", key, "/s"}).out.find("Qry\\Sub\n    (Default)    REG_SZ    x\n"), std::string::npos);

  // Overwriting asks; "n" keeps the value.
  Result asked = Reg({"add", key, "/v", "Ver", "/d", "6"}, "n\n");
  EXPECT_EQ(asked.status, 1);
  EXPECT_NE(asked.out.find("Value Ver exists, overwrite (Yes/No)?"), std::string::npos);
  EXPECT_NE(Reg({"query", key, "/v", "Ver"}).out.find("5.20"), std::string::npos);

  EXPECT_EQ(Reg({"delete", key, "/v", "Ver", "/f"}).status, 0);
  Result gone = Reg({"query", key, "/v", "Ver"});
  EXPECT_EQ(gone.status, 1);
  EXPECT_EQ(gone.err, "ERROR: The system was unable to find the specified registry key or value.\n");
  EXPECT_EQ(Reg({"delete", key, "/f"}).status, 0);
  EXPECT_EQ(Reg({"query", key}).status, 1);
}

TEST_F(CmdRegTest, FailuresGiveOneLineAndStatusOne) {
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"add", "HKXX\\Software"}, "ERROR: Invalid key name.\n"},
      {{"add", "HKLM\\Software\\X", "/v", "D", "/t", "REG_DWORD", "/d", "12z"},
       "ERROR: Invalid data for REG_DWORD: \"12z\".\n"},
      {{"add", "HKLM\\Software\\X", "/v", "B", "/t", "REG_BINARY", "/d", "abc"},
       "ERROR: Invalid data for REG_BINARY: an odd number of hex digits.\n"},
      {{"add", "HKLM\\Software\\X", "/v", "T", "/t", "REG_FOO"},
       "ERROR: Invalid type \"REG_FOO\"; use REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD or REG_BINARY.\n"},
      {{"query"}, "ERROR: Invalid syntax. Type \"wenmoor reg\" for usage.\n"},
      {{"query", "HKLM\\Software", "/v", "a", "/ve"}, "ERROR: Invalid syntax. Type \"wenmoor reg\" for usage.\n"},
      {{"frobnicate"}, "ERROR: Invalid syntax. Unknown operation \"frobnicate\".\n"},
      {{"import", "/nonexistent/file.reg"}, "ERROR: Error opening the file /nonexistent/file.reg.\n"},
  };
  for (const auto& c : cases) {
    Result r = Reg(c.args);
    EXPECT_EQ(r.status, 1) << c.args[0];
    EXPECT_EQ(r.err, c.err) << c.args[0];
  }
}

TEST_F(CmdRegTest, ExportThenImport) {
  Reg({"add", "HKCU\\Software\\Exp", "/v", "M", "/t", "REG_MULTI_SZ", "/d", "a\\0b", "/f"});
  Reg({"add", "HKCU\\Software\\Exp\\Sub", "/v", "B", "/t", "REG_BINARY", "/d", "00ff", "/f"});
  const std::string file = (dir_ / "exp.reg").string();
  ASSERT_EQ(Reg({"export", "HKCU\\Software\\Exp", file}).status, 0);
  ASSERT_EQ(Reg({"delete", "HKCU\\Software\\Exp", "/f"}).status, 0);
  ASSERT_EQ(Reg({"import", file}).status, 0);
  EXPECT_EQ(Reg({"query", "HKCU\\Software\\Exp", "/s"}).out,
            "\nHKEY_CURRENT_USER\\Software\\Exp\n    M    REG_MULTI_SZ    a\\0b\n\n"
            "HKEY_CURRENT_USER\\Software\\Exp\\Sub\n    B    REG_BINARY    00FF\n\n");
  // A bad file changes nothing and names its line.
  std::ofstream(dir_ / "bad.reg") << "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\New]\n\"v\"=bogus\n";
  Result bad = Reg({"import", (dir_ / "bad.reg").string()});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "ERROR: " + (dir_ / "bad.reg").string() + ":3: unknown value type\n");
  EXPECT_EQ(Reg({"query", "HKCU\\Software\\New"}).status, 1);
}

}  // namespace
