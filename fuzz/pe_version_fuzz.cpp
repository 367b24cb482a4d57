// Fuzzes the reading of version resources: the input is taken both as a
// whole PE file and as a bare VS_VERSIONINFO block, and every value found is
// then looked up again through the query paths and compared as a version.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "support/pe_version_reader.h"
#include "support/version_compare.h"

namespace {

bool Plain(const std::string& name) { return !name.empty() && name.find('\\') == std::string::npos; }

// True when an earlier item of `items` has the same name (the lookup, like
// the platform's, stops at the first).
template <typename Items, typename Name>
bool ShadowedByEarlier(const Items& items, std::size_t index, Name name_of) {
  for (std::size_t i = 0; i < index; ++i) {
    if (wenmoor::PeVersionInfo::SameName(name_of(items[i]), name_of(items[index]))) return true;
  }
  return false;
}

void Exercise(const wenmoor::PeVersionInfo& info) {
  (void)info.Query("\\");
  (void)info.Query("\\VarFileInfo\\Translation");
  const auto& tables = info.string_tables;
  std::string previous;
  for (std::size_t t = 0; t < tables.size(); ++t) {
    const bool table_reachable =
        Plain(tables[t].key) && !ShadowedByEarlier(tables, t, [](const auto& x) { return x.key; });
    const auto& strings = tables[t].strings;
    for (std::size_t s = 0; s < strings.size(); ++s) {
      const auto value = info.Query("\\StringFileInfo\\" + tables[t].key + "\\" + strings[s].name);
      // Every string that a path can name is found again under that path.
      if (table_reachable && Plain(strings[s].name) &&
          !ShadowedByEarlier(strings, s, [](const auto& x) { return x.name; }) &&
          (!value || std::get<std::string>(*value) != strings[s].value)) {
        __builtin_trap();
      }
      (void)wenmoor::CompareVersions(strings[s].value, previous);
      previous = strings[s].value;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  if (const auto info = wenmoor::PeVersionReader::Read(bytes)) Exercise(*info);
  if (const auto info = wenmoor::PeVersionReader::ParseBlock(bytes)) Exercise(*info);
  return 0;
}
