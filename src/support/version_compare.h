// Comparison of dotted version strings ("5.0.0.12"), as the overwrite rules
// and the archive use them.
//
// Both strings are split at "." and walked part by part from the first. Two
// parts that are both decimal numbers compare as numbers (of any length:
// "10" is newer than "9", "007" equals "7"); any other pair compares as byte
// strings, ordinal and case-sensitive ("b" is newer than "a", "x" newer than
// "10"). The first difference decides. When one string runs out of parts
// first, the one with more parts is the newer ("1.0.0.0" is newer than "1.0").
// An empty string has no parts, so any version is newer than none; an empty
// part between two dots is a part that is older than any non-empty one.
#pragma once

#include <string_view>

namespace wenmoor {

// 0 when `a` and `b` are equal, 1 when `a` is the newer, 2 when `b` is.
int CompareVersions(std::string_view a, std::string_view b);

}  // namespace wenmoor
