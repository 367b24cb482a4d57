// The batch interpreter: the commands this system writes, control flow,
// parameters, and what it reports.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/win/batch.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "support/temp_prefix.h"

namespace wenmoor::platform {
namespace {

class BatchTest : public ::testing::Test {
 protected:
  int Run(const std::string& text, std::vector<std::string> params = {"C:\\windows\\temp\\run.bat"}) {
    out_.str("");
    err_.str("");
    BatchInterpreter interpreter(out_, err_);
    return interpreter.Run(text, params);
  }
  test::TempPrefix prefix_;
  std::ostringstream out_, err_;
};

TEST_F(BatchTest, ReplacesAFileInUseAsTheInstallerWritesIt) {
  // The two lines of the replacement batch file, with short paths.
  prefix_.WriteFile("C:\\Program Files\\Fennick\\quarry.dll", "old");
  prefix_.WriteFile("C:\\Program Files\\Fennick\\quarry.1", "new");
  EXPECT_EQ(Run("erase C:\\PROGRA~1\\FENNICK\\QUARRY.DLL\r\n"
                "move C:\\PROGRA~1\\FENNICK\\quarry.1 C:\\PROGRA~1\\FENNICK\\QUARRY.DLL\r\n"),
            0)
      << err_.str();
  EXPECT_EQ(prefix_.ReadFile("C:\\Program Files\\Fennick\\quarry.dll"), "new");
  EXPECT_FALSE(FileExists("C:\\Program Files\\Fennick\\quarry.1"));
  EXPECT_NE(out_.str().find("1 file(s) moved."), std::string::npos);
}

TEST_F(BatchTest, DeletesWithWildcardsAndTrees) {
  prefix_.WriteFile("C:\\junk\\a.tmp", "");
  prefix_.WriteFile("C:\\junk\\b.TMP", "");
  prefix_.WriteFile("C:\\junk\\keep.txt", "");
  prefix_.WriteFile("C:\\tree\\sub\\deep\\x.txt", "");
  prefix_.WriteFile("C:\\tree\\ro.txt", "");
  ASSERT_TRUE(SetFileAttributes("C:\\tree\\ro.txt", FILE_ATTRIBUTE_READONLY));
  prefix_.WriteFile("C:\\rd\\s\\f.txt", "");
  ASSERT_TRUE(ForceDirectories("C:\\empty"));
  EXPECT_EQ(Run("@ECHO OFF\n"
                "DEL C:\\junk\\*.tmp\n"
                "DELTREE /Y C:\\TREE\n"
                "RD C:\\empty\n"
                "RMDIR /S /Q \"C:\\rd\"\n"),
            0)
      << err_.str();
  EXPECT_FALSE(FileExists("C:\\junk\\a.tmp"));
  EXPECT_FALSE(FileExists("C:\\junk\\b.tmp"));
  EXPECT_TRUE(FileExists("C:\\junk\\keep.txt"));
  EXPECT_FALSE(DirectoryExists("C:\\tree"));
  EXPECT_FALSE(DirectoryExists("C:\\empty"));
  EXPECT_FALSE(DirectoryExists("C:\\rd"));
  EXPECT_EQ(err_.str(), "");
}

TEST_F(BatchTest, ControlFlowAndParameters) {
  prefix_.WriteFile("C:\\Program Files\\x.txt", "");
  const int code = Run(
      "@echo off\n"
      "rem the self-deleting loop of an uninstaller\n"
      ":again\n"
      "del %1\n"
      "if exist %1 goto again\n"
      "if not exist %1 echo gone %~n1%~x1\n"
      "if \"%2\"==\"\" goto :end\n"
      "echo not reached\n"
      ":END\n"
      "echo %~dp0 %%done%% %windir%\n"
      "exit /b 3\n"
      "echo not reached either\n",
      {"C:\\windows\\temp\\run.bat", "C:\\Program Files\\x.txt"});
  EXPECT_EQ(code, 3);
  EXPECT_EQ(out_.str(), "gone x.txt\nC:\\windows\\temp\\ %done% C:\\windows\n");
  EXPECT_EQ(err_.str(), "");
  EXPECT_FALSE(FileExists("C:\\Program Files\\x.txt"));
}

TEST_F(BatchTest, EchoesCommandsUntilEchoOff) {
  Run("echo hello\n@echo still quiet\necho.\nECHO OFF\nrem x\necho\n");
  EXPECT_EQ(out_.str(), "echo hello\nhello\nstill quiet\necho.\n\nECHO OFF\nECHO is off.\n");
}

TEST_F(BatchTest, ReportsFailuresAndUnknownCommandsAndGoesOn) {
  prefix_.WriteFile("C:\\ro.txt", "");
  ASSERT_TRUE(SetFileAttributes("C:\\ro.txt", FILE_ATTRIBUTE_READONLY));
  prefix_.WriteFile("C:\\after.txt", "");
  const int code = Run(
      "@echo off\n"
      "del C:\\missing.txt\n"
      "del C:\\ro.txt\n"
      "regsvr32 /s C:\\x.dll\n"
      "if errorlevel 9009 echo unknown reported\n"
      "goto nowhere\n"
      "del C:\\after.txt\n");
  EXPECT_EQ(code, 1);
  EXPECT_EQ(err_.str(),
            "Could Not Find C:\\missing.txt\n"
            "C:\\ro.txt\nAccess is denied.\n"
            "'regsvr32' is not recognized as an internal or external command,\n"
            "operable program or batch file.\n"
            "The system cannot find the batch label specified - nowhere\n");
  EXPECT_EQ(out_.str(), "unknown reported\n");
  EXPECT_TRUE(FileExists("C:\\ro.txt"));
  EXPECT_TRUE(FileExists("C:\\after.txt"));  // the missing label ends the run
  EXPECT_EQ(Run("@del /f C:\\ro.txt\n"), 0) << err_.str();
  EXPECT_FALSE(FileExists("C:\\ro.txt"));
}

TEST_F(BatchTest, DeleteOfAFileInUseFails) {
  prefix_.WriteFile("C:\\held.dll", "");
  TFileStream held("C:\\held.dll", fmOpenRead);
  Run("@erase C:\\held.dll\n");
  EXPECT_EQ(err_.str(),
            "C:\\held.dll\nThe process cannot access the file because it is being used by another process.\n");
  EXPECT_TRUE(FileExists("C:\\held.dll"));
}

TEST_F(BatchTest, MoveIntoADirectoryAndManyFiles) {
  prefix_.WriteFile("C:\\from\\a.txt", "a");
  prefix_.WriteFile("C:\\from\\b.txt", "b");
  ASSERT_TRUE(ForceDirectories("C:\\to"));
  EXPECT_EQ(Run("@move C:\\from\\*.txt C:\\to\n"), 0) << err_.str();
  EXPECT_EQ(prefix_.ReadFile("C:\\to\\a.txt"), "a");
  EXPECT_EQ(prefix_.ReadFile("C:\\to\\b.txt"), "b");
  EXPECT_EQ(out_.str(), "        2 file(s) moved.\n");
  EXPECT_EQ(Run("@move C:\\to\\*.txt C:\\single.txt\n"), 1);
  EXPECT_EQ(err_.str(), "Cannot move multiple files to a single file.\n");
}

TEST_F(BatchTest, RunsAFileFromTheMachine) {
  prefix_.WriteFile("C:\\job.bat", "@echo off\r\necho %0 %1\r\n");
  std::ostringstream out, err;
  EXPECT_EQ(RunBatchFile("C:\\JOB.BAT", {"C:\\JOB.BAT", "arg"}, out, err), 0);
  EXPECT_EQ(out.str(), "C:\\JOB.BAT arg\n");
  EXPECT_EQ(RunBatchFile("C:\\none.bat", {"C:\\none.bat"}, out, err), 1);
  EXPECT_EQ(err.str(), "The batch file cannot be found.\n");
}

}  // namespace
}  // namespace wenmoor::platform
