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
// Removes the fuzzer's temporary directory when the program ends.
struct TempDir {
  fs::path path;
  ~TempDir() {
    std::error_code ignored;
    if (!path.empty()) fs::remove_all(path, ignored);
  }
};
TempDir temp_dir;

// The sandbox's C:\work, on the host.
fs::path Sandbox() {
  static fs::path work;
  static std::unique_ptr<Machine::TestScope> scope = [] {
    std::string pattern = (fs::temp_directory_path() / "wenmoor-batch-fuzz.XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    temp_dir.path = pattern;
    const fs::path prefix = fs::path(pattern) / "prefix";
    CreatePrefix(prefix);
    fs::remove(prefix / "dosdevices" / "z:");  // no way out of drive C:
    work = prefix / "drive_c" / "work";
    fs::create_directories(work);
    return std::make_unique<Machine::TestScope>(prefix);
  }();
  return work;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path work = Sandbox();
  // Something to delete and move each time.
  std::ofstream(work / "a.txt") << "a";
  std::ofstream(work / "b.tmp") << "b";
  // CD changes the process's directory (relative paths do not resolve:
  // the working directory is on no drive of the sandbox); the fuzzer's own
  // relative paths need it back.
  const fs::path cwd = fs::current_path();
  std::ostringstream out, err;
  BatchInterpreter interpreter(out, err);
  interpreter.LimitSteps(200);
  interpreter.Run(std::string(reinterpret_cast<const char*>(data), size),
                  {"C:\\work\\fuzz.bat", "C:\\work\\a.txt", "b c"});
  fs::current_path(cwd);
  return 0;
}
