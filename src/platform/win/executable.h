// Programs unpacked onto the emulated machine. Windows runs any program
// file; the host runs only files that carry an execute permission, which a
// file written through the file services does not get. A program that
// unpacks another program in order to start it (the loading program) marks
// it with MarkExecutable; so does the archive extractor for every member
// whose first bytes are a host program's, since the archive keeps no
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

}  // namespace wenmoor::platform
