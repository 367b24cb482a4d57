// The overwrite rules: IsFileNewer (a candidate known by version string and
// date, as an archive member) and IsFileNewerByName (a candidate file),
// against real files of the emulated machine.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/win/file_stream.h"
#include "platform/win/file_time.h"
#include "platform/win/files.h"
#include "support/cmp_TVersion.h"
#include "support/pe_version_prefix.h"

namespace wenmoor {

// Names, not raw bytes, in failure messages.
static void PrintTo(TFileCompareResult result, std::ostream* out) {
  *out << EnumInfoOf<TFileCompareResult>().Name(result);
}

namespace {

using platform::EncodeDateTime;

class OverwriteTest : public test::PeVersionPrefixTest {
 protected:
  // Dates two seconds apart, the resolution of DOS dates. (Members, not
  // constants of the file: the date functions must not run before the
  // library's own statics exist.)
  const TDateTime kNoon = EncodeDateTime(2003, 5, 19, 12, 0, 0);
  const TDateTime kEarlier = EncodeDateTime(2003, 5, 19, 11, 59, 58);
  const TDateTime kLater = EncodeDateTime(2003, 5, 19, 12, 0, 2);

  void SetUp() override {
    v5_ = Place("en1252_x86.dll", "v5.dll", kNoon);          // 5.0.0.12
    unversioned_ = Place("plain.txt", "readme.txt", kNoon);  // no version resource
  }
  std::string Place(const std::string& fixture, const std::string& name, TDateTime date) {
    const std::string path = Install(fixture, name);
    EXPECT_TRUE(platform::SetFileDate(path, date)) << path;
    return path;
  }
  std::string v5_, unversioned_;
};

TEST_F(OverwriteTest, RulesThatNeedNoComparison) {
  for (const std::string& dest : {v5_, std::string("C:\\missing.dll")}) {
    SCOPED_TRACE(dest);
    EXPECT_EQ(TVersionResource::IsFileNewer("1.0", dest, owAlways, kNoon), fcNewer);
    EXPECT_EQ(TVersionResource::IsFileNewer("1.0", dest, owAsk, kNoon), fcAsk);
  }
  EXPECT_EQ(TVersionResource::IsFileNewer("9.0", v5_, owNever, kLater), fcOlder);
  EXPECT_EQ(TVersionResource::IsFileNewer("9.0", "C:\\missing.dll", owNever, kLater), fcNewer);
  EXPECT_EQ(TVersionResource::IsFileNewer("9.0", "   ", owNever, kLater), fcNewer);
  EXPECT_EQ(TVersionResource::IsFileNewer("9.0", "", owNever, kLater), fcNewer);
}

TEST_F(OverwriteTest, VersionRule) {
  struct Row {
    const char* candidate;
    std::string dest;
    TFileCompareResult expected;
  };
  const std::vector<Row> rows = {
      {"5.0.0.13", v5_, fcNewer},
      {"5.0.0.12", v5_, fcSame},
      {"5.0.0.9", v5_, fcOlder},
      {"5.0", v5_, fcOlder},
      {"", v5_, fcOlder},              // no version against a versioned file
      {"", unversioned_, fcSame},      // neither has one
      {"1.0", unversioned_, fcNewer},  // any version beats none
      // Nothing exists to keep, so even a candidate without a version is
      // written (a blank version would otherwise tie with the missing file).
      {"", "C:\\missing.dll", fcNewer},
      {"", "", fcNewer},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.candidate) + " against " + row.dest);
    // The dates disagree with the versions on purpose: they must not count.
    EXPECT_EQ(TVersionResource::IsFileNewer(row.candidate, row.dest, owVersion, kEarlier), row.expected);
  }
}

TEST_F(OverwriteTest, DateRuleAtDosResolution) {
  EXPECT_EQ(TVersionResource::IsFileNewer("1.0", v5_, owDate, kLater), fcNewer);
  EXPECT_EQ(TVersionResource::IsFileNewer("9.0", v5_, owDate, kEarlier), fcOlder);
  EXPECT_EQ(TVersionResource::IsFileNewer("9.0", v5_, owDate, kNoon), fcSame);
  // A file written at an odd second has a DOS date one second earlier.
  ASSERT_TRUE(platform::SetFileDate(v5_, EncodeDateTime(2003, 5, 19, 12, 0, 1)));
  EXPECT_EQ(TVersionResource::IsFileNewer("1.0", v5_, owDate, kNoon), fcSame);
}

TEST_F(OverwriteTest, DateRuleFailsWhenTheFileCannotBeOpened) {
  // Another handle that shares nothing keeps the reader out.
  TFileStream exclusive(v5_, fmOpenRead | fmShareExclusive);
  EXPECT_EQ(TVersionResource::IsFileNewer("5.0.0.12", v5_, owDate, kLater), fcError);
}

TEST_F(OverwriteTest, VersionThenDateRule) {
  // Equal versions: the dates decide.
  EXPECT_EQ(TVersionResource::IsFileNewer("5.0.0.12", v5_, owVersionDate, kNoon), fcSame);
  EXPECT_EQ(TVersionResource::IsFileNewer("5.0.0.12", v5_, owVersionDate, kLater), fcNewer);
  EXPECT_EQ(TVersionResource::IsFileNewer("5.0.0.12", v5_, owVersionDate, kEarlier), fcOlder);
  // Different versions: the dates do not count.
  EXPECT_EQ(TVersionResource::IsFileNewer("5.0.0.13", v5_, owVersionDate, kEarlier), fcNewer);
  EXPECT_EQ(TVersionResource::IsFileNewer("5.0.0.11", v5_, owVersionDate, kLater), fcOlder);
  EXPECT_EQ(TVersionResource::IsFileNewer("", unversioned_, owVersionDate, kLater), fcNewer);
}

TEST_F(OverwriteTest, ByNameReadsBothFiles) {
  const std::string v10 = Place("en1200_x64.exe", "v10.exe", kEarlier);   // 10.2.300.65535
  const std::string v5_copy = Place("en1252_x64.dll", "v5copy.dll", kLater);  // 5.0.0.12 too
  const std::string other_text = Place("plain.txt", "other.txt", kLater);

  EXPECT_EQ(TVersionResource::IsFileNewerByName(v10, v5_, owVersion), fcNewer);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(v5_, v10, owVersion), fcOlder);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(v5_copy, v5_, owVersion), fcSame);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(unversioned_, v5_, owVersion), fcOlder);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(other_text, unversioned_, owVersion), fcSame);

  EXPECT_EQ(TVersionResource::IsFileNewerByName(v5_copy, v5_, owDate), fcNewer);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(v10, v5_, owDate), fcOlder);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(v5_copy, v5_, owVersionDate), fcNewer);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(v5_, v5_copy, owVersionDate), fcOlder);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(v5_, v5_, owVersionDate), fcSame);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(other_text, unversioned_, owVersionDate), fcNewer);

  // A source that cannot be opened gives no date.
  EXPECT_EQ(TVersionResource::IsFileNewerByName("C:\\missing.dll", v5_, owDate), fcError);
  {
    TFileStream exclusive(v5_copy, fmOpenRead | fmShareExclusive);
    EXPECT_EQ(TVersionResource::IsFileNewerByName(v5_copy, v5_, owDate), fcError);
  }
  // Reading through the shared reader leaves it on the last file read.
  EXPECT_FALSE(TVersionResource::Shared().FileName().empty());
}

TEST_F(OverwriteTest, SharedReaderIsMadeAgainWhenFreed) {
  TVersionResource::FreeShared();
  EXPECT_EQ(TVersionResource::IsFileNewer("5.0.0.13", v5_, owVersion, kNoon), fcNewer);
  EXPECT_EQ(TVersionResource::Shared().VersionInfo()->FileVersion(), "5.0.0.12");
  TVersionResource::FreeShared();
}

TEST(CompareVersionsClassFunctionTest, SameAsTheFreeFunction) {
  EXPECT_EQ(TVersionResource::CompareVersions("10.0", "9.0"), 1);
  EXPECT_EQ(TVersionResource::CompareVersions("1.0", "1.0.0.0"), 2);
  EXPECT_EQ(TVersionResource::CompareVersions("1.x", "1.x"), 0);
}

}  // namespace
}  // namespace wenmoor
