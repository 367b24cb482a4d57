// Windows paths from outside (scripts, registry values, batch files): any
// bytes either fail to parse or give a full path that parses to itself,
// whose host path stays below its drive's root; short names of any set of
// names are valid 8.3 names and distinct.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <unistd.h>

#include "platform/win/machine.h"
#include "platform/win/name_rules.h"
#include "platform/win/paths.h"
#include "platform/win/prefix.h"

namespace fs = std::filesystem;
using namespace wenmoor::platform;

namespace {
// Removes the fuzzer's temporary directory when the program ends.
struct TempDir {
  fs::path path;
  ~TempDir() {
    std::error_code ignored;
    if (!path.empty()) fs::remove_all(path, ignored);
  }
};
TempDir temp_dir;

PathMap& Paths() {
  static std::unique_ptr<Machine::TestScope> scope = [] {
    std::string pattern = (fs::temp_directory_path() / "wenmoor-fuzz.XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    temp_dir.path = pattern;
    CreatePrefix(fs::path(pattern) / "prefix");
    return std::make_unique<Machine::TestScope>(fs::path(pattern) / "prefix");
  }();
  return Machine::Current().Paths();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  PathMap& paths = Paths();
  if (std::optional<std::string> full = paths.FullPath(input)) {
    if (paths.FullPath(*full) != full) std::abort();
    const std::optional<WinPath> parsed = paths.Parse(*full);
    if (!parsed) std::abort();
    if (std::optional<fs::path> host = paths.ToHost(*full)) {
      const fs::path root = *paths.DriveRoot(parsed->drive);
      const fs::path rel = host->lexically_relative(root);
      if (rel.empty() || *rel.begin() == "..") std::abort();
    }
  }
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= input.size() && names.size() < 64) {
    size_t end = input.find('\n', start);
    if (end == std::string::npos) end = input.size();
    const std::string name = input.substr(start, end - start);
    if (!name.empty() && name != "." && name != "..") names.push_back(name);
    start = end + 1;
  }
  std::set<std::string> seen;
  for (const auto& [name, short_name] : AssignShortNames(names)) {
    if (!IsShortName(short_name)) std::abort();
    if (!seen.insert(FoldFileName(short_name)).second && FoldFileName(name) != FoldFileName(short_name)) std::abort();
  }
  return 0;
}
