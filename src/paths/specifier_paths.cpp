// Path rules of the built-in specifiers that read the machine: Windows
// directories, the program files, shell folders.
#include <string>

#include "paths/machine_folders.h"
#include "paths/specifiers_windows.h"
#include "platform/win/shell_folders.h"
#include "registry/routines_Registry.h"
#include "support/routines_API.h"

namespace wenmoor {

namespace {

constexpr const char* kUndefined = "undefined";

// What a shell-folder specifier yields on a family of Windows versions:
// a special folder, or a fixed answer where the shell has none.
struct FolderRule {
  int csidl = -1;              // used when >= 0
  const char* fixed = "";      // the answer otherwise: "" or "undefined"
};

constexpr FolderRule Folder(int csidl) { return FolderRule{csidl, ""}; }
constexpr FolderRule kEmpty{-1, ""};
constexpr FolderRule kUndefinedRule{-1, kUndefined};

bool Is9x(TOSVerType v) { return v == oswin95 || v == oswin98 || v == oswinME; }

std::string Resolve(const FolderRule& rule) {
  return rule.csidl >= 0 ? GetSpecialFolder(rule.csidl) : std::string(rule.fixed);
}

// The rule for the running version: `nt` on the NT family, `nine_x` on the
// 9x family, `other` on anything else (Win32s, unidentified versions).
std::string ShellFolderPath(const FolderRule& nt, const FolderRule& nine_x, const FolderRule& other) {
  const TOSVerType version = GetWindowsVersion();
  if (NTFamily.Contains(version)) return Resolve(nt);
  if (Is9x(version)) return Resolve(nine_x);
  return Resolve(other);
}

}  // namespace

void TpsBDEDLL::GetPath(TComponent*, std::string& path) {
  std::string dll_path;
  ReadRegistryString(hkLocalMachine, "\\Software\\Borland\\Database Engine", "DLLPath", dll_path, "");
  if (dll_path.empty()) dll_path = AppendPath(ProgramFilesDir(), "Borland\\Common Files\\BDE");
  // The value may list several directories; the engine lives in the first.
  path = dll_path.substr(0, dll_path.find(';'));
}

void TpsCommonFiles::GetPath(TComponent*, std::string& path) { path = CommonFilesDir(); }
void TpsDesktopMenu::GetPath(TComponent*, std::string& path) { path = DesktopDir(); }
void TpsProgramFiles::GetPath(TComponent*, std::string& path) { path = ProgramFilesDir(); }
void TpsProgramMenu::GetPath(TComponent*, std::string& path) { path = ProgramsMenuDir(); }
void TpsStartMenu::GetPath(TComponent*, std::string& path) { path = StartMenuDir(); }
void TpsStartupMenu::GetPath(TComponent*, std::string& path) { path = StartupMenuDir(); }
void TpsSystem::GetPath(TComponent*, std::string& path) { path = GetSystemDir(); }
void TpsWindow::GetPath(TComponent*, std::string& path) { path = GetWindowsDir(); }


void TpsPrinters::GetPath(TComponent*, std::string& path) {
  path = ShellFolderPath(Folder(platform::CSIDL_PRINTERS), kUndefinedRule, kUndefinedRule);
}
void TpsRecent::GetPath(TComponent*, std::string& path) {
  path = ShellFolderPath(Folder(platform::CSIDL_RECENT), kUndefinedRule, kUndefinedRule);
}
void TpsSendTo::GetPath(TComponent*, std::string& path) {
  path = ShellFolderPath(Folder(platform::CSIDL_SENDTO), kEmpty, kEmpty);
}
void TpsStartup::GetPath(TComponent*, std::string& path) {
  path = ShellFolderPath(Folder(platform::CSIDL_STARTUP), kEmpty, kEmpty);
}
void TpsControlPanel::GetPath(TComponent*, std::string& path) {
  path = ShellFolderPath(Folder(platform::CSIDL_CONTROLS), kEmpty, kEmpty);
}
void TpsFavorites::GetPath(TComponent*, std::string& path) {
  path = ShellFolderPath(Folder(platform::CSIDL_FAVORITES), kUndefinedRule, kUndefinedRule);
}
void TpsBitBucket::GetPath(TComponent*, std::string& path) {
  path = ShellFolderPath(Folder(platform::CSIDL_BITBUCKET), kEmpty, kEmpty);
}
void TpsCookies::GetPath(TComponent*, std::string& path) {
  path = ShellFolderPath(Folder(platform::CSIDL_COOKIES), kEmpty, kEmpty);
}
void TpsCommonAltStartup::GetPath(TComponent*, std::string& path) {
  path = ShellFolderPath(Folder(platform::CSIDL_COMMON_ALTSTARTUP), Folder(platform::CSIDL_ALTSTARTUP), kEmpty);
}
// The whole NT family has an all-users startup folder, Windows XP
// included: leaving XP without one would send its startup entries to an
// empty (relative) path.
void TpsCommonStartup::GetPath(TComponent*, std::string& path) {
  path = ShellFolderPath(Folder(platform::CSIDL_COMMON_STARTUP), Folder(platform::CSIDL_STARTUP), kEmpty);
}
void TpsCommonDesktopDirectory::GetPath(TComponent*, std::string& path) {
  path = ShellFolderPath(Folder(platform::CSIDL_COMMON_DESKTOPDIRECTORY), Folder(platform::CSIDL_DESKTOPDIRECTORY),
                         kUndefinedRule);
}
void TpsCommonFavorites::GetPath(TComponent*, std::string& path) {
  path = ShellFolderPath(Folder(platform::CSIDL_COMMON_FAVORITES), Folder(platform::CSIDL_FAVORITES), kEmpty);
}
void TpsCommonPrograms::GetPath(TComponent*, std::string& path) {
  path = ShellFolderPath(Folder(platform::CSIDL_COMMON_PROGRAMS), Folder(platform::CSIDL_PROGRAMS), kEmpty);
}
void TpsCommonStartMenu::GetPath(TComponent*, std::string& path) {
  path = ShellFolderPath(Folder(platform::CSIDL_COMMON_STARTMENU), Folder(platform::CSIDL_STARTMENU), kEmpty);
}

void TpsQuickLaunchMenu::GetPath(TComponent*, std::string& path) {
  std::string app_data = GetSpecialFolder(platform::CSIDL_APPDATA);
  while (!app_data.empty() && app_data.back() == '\\') app_data.pop_back();
  path = app_data.empty() ? std::string(kUndefined) : app_data + "\\Microsoft\\Internet Explorer\\Quick Launch";
}

}  // namespace wenmoor
