// Fuzzes the reading of type libraries: whatever the bytes, the parser
// answers without reading outside them, and what it finds is well formed.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/win/type_library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto info = wenmoor::platform::ParseTypeLibrary(std::span<const std::uint8_t>(data, size));
  if (info) {
    // A GUID is always rendered in full; names never outgrow the input.
    if (info->guid.size() != 38 || info->guid.front() != '{' || info->guid.back() != '}') __builtin_trap();
    if (info->name.size() > size || info->doc_string.size() > size || info->help_file.size() > size)
      __builtin_trap();
  }
  return 0;
}
