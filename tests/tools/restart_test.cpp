// `wenmoor restart`: the start-up steps of Windows, in Windows' order.
#include <gtest/gtest.h>

#include "distribution_fixture.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "platform/win/ini_file.h"
#include "platform/win/os_version.h"
#include "platform/win/pending_renames.h"
#include "platform/win/shutdown.h"
#include "registry/routines_Registry.h"

namespace wenmoor::test {
namespace {

const std::string kRunOnce = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

class RestartTest : public DistributionFixture {
 protected:
  // A program for the RunOnce values: it logs its name, what the replaced
  // file holds when it runs, and whether its own RunOnce value is still there.
  void WriteStepProgram() {
    const fs::path wenmoor = fs::path(WENMOOR_BIN_DIR) / "wenmoor";
    WriteHostFile(step(), "#!/bin/sh\n"
                          "if '" + wenmoor.string() + "' reg query \"$2\\\\Software\\\\Microsoft\\\\Windows\\\\"
                          "CurrentVersion\\\\RunOnce\" /v \"$1\" >/dev/null 2>&1; then v=present; else v=deleted; fi\n"
                          "echo \"$1 $(cat '" + (drive_c() / "app" / "a.dll").string() + "') $v\" >> '" +
                          log().string() + "'\n");
    fs::permissions(step(), fs::perms::owner_all);
  }
  fs::path step() const { return prog_dir() / "step.sh"; }
  fs::path log() const { return prog_dir() / "log.txt"; }

  // The machine as an installation leaves it before a restart: a file in
  // use swapped at the restart, the installer's RunOnce entries, the mark.
  void PrepareMachine(const char* version) {
    platform::Machine::TestScope scope(prefix());
    platform::SetWindowsVersion(platform::CurrentRegistry(), version);
    platform::ForceDirectories("C:\\app");
    TFileStream("C:\\app\\a.dll", fmCreate).Write("old", 3);
    TFileStream("C:\\app\\a.1", fmCreate).Write("new", 3);
    TFileStream("C:\\app\\b.tmp", fmCreate).Write("x", 1);
    if (platform::ReadOsVersion(platform::CurrentRegistry()).IsWin9x()) {
      const std::string ini = platform::GetWindowsDirectory() + "\\WININIT.INI";
      ASSERT_TRUE(platform::WritePrivateProfileString("Rename", "C:\\app\\a.dll", "C:\\app\\a.1", ini));
      ASSERT_TRUE(platform::WritePrivateProfileString("Rename", "NUL", "C:\\app\\b.tmp", ini));
    } else {
      platform::AddPendingRename(platform::CurrentRegistry(), {"C:\\app\\a.1", "C:\\app\\a.dll", true});
      platform::AddPendingRename(platform::CurrentRegistry(), {"C:\\app\\b.tmp", "", false});
    }
    const std::string step_win = WinOf(step());
    WriteRegistryString(hkCurrentUser, kRunOnce, "UserStep", step_win + " UserStep HKCU");
    WriteRegistryString(hkLocalMachine, kRunOnce, "MachineStep1", step_win + " MachineStep1 HKLM");
    WriteRegistryString(hkLocalMachine, kRunOnce, "MachineStep2", step_win + " MachineStep2 HKLM");
    platform::TokenHandle token;
    uint64_t luid = 0;
    ASSERT_TRUE(platform::OpenProcessToken(platform::TOKEN_ADJUST_PRIVILEGES | platform::TOKEN_QUERY, token));
    ASSERT_TRUE(platform::LookupPrivilegeValue("SeShutdownPrivilege", luid));
    ASSERT_TRUE(platform::AdjustTokenPrivileges(token, luid, platform::SE_PRIVILEGE_ENABLED));
    ASSERT_TRUE(platform::ExitWindowsEx(platform::EWX_REBOOT, 0));
  }
};

TEST_F(RestartTest, RenamesThenRunOnceOfTheMachineThenOfTheUserEachDeletedBeforeItRuns) {
  for (const char* version : {"winxp", "win98"}) {
    SCOPED_TRACE(version);
    fs::remove_all(prefix());
    fs::remove(log());
    WriteStepProgram();
    PrepareMachine(version);

    Outcome o = Wenmoor("restart");
    ASSERT_EQ(o.status, 0) << o.output;
    EXPECT_EQ(ReadHostFile(log()),
              "MachineStep1 new deleted\n"
              "MachineStep2 new deleted\n"
              "UserStep new deleted\n");
    EXPECT_FALSE(fs::exists(drive_c() / "app" / "a.1"));
    EXPECT_FALSE(fs::exists(drive_c() / "app" / "b.tmp"));

    platform::Machine::TestScope scope(prefix());
    EXPECT_FALSE(platform::RestartPending());
    EXPECT_TRUE(platform::ReadPendingRenames(platform::CurrentRegistry()).empty());
    EXPECT_FALSE(platform::FileExists(platform::GetWindowsDirectory() + "\\WININIT.INI"));
  }
}

TEST_F(RestartTest, ASecondRestartHasNothingLeftToDo) {
  WriteStepProgram();
  PrepareMachine("winxp");
  ASSERT_EQ(Wenmoor("restart").status, 0);
  const std::string once = ReadHostFile(log());
  Outcome again = Wenmoor("restart");
  EXPECT_EQ(again.status, 0) << again.output;
  EXPECT_EQ(ReadHostFile(log()), once);
  EXPECT_EQ(ReadHostFile(drive_c() / "app" / "a.dll"), "new");
}

}  // namespace
}  // namespace wenmoor::test
