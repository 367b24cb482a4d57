// A throw-away emulated machine for a fuzz target's whole run: a prefix in a
// fresh temporary directory, made current, removed when the fuzzer exits.
// Unless asked for, the host's drive Z: is taken away, so that drive C: is
// all the input can reach.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/win/machine.h"
#include "platform/win/prefix.h"

namespace wenmoor::fuzz {

class FuzzMachine {
 public:
  // The machine of this run, made on the first call; `stem` names its
  // temporary directory.
  static FuzzMachine& Get(const char* stem, bool with_host_drive = false) {
    static FuzzMachine machine(stem, with_host_drive);
    return machine;
  }
  // The prefix directory on the host.
  const std::filesystem::path& Prefix() const { return prefix_; }
  // The host path of drive C:'s `dir`, created when missing.
  std::filesystem::path DriveC(const char* dir) const {
    const std::filesystem::path path = prefix_ / "drive_c" / dir;
    std::filesystem::create_directories(path);
    return path;
  }

  FuzzMachine(const FuzzMachine&) = delete;
  FuzzMachine& operator=(const FuzzMachine&) = delete;

 private:
  FuzzMachine(const char* stem, bool with_host_drive) {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(stem) + ".XXXXXX")).string();
    if (!mkdtemp(pattern.data())) std::abort();
    dir_ = pattern;
    prefix_ = dir_ / "prefix";
    platform::CreatePrefix(prefix_);
    if (!with_host_drive) std::filesystem::remove(prefix_ / "dosdevices" / "z:");
    scope_ = std::make_unique<platform::Machine::TestScope>(prefix_);
  }
  ~FuzzMachine() {
    scope_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  std::filesystem::path dir_, prefix_;
  std::unique_ptr<platform::Machine::TestScope> scope_;
};

}  // namespace wenmoor::fuzz
