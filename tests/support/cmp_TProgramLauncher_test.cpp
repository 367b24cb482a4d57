// TProgramLauncher: published properties, launching, failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/win/win_error.h"
#include "support/cmp_TProgramLauncher.h"
#include "support/temp_prefix.h"

namespace fs = std::filesystem;

namespace wenmoor {
namespace {

TEST(ProgramLauncherTest, PublishedPropertiesAndDefaults) {
  const TClassInfo* info = TClassInfo::Find("TProgramLauncher");
  ASSERT_TRUE(info);
  ComponentPtr<> created = info->Create(nullptr);
  auto* launcher = dynamic_cast<TProgramLauncher*>(created.get());
  ASSERT_TRUE(launcher);
  EXPECT_EQ(launcher->Action(), "Open");
  EXPECT_EQ(launcher->FileName(), "");
  EXPECT_EQ(launcher->ShowMode(), smNormal);
  EXPECT_EQ(launcher->Timeout(), -1);
  EXPECT_TRUE(launcher->Wait());
  for (const char* name : {"Action", "FileName", "Parameters", "ShowMode", "StartDir", "Timeout", "Wait"})
    EXPECT_TRUE(info->FindProperty(name)) << name;
  const TPropInfo* action = info->FindProperty("Action");
  EXPECT_FALSE(action->IsStored(*launcher));  // "Open" is the default
  launcher->SetAction("Print");
  EXPECT_TRUE(action->IsStored(*launcher));
  EXPECT_EQ(info->FindProperty("ShowMode")->enum_info->Name(3), "smHide");

  const struct {
    TplShowMode mode;
    uint16_t command;
  } shows[] = {{smNormal, 1}, {smMaximized, 3}, {smMinimized, 2}, {smHide, 0}};
  for (const auto& s : shows) EXPECT_EQ(ShowCommandOf(s.mode), s.command);
}

TEST(ProgramLauncherTest, LaunchesAndDoesNotWaitForTheEnd) {
  test::TempPrefix prefix;
  const fs::path done = prefix.Dir() / "done";
  prefix.WriteFile("C:\\Program Files\\tool.sh",
                   "#!/bin/sh\nsleep 0.2\nprintf '%s ' \"$@\" > '" + done.string() + "'\n");
  fs::permissions(prefix.Host("C:\\Program Files\\tool.sh"), fs::perms::owner_exec, fs::perm_options::add);
  TProgramLauncher launcher(nullptr);
  launcher.SetFileName("C:\\Program Files\\tool.sh");
  launcher.SetParameters("/REGSERVER \"a b\"");
  launcher.SetShowMode(smHide);
  EXPECT_EQ(launcher.CommandLine(), "\"C:\\Program Files\\tool.sh\" /REGSERVER \"a b\"");
  launcher.Launch();
  EXPECT_FALSE(fs::exists(done));  // returned while the program runs
  for (int i = 0; i < 500 && (!fs::exists(done) || fs::file_size(done) == 0); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::ifstream in(done);
  std::string args((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(args, "/REGSERVER a b ");  // the program sees Parameters as its arguments
}

TEST(ProgramLauncherTest, FailureIsOutOfMemoryWithTheRealCode) {
  test::TempPrefix prefix;
  TProgramLauncher launcher(nullptr);
  launcher.SetFileName("C:\\missing.exe");
  try {
    launcher.Launch();
    ADD_FAILURE() << "no exception";
  } catch (const EProgramLauncherFailed& e) {
    EXPECT_STREQ(e.what(), "Out of memory");
    EXPECT_EQ(e.ErrorCode(), platform::ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(dynamic_cast<const EWenmoorAbnormal*>(&e));
  }
  fs::copy_file(fs::path(WENMOOR_TEST_DATA) / "pe" / "en1200_x64.exe", prefix.DriveC() / "setup.exe");
  launcher.SetFileName("C:\\setup.exe");
  try {
    launcher.Launch();
    ADD_FAILURE() << "no exception";
  } catch (const EProgramLauncherFailed& e) {
    EXPECT_EQ(e.ErrorCode(), platform::ERROR_BAD_EXE_FORMAT);
  }
}

}  // namespace
}  // namespace wenmoor
