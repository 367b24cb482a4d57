// The interpreter of the batch files this system writes: the replacement
// of files in use ("erase" / "move") and the clean-up after an installation.
//
// Commands (case-insensitive, "@" before a command hides its echo):
//   ECHO OFF|ON|text, ECHO.   REM, ::   :label   GOTO label, GOTO :EOF
//   IF [NOT] EXIST path command   IF [NOT] ERRORLEVEL n command
//   IF [/I] [NOT] a==b command
//   DEL, ERASE [/F] [/Q] [/S] path...   (wildcards; /F also read-only files)
//   MOVE [/Y] source target            (replaces an existing target)
//   DELTREE [/Y] path...               (files and whole directories)
//   RMDIR, RD [/S] [/Q] path           (/S: with everything inside)
//   CD, CHDIR path                     EXIT [/B] [code]
// Parameters %0 (the batch file) to %9, %*, %~1 (quotes removed) and the
// modifiers f d p n x s (%~dp0), %NAME% from the emulated environment,
// %% for a percent sign.
//
// Unknown commands are reported on the error stream as cmd reports them
// and skipped (ERRORLEVEL 9009); a failed command reports the system's text
// for its error and sets ERRORLEVEL 1; the run goes on in both cases, as in
// cmd. The exit code is the ERRORLEVEL at the end (or EXIT's code).
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace wenmoor::platform {

class BatchInterpreter {
 public:
  BatchInterpreter(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  // Runs the text of a batch file; params[0] is the file's own path.
  int Run(std::string_view text, const std::vector<std::string>& params);

  // Stops a run after this many lines (a loop waiting for a file may run
  // long; the default is no limit). A run stopped so ends with code 1.
  void LimitSteps(size_t max_steps) { max_steps_ = max_steps; }

 private:
  // Runs one command (after expansion); false ends the run.
  bool Execute(std::string_view command);
  std::string Expand(std::string_view line) const;
  std::string Parameter(std::string_view modifiers, size_t index) const;

  void Delete(const std::vector<std::string>& args);
  void Move(const std::vector<std::string>& args);
  void DelTree(const std::vector<std::string>& args);
  void RemoveDir(const std::vector<std::string>& args);
  bool If(std::string_view rest);
  // Deletes a directory with everything in it; false after reporting.
  bool RemoveTree(const std::string& dir);
  void Report(const std::string& path, uint32_t error);

  std::ostream& out_;
  std::ostream& err_;
  std::vector<std::string> lines_;
  std::map<std::string, size_t> labels_;  // upper-case label -> line index
  std::vector<std::string> params_;
  size_t next_ = 0;
  bool echo_ = true;
  int errorlevel_ = 0;
  int exit_code_ = -1;
  size_t max_steps_ = 0;  // 0: no limit
};

// Reads the batch file at `win_path` and runs it with `params` (params[0]
// its own path). The error stream tells when the file cannot be read
// (exit code 1).
int RunBatchFile(std::string_view win_path, const std::vector<std::string>& params, std::ostream& out,
                 std::ostream& err);

}  // namespace wenmoor::platform
