// String and path routines of the framework: trailing backslashes, fields
// of separated lists, the part after a drive colon, safe file names.
// Pure functions; none of them fails.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/strings.h"

namespace wenmoor {

// s with one "\" appended, unless s is empty or ends with "\" already.
std::string WithTrailingBackslash(std::string_view s);
// s without its final "\", if it has one ("C:\" gives "C:").
std::string WithoutTrailingBackslash(std::string_view s);

// Fields separated by a one-character separator, counted from 1.
// FieldCount: the separators in s, plus one when s is not empty and does
// not end with a separator ("a;b;" and "a;b" have 2, ";" has 1, "" has 0).
int FieldCount(std::string_view s, char separator = ';');
// Field n: drop everything up to and including a separator n - 1 times
// (empty when one is missing), then the rest up to the next separator.
std::string GetField(std::string_view s, int n, char separator = ';');
// Clears `list` and adds fields 1 to FieldCount(s).
void SplitFields(std::string_view s, char separator, TStrings& list);

// The part of s after its first ":"; s itself when it has none.
std::string AfterDriveColon(std::string_view s);

// s with every "/" turned into "-" and the characters " * : ; < > ? \ |
// removed; every other character (control characters and bytes above 127
// included) stays.
std::string MakeSafeFileName(std::string_view s);

}  // namespace wenmoor
