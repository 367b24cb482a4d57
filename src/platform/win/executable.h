// Programs unpacked onto the emulated machine. Windows runs any program
// file; the host runs only files that carry an execute permission, which a
// file written through the file services does not get. A program that
// unpacks another program in order to start it (the loading program) marks
// it with MarkExecutable; the archive extractor marks every member that is a
// host program (MarkExecutableIfProgram), since the archive keeps no
// permissions and an installed program (an uninstaller, say) must run.
#pragma once

#include <string_view>

namespace wenmoor::platform {

// Gives the file at `win_path` execute permission wherever it has read
// permission. False with the last error when the file is missing or its
// permissions cannot be changed.
bool MarkExecutable(std::string_view win_path);

// Whether the first bytes of a file are those of a program the host runs:
// an ELF image or a script with "#!".
bool IsHostProgramMagic(const char* first, long count);

// MarkExecutable when the file is a host program (by its first bytes);
// true without a change for any other file.
bool MarkExecutableIfProgram(std::string_view win_path);

}  // namespace wenmoor::platform
