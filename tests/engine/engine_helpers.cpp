#include "engine/engine_helpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/win/file_time.h"
#include "platform/win/files.h"
#include "platform/win/machine.h"
#include "platform/win/paths.h"

namespace wenmoor::test {

void WriteProgram(std::string_view win_path, std::string_view content, int year) {
  auto host = platform::Machine::Current().Paths().ToHost(win_path);
  ASSERT_TRUE(host) << win_path;
  std::filesystem::create_directories(host->parent_path());
  std::ofstream(*host, std::ios::binary | std::ios::trunc) << content;
  ASSERT_TRUE(platform::SetFileDate(win_path, platform::EncodeDateTime(year, 3, 1, 12, 0, 0)));
}

std::string ReadWindowsFile(std::string_view win_path) {
  auto host = platform::Machine::Current().Paths().ToHost(win_path);
  if (!host) return {};
  std::ifstream in(*host, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace wenmoor::test
