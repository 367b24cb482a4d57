// The emulated Windows machine: a Wine-style prefix directory with its
// drives (dosdevices/), its files (drive_c/) and its registry (*.reg).
//
//   platform::Machine& m = platform::Machine::Current();
//   std::optional<std::filesystem::path> host = m.Paths().ToHost("C:\\Program Files");
//   platform::CurrentRegistry().QueryValue(platform::RootKey::LocalMachine, "Software\\X", "Y");
//
// Contract
// - Current() is the prefix named by WINEPREFIX, or ~/.wine without it. A
//   prefix that is missing (no directory, or neither system.reg nor drive_c
//   in it) is created with the minimal layout (prefix.h) the first time
//   Current() is called; an existing prefix is used as it is, never rewritten.
// - The Machine owns its RegistryStore and PathMap; references to them stay
//   valid as long as the Machine does. Current() lives until the process
//   ends, unless a test scope replaces it (below).
// - Current() raises platform::PrefixError when the prefix cannot be created
//   (no permission, not a directory). Registry failures surface from the
//   store (RegistryFormatError, RegistryIoError) when a hive is used.
// - Not thread-safe beyond the creation of Current(): the system has one
//   user-interface thread, which is the only one that uses the machine.
#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/win/registry_store.h"

namespace wenmoor::platform {

class PathMap;

// The prefix could not be made or opened. The message names the directory.
class PrefixError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Machine {
 public:
  // Opens the prefix at `prefix` as it is (an absolute path; nothing is
  // created here: see CreatePrefix in prefix.h).
  explicit Machine(std::filesystem::path prefix);
  ~Machine();
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  // The machine of this process (see the contract above).
  static Machine& Current();
  // The directory Current() uses: $WINEPREFIX, else $HOME/.wine.
  static std::filesystem::path DefaultPrefixPath();

  // Test hook: while a TestScope lives, Current() is the machine of `prefix`
  // (created with the minimal layout when missing). Scopes nest; the
  // destructor restores the previous machine. Use tests/support/temp_prefix.h
  // rather than this directly.
  class TestScope {
   public:
    explicit TestScope(const std::filesystem::path& prefix);
    ~TestScope();
    TestScope(const TestScope&) = delete;
    TestScope& operator=(const TestScope&) = delete;

   private:
    std::unique_ptr<Machine> previous_;
  };

  const std::filesystem::path& Prefix() const { return prefix_; }
  RegistryStore& Registry() { return *registry_; }
  PathMap& Paths() { return *paths_; }

  // The Windows user whose profile is C:\users\<name>: the Unix login name,
  // as Wine has it.
  static std::string UserName();

  // %NAME% expansion as ExpandEnvironmentStrings does it, over the
  // emulated environment: HKCU\Environment, the system environment under
  // HKLM\System\CurrentControlSet\Control\Session Manager\Environment, and
  // the values Windows derives (SystemRoot, windir, SystemDrive,
  // USERPROFILE, ALLUSERSPROFILE, ProgramFiles, CommonProgramFiles, APPDATA,
  // USERNAME). The host's environment is not used: its paths are Linux
  // paths. Unknown names stay as written (%UNKNOWN%).
  std::string ExpandEnvironmentStrings(std::string_view text);
  // One variable of that environment, expanded as a Windows process sees
  // it; empty when not set.
  std::string EnvironmentVariable(std::string_view name);

 private:
  std::filesystem::path prefix_;
  std::unique_ptr<RegistryStore> registry_;
  std::unique_ptr<PathMap> paths_;
};

// Machine::Current().Registry(), for code that only needs the registry.
RegistryStore& CurrentRegistry();

}  // namespace wenmoor::platform
