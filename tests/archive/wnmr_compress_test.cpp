// The component itself: its published properties, what setting
// CompressedFile and FilesToProcess does, the lookups by FileID, listing,
// statistics and the percentage rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/cmp_TWnmrCompress.h"
#include "archive_fixture.h"
#include "platform/rtl/persistent.h"

namespace wenmoor {
namespace {

using test::ArchiveFixture;
using test::Bytes;
using test::MessageOf;

TEST(WnmrCompressClass, PublishesItsPropertiesWithTheirDefaults) {
  const TClassInfo* info = TClassInfo::Find("TWnmrCompress");
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(info->CanCreate());
  const struct {
    const char* name;
    TTypeKind kind;
  } props[] = {
      {"Abort", TTypeKind::Boolean},           {"CompressedFile", TTypeKind::String},
      {"CompressionLevel", TTypeKind::Enumeration}, {"ExtractDirectory", TTypeKind::String},
      {"FilesToProcess", TTypeKind::Class},    {"Offset", TTypeKind::Integer},
      {"Overwrite", TTypeKind::Enumeration},   {"OnAborted", TTypeKind::Method},
      {"OnAfterAdding", TTypeKind::Method},    {"OnBeforeAdding", TTypeKind::Method},
      {"OnAfterExtracting", TTypeKind::Method}, {"OnBeforeExtracting", TTypeKind::Method},
      {"OnFullDisk", TTypeKind::Method},       {"OnListing", TTypeKind::Method},
      {"OnNewDisk", TTypeKind::Method},        {"OnReplace", TTypeKind::Method},
      {"OnStatus", TTypeKind::Method},
  };
  for (const auto& p : props) {
    const TPropInfo* prop = info->FindProperty(p.name);
    ASSERT_NE(prop, nullptr) << p.name;
    EXPECT_EQ(prop->kind, p.kind) << p.name;
  }
  auto c = CreateUnowned<TWnmrCompress>();
  EXPECT_EQ(c->CompressionLevel(), colMax);
  EXPECT_EQ(info->FindProperty("CompressionLevel")->default_ordinal, static_cast<int64_t>(colMax));
  EXPECT_EQ(c->Overwrite(), owAlways);
  EXPECT_EQ(c->Offset(), 0);
  EXPECT_FALSE(c->Abort());
  EXPECT_FALSE(c->HeadersLoaded());
  EXPECT_EQ(info->FindProperty("CompressionLevel")->enum_info->Name(colFastest), "colFastest");
  EXPECT_EQ(info->FindProperty("Overwrite")->enum_info->Name(owVersionDate), "owVersionDate");
}

TEST(WnmrCompressClass, SettingFilesToProcessDropsBlankLinesOfTheGivenList) {
  auto c = CreateUnowned<TWnmrCompress>();
  TStringList list{"a", "", "  ", "b;1", "\t\r", "c"};
  c->SetFilesToProcess(list);
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"a", "b;1", "c"}));
  EXPECT_EQ(c->FilesToProcess()->Items(), list.Items());
}

TEST(WnmrCompressClass, PercentRoundsHalvesToEvenAndStaysInAByte) {
  const struct {
    int64_t x, y;
    int expect;
  } cases[] = {
      {0, 0, 0},   {5, 0, 0},      {1, 8, 12},   // 12.5 -> 12
      {3, 8, 38},  // 37.5 -> 38
      {1, 3, 33},  {2, 3, 67},     {200, 200, 100}, {4096, 20000, 20},
      {9, 1, 255},  // 900 % of a tiny file does not wrap round to 132
      {-5, 10, 0}, {2147483647, 2147483647, 100},
  };
  for (const auto& c : cases) EXPECT_EQ(Percent(c.x, c.y), c.expect) << c.x << "/" << c.y;
}

class WnmrCompressTest : public ArchiveFixture {};

TEST_F(WnmrCompressTest, ChangingCompressedFileDropsHeadersOfAnotherArchiveOnly) {
  Put("a.txt", test::TextData(100));
  auto c = NewCompress();
  Compress(*c, "files.1", {"a.txt"});
  c->ReadHeaders();
  ASSERT_TRUE(c->HeadersLoaded());
  const struct {
    std::string name;
    bool keeps;
  } steps[] = {
      {Win("FILES.1"), true},  // the same file, other case
      {Win("files.2"), true},  // another disk of the same archive
      {Win("files.37"), true},
      {Win("other.1"), false},
  };
  for (const auto& s : steps) {
    c->SetCompressedFile(s.name);
    EXPECT_EQ(c->HeadersLoaded(), s.keeps) << s.name;
    if (!s.keeps) {
      c->SetCompressedFile(Win("files.1"));
      c->ReadHeaders();
    }
  }
}

TEST_F(WnmrCompressTest, FileIDsMapToMemberIndexes) {
  Put("a", test::TextData(10, 1));
  Put("b", test::TextData(10, 2));
  Put("c", test::TextData(10, 3));
  auto c = NewCompress();
  Compress(*c, "x.arc", {"a", "b"}, lzcOverwrite, 5);
  Compress(*c, "x.arc", {"c"}, lzcOnlyAdd, 1999);
  Compress(*c, "x.arc", {"a"}, lzcOnlyAdd, 12);
  const struct {
    int id, index;
  } cases[] = {
      {5, 1},     // two members carry 5: the later one wins
      {1999, 2},  {12, 3},
      {7, 0},     // in range, carried by none
      {2000, -1}, {-1, -1},
  };
  for (const auto& row : cases) EXPECT_EQ(c->IndexOfFileID(row.id), row.index) << row.id;
  EXPECT_TRUE(c->HeadersLoaded());
}

TEST_F(WnmrCompressTest, ListAndGetFileStatsReportMembersWithTotals) {
  Put("a", test::TextData(30000, 1));
  Put("b", test::BinaryData(10000, 2));
  auto c = NewCompress();
  Compress(*c, "x.arc", {"a", "b"});
  std::vector<TlzhFileStats> listed;
  c->OnListing.Assign([&](TWnmrCompress*, const TlzhFileStats& s) { listed.push_back(s); });
  c->List();
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0].FileName, Win("a"));
  EXPECT_EQ(listed[1].FileName, Win("b"));
  EXPECT_EQ(listed[1].TotalFileSize, 40000);
  EXPECT_EQ(listed[1].TotalCompressed, listed[0].CompressedSize + listed[1].CompressedSize);
  EXPECT_EQ(listed[0].FileRatio, Percent(listed[0].CompressedSize, 30000));
  EXPECT_LT(listed[0].FileRatio, 50);
  EXPECT_EQ(listed[1].Header.FileSize, 10000);

  TlzhFileStats stats;
  c->GetFileStats(1, stats);
  EXPECT_EQ(stats.FileName, Win("b"));
  EXPECT_EQ(stats.TotalRatio, Percent(stats.TotalCompressed, 40000));
  EXPECT_EQ(c->FileCount(), 2);
  EXPECT_EQ(MessageOf([&] { c->GetFileStats(2, stats); }), "Tried to access the 2th file. This file is not defined");
  EXPECT_EQ(MessageOf([&] { c->GetFileStats(-1, stats); }), "Tried to access the -1th file. This file is not defined");
}

TEST_F(WnmrCompressTest, HandlersCannotPullTheListAwayDuringACompress) {
  Put("a", test::TextData(100, 1));
  Put("b", test::TextData(100, 2));
  auto c = NewCompress();
  Compress(*c, "x.arc", {"a"});
  int counts = 0;
  c->OnBeforeAdding.Assign([&](TWnmrCompress* sender, const TlzhFileStats&) {
    counts += sender->FileCount();
    sender->IndexOfFileID(3);
  });
  Compress(*c, "x.arc", {"b"}, lzcOnlyAdd);
  EXPECT_EQ(counts, 2);
  EXPECT_EQ(c->FileCount(), 2);
}

TEST_F(WnmrCompressTest, HandlersThatRaiseMeetTheSharedPolicy) {
  Put("a", test::BinaryData(100000));
  auto c = NewCompress();
  Compress(*c, "x.arc", {"a"});
  auto extract = [&] {
    c->SetExtractDirectory(Win("out"));
    TStringList list{Win("a")};
    c->SetFilesToProcess(list);
    c->Extract();
  };
  // The silent abort ends Compress and Extract quietly.
  c->OnStatus.Assign([](TWnmrCompress*, const TlzhFileStats&) { throw EAbort(); });
  extract();
  EXPECT_FALSE(c->Abort());
  Compress(*c, "y.arc", {"a"});
  EXPECT_FALSE(c->Abort());
  // A split lets it pass, as any other exception, and sets Abort.
  c->SetCompressedFile(Win("x.arc"));
  EXPECT_THROW(c->SplitToDisks(Win("disks"), "files.1"), EAbort);
  EXPECT_TRUE(c->Abort());
  // Any other exception passes on and sets Abort.
  c->OnStatus.Assign([](TWnmrCompress*, const TlzhFileStats&) { throw EConvertError("handler failed"); });
  c->SetAbort(false);
  EXPECT_THROW(extract(), EConvertError);
  EXPECT_TRUE(c->Abort());
  EXPECT_FALSE(Exists("out/a"));
}

}  // namespace
}  // namespace wenmoor
