#include "support/temp_prefix.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/win/os_version.h"
#include "platform/win/paths.h"
#include "platform/win/prefix.h"

namespace fs = std::filesystem;

namespace wenmoor::test {

namespace {

fs::path MakeTempDir(const char* stem) {
  std::string pattern = (fs::temp_directory_path() / (std::string(stem) + ".XXXXXX")).string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
  return pattern;
}

// The layout made once per test program, copied for each TempPrefix.
class Template {
 public:
  Template() : dir_(MakeTempDir("wenmoor-template")) { platform::CreatePrefix(dir_ / "prefix"); }
  ~Template() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  fs::path Prefix() const { return dir_ / "prefix"; }

 private:
  fs::path dir_;
};

const Template& TheTemplate() {
  static const Template t;
  return t;
}

}  // namespace

TempPrefix::TempPrefix(std::string_view windows_version) : dir_(MakeTempDir("wenmoor-test")) {
  fs::copy(TheTemplate().Prefix(), Path(), fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  scope_ = std::make_unique<platform::Machine::TestScope>(Path());
  if (windows_version != "winxp") platform::SetWindowsVersion(Machine().Registry(), windows_version);
}

TempPrefix::~TempPrefix() {
  scope_.reset();
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
}

fs::path TempPrefix::Host(std::string_view win_path) const {
  std::optional<fs::path> host = Machine().Paths().ToHost(win_path);
  if (!host) {
    ADD_FAILURE() << "no host path for " << win_path;
    return dir_ / "unmapped";
  }
  return *host;
}

void TempPrefix::WriteFile(std::string_view win_path, std::string_view content) const {
  const fs::path host = Host(win_path);
  fs::create_directories(host.parent_path());
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out) ADD_FAILURE() << "cannot write " << host;
}

std::string TempPrefix::ReadFile(std::string_view win_path) const {
  std::ifstream in(Host(win_path), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace wenmoor::test
