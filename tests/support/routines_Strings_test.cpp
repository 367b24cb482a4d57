// The string and path routines, table by table.
#include <gtest/gtest.h>

#include "support/routines_Strings.h"

namespace wenmoor {
namespace {

TEST(RoutinesStringsTest, TrailingBackslashes) {
  const struct {
    const char* in;
    const char* with;
    const char* without;
  } cases[] = {
      {"", "", ""},
      {"C:\\dir", "C:\\dir\\", "C:\\dir"},
      {"C:\\dir\\", "C:\\dir\\", "C:\\dir"},
      {"C:\\", "C:\\", "C:"},
      {"\\", "\\", ""},
      {"C:\\dir\\\\", "C:\\dir\\\\", "C:\\dir\\"},  // one backslash only
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithTrailingBackslash(c.in), c.with) << c.in;
    EXPECT_EQ(WithoutTrailingBackslash(c.in), c.without) << c.in;
  }
}

TEST(RoutinesStringsTest, Fields) {
  const struct {
    const char* s;
    char sep;
    int count;
  } counts[] = {
      {"a;b;", ';', 2}, {"a;b", ';', 2}, {";", ';', 1}, {"", ';', 0}, {"a", ';', 1},
      {";;a", ';', 3},  {"1.2.3.4", '.', 4}, {"a;b", '.', 1},
  };
  for (const auto& c : counts) EXPECT_EQ(FieldCount(c.s, c.sep), c.count) << c.s;

  const struct {
    const char* s;
    int n;
    const char* field;
  } fields[] = {
      {"a;b;c", 1, "a"}, {"a;b;c", 2, "b"}, {"a;b;c", 3, "c"}, {"a;b;c", 4, ""}, {"a;;c", 2, ""},
      {"a;b;", 3, ""},   {"", 1, ""},       {"abc", 0, "abc"},  {";x", 1, ""},
  };
  for (const auto& f : fields) EXPECT_EQ(GetField(f.s, f.n, ';'), f.field) << f.s << " #" << f.n;
  EXPECT_EQ(GetField("5.20.1", 2, '.'), "20");

  TStringList list;
  list.Add("stale");
  SplitFields("C:\\a;C:\\b;;", ';', list);
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"C:\\a", "C:\\b", ""}));
  SplitFields("", ';', list);
  EXPECT_EQ(list.Count(), 0);
}

TEST(RoutinesStringsTest, AfterDriveColonAndSafeNames) {
  EXPECT_EQ(AfterDriveColon("C:\\Program Files"), "\\Program Files");
  EXPECT_EQ(AfterDriveColon("ftp://host:21/x"), "//host:21/x");
  EXPECT_EQ(AfterDriveColon("no drive"), "no drive");

  const struct {
    std::string in;
    std::string out;
  } safe[] = {
      {"ftp.host/dir:1", "ftp.host-dir1"},
      {"a\"b*c:d;e<f>g?h\\i|j", "abcdefghij"},
      {"/x/", "-x-"},
      {std::string("tab\there\x01"), std::string("tab\there\x01")},  // control characters stay
      {"Müller & Söhne", "Müller & Söhne"},                            // so do bytes above 127
  };
  for (const auto& c : safe) EXPECT_EQ(MakeSafeFileName(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace wenmoor
