// Starting programs: native ones with posix_spawn, batch files in a forked
// interpreter.
#include "platform/win/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <iostream>
#include <thread>

#include "platform/rtl/typeinfo.h"
#include "platform/win/batch.h"
#include "platform/win/file_in_use.h"
#include "platform/win/files.h"
#include "platform/win/executable.h"
#include "platform/win/machine.h"
#include "platform/win/paths.h"
#include "platform/win/win_error.h"

extern char** environ;

namespace fs = std::filesystem;

namespace wenmoor::platform {

namespace {

// Children whose Process was destroyed before they ended.
std::mutex& OrphansMutex() {
  static std::mutex m;
  return m;
}
std::vector<pid_t>& Orphans() {
  static std::vector<pid_t> pids;
  return pids;
}

void ReapOrphans() {
  std::lock_guard lock(OrphansMutex());
  std::vector<pid_t>& pids = Orphans();
  for (auto it = pids.begin(); it != pids.end();) {
    int status = 0;
    const pid_t r = ::waitpid(*it, &status, WNOHANG);
    it = (r == *it || (r < 0 && errno == ECHILD)) ? pids.erase(it) : it + 1;
  }
}

enum class Kind { Native, Batch };

// What the file is, by its extension and its first bytes; false with the
// error CreateProcess gives when it is nothing we can run.
bool Classify(const fs::path& host, Kind& kind) {
  struct stat st {};
  if (::stat(host.c_str(), &st) != 0) return Fail(ERROR_FILE_NOT_FOUND);
  if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  const std::string ext = host.extension().string();
  if (SameText(ext, ".bat") || SameText(ext, ".cmd")) {
    kind = Kind::Batch;
    return true;
  }
  char magic[4] = {};
  const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FailFromErrno();
  const ssize_t n = ::read(fd, magic, sizeof magic);
  ::close(fd);
  if (!IsHostProgramMagic(magic, static_cast<long>(n)))
    return Fail(ERROR_BAD_EXE_FORMAT);  // a PE file, or no program at all
  if (::access(host.c_str(), X_OK) != 0) return Fail(ERROR_ACCESS_DENIED);
  kind = Kind::Native;
  return true;
}

std::vector<std::string> Environment(const fs::path& prefix) {
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e)
    if (std::strncmp(*e, "WINEPREFIX=", 11) != 0) env.emplace_back(*e);
  env.push_back("WINEPREFIX=" + prefix.string());
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> ptrs;
  for (std::string& s : strings) ptrs.push_back(s.data());
  ptrs.push_back(nullptr);
  return ptrs;
}

std::unique_ptr<Process> NoProcess(uint32_t code) {
  SetLastError(code);
  return nullptr;
}

}  // namespace

std::vector<std::string> CommandLineToArgv(std::string_view s) {
  std::vector<std::string> args;
  size_t i = 0;
  // The program name: up to the first blank, with quotes grouping.
  std::string first;
  bool quoted = false;
  while (i < s.size() && (quoted || (s[i] != ' ' && s[i] != '\t'))) {
    if (s[i] == '"') quoted = !quoted;
    else first += s[i];
    ++i;
  }
  args.push_back(first);
  for (;;) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    if (i >= s.size()) break;
    std::string arg;
    bool in_quotes = false;
    while (i < s.size() && (in_quotes || (s[i] != ' ' && s[i] != '\t'))) {
      if (s[i] == '\\') {
        size_t slashes = 0;
        while (i < s.size() && s[i] == '\\') ++slashes, ++i;
        if (i < s.size() && s[i] == '"') {
          arg.append(slashes / 2, '\\');
          if (slashes % 2) {
            arg += '"';
            ++i;
          }
        } else {
          arg.append(slashes, '\\');
        }
      } else if (s[i] == '"') {
        if (in_quotes && i + 1 < s.size() && s[i + 1] == '"') {  // "" inside quotes
          arg += '"';
          i += 2;
        } else {
          in_quotes = !in_quotes;
          ++i;
        }
      } else {
        arg += s[i++];
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::string QuoteArgument(std::string_view arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string_view::npos) return std::string(arg);
  std::string out = "\"";
  size_t slashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++slashes;
    } else if (c == '"') {
      out.append(slashes * 2 + 1, '\\');
      slashes = 0;
    } else {
      out.append(slashes, '\\');
      slashes = 0;
    }
    if (c != '\\') out += c;
  }
  out.append(slashes * 2, '\\');  // before the closing quote
  return out + "\"";
}

std::unique_ptr<Process> Process::Create(std::string_view application, std::string_view command_line,
                                         const StartupInfo& startup) {
  ReapOrphans();
  Machine& machine = Machine::Current();
  std::vector<std::string> argv = CommandLineToArgv(command_line);
  const std::string program = application.empty() ? argv[0] : std::string(application);
  if (program.empty()) return NoProcess(ERROR_FILE_NOT_FOUND);
  // Windows appends ".exe"; native programs mostly have no extension.
  std::optional<std::string> found = SearchPath(program, ".exe");
  if (!found) found = SearchPath(program, "");
  if (!found) return NoProcess(DirectoryExists(program) ? ERROR_ACCESS_DENIED : GetLastError());
  std::optional<fs::path> host = machine.Paths().ToHost(*found);
  Kind kind = Kind::Native;
  if (!host || !Classify(*host, kind)) return nullptr;

  std::optional<fs::path> cwd;
  if (!startup.current_directory.empty()) {
    cwd = machine.Paths().ToHost(startup.current_directory);
    struct stat st {};
    if (!cwd || ::stat(cwd->c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return NoProcess(ERROR_DIRECTORY);
  }
  if (argv.size() == 1 && argv[0].empty()) argv[0] = *found;

  // A program started hidden has no console window: what it writes is seen
  // by nobody, so it does not reach ours either.
  const bool hidden = startup.show_window == SW_HIDE;
  if (kind == Kind::Batch) {
    std::fflush(nullptr);  // so buffered output is not written twice
    const pid_t pid = ::fork();
    if (pid < 0) return NoProcess(ErrorFromErrno(errno));
    if (pid == 0) {
      // The child owns none of the parent's handles: closing the inherited
      // descriptors keeps it from holding the parent's files open.
      ::close_range(3, ~0U, 0);
      OpenFileTable::ForgetAllAfterFork();
      if (cwd && ::chdir(cwd->c_str()) != 0) ::_exit(1);
      if (hidden) {
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null >= 0) {
          ::dup2(null, 1);
          ::dup2(null, 2);
        }
      }
      argv[0] = *found;
      int code = 1;
      try {
        code = RunBatchFile(*found, argv, std::cout, std::cerr);
      } catch (...) {
      }
      std::fflush(nullptr);
      ::_exit(code);
    }
    return std::unique_ptr<Process>(new Process(pid));
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  if (cwd) posix_spawn_file_actions_addchdir_np(&actions, cwd->c_str());
  if (hidden) {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
  }
  std::vector<std::string> env = Environment(machine.Prefix());
  std::vector<char*> argp = Pointers(argv);
  std::vector<char*> envp = Pointers(env);
  pid_t pid = 0;
  const int rc = ::posix_spawn(&pid, host->c_str(), &actions, nullptr, argp.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return NoProcess(rc == ENOEXEC ? ERROR_BAD_EXE_FORMAT : ErrorFromErrno(rc));
  return std::unique_ptr<Process>(new Process(pid));
}

Process::~Process() {
  if (Poll(false)) return;
  std::lock_guard lock(OrphansMutex());
  Orphans().push_back(pid_);
}

bool Process::Poll(bool block) {
  if (ended_) return true;
  int status = 0;
  pid_t r;
  do {
    r = ::waitpid(pid_, &status, block ? 0 : WNOHANG);
  } while (r < 0 && errno == EINTR);
  if (r == 0) return false;
  ended_ = true;
  if (r < 0) exit_code_ = 0;  // reaped elsewhere: the code is lost
  else if (WIFEXITED(status)) exit_code_ = static_cast<uint32_t>(WEXITSTATUS(status));
  else if (WIFSIGNALED(status)) exit_code_ = 128 + static_cast<uint32_t>(WTERMSIG(status));
  return true;
}

bool Process::Wait(std::optional<std::chrono::milliseconds> timeout) {
  if (!timeout) return Poll(true);
  const auto deadline = std::chrono::steady_clock::now() + *timeout;
  // Polled: waitpid has no time limit, and a signal-based wait would take
  // SIGCHLD away from the rest of the program.
  auto pause = std::chrono::milliseconds(1);
  while (!Poll(false)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(20));
  }
  return true;
}

uint32_t Process::ExitCode() {
  Poll(false);
  return exit_code_;
}

}  // namespace wenmoor::platform
