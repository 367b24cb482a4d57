// Runs a shell command line and collects what it printed and its exit
// status, for tests that run the real programs.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace wenmoor::testing {

struct CommandResult {
  int status = -1;     // the exit status; -1 when the command did not exit
  std::string output;  // standard output (redirect standard error into it with 2>&1)
};

inline CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) result.output.append(buf, n);
  const int raw = pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

}  // namespace wenmoor::testing
