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

#include "fuzz_machine.h"
#include "platform/win/machine.h"
#include "platform/win/name_rules.h"
#include "platform/win/paths.h"

namespace fs = std::filesystem;
using namespace wenmoor::platform;

namespace {
// A machine for the whole run; drive Z: stays, as the fuzzer's own
// directory (the current one) is seen through it.
PathMap& Paths() {
  wenmoor::fuzz::FuzzMachine::Get("wenmoor-fuzz", /*with_host_drive=*/true);
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
