// Processes and libraries: command lines, native programs, batch files,
// and the refusals CreateProcess and LoadLibrary give.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/win/library.h"
#include "platform/win/paths.h"
#include "platform/win/process.h"
#include "platform/win/win_error.h"
#include "support/temp_prefix.h"

namespace fs = std::filesystem;

namespace wenmoor::platform {
namespace {

TEST(CommandLineTest, SplitsAsWindowsDoes) {
  using V = std::vector<std::string>;
  const struct {
    const char* line;
    V args;
  } cases[] = {
      {"prog a b", {"prog", "a", "b"}},
      {"\"C:\\Program Files\\x.exe\" /s", {"C:\\Program Files\\x.exe", "/s"}},
      {"C:\\dir\\\"quoted\"\\x a", {"C:\\dir\\quoted\\x", "a"}},  // argv[0]: quotes only
      {"p \"a b\" c", {"p", "a b", "c"}},
      {"p a\\\\\\\"b", {"p", "a\\\"b"}},         // 3 backslashes + quote: one backslash, a quote
      {"p a\\\\\"b c\"", {"p", "a\\b c"}},       // 2 backslashes + quote: one backslash, quoting
      {"p a\\b\\\\c", {"p", "a\\b\\\\c"}},       // backslashes not before a quote stay
      {"p \"a\"\"b\"", {"p", "a\"b"}},           // "" inside quotes
      {"p   \t a  ", {"p", "a"}},
      {"p \"\"", {"p", ""}},
      {"", {""}},
  };
  for (const auto& c : cases) EXPECT_EQ(CommandLineToArgv(c.line), c.args) << c.line;
}

TEST(CommandLineTest, QuotingRoundTrips) {
  for (const char* arg : {"plain", "with space", "", "tail\\", "tail space\\", "q\"uote", "\\\"", "C:\\Program Files\\"}) {
    const std::vector<std::string> args = CommandLineToArgv("p " + QuoteArgument(arg));
    ASSERT_EQ(args.size(), 2u) << arg;
    EXPECT_EQ(args[1], arg);
  }
}

class ProcessTest : public ::testing::Test {
 protected:
  // A shell script on drive C: that records its arguments and exits with `code`.
  std::string Script(const std::string& name, int code) {
    const std::string win = "C:\\tools\\" + name;
    prefix_.WriteFile(win, "#!/bin/sh\nprintf '%s|' \"$0\" \"$@\" > \"$(dirname \"$0\")/args\"\npwd > \"$(dirname \"$0\")/cwd\"\nexit " +
                               std::to_string(code) + "\n");
    fs::permissions(prefix_.Host(win), fs::perms::owner_exec, fs::perm_options::add);
    return win;
  }
  test::TempPrefix prefix_;
};

TEST_F(ProcessTest, NativeProgramGetsItsCommandLineAndExitCode) {
  const std::string prog = Script("run me.sh", 7);
  StartupInfo startup;
  startup.current_directory = "C:\\WINDOWS";
  std::unique_ptr<Process> p =
      Process::Create(prog, QuoteArgument(prog) + " /REGSERVER \"two words\"", startup);
  ASSERT_TRUE(p) << GetLastError();
  EXPECT_TRUE(p->WaitForInputIdle());
  ASSERT_TRUE(p->Wait(std::chrono::seconds(10)));
  EXPECT_EQ(p->ExitCode(), 7u);
  // $0 of a script is the file the kernel ran; the arguments follow it.
  const std::string args = prefix_.ReadFile("C:\\tools\\args");
  EXPECT_EQ(args.substr(args.find('|')), "|/REGSERVER|two words|");
  EXPECT_EQ(prefix_.ReadFile("C:\\tools\\cwd"), (prefix_.DriveC() / "windows").string() + "\n");
}

TEST_F(ProcessTest, ProgramFoundFromTheCommandLineAlone) {
  Script("tool", 0);
  const fs::path saved = fs::current_path();
  ASSERT_TRUE(prefix_.Machine().Paths().SetCurrentDirectory("C:\\Tools"));
  std::unique_ptr<Process> p = Process::Create("", "TOOL a");
  fs::current_path(saved);
  ASSERT_TRUE(p) << GetLastError();
  p->Wait();
  EXPECT_EQ(p->ExitCode(), 0u);
  EXPECT_EQ(prefix_.ReadFile("C:\\tools\\args").substr(prefix_.ReadFile("C:\\tools\\args").find('|')), "|a|");
}

TEST_F(ProcessTest, RunningProgramReportsStillActive) {
  std::unique_ptr<Process> p = Process::Create("Z:\\bin\\sleep", "sleep 30");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->ExitCode(), STILL_ACTIVE);
  EXPECT_FALSE(p->Wait(std::chrono::milliseconds(20)));
  kill(p->Id(), SIGTERM);
  ASSERT_TRUE(p->Wait());
  EXPECT_EQ(p->ExitCode(), 128u + SIGTERM);
}

TEST_F(ProcessTest, BatchFilesRunThroughTheInterpreter) {
  prefix_.WriteFile("C:\\windows\\temp\\a.txt", "x");
  prefix_.WriteFile("C:\\windows\\temp\\job.bat", "@echo off\r\ndel %1\r\nexit 4\r\n");
  std::unique_ptr<Process> p =
      Process::Create("C:\\windows\\temp\\job.bat", "job.bat C:\\windows\\temp\\a.txt");
  ASSERT_TRUE(p) << GetLastError();
  ASSERT_TRUE(p->Wait(std::chrono::seconds(10)));
  EXPECT_EQ(p->ExitCode(), 4u);
  EXPECT_FALSE(fs::exists(prefix_.Host("C:\\windows\\temp\\a.txt")));
}

TEST_F(ProcessTest, AProgramStartedHiddenWritesNothingToOurConsole) {
  prefix_.WriteFile("C:\\tools\\talk.sh", "#!/bin/sh\necho native; echo native >&2\n");
  fs::permissions(prefix_.Host("C:\\tools\\talk.sh"), fs::perms::owner_exec, fs::perm_options::add);
  prefix_.WriteFile("C:\\tools\\talk.bat", "ERASE C:\\tools\\missing.txt\r\n");
  for (const char* program : {"C:\\tools\\talk.sh", "C:\\tools\\talk.bat"}) {
    for (const uint16_t show : {SW_HIDE, SW_SHOWNORMAL}) {
      StartupInfo startup;
      startup.show_window = show;
      testing::internal::CaptureStdout();
      testing::internal::CaptureStderr();
      std::unique_ptr<Process> p = Process::Create(program, program, startup);
      const bool waited = p && p->Wait(std::chrono::seconds(10));
      const std::string out = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
      ASSERT_TRUE(waited) << program;
      EXPECT_EQ(out.empty(), show == SW_HIDE) << program << " shown " << show << ": " << out;
    }
  }
}

TEST_F(ProcessTest, FailsAsCreateProcessFails) {
  fs::copy_file(fs::path(WENMOOR_TEST_DATA) / "pe" / "en1200_x64.exe", prefix_.DriveC() / "setup.exe");
  prefix_.WriteFile("C:\\readme.txt", "not a program");
  prefix_.WriteFile("C:\\noexec.sh", "#!/bin/sh\n");
  const struct {
    const char* program;
    uint32_t error;
  } cases[] = {
      {"C:\\setup.exe", ERROR_BAD_EXE_FORMAT},    // a Windows program
      {"C:\\readme.txt", ERROR_BAD_EXE_FORMAT},   // no program at all
      {"C:\\missing.exe", ERROR_FILE_NOT_FOUND},
      {"C:\\windows", ERROR_ACCESS_DENIED},
      {"C:\\noexec.sh", ERROR_ACCESS_DENIED},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(Process::Create(c.program, c.program)) << c.program;
    EXPECT_EQ(GetLastError(), c.error) << c.program;
  }
  StartupInfo bad_dir;
  bad_dir.current_directory = "C:\\no such dir";
  EXPECT_FALSE(Process::Create("Z:\\bin\\true", "true", bad_dir));
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
}

TEST_F(ProcessTest, LibrariesLoadNativelyAndRefusePeFiles) {
  fs::copy_file(fs::path(WENMOOR_TEST_DATA) / "pe" / "en1252_x86.dll", prefix_.DriveC() / "server.dll");
  SetLastError(0);
  EXPECT_FALSE(Library::Load("C:\\server.dll"));
  EXPECT_EQ(GetLastError(), ERROR_BAD_EXE_FORMAT);
  EXPECT_EQ(GetLastError(), 193u);
  EXPECT_FALSE(Library::Load("C:\\missing.dll"));
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);

  // A native shared object by its Windows path (the C library's math part).
  std::string libm;
  for (const char* dir : {"/lib/x86_64-linux-gnu", "/usr/lib/x86_64-linux-gnu", "/lib64", "/usr/lib64", "/lib"})
    if (fs::exists(fs::path(dir) / "libm.so.6")) libm = (fs::path(dir) / "libm.so.6").string();
  if (libm.empty()) GTEST_SKIP() << "no libm.so.6 found";
  std::unique_ptr<Library> lib = Library::Load(prefix_.Machine().Paths().ToWindows(libm));
  ASSERT_TRUE(lib) << GetLastError();
  auto cosine = reinterpret_cast<double (*)(double)>(lib->ProcAddress("cos"));
  ASSERT_TRUE(cosine);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_FALSE(lib->ProcAddress("DllRegisterServer"));
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
}

}  // namespace
}  // namespace wenmoor::platform
