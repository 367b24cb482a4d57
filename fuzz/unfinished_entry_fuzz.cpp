// An entry of the unfinished business, read back from the registry after a
// restart: any text either splits into a name and a kind or is refused;
// a split entry written again the way the engine writes it splits the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/cmp_TInstall.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string entry(reinterpret_cast<const char*>(data), size);
  std::string name;
  int kind = 0;
  if (!wenmoor::SplitUnfinishedEntry(entry, name, kind)) return 0;
  if (entry.compare(0, name.size(), name) != 0 || entry[name.size()] != ';') std::abort();
  std::string again_name;
  int again_kind = 0;
  if (!wenmoor::SplitUnfinishedEntry(name + ";" + std::to_string(kind), again_name, again_kind)) std::abort();
  if (again_name != name || again_kind != kind) std::abort();
  return 0;
}
