// Text helpers of the registry: UTF-8 <-> UTF-16 conversion, the case folding
// that orders and matches key and value names, and the string escapes of
// Wine's hive files.
//
// Conversions are lossless in both directions: UTF-16 text with unpaired
// surrogates survives as three-byte sequences (the "WTF-8" convention), and a
// byte that is not part of valid UTF-8 is taken as the Latin-1 character of
// that number, so nothing read from a file is ever dropped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wenmoor::platform {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// The name with its letters in lower case, as the registry compares names:
// two names are the same when their folds are equal, and siblings are kept
// in the byte order of their folds, which is the order Wine writes ("_x"
// before "ab", "a" before "a b" before "ab").
std::string FoldName(std::string_view utf8);

// Appends s in Wine's escaped form: backslash and every character of
// `also_escape` get a backslash; control characters become \n, \t, ... or
// octal; characters above 127 become \xHHHH. The caller writes the quotes.
void AppendEscaped(std::string& out, std::u16string_view s, std::string_view also_escape);

// Reads escaped text from `text` starting at `pos` up to the first unescaped
// `terminator`, which is consumed. Accepts Wine's escapes (\\ \" \n \r \t \a
// \b \e \f \v, octal \0..\377, \x with one to four hex digits) and raw UTF-8.
// Returns false when the terminator is missing; `pos` then is unspecified.
bool ReadEscaped(std::string_view text, size_t& pos, char terminator, std::u16string& out);

}  // namespace wenmoor::platform
