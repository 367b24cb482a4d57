// Comparison of dotted version strings.
#include "support/version_compare.h"

#include <gtest/gtest.h>

#include <string>

namespace wenmoor {
namespace {

struct Row {
  const char* a;
  const char* b;
  int expected;  // 0 equal, 1 a newer, 2 b newer
};

// Each row is also checked the other way round, so it is written once.
const Row kRows[] = {
    {"5.0.0.12", "5.0.0.12", 0},
    {"5.0.0.12", "5.0.0.9", 1},  // numeric, not textual
    {"10.0", "9.0", 1},
    {"1.0.0.0", "1.0", 1},  // more parts win
    {"1.0b", "1.0a", 1},    // non-numeric parts compare as bytes
    {"1.x", "1.10", 1},     // "x" against "10" as strings
    {"1.B", "1.a", 2},      // case-sensitive: 'B' (0x42) < 'a' (0x61)
    {"2", "10", 2},
    {"007", "7", 0},  // numbers by value
    {"1.007.3", "1.7.2", 1},
    {"1.2.3", "1.2.3.0", 2},
    {"", "", 0},
    {"", "1.0.0.0", 2},  // a file without a version is older than any
    {"0", "", 1},
    {"1..2", "1.0.2", 2},  // an empty part is older than any other part
    {"1.9a", "1.10", 1},   // mixed: byte order, '9' > '1'
    // Numbers far beyond 64 bits still compare by value.
    {"1.99999999999999999999999999", "1.100000000000000000000000000", 2},
    {"1.\xC3\xA4", "1.z", 1},  // bytes compare unsigned: 0xC3 > 'z'
};

TEST(CompareVersionsTest, Table) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(std::string(row.a) + " vs " + row.b);
    EXPECT_EQ(CompareVersions(row.a, row.b), row.expected);
    const int mirrored = row.expected == 0 ? 0 : 3 - row.expected;
    EXPECT_EQ(CompareVersions(row.b, row.a), mirrored);
  }
}

}  // namespace
}  // namespace wenmoor
