// The distribution builder on an engine of its own: the layouts of
// setup.exe and the refusals, without running a program.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/script_fixture.h"
#include "engine/cmp_TInstall.h"
#include "engine/self_extract_info.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "platform/win/paths.h"
#include "script/script_exceptions.h"

namespace wenmoor {
namespace {

namespace fs = std::filesystem;

std::string HostContent(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class BuildDistributionTest : public testing::ScriptFixture {
 protected:
  BuildDistributionTest() {
    TApplication::Instance().SetExeName(kProgram);
    TApplication::Instance().SetParams({});
    install_ = Create<TInstall>(form());
    install_->BeginLoading();
    install_->Loaded();
    platform::ForceDirectories("C:\\prog");
    TFileStream(kProgram, fmCreate).Write("program bytes", 13);
  }
  ~BuildDistributionTest() override { TApplication::Instance().SetMainForm(nullptr); }

  std::string Content(const std::string& win_path) {
    return HostContent(*platform::Machine::Current().Paths().ToHost(win_path));
  }
  static SelfExtractInfo BlockOf(const std::string& bytes) {
    std::array<uint8_t, SelfExtractInfo::kSize> block{};
    std::memcpy(block.data(), bytes.data() + bytes.size() - block.size(), block.size());
    return SelfExtractInfo::Decode(block);
  }
  static std::string Loader() { return HostContent(fs::path(WENMOOR_FRAMEWORK_DIR) / "WenmoorLoadProgram.exe"); }

  static constexpr const char* kProgram = "C:\\prog\\setup-program";
  TCustomInstall* install_ = nullptr;
};

TEST_F(BuildDistributionTest, WithoutFilesTheSelfExtractingBlockHasNoFiles1) {
  install_->BuildDistribution(kProgram, "C:\\out", true);
  const std::string exe = Content("C:\\out\\setup.exe");
  const std::string setup1 = Content("C:\\out\\setup.1");
  const SelfExtractInfo info = BlockOf(exe);
  EXPECT_EQ(info.marker, "SELFEXTRACTING");
  EXPECT_EQ(info.setup1_start, static_cast<int32_t>(Loader().size()));
  EXPECT_EQ(info.setup1_end, static_cast<int32_t>(Loader().size() + setup1.size() - 1));
  EXPECT_EQ(info.files1_start, 0);
  EXPECT_EQ(info.files1_end, 0);
  EXPECT_FALSE(platform::FileExists("C:\\out\\files.1"));
  EXPECT_FALSE(platform::FileExists("C:\\out\\filelist.lst"));
}

TEST_F(BuildDistributionTest, NotSelfExtractingSetupExeIsTheLoaderAndItsBlock) {
  install_->BuildDistribution(kProgram, "C:\\out", false);
  const std::string exe = Content("C:\\out\\setup.exe");
  ASSERT_EQ(exe.size(), Loader().size() + SelfExtractInfo::kSize);
  EXPECT_EQ(exe.substr(0, Loader().size()), Loader());
  std::string block(SelfExtractInfo::kSize, '\0');
  block[0] = 14;
  block.replace(1, 14, "NOTSELFEXTRACT");
  EXPECT_EQ(exe.substr(Loader().size()), block);
  EXPECT_TRUE(platform::FileExists("C:\\out\\setup.1"));
}

TEST_F(BuildDistributionTest, RefusesWhatCannotBeBuilt) {
  struct Case {
    const char* name;
    std::string program;
    bool use_loader;
    const char* message;
  };
  const Case cases[] = {
      {"no loading program", kProgram, false,
       "Cannot build a stand alone executable if the UseLoadingProgram property of the TInstall is set to False"},
      {"blank program", " ", true, "Cannot create setup file. Executable is blank"},
      {"missing program", "C:\\prog\\none", true, "TInstall: Cannot find the executable file C:\\prog\\none"},
  };
  for (const Case& c : cases) {
    install_->SetUseLoadingProgram(c.use_loader);
    try {
      install_->BuildDistribution(c.program, "C:\\out", true);
      ADD_FAILURE() << c.name;
    } catch (const IEInstall& e) {
      EXPECT_EQ(e.Message(), c.message) << c.name;
    }
    EXPECT_FALSE(platform::FileExists("C:\\out\\setup.exe")) << c.name;
    EXPECT_FALSE(platform::FileExists("C:\\out\\~setup.1")) << c.name;
  }
}

}  // namespace
}  // namespace wenmoor
