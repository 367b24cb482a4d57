// Folder lookups of the path specifiers (see machine_folders.h).
#include "paths/machine_folders.h"

#include <exception>

#include "platform/rtl/sysutils.h"
#include "platform/win/files.h"
#include "platform/win/machine.h"
#include "platform/win/paths.h"
#include "platform/win/shell_folders.h"
#include "registry/routines_Registry.h"
#include "support/routines_API.h"

namespace wenmoor {

namespace {

constexpr const char* kShellFolders = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kWindowsVersionKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// "C:" of the current directory; empty when it has no drive letter (the
// defaults then start at the root of the current drive, "\Program Files").
std::string CurrentDrive() {
  try {
    return ExtractFileDrive(platform::Machine::Current().Paths().CurrentDirectory());
  } catch (const std::exception&) {
    return std::string();
  }
}

std::string RegistryString(TRootKeys root, const std::string& key, const std::string& name,
                           const std::string& default_value) {
  std::string value;
  ReadRegistryString(root, key, name, value, default_value);
  return value;
}

bool InOfficeRange(int version) { return version >= 7 && version <= 19; }

// The key prefix that holds a version's settings: older suites keep them
// under Software\Microsoft, later ones under the policy branch.
std::string OfficeVersionKey(int version) {
  if (version == 7 || version == 8) return "\\Software\\Microsoft\\Office\\" + IntToStr(version) + ".0";
  if (InOfficeRange(version)) return "\\Software\\Policies\\Microsoft\\Office\\" + IntToStr(version) + ".0";
  return std::string();
}

}  // namespace

std::string AppendPath(const std::string& a, const std::string& b) {
  if (a.empty() || a.back() == '\\') return a + b;
  return a + "\\" + b;
}

std::string GetShellFolder(const std::string& name, const std::string& default_value) {
  return ExcludeTrailingBackslash(RegistryString(hkCurrentUser, kShellFolders, name, default_value));
}

std::string GetSpecialFolder(int csidl) { return platform::SHGetSpecialFolderPath(csidl); }

std::string StartMenuDir() { return GetShellFolder("Start Menu", AppendPath(GetWindowsDir(), "Startmen")); }
std::string ProgramsMenuDir() { return GetShellFolder("Programs", AppendPath(StartMenuDir(), "Programs")); }
std::string DesktopDir() { return GetShellFolder("Desktop", AppendPath(GetWindowsDir(), "Desktop")); }
std::string StartupMenuDir() { return GetShellFolder("Startup", AppendPath(GetWindowsDir(), "Startup")); }

std::string ProgramFilesDir() {
  return RegistryString(hkLocalMachine, kWindowsVersionKey, "ProgramFilesDir",
                        AppendPath(CurrentDrive(), "Program Files"));
}

std::string CommonFilesDir() {
  return RegistryString(hkLocalMachine, kWindowsVersionKey, "CommonFilesDir",
                        AppendPath(CurrentDrive(), "Program Files\\Common Files"));
}

int GetOfficeVersion() {
  try {
    const std::string doc = RegistryString(hkClassesRoot, "\\Word.Document\\CurVer", "", "");
    if (doc.empty()) return -1;
    const size_t first = doc.find('.');
    const size_t second = first == std::string::npos ? first : doc.find('.', first + 1);
    if (second == std::string::npos) return -1;
    const std::string server = RegistryString(hkClassesRoot, "\\" + doc + "\\protocol\\StdFileEditing\\server", "", "");
    if (server.empty() || !platform::FileExists(server)) return -1;
    const int64_t version = StrToIntDef(doc.substr(second + 1), -1);
    // Anything beyond int is no version we could name a key for.
    return version < 0 || version > 0xFFFF ? -1 : static_cast<int>(version);
  } catch (const std::exception&) {
    return -1;
  }
}

std::string OfficeFileNewKey(int version, const std::string& name) {
  const std::string base = OfficeVersionKey(version);
  return base.empty() ? base : base + "\\Common\\FileNew\\" + name;
}

std::string OfficeWordOptionsKey(int version) {
  const std::string base = OfficeVersionKey(version);
  return base.empty() ? base : base + "\\Word\\Options";
}

}  // namespace wenmoor
