// Writer of Wine's hive files: the text Wine itself writes for the same tree
// (see reg_file_reader.h for the format), so that a file read and written
// back unchanged is the same file, byte for byte.
//
// As Wine does, a key gets its own section only when it has values, has no
// subkeys, or carries a class or link flag; the other keys are implied by
// the paths of their subkeys.
#pragma once

#include <string>

#include "platform/win/reg_hive.h"

namespace wenmoor::platform {

std::string WriteRegFile(const RegHive& hive);

}  // namespace wenmoor::platform
