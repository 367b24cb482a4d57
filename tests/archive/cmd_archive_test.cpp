// `wenmoor archive`: the real tool on host files, in a throw-away prefix.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "archive_fixture.h"

namespace wenmoor {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

class CmdArchiveTest : public ::testing::Test {
 protected:
  CmdArchiveTest() {
    std::string pattern = (fs::temp_directory_path() / "wenmoor-cmd-archive.XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
  }
  ~CmdArchiveTest() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  struct Result {
    int status;
    std::string out;
  };
  // Runs `wenmoor archive ARGS` in the test's directory; stdout and stderr together.
  Result Run(const std::string& args) {
    const std::string cmd = "cd '" + dir_.string() + "' && WINEPREFIX='" + (dir_ / "prefix").string() + "' '" +
                            WENMOOR_BIN_DIR + "/wenmoor' archive " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    Result r{-1, {}};
    char buf[4096];
    while (size_t n = fread(buf, 1, sizeof buf, p)) r.out.append(buf, n);
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
  }
  fs::path Path(const std::string& rel) const { return dir_ / rel; }

  fs::path dir_;
};

TEST_F(CmdArchiveTest, CreatesListsTestsExtractsAndSplits) {
  const Bytes text = test::TextData(120000), binary = test::BinaryData(90000);
  test::WriteHostFile(Path("src/docs/readme.txt"), text);
  test::WriteHostFile(Path("src/tool.bin"), binary);

  Result r = Run("create files.1 --id 12 --level default src");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("adding:"), std::string::npos);

  r = Run("list files.1");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("readme.txt"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("    12     120000"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("2 files"), std::string::npos) << r.out;

  r = Run("test files.1");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("No errors detected"), std::string::npos) << r.out;

  r = Run("extract files.1 -d out");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(test::ReadHostFile(Path("out/readme.txt")), text);
  EXPECT_EQ(test::ReadHostFile(Path("out/tool.bin")), binary);

  r = Run("split files.1 --size 40k -d disks");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(fs::exists(Path("disks/files.3")));
  EXPECT_EQ(fs::file_size(Path("disks/files.1")), 40960u);
  r = Run("extract disks/files.1 -d out2 '*.bin'");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(test::ReadHostFile(Path("out2/tool.bin")), binary);
  EXPECT_FALSE(fs::exists(Path("out2/readme.txt")));
}

TEST_F(CmdArchiveTest, FailuresGiveStatusOneAndSayWhy) {
  test::WriteHostFile(Path("a.txt"), test::TextData(50000));
  test::WriteHostFile(Path("b.txt"), test::TextData(50000, 9));
  ASSERT_EQ(Run("create x.1 a.txt b.txt").status, 0);
  Bytes archive = test::ReadHostFile(Path("x.1"));
  archive[5 + 176 + 300] ^= 0xFF;  // inside the first member's data
  test::WriteHostFile(Path("bad.1"), archive);

  Result r = Run("test bad.1");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("DAMAGED"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("1 of 2 members damaged"), std::string::npos) << r.out;

  // The damaged member fails; the sound one is still extracted.
  r = Run("extract bad.1 -d out");
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(fs::exists(Path("out/a.txt")));
  EXPECT_TRUE(fs::exists(Path("out/b.txt")));

  r = Run("extract x.1 -d out nothing.txt");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("no member matches nothing.txt"), std::string::npos) << r.out;

  r = Run("list missing.1");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("Cannot open the compressed file"), std::string::npos) << r.out;

  EXPECT_EQ(Run("split x.1 --size 40k").status, 1);  // would overwrite x.1 itself
  EXPECT_EQ(Run("extract x.1 -o sometimes").status, 1);
  EXPECT_EQ(Run("frobnicate").status, 1);
}

}  // namespace
}  // namespace wenmoor
