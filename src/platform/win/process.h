// Processes of the emulated machine: CreateProcess, WaitForInputIdle,
// waiting for the end and the exit code.
//
// What runs:
// - a native executable (ELF, or a script with "#!") given by its Windows
//   path runs natively (posix_spawn), in the caller's environment with
//   WINEPREFIX naming this machine, so that a program of ours that it
//   starts sees the same machine;
// - a ".bat" or ".cmd" file runs in a child process through the batch
//   interpreter (batch.h);
// - anything else fails as CreateProcess fails: ERROR_BAD_EXE_FORMAT for a
//   Windows program (a PE file) or any other content, ERROR_FILE_NOT_FOUND
//   for a program that is not there, ERROR_ACCESS_DENIED for a directory
//   or a file without execute permission.
// "Ready for input" (WaitForInputIdle) means that the program has started:
// a native program has no message queue to wait for.
//
// The batch interpreter runs in a child made by fork(). That is safe here
// because the system runs its logic on one thread; a fork while another
// thread holds a lock of the library could leave the child blocked.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wenmoor::platform {

// CommandLineToArgvW: the first token by the rules for a program name
// (quotes group, no escapes), the others by the C runtime's rules
// (backslashes escape a quote only before it, "" inside quotes is a quote).
std::vector<std::string> CommandLineToArgv(std::string_view command_line);
// One argument quoted so that CommandLineToArgv gives it back unchanged.
std::string QuoteArgument(std::string_view argument);

// Window show commands. Native programs have no windows; a program started
// with SW_HIDE has its output discarded, as a hidden console's is.
inline constexpr uint16_t SW_HIDE = 0;
inline constexpr uint16_t SW_SHOWNORMAL = 1;
inline constexpr uint16_t SW_SHOWMINIMIZED = 2;
inline constexpr uint16_t SW_SHOWMAXIMIZED = 3;

inline constexpr uint32_t STILL_ACTIVE = 259;

struct StartupInfo {
  uint16_t show_window = SW_SHOWNORMAL;
  std::string current_directory;  // Windows path; empty: the caller's
};

class Process {
 public:
  // CreateProcess. The program is `application` when given, else the first
  // token of `command_line` (searched for as SearchPath does, with ".exe"
  // appended to a name without extension). `command_line` is the whole
  // command line the program receives: its first token is the program's
  // argv[0], exactly as a Windows program parses it. nullptr and the last
  // error on failure.
  static std::unique_ptr<Process> Create(std::string_view application, std::string_view command_line,
                                         const StartupInfo& startup = {});
  // Does not end the program. A child that has not been waited for is
  // reaped later, so no zombie outlives the next Create.
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  pid_t Id() const { return pid_; }
  // True: the program has started (see above).
  bool WaitForInputIdle() const { return true; }
  // Waits for the end, at most `timeout` (forever without one); true when
  // the program has ended.
  bool Wait(std::optional<std::chrono::milliseconds> timeout = std::nullopt);
  // The exit code, or STILL_ACTIVE while the program runs. A program ended
  // by a signal reports 128 + the signal's number, as a shell does.
  uint32_t ExitCode();

 private:
  explicit Process(pid_t pid) : pid_(pid) {}
  bool Poll(bool block);

  pid_t pid_;
  bool ended_ = false;
  uint32_t exit_code_ = STILL_ACTIVE;
};

}  // namespace wenmoor::platform
