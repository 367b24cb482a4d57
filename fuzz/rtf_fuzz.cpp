// Rich text from outside (a licence or read-me text of a script): any input
// gives plain text without failing, and never more text than it holds
// (each input byte yields at most one character of up to 4 UTF-8 bytes).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ui/rtf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string plain = wenmoor::RtfToPlainText(text);
  if (plain.size() > 4 * size + 2) std::abort();
  return 0;
}
