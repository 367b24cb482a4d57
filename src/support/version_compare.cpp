#include "support/version_compare.h"

#include <algorithm>
#include <vector>

namespace wenmoor {
namespace {

std::vector<std::string_view> SplitParts(std::string_view version) {
  std::vector<std::string_view> parts;
  if (version.empty()) return parts;
  while (true) {
    const auto dot = version.find('.');
    parts.push_back(version.substr(0, dot));
    if (dot == std::string_view::npos) return parts;
    version.remove_prefix(dot + 1);
  }
}

bool IsNumber(std::string_view part) {
  return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Compares two digit strings by value without converting them, so that no
// length overflows: strip leading zeros, then the longer is the larger, and
// equal lengths compare digit by digit.
int CompareNumbers(std::string_view a, std::string_view b) {
  a.remove_prefix(std::min(a.find_first_not_of('0'), a.size()));
  b.remove_prefix(std::min(b.find_first_not_of('0'), b.size()));
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b);
}

}  // namespace

int CompareVersions(std::string_view a, std::string_view b) {
  const auto parts_a = SplitParts(a);
  const auto parts_b = SplitParts(b);
  const std::size_t common = std::min(parts_a.size(), parts_b.size());
  for (std::size_t i = 0; i < common; ++i) {
    // string_view compares chars as unsigned bytes: an ordinal comparison.
    const int order = IsNumber(parts_a[i]) && IsNumber(parts_b[i]) ? CompareNumbers(parts_a[i], parts_b[i])
                                                                   : parts_a[i].compare(parts_b[i]);
    if (order != 0) return order > 0 ? 1 : 2;
  }
  if (parts_a.size() == parts_b.size()) return 0;
  return parts_a.size() > parts_b.size() ? 1 : 2;
}

}  // namespace wenmoor
