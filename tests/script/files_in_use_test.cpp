// A destination that cannot be deleted (held open by another process, or
// read-only) is installed under a new name and swapped in at the next
// start of Windows, by the means of the running Windows family.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "platform/rtl/sysutils.h"
#include "platform/win/files.h"
#include "platform/win/batch.h"
#include "platform/win/ini_file.h"
#include "platform/win/pending_renames.h"
#include "platform/win/process.h"
#include "script/install_file_fixture.h"
#include "support/routines_API.h"

namespace wenmoor {
namespace {

namespace fs = std::filesystem;

const std::string kInUse = std::string(testing::kDemoDir) + "\\a.dll";
const char kRunOnceKey[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// Keeps a file open in a child process until destroyed.
class HeldOpen {
 public:
  HeldOpen(const test::TempPrefix& prefix, const std::string& win_path) {
    const fs::path ready = prefix.Dir() / "ready";
    const std::string script =
        "exec 3<'" + prefix.Host(win_path).string() + "'; touch '" + ready.string() + "'; exec sleep 30";
    child_ = platform::Process::Create("Z:\\bin\\sh", "sh -c " + platform::QuoteArgument(script));
    EXPECT_TRUE(child_) << "child not started";
    for (int i = 0; i < 500 && !fs::exists(ready); ++i) usleep(10'000);
    EXPECT_TRUE(fs::exists(ready)) << "child never opened the file";
  }
  ~HeldOpen() {
    if (!child_) return;
    kill(child_->Id(), SIGKILL);
    child_->Wait(std::chrono::seconds(10));
  }

 private:
  std::unique_ptr<platform::Process> child_;
};

enum class Holder { ChildProcess, ReadOnly };

struct InUseCase {
  const char* windows;
  Holder holder;
  bool nine_x;
};

class FilesInUseTest : public ::testing::TestWithParam<InUseCase> {};

TEST_P(FilesInUseTest, DestinationIsInstalledUnderANewNameAndSwappedAtRestart) {
  const InUseCase& c = GetParam();
  testing::InstallFileFixture fx(c.windows);
  TCustomInstallFile* file = fx.File("a.dll");
  fx.prefix().WriteFile(kInUse, "old");
  // a.1 is taken already: the next free number is used.
  fx.prefix().WriteFile(std::string(testing::kDemoDir) + "\\a.1", "someone else's");
  std::unique_ptr<HeldOpen> held;
  if (c.holder == Holder::ChildProcess) held = std::make_unique<HeldOpen>(fx.prefix(), kInUse);
  else ASSERT_TRUE(platform::SetFileAttributes(kInUse, platform::FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(platform::IsFileInUse(kInUse) || c.holder == Holder::ReadOnly);

  int replacing = 0;
  file->OnReplacing.Assign([&](TCustomInstallFile*) { ++replacing; });
  file->PrepareReplace();

  EXPECT_EQ(replacing, 1);
  EXPECT_TRUE(file->WillCopy());
  EXPECT_TRUE(file->ReplacedAtRestart());
  EXPECT_EQ(file->DestName(), "a.2");
  EXPECT_EQ(file->DestinationPath(), std::string(testing::kDemoDir) + "\\a.2");
  EXPECT_EQ(file->FinalDestinationPath(), kInUse);
  EXPECT_TRUE(fx.install()->Reboot());
  EXPECT_EQ(fx.prefix().ReadFile(kInUse), "old");

  const std::string short_dir = ExtractFileDir(GetShortPath(kInUse));
  ASSERT_FALSE(short_dir.empty());
  EXPECT_NE(short_dir.find("PROGRA~1"), std::string::npos) << short_dir;
  const std::vector<platform::PendingRename> pending =
      platform::ReadPendingRenames(platform::Machine::Current().Registry());
  const std::string wininit = fx.prefix().ReadFile("C:\\windows\\WININIT.INI");
  if (c.nine_x) {
    EXPECT_TRUE(pending.empty());
    const auto entries = platform::IniFile::Parse(wininit).Entries("Rename");
    ASSERT_EQ(entries.size(), 1u) << wininit;
    EXPECT_EQ(entries[0].first, short_dir + "\\a.dll");
    EXPECT_EQ(entries[0].second, short_dir + "\\a.2");
  } else {
    EXPECT_EQ(wininit, "");
    const std::vector<platform::PendingRename> want{{std::string(testing::kDemoDir) + "\\a.2", kInUse, true}};
    EXPECT_EQ(pending, want);
  }
  // The delayed move or WININIT.INI took it: no batch file.
  for (TRootKeys root : {hkLocalMachine, hkCurrentUser}) {
    std::string batch;
    ReadRegistryString(root, kRunOnceKey, "WenmoorBatFile", batch, "");
    EXPECT_EQ(batch, "");
  }

  // After installing, the file waits for the restart to be registered.
  file->SetActiveX(true);
  file->AfterInstalled();
  EXPECT_EQ(testing::InstallFileFixture::Hklm(std::string(testing::kRecordKey) + "\\Unfinished", file->Name()), "0");
}

INSTANTIATE_TEST_SUITE_P(
    FamiliesAndHolders, FilesInUseTest,
    ::testing::Values(InUseCase{"winxp", Holder::ChildProcess, false}, InUseCase{"win2k", Holder::ReadOnly, false},
                      InUseCase{"win98", Holder::ChildProcess, true}, InUseCase{"winme", Holder::ReadOnly, true}),
    [](const auto& info) {
      return std::string(info.param.windows) + (info.param.holder == Holder::ReadOnly ? "_read_only" : "_held_open");
    });

// When the machine refuses the delayed move (here: its HKLM hive cannot be
// written, as on a full disk), a batch file does the swap; it runs once at
// the next logon and really puts the new file in place.
TEST(FilesInUseBatch, ABatchFileRunOnceSwapsTheFilesWhenTheDelayedMoveFails) {
  test::TempPrefix prefix;
  ComponentPtr<TForm> form = CreateUnowned<TForm>();
  auto* dir = Create<TInstallDirectory>(form.get());
  dir->SetDestDirType(nullptr);
  dir->SetDestDir(testing::kDemoDir);
  prefix.WriteFile("C:\\src\\a.dll", "new");
  TCustomInstallFile* file = TCustomInstallFile::CreateInContainer(form.get(), dir, "C:\\src\\a.dll");
  prefix.WriteFile(kInUse, "old");
  auto held = std::make_unique<HeldOpen>(prefix, kInUse);

  platform::Machine::Current().Registry().Sync();
  const fs::path journal = prefix.Path() / "system.reg.journal";
  fs::remove(journal);
  fs::create_symlink("/dev/full", journal);
  file->PrepareReplace();
  fs::remove(journal);

  ASSERT_EQ(file->DestName(), "a.1");
  EXPECT_TRUE(platform::ReadPendingRenames(platform::Machine::Current().Registry()).empty());
  std::string batch;
  ReadRegistryString(hkCurrentUser, kRunOnceKey, "WenmoorBatFile", batch, "");
  ASSERT_EQ(ExtractFileExt(batch), ".bat") << batch;
  const std::string short_dir = ExtractFileDir(GetShortPath(kInUse));
  EXPECT_EQ(prefix.ReadFile(batch), "erase " + short_dir + "\\a.dll\r\nmove " + short_dir + "\\a.1 " + short_dir +
                                        "\\a.dll\r\n");

  // The installation writes a.1; at the next logon nothing holds a.dll.
  prefix.WriteFile(std::string(testing::kDemoDir) + "\\a.1", "new");
  held.reset();
  std::ostringstream out, err;
  EXPECT_EQ(platform::RunBatchFile(batch, {batch}, out, err), 0) << err.str();
  EXPECT_EQ(prefix.ReadFile(kInUse), "new");
  EXPECT_FALSE(platform::FileExists(std::string(testing::kDemoDir) + "\\a.1"));
}

// The whole way: an installation run meets the file in use, ends waiting
// for a restart, and the restart of the machine puts the new file in place.
class FileInUseRestartTest : public ::testing::TestWithParam<const char*> {};

TEST_P(FileInUseRestartTest, NewFileIsInPlaceAfterTheRestart) {
  testing::InstallFileFixture fx(GetParam());
  TCustomInstallFile* file = fx.File("a.dll");
  fx.install()->Compress({coForceNetFilesLocal});
  fx.prefix().WriteFile(kInUse, "old");
  auto held = std::make_unique<HeldOpen>(fx.prefix(), kInUse);

  fx.form()->Activate();
  EXPECT_EQ(fx.install()->Result(), RunResult::RestartPending);
  EXPECT_TRUE(file->ReplacedAtRestart());
  EXPECT_EQ(fx.prefix().ReadFile(kInUse), "old");
  EXPECT_EQ(fx.prefix().ReadFile(std::string(testing::kDemoDir) + "\\a.1"), "new");

  held.reset();
  std::string tool = "Z:" + std::string(WENMOOR_BIN_DIR) + "/wenmoor";
  std::replace(tool.begin(), tool.end(), '/', '\\');
  std::unique_ptr<platform::Process> restart = platform::Process::Create(tool, "wenmoor restart");
  ASSERT_TRUE(restart);
  ASSERT_TRUE(restart->Wait(std::chrono::seconds(60)));
  EXPECT_EQ(fx.prefix().ReadFile(kInUse), "new");
  EXPECT_FALSE(platform::FileExists(std::string(testing::kDemoDir) + "\\a.1"));
}

INSTANTIATE_TEST_SUITE_P(Families, FileInUseRestartTest, ::testing::Values("winxp", "win98"));

TEST(FilesNotInUse, AnExistingDestinationIsDeletedAndAMissingOneLeftAlone) {
  testing::InstallFileFixture fx;
  TCustomInstallFile* existing = fx.File("old.txt");
  TCustomInstallFile* missing = fx.File("new.txt");
  fx.prefix().WriteFile(std::string(testing::kDemoDir) + "\\old.txt", "old");
  for (TCustomInstallFile* f : {existing, missing}) {
    f->PrepareReplace();
    EXPECT_TRUE(f->WillCopy()) << f->Name();
    EXPECT_FALSE(f->ReplacedAtRestart()) << f->Name();
    EXPECT_EQ(f->DestName(), ExtractFileName(f->SourcePath())) << f->Name();
  }
  EXPECT_FALSE(platform::FileExists(std::string(testing::kDemoDir) + "\\old.txt"));
  EXPECT_FALSE(fx.install()->Reboot());
  EXPECT_TRUE(platform::ReadPendingRenames(platform::Machine::Current().Registry()).empty());
}

}  // namespace
}  // namespace wenmoor
