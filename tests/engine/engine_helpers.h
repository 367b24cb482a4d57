// Helpers of the engine tests: files written by their Windows paths into the
// current machine.
#pragma once

#include <string>
#include <string_view>

namespace wenmoor::test {

// Writes `content` to `win_path` (directories made) and dates it 1 March of
// `year`, noon, local time: two programs of the same content and year are
// the same build.
void WriteProgram(std::string_view win_path, std::string_view content, int year);
// The contents of a file by its Windows path; empty when it is missing.
std::string ReadWindowsFile(std::string_view win_path);

}  // namespace wenmoor::test
