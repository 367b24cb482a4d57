// The shell's special folders (SHGetSpecialFolderPath) of the emulated
// machine, found as the shell of Windows XP finds them: the folder values
// that the profile keeps under "...\Explorer\Shell Folders" of the user
// (HKEY_CURRENT_USER) or of all users (HKEY_LOCAL_MACHINE).
//
// Virtual folders (control panel, printers, recycle bin, ...) have no file
// system path, and neither has a CSIDL this machine does not know: both
// answer an empty string, as the shell's path lookup fails for them.
// Nothing here throws; a registry failure answers empty too.
#pragma once

#include <string>

namespace wenmoor::platform {

// CSIDL numbers as the Windows shell defines them (those the system asks for).
inline constexpr int CSIDL_PROGRAMS = 0x02;
inline constexpr int CSIDL_CONTROLS = 0x03;
inline constexpr int CSIDL_PRINTERS = 0x04;
inline constexpr int CSIDL_PERSONAL = 0x05;
inline constexpr int CSIDL_FAVORITES = 0x06;
inline constexpr int CSIDL_STARTUP = 0x07;
inline constexpr int CSIDL_RECENT = 0x08;
inline constexpr int CSIDL_SENDTO = 0x09;
inline constexpr int CSIDL_BITBUCKET = 0x0a;
inline constexpr int CSIDL_STARTMENU = 0x0b;
inline constexpr int CSIDL_DESKTOPDIRECTORY = 0x10;
inline constexpr int CSIDL_NETHOOD = 0x13;
inline constexpr int CSIDL_FONTS = 0x14;
inline constexpr int CSIDL_TEMPLATES = 0x15;
inline constexpr int CSIDL_COMMON_STARTMENU = 0x16;
inline constexpr int CSIDL_COMMON_PROGRAMS = 0x17;
inline constexpr int CSIDL_COMMON_STARTUP = 0x18;
inline constexpr int CSIDL_COMMON_DESKTOPDIRECTORY = 0x19;
inline constexpr int CSIDL_APPDATA = 0x1a;
inline constexpr int CSIDL_PRINTHOOD = 0x1b;
inline constexpr int CSIDL_LOCAL_APPDATA = 0x1c;
inline constexpr int CSIDL_ALTSTARTUP = 0x1d;
inline constexpr int CSIDL_COMMON_ALTSTARTUP = 0x1e;
inline constexpr int CSIDL_COMMON_FAVORITES = 0x1f;
inline constexpr int CSIDL_INTERNET_CACHE = 0x20;
inline constexpr int CSIDL_COOKIES = 0x21;
inline constexpr int CSIDL_HISTORY = 0x22;
inline constexpr int CSIDL_COMMON_APPDATA = 0x23;
inline constexpr int CSIDL_MYPICTURES = 0x27;
inline constexpr int CSIDL_COMMON_TEMPLATES = 0x2d;
inline constexpr int CSIDL_COMMON_DOCUMENTS = 0x2e;

// The folder of `csidl` on the current machine, without trailing
// backslash (a drive root keeps its "C:\"); the flag bits of the high byte
// (CSIDL_FLAG_CREATE and the like) are ignored. Empty when the folder is
// virtual, unknown or not recorded in the registry.
std::string SHGetSpecialFolderPath(int csidl);

}  // namespace wenmoor::platform
