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

#include "fuzz_machine.h"
#include "platform/win/batch.h"

namespace fs = std::filesystem;
using namespace wenmoor::platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path work = wenmoor::fuzz::FuzzMachine::Get("wenmoor-batch-fuzz").DriveC("work");
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
