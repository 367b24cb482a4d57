// TempPrefix: a fresh emulated machine for one test.
//
//   TEST(MyTest, Something) {
//     wenmoor::test::TempPrefix prefix;            // Windows XP
//     wenmoor::test::TempPrefix old("win98");      // or any of Wine's names
//     prefix.WriteFile("C:\\dir\\a.txt", "data");
//     EXPECT_TRUE(platform::FileExists("C:\\DIR\\A.TXT"));
//   }
//
// The constructor makes a temporary directory holding a prefix with the
// minimal layout (prefix.h), sets its Windows version and makes it
// Machine::Current() for the object's lifetime (nesting is allowed). The
// destructor restores the previous machine and deletes the directory.
// Every test that touches the machine should own one: nothing then leaks
// between tests, and the user's own ~/.wine is never touched.
//
// Creating a prefix writes its registry; to keep tests fast the first
// TempPrefix of a test program builds the layout once and later ones copy
// it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/win/machine.h"

namespace wenmoor::test {

class TempPrefix {
 public:
  explicit TempPrefix(std::string_view windows_version = "winxp");
  ~TempPrefix();
  TempPrefix(const TempPrefix&) = delete;
  TempPrefix& operator=(const TempPrefix&) = delete;

  // The temporary directory (free for the test's own files) and the prefix
  // in it (Dir() / "prefix").
  const std::filesystem::path& Dir() const { return dir_; }
  std::filesystem::path Path() const { return dir_ / "prefix"; }
  std::filesystem::path DriveC() const { return Path() / "drive_c"; }
  platform::Machine& Machine() const { return platform::Machine::Current(); }

  // The host path of a Windows path (the test fails on an unusable path).
  std::filesystem::path Host(std::string_view win_path) const;
  // Writes a file by its Windows path, making its directories.
  void WriteFile(std::string_view win_path, std::string_view content) const;
  // The contents of a file by its Windows path; empty when missing.
  std::string ReadFile(std::string_view win_path) const;

 private:
  std::filesystem::path dir_;
  std::unique_ptr<platform::Machine::TestScope> scope_;
};

}  // namespace wenmoor::test
