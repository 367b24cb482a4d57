// The installation log: plain text lines, saved as "instlog.txt".
//
// One log per process (InstallLog()), created empty at start-up. Its
// directory starts as the system's temporary directory; the main form moves
// it to the installation directory once that is known. Saving never fails
// the installation: a directory that does not exist sends the file to the
// temporary directory, and any write failure is ignored.
#pragma once

#include <string>
#include <vector>

namespace quarry {

class TInstallLog {
 public:
  static constexpr const char* kFileName = "instlog.txt";

  void Add(std::string line) { lines_.push_back(std::move(line)); }
  const std::vector<std::string>& Lines() const { return lines_; }
  void Clear() { lines_.clear(); }

  // "" stands for the temporary directory, where the log starts.
  const std::string& LogDir() const { return log_dir_; }
  void SetLogDir(std::string dir) { log_dir_ = std::move(dir); }

  // Writes every line (CR LF terminated) to "instlog.txt" in the log
  // directory, or in the temporary directory when that does not exist.
  // Answers the Windows path written, "" when writing failed.
  std::string Save() const noexcept;

 private:
  std::vector<std::string> lines_;
  std::string log_dir_;
};

TInstallLog& InstallLog();

}  // namespace quarry
