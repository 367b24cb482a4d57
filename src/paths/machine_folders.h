// The machine's folders that the built-in path specifiers are made of:
// shell folders recorded for the user, special folders of the shell, the
// program files, and the folders of an installed office suite.
//
// Registry and shell lookups never raise: a missing key or value, or one
// that is not a string, gives the default named per routine. Routines that
// start from the Windows directory raise EAPIRoutines when the machine
// cannot report it (routines_API.h).
#pragma once

#include <string>

namespace wenmoor {

// `a`, then a backslash unless `a` is empty or already ends in one, then `b`.
std::string AppendPath(const std::string& a, const std::string& b);

// The string `name` under HKEY_CURRENT_USER "...\Explorer\Shell Folders",
// `default_value` when missing; without trailing backslash either way. A
// value stored empty stays empty.
std::string GetShellFolder(const std::string& name, const std::string& default_value);

// The shell's folder of a CSIDL number; empty when it has no path.
std::string GetSpecialFolder(int csidl);

std::string StartMenuDir();     // Shell folder "Start Menu", default Windows\Startmen
std::string ProgramsMenuDir();  // "Programs", default Start menu\Programs
std::string DesktopDir();       // "Desktop", default Windows\Desktop
std::string StartupMenuDir();   // "Startup", default Windows\Startup

// HKLM "ProgramFilesDir" / "CommonFilesDir", default on the drive of the
// current directory: "D:\Program Files", "D:\Program Files\Common Files".
std::string ProgramFilesDir();
std::string CommonFilesDir();

// The major version of the registered word processor whose server program
// exists (Word.Document.8 -> 8); -1 when there is none or it cannot be told.
int GetOfficeVersion();

// The office suite's registry paths for version `version` (7 to 19):
// the FileNew key of `name`, and the word processor's options key. Empty
// for a version outside that range.
std::string OfficeFileNewKey(int version, const std::string& name);
std::string OfficeWordOptionsKey(int version);

}  // namespace wenmoor
