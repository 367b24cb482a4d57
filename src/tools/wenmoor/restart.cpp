// `wenmoor restart`: the restart of the emulated machine. Nothing runs on
// the machine between its programs, so a restart is what Windows does while
// it starts, in Windows' order:
//
//   1. the renames and deletions waiting in PendingFileRenameOperations;
//   2. on the 9x family, the [Rename] section of WININIT.INI (the file is
//      then kept as WININIT.BAK, as Windows keeps it);
//   3. the RunOnce values of HKLM, then of HKCU: each value is deleted
//      before its command runs, and each command is waited for.
//
// The machine stops waiting for a restart once the files are in place,
// before the RunOnce commands, so that a command that asks for another
// restart keeps that request. Each step is reported on standard output; a
// step that fails is reported on standard error and the others still run
// (exit status 1 then).
#include <cstdio>
#include <string>
#include <vector>

#include "platform/rtl/typeinfo.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "platform/win/ini_file.h"
#include "platform/win/machine.h"
#include "platform/win/os_version.h"
#include "platform/win/pending_renames.h"
#include "platform/win/process.h"
#include "platform/win/registry.h"
#include "platform/win/shutdown.h"
#include "platform/win/win_error.h"
#include "tools/wenmoor/command.h"

namespace wenmoor::tool {
namespace {

constexpr const char* kRunOnceKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

class Restart {
 public:
  int Run() {
    PendingRenames();
    if (platform::ReadOsVersion(platform::CurrentRegistry()).IsWin9x()) WininitRenames();
    platform::ClearRestartPending();
    RunOnce(HKEY_LOCAL_MACHINE, "HKLM");
    RunOnce(HKEY_CURRENT_USER, "HKCU");
    return failed_ ? 1 : 0;
  }

 private:
  void Failure(const std::string& what) {
    std::fprintf(stderr, "wenmoor restart: %s: %s\n", what.c_str(),
                 platform::FormatMessage(platform::GetLastError()).c_str());
    failed_ = true;
  }

  // Deletes a file or an empty directory.
  void Delete(const std::string& path) {
    const bool ok = platform::DirectoryExists(path) ? platform::RemoveDirectory(path) : platform::DeleteFile(path);
    if (ok) std::printf("deleted %s\n", path.c_str());
    else Failure("cannot delete " + path);
  }

  void Move(const std::string& source, const std::string& target, bool replace) {
    const bool ok = replace ? platform::MoveFileEx(source, target, platform::MOVEFILE_REPLACE_EXISTING)
                            : platform::MoveFile(source, target);
    if (ok) std::printf("renamed %s to %s\n", source.c_str(), target.c_str());
    else Failure("cannot rename " + source + " to " + target);
  }

  void PendingRenames() {
    platform::RegistryStore& registry = platform::CurrentRegistry();
    const std::vector<platform::PendingRename> renames = platform::ReadPendingRenames(registry);
    // The list goes first: an operation that fails is not tried again at
    // every later restart, as Windows does not try it again either.
    if (!renames.empty()) platform::ClearPendingRenames(registry);
    for (const platform::PendingRename& r : renames) {
      if (r.target.empty()) Delete(r.source);
      else Move(r.source, r.target, r.replace_existing);
    }
  }

  // Each entry "target=source"; the target NUL deletes the source.
  void WininitRenames() {
    const std::string ini = platform::GetWindowsDirectory() + "\\WININIT.INI";
    if (!platform::FileExists(ini)) return;
    std::string text;
    {
      TFileStream in(ini, fmOpenRead | fmShareDenyWrite);
      text.resize(static_cast<size_t>(in.Size()));
      in.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
    }
    const std::string bak = platform::GetWindowsDirectory() + "\\WININIT.BAK";
    if (platform::FileExists(bak)) platform::DeleteFile(bak);
    if (!platform::MoveFile(ini, bak)) {
      Failure("cannot rename " + ini + " to " + bak);
      return;
    }
    for (const auto& [target, source] : platform::IniFile::Parse(text).Entries("Rename")) {
      if (SameText(target, "NUL")) {
        Delete(source);
      } else {
        if (platform::FileExists(target) && !platform::DeleteFile(target)) {
          Failure("cannot delete " + target);
          continue;
        }
        Move(source, target, false);
      }
    }
  }

  void RunOnce(HKEY root, const char* root_name) {
    TRegistry reg;
    reg.SetRootKey(root);
    if (!reg.OpenKeyReadOnly(kRunOnceKey)) return;
    // The commands present at the start; what they add waits for the next restart.
    const std::vector<std::string> names = reg.ValueNames();
    reg.CloseKey();
    for (const std::string& name : names) {
      // The key is closed while a command runs: the command may write it.
      reg.SetAccess(KEY_ALL_ACCESS);
      if (!reg.OpenKey(kRunOnceKey, false)) break;
      const bool present = reg.ValueExists(name);
      const std::string command = present ? reg.ReadString(name) : std::string();
      const bool deleted = present && reg.DeleteValue(name);
      reg.CloseKey();
      if (!present) continue;
      if (!deleted) {
        Failure(std::string("cannot delete the RunOnce value ") + root_name + "\\" + name);
        continue;
      }
      std::printf("running %s RunOnce %s: %s\n", root_name, name.c_str(), command.c_str());
      std::fflush(stdout);
      std::unique_ptr<platform::Process> process = platform::Process::Create("", command);
      if (!process) {
        Failure("cannot run " + command);
        continue;
      }
      process->Wait();
      std::printf("%s ended with exit code %u\n", name.c_str(), process->ExitCode());
    }
  }

  bool failed_ = false;
};

int RunRestart(const std::vector<std::string>& args) {
  if (!args.empty()) {
    std::fprintf(stderr, "usage: wenmoor restart\n");
    return 1;
  }
  return Restart().Run();
}

}  // namespace

WENMOOR_COMMAND("restart", "Restart the emulated machine: pending renames, WININIT.INI, RunOnce", RunRestart)

}  // namespace wenmoor::tool
