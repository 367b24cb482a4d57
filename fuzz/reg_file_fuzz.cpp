// Wine hive files from outside: any input is either refused with
// RegistryFormatError or read; what is read writes back as a file that reads
// again to the same text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/win/reg_file_reader.h"
#include "platform/win/reg_file_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wenmoor::platform;
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::unique_ptr<RegHive> hive;
  try {
    hive = ReadRegFile(text, "fuzz.reg");
  } catch (const RegistryFormatError&) {
    return 0;
  }
  const std::string written = WriteRegFile(*hive);
  const std::string again = WriteRegFile(*ReadRegFile(written, "written.reg"));  // must not throw
  if (again != written) std::abort();
  return 0;
}
