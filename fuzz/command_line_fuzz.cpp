// Command lines from outside (RunOnce values, batch parameters): any bytes
// split; quoting every argument and splitting again gives the arguments back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/win/process.h"

using wenmoor::platform::CommandLineToArgv;
using wenmoor::platform::QuoteArgument;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> args = CommandLineToArgv(line);
  if (args.empty()) std::abort();
  std::string rebuilt = "program";
  for (size_t i = 1; i < args.size(); ++i) rebuilt += " " + QuoteArgument(args[i]);
  const std::vector<std::string> again = CommandLineToArgv(rebuilt);
  if (again.size() != args.size()) std::abort();
  for (size_t i = 1; i < args.size(); ++i)
    if (again[i] != args[i]) std::abort();
  return 0;
}
