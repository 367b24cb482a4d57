// Registry editor files from outside (`wenmoor reg import`): any input is
// either refused with RegistryFormatError or parsed, never anything else.
#include <cstdint>
#include <string>

#include "registry/regedit_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    wenmoor::ParseRegeditFile(std::string(reinterpret_cast<const char*>(data), size), "fuzz.reg");
  } catch (const wenmoor::platform::RegistryFormatError&) {
  }
  return 0;
}
