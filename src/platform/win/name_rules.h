// Rules for the names of files on the emulated machine: comparison without
// regard to case, valid names, and short (8.3) names. Pure functions of
// their arguments, shared by the path map and the file services.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace wenmoor::platform {

// The upper-case form of a UTF-8 name, for comparing names as Windows does.
// Folds ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters;
// other characters (and bytes that are not valid UTF-8) stay as they are.
std::string FoldFileName(std::string_view name);

// Whether a path component may name a file: not empty, no < > : " | ? * or
// control characters.
bool IsValidComponent(std::string_view name);

// Whether the name is a valid 8.3 name as it stands: 1 to 8 characters, at
// most one dot followed by 1 to 3 characters, no blanks, only ASCII letters,
// digits and ! # $ % & ' ( ) - @ ^ _ ` { } ~. Lower case is allowed (the
// name is then its own short name, as on NTFS).
bool IsShortName(std::string_view name);

// The short names of the entries of one directory: name -> short name.
// Names that are already 8.3 keep themselves; the others are given
// STEM~N.EXT (see paths.h), numbered in the order of their upper-case names.
std::map<std::string, std::string> AssignShortNames(const std::vector<std::string>& names);

}  // namespace wenmoor::platform
