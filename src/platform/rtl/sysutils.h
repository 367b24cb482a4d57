// String and file-name routines of the runtime library. File names are
// Windows paths: "\" separates directories, "X:" is a drive.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wenmoor {

// Removes leading and trailing characters at or below the space.
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
std::string UpperCase(std::string_view s);  // ASCII letters only, as the runtime does
std::string LowerCase(std::string_view s);
int CompareText(std::string_view a, std::string_view b);  // case-insensitive, <0 / 0 / >0
// Case-insensitive search; npos when absent.
size_t PosText(std::string_view needle, std::string_view haystack);
std::string IntToStr(int64_t v);
int64_t StrToIntDef(std::string_view s, int64_t def);
// The whole number in `s` (blanks around it allowed); EConvertError
// "'%s' is not a valid integer value" otherwise.
int64_t StrToInt(std::string_view s);

// "C:\dir\name.ext": path "C:\dir\", name "name.ext", ext ".ext", dir "C:\dir".
std::string ExtractFilePath(std::string_view file_name);
std::string ExtractFileDir(std::string_view file_name);
std::string ExtractFileName(std::string_view file_name);
std::string ExtractFileExt(std::string_view file_name);
std::string ChangeFileExt(std::string_view file_name, std::string_view ext);
// "C:" of "C:\dir\x", "\\server\share" of a UNC path, "" otherwise.
std::string ExtractFileDrive(std::string_view file_name);
std::string IncludeTrailingBackslash(std::string_view s);  // "" becomes "\", as the runtime does
std::string ExcludeTrailingBackslash(std::string_view s);

}  // namespace wenmoor
