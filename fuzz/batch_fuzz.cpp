// Batch files from outside: any text runs to its end without a crash or
// a hang, inside a prefix whose only drive is C: (so nothing outside the
// fuzzer's own temporary directory can be touched) and with a step limit.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "platform/win/batch.h"
#include "platform/win/machine.h"
#include "platform/win/prefix.h"

namespace fs = std::filesystem;
using namespace wenmoor::platform;

namespace {
void Sandbox() {
  static std::unique_ptr<Machine::TestScope> scope = [] {
    std::string pattern = (fs::temp_directory_path() / "wenmoor-batch-fuzz.XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    const fs::path prefix = fs::path(pattern) / "prefix";
    CreatePrefix(prefix);
    fs::remove(prefix / "dosdevices" / "z:");  // no way out of drive C:
    fs::create_directories(prefix / "drive_c" / "work");
    fs::current_path(prefix / "drive_c" / "work");
    return std::make_unique<Machine::TestScope>(prefix);
  }();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Sandbox();
  // Something to delete and move each time.
  std::ofstream("a.txt") << "a";
  std::ofstream("b.tmp") << "b";
  std::ostringstream out, err;
  BatchInterpreter interpreter(out, err);
  interpreter.LimitSteps(200);
  interpreter.Run(std::string(reinterpret_cast<const char*>(data), size), {"C:\\work\\fuzz.bat", "a.txt", "b c"});
  return 0;
}
