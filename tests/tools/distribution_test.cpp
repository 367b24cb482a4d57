// Building a distribution with -b and installing it through its setup.exe,
// with the real programs on a fresh machine.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <cstring>

#include "distribution_fixture.h"
#include "engine/self_extract_info.h"

namespace wenmoor::test {
namespace {

SelfExtractInfo BlockAtEnd(const std::string& bytes) {
  std::array<uint8_t, SelfExtractInfo::kSize> block{};
  if (bytes.size() >= block.size()) std::memcpy(block.data(), bytes.data() + bytes.size() - block.size(), block.size());
  return SelfExtractInfo::Decode(block);
}

class DistributionTest : public DistributionFixture {};

TEST_F(DistributionTest, SelfExtractingSetupExeHoldsLoaderSetup1AndFiles1) {
  Outcome built = Build();
  ASSERT_EQ(built.status, 0) << built.output;
  const std::string exe = ReadHostFile(build_dir() / "setup.exe");
  const std::string loader = ReadHostFile(FrameworkDir() / "WenmoorLoadProgram.exe");
  const std::string setup1 = ReadHostFile(build_dir() / "setup.1");
  const std::string files1 = ReadHostFile(build_dir() / "files.1");
  ASSERT_FALSE(setup1.empty());
  ASSERT_FALSE(files1.empty());

  const SelfExtractInfo info = BlockAtEnd(exe);
  EXPECT_EQ(info.marker_length, 14);
  EXPECT_EQ(info.marker, "SELFEXTRACTING");
  EXPECT_EQ(info.setup1_start, static_cast<int32_t>(loader.size()));
  EXPECT_EQ(info.setup1_end, static_cast<int32_t>(loader.size() + setup1.size() - 1));
  EXPECT_EQ(info.files1_start, info.setup1_end + 1);
  EXPECT_EQ(info.files1_end, static_cast<int32_t>(loader.size() + setup1.size() + files1.size() - 1));
  EXPECT_EQ(exe.size(), loader.size() + setup1.size() + files1.size() + SelfExtractInfo::kSize);
  EXPECT_EQ(exe.compare(0, loader.size(), loader), 0);
  EXPECT_EQ(exe.compare(loader.size(), setup1.size(), setup1), 0);
  EXPECT_EQ(exe.compare(loader.size() + setup1.size(), files1.size(), files1), 0);
  const std::string tail = exe.substr(exe.size() - 24);
  EXPECT_EQ(tail, std::string(24, '\0'));
  // Nothing of the build's temporary outputs is left.
  for (const auto& entry : fs::directory_iterator(build_dir()))
    EXPECT_NE(entry.path().filename().string()[0], '~') << entry.path();
}

TEST_F(DistributionTest, SetupExeAloneInstallsFilesDatesAndRegistry) {
  // Dates survive at the 2-second resolution of the archive: an even second.
  const auto when = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
  const auto even = std::chrono::time_point_cast<std::chrono::seconds>(when);
  const fs::file_time_type stamp(even - std::chrono::seconds(even.time_since_epoch().count() % 2));
  fs::last_write_time(src_dir() / "a.txt", stamp);
  ASSERT_EQ(Build().status, 0);

  // The user has only setup.exe, somewhere else.
  const fs::path media = prog_dir().parent_path() / "media";
  fs::create_directories(media);
  fs::copy_file(build_dir() / "setup.exe", media / "setup.exe");
  Outcome run = Run(media / "setup.exe", "");
  ASSERT_EQ(run.status, 0) << run.output;

  EXPECT_EQ(ReadHostFile(product_dir() / "Data" / "a.txt"), ReadHostFile(src_dir() / "a.txt"));
  EXPECT_EQ(ReadHostFile(product_dir() / "Data" / "b.bin"), ReadHostFile(src_dir() / "b.bin"));
  EXPECT_EQ(fs::last_write_time(product_dir() / "Data" / "a.txt"), stamp);
  EXPECT_TRUE(fs::exists(product_dir() / "Uninstall" / "uninstall.exe"));

  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, "\\Software\\Example Company\\Smoke", "Ver"), "1.0");
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, "\\Software\\Example Company\\Smoke", "Count"), "7");
  const std::string entry = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Smoke Product";
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, entry, "DisplayName"), "Smoke Product");
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, entry, "UninstallString"),
            "C:\\Program Files\\Smoke\\Uninstall\\uninstall.exe Smoke Product");

  // The loading program's temporary copy of the install program is gone.
  for (const auto& entry_path : fs::recursive_directory_iterator(drive_c() / "windows" / "temp"))
    EXPECT_NE(entry_path.path().filename(), "wenmoor-setup") << entry_path.path();
}

TEST_F(DistributionTest, BuildInfProblemsGiveTheirMessagesAndWriteNothing) {
  struct Case {
    const char* name;
    std::optional<std::string> build_inf;  // nullopt: no file
    const char* message;
  };
  const Case cases[] = {
      {"missing", std::nullopt,
       "Need to have a BUILD.INF file in this directory with the first line specifying the build directory"},
      {"empty", std::string(), "Must be 1 line in BUILD.INF. This line should specify the build directory"},
  };
  for (const Case& c : cases) {
    fs::remove(prog_dir() / "BUILD.INF");
    if (c.build_inf) WriteHostFile(prog_dir() / "BUILD.INF", *c.build_inf);
    Outcome o = Build();
    EXPECT_EQ(o.status, 1) << c.name;
    EXPECT_NE(o.output.find(c.message), std::string::npos) << c.name << ": " << o.output;
    EXPECT_TRUE(fs::is_empty(build_dir())) << c.name;
  }
}

TEST_F(DistributionTest, FailedBuildKeepsThePreviousDistribution) {
  ASSERT_EQ(Build().status, 0);
  const std::string before = ReadHostFile(build_dir() / "setup.exe");
  fs::remove(src_dir() / "b.bin");
  Outcome o = Build();
  EXPECT_EQ(o.status, 1) << o.output;
  EXPECT_NE(o.output.find("b.bin"), std::string::npos) << o.output;
  EXPECT_EQ(ReadHostFile(build_dir() / "setup.exe"), before);
  for (const auto& entry : fs::directory_iterator(build_dir()))
    EXPECT_NE(entry.path().filename().string()[0], '~') << entry.path();
}

// The loading program refuses a distribution it cannot trust, in words a
// user can act on, and starts nothing.
TEST_F(DistributionTest, LoaderRefusesDamagedOrIncompleteDistributions) {
  ASSERT_EQ(Build().status, 0);
  const std::string good = ReadHostFile(build_dir() / "setup.exe");
  const SelfExtractInfo info = BlockAtEnd(good);
  const std::string loader = ReadHostFile(FrameworkDir() / "WenmoorLoadProgram.exe");

  auto with_block = [&](std::string exe, const SelfExtractInfo& block) {
    const auto bytes = block.Encode();
    exe.replace(exe.size() - SelfExtractInfo::kSize, SelfExtractInfo::kSize,
                std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return exe;
  };
  SelfExtractInfo beyond_end = info;
  beyond_end.files1_end = static_cast<int32_t>(good.size());
  SelfExtractInfo overlapping = info;
  overlapping.files1_start = info.setup1_start;
  std::string bad_setup1 = good;
  for (int i = 0; i < 64; ++i) bad_setup1[static_cast<size_t>(info.setup1_start + 8 + i)] = '\x55';

  struct Case {
    const char* name;
    std::string exe;
    bool setup1_beside;
    const char* message;
  };
  const Case cases[] = {
      {"no block", loader, false, "is damaged: its self-extract information is missing or invalid"},
      {"block cut off", good.substr(0, good.size() - 20), false, "is damaged"},
      {"offsets beyond the end", with_block(good, beyond_end), false, "is damaged"},
      {"overlapping parts", with_block(good, overlapping), false, "is damaged"},
      {"damaged setup.1", bad_setup1, false, "is damaged and cannot be unpacked"},
      {"separate setup.1 missing", with_block(loader + std::string(SelfExtractInfo::kSize, '\0'),
                                              SelfExtractInfo::WithMarker(kNotSelfExtractMarker)),
       false, "setup.1 is missing"},
  };
  for (const Case& c : cases) {
    const fs::path media = prog_dir().parent_path() / "media";
    fs::remove_all(media);
    fs::create_directories(media);
    WriteHostFile(media / "setup.exe", c.exe);
    fs::permissions(media / "setup.exe", fs::perms::owner_all);
    Outcome o = Run(media / "setup.exe", "");
    EXPECT_EQ(o.status, 1) << c.name << ": " << o.output;
    EXPECT_NE(o.output.find(c.message), std::string::npos) << c.name << ": " << o.output;
    EXPECT_FALSE(fs::exists(product_dir())) << c.name;
  }
}

// Without the self-extracting parts, setup.exe is the loading program and
// its block, with setup.1 and files.1 beside it: the layout of a floppy.
TEST_F(DistributionTest, FloppyTransferWritesASeparateDistributionThatInstalls) {
  ASSERT_EQ(Build().status, 0);
  const fs::path floppy = prog_dir().parent_path() / "floppy";
  fs::create_directories(floppy);
  // The machine's drive A: is that directory.
  ASSERT_EQ(Wenmoor("prefix create").status, 0);
  fs::create_symlink(floppy, prefix() / "dosdevices" / "a:");

  Outcome transfer = Run(build_dir() / "setup.exe", "*TODISK");
  ASSERT_EQ(transfer.status, 0) << transfer.output;
  const std::string loader = ReadHostFile(FrameworkDir() / "WenmoorLoadProgram.exe");
  const std::string exe = ReadHostFile(floppy / "setup.exe");
  EXPECT_EQ(exe.size(), loader.size() + SelfExtractInfo::kSize);
  EXPECT_EQ(BlockAtEnd(exe).marker, "NOTSELFEXTRACT");
  EXPECT_EQ(ReadHostFile(floppy / "setup.1"), ReadHostFile(build_dir() / "setup.1"));
  EXPECT_TRUE(fs::exists(floppy / "files.1"));
  EXPECT_FALSE(fs::exists(product_dir()));

  fs::permissions(floppy / "setup.exe", fs::perms::owner_all);
  Outcome run = Run(floppy / "setup.exe", "");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(ReadHostFile(product_dir() / "Data" / "b.bin"), ReadHostFile(src_dir() / "b.bin"));
}

TEST_F(DistributionTest, TransferOnlyFromTheSelfExtractingFile) {
  Outcome o = Run(program(), "-f");
  EXPECT_EQ(o.status, 1) << o.output;
  EXPECT_NE(o.output.find("Sorry... You can only transfer this installation to floppies through the self-extracting "
                          "file. Usage example: setup.exe *TODISK"),
            std::string::npos)
      << o.output;
}

}  // namespace
}  // namespace wenmoor::test
