// A stand-in IDE installation on the emulated machine, for demonstrations
// and tests of the package registration: the machine-wide key with the
// IDE's root directory, the per-user keys the IDE keeps (known and disabled
// packages, library search path, component palette) and a small IDE
// directory with its help contents file.
#pragma once

#include <string>

namespace quarry {

// The directory used when none is given: "C:\Program Files\Borland\Delphi4".
std::string DefaultDemoIdeRoot(int ide);

// Registers IDE `ide` (ide_table.h) as installed in `root_dir` (a Windows
// path; created with its "Bin", "Lib" and "Help" directories). Values that
// exist already are left as they are, so a second call changes nothing.
void RegisterDemoIde(int ide, const std::string& root_dir);

}  // namespace quarry
