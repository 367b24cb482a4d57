// Creation of a prefix: the minimal layout of a Windows XP machine that the
// system reads, laid out as Wine lays out a prefix.
//
//   drive_c/windows, windows/system32, windows/system (for the 9x family),
//     windows/temp, windows/Fonts
//   drive_c/Program Files, Program Files/Common Files
//   drive_c/users/<user>/  Desktop, Start Menu/Programs/Startup, Favorites,
//     Recent, SendTo, Cookies, NetHood, PrintHood, Templates,
//     Application Data, My Documents (My Music, My Pictures, My Videos),
//     Local Settings (Application Data, History, Temporary Internet Files)
//   drive_c/users/All Users/  Desktop, Start Menu/Programs/Startup,
//     Favorites, Templates, Application Data, Documents
//   dosdevices/c: -> ../drive_c, dosdevices/z: -> /
//   system.reg, user.reg, userdef.reg with the values the system reads:
//     ProgramFilesDir and CommonFilesDir; Shell Folders and User Shell
//     Folders of the user (HKCU) and of all users (HKLM); the version keys
//     of Windows XP; HKCU\Software\Wine Version = "winxp"; TEMP and TMP in
//     HKCU\Environment and the system environment.
#pragma once

#include <filesystem>
#include <string>

namespace wenmoor::platform {

// Whether `prefix` holds a machine already: a directory with system.reg or
// drive_c in it.
bool PrefixExists(const std::filesystem::path& prefix);

// Creates the layout above in `prefix` (the directory is made when
// missing) and answers true; a prefix that exists already (PrefixExists) is
// left exactly as it is and the answer is false. Raises PrefixError
// (machine.h) naming the directory when the layout cannot be made.
bool CreatePrefix(const std::filesystem::path& prefix);

}  // namespace wenmoor::platform
