// Extract: round trips, names and directories, the overwrite rules,
// progress, full disks, aborts, and damaged or hostile archives, which must
// fail with the archive's messages, never escape the extraction directory,
// and never cost an existing file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/cmp_TWnmrCompress.h"
#include "archive_fixture.h"
#include "archive_layout.h"
#include "platform/win/file_time.h"
#include "platform/win/files.h"

namespace wenmoor {
namespace {

using test::ArchiveFixture;
using test::Bytes;
using test::MessageOf;
using test::ParseRawArchive;

class ExtractTest : public ArchiveFixture {
 public:
  // An archive "a.arc" of the given sources (relative names).
  void MakeArchive(const std::vector<std::pair<std::string, Bytes>>& files) {
    std::vector<std::string> names;
    for (const auto& [name, data] : files) {
      Put(name, data);
      names.push_back(name);
    }
    auto c = NewCompress();
    Compress(*c, "a.arc", names);
  }

  // Extracts `members` (relative source names, or raw lines when `raw`)
  // into C:\t\out.
  void Extract(TWnmrCompress& c, const std::vector<std::string>& members, bool raw = false) {
    c.SetCompressedFile(Win("a.arc"));
    c.SetExtractDirectory(Win("out"));
    TStringList list;
    for (const auto& m : members) list.Add(raw ? m : Win(m));
    c.SetFilesToProcess(list);
    c.Extract();
  }

  // Rewrites field bytes of member `index`'s header in a.arc.
  void Patch(size_t index, size_t field_offset, const Bytes& bytes) {
    Bytes archive = Get("a.arc");
    const size_t at = ParseRawArchive(archive).header_at.at(index) + field_offset;
    std::copy(bytes.begin(), bytes.end(), archive.begin() + static_cast<std::ptrdiff_t>(at));
    test::WriteHostFile(Host("a.arc"), archive);
  }
  void PatchInt(size_t index, size_t field_offset, int32_t v) {
    Patch(index, field_offset,
          {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
           static_cast<uint8_t>(v >> 24)});
  }
  void PatchName(size_t index, const std::string& name) {
    Bytes b{static_cast<uint8_t>(name.size())};
    b.insert(b.end(), name.begin(), name.end());
    Patch(index, 24, b);
  }
};

TEST_F(ExtractTest, RoundTripsContentsAndDates) {
  const Bytes text = test::TextData(300000), binary = test::BinaryData(123457);
  MakeArchive({{"src/a.txt", text}, {"src/b.bin", binary}, {"src/e.txt", {}}});
  SetMTime("src/b.bin", 1262347205);  // 2010-01-01 12:00:05 UTC
  auto c = NewCompress();
  Compress(*c, "a.arc", {"src/a.txt", "src/b.bin", "src/e.txt"});
  Extract(*c, {"src/b.bin", "src/a.txt", "src/e.txt"});
  EXPECT_EQ(Get("out/a.txt"), text);
  EXPECT_EQ(Get("out/b.bin"), binary);
  EXPECT_TRUE(Exists("out/e.txt"));
  EXPECT_TRUE(Get("out/e.txt").empty());
  EXPECT_EQ(platform::GetFileDate(Win("out/b.bin")), platform::EncodeDateTime(2010, 1, 1, 12, 0, 4));
  EXPECT_TRUE(c->FilesToProcess()->Empty());
  EXPECT_TRUE(c->DestFileName().empty());
  // No temporary file is left beside the targets.
  size_t entries = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(Host("out"))) ++entries;
  EXPECT_EQ(entries, 3u);
}

TEST_F(ExtractTest, ProgramsAmongTheMembersMayRunOtherFilesMayNot) {
  // The archive keeps no permissions; a program must still run once installed.
  const Bytes elf{0x7f, 'E', 'L', 'F', 2, 1, 1, 0}, script{'#', '!', '/', 'b', 'i', 'n'}, text{'E', 'L', 'F'};
  MakeArchive({{"p.exe", elf}, {"run.sh", script}, {"readme.txt", text}});
  auto c = NewCompress();
  Extract(*c, {"p.exe", "run.sh", "readme.txt"});
  const auto exec = [&](const char* name) {
    return (std::filesystem::status(Host(std::string("out/") + name)).permissions() & std::filesystem::perms::owner_exec) !=
           std::filesystem::perms::none;
  };
  EXPECT_TRUE(exec("p.exe"));
  EXPECT_TRUE(exec("run.sh"));
  EXPECT_FALSE(exec("readme.txt"));
}

TEST_F(ExtractTest, ReportsEachBlockAndTheEnd) {
  const Bytes data = test::TextData(20000);
  MakeArchive({{"a.txt", data}});
  auto c = NewCompress();
  std::vector<TlzhFileStats> status;
  std::vector<std::string> order;
  c->OnBeforeExtracting.Assign([&](TWnmrCompress*, const TlzhFileStats&) { order.push_back("before"); });
  c->OnStatus.Assign([&](TWnmrCompress*, const TlzhFileStats& s) {
    order.push_back("status");
    status.push_back(s);
  });
  c->OnAfterExtracting.Assign([&](TWnmrCompress*, const TlzhFileStats&) { order.push_back("after"); });
  Extract(*c, {"a.txt"});
  // 20,000 bytes in blocks of 4,096: five reports, then FileDone.
  ASSERT_EQ(status.size(), 6u);
  EXPECT_EQ(order.front(), "before");
  EXPECT_EQ(order.back(), "after");
  EXPECT_EQ(status[0].FileBytesDone, 4096);
  EXPECT_EQ(status[0].FilePercent, 20);  // 20.48 %
  EXPECT_EQ(status[4].FileBytesDone, 20000);
  EXPECT_EQ(status[4].TotalPercent, 100);
  EXPECT_FALSE(status[4].FileDone);
  EXPECT_TRUE(status[5].FileDone);
  EXPECT_EQ(status[5].FileName, Win("a.txt"));
  EXPECT_EQ(status[5].TotalFileSize, 20000);
}

TEST_F(ExtractTest, DestFileNameGivesTheNameAndOnlyItsNamePart) {
  MakeArchive({{"a.txt", test::TextData(100, 1)}, {"b.txt", test::TextData(100, 2)}});
  auto c = NewCompress();
  c->SetDestFileName("D:\\elsewhere\\renamed.txt");
  Extract(*c, {"a.txt", "b.txt"});
  EXPECT_EQ(Get("out/renamed.txt"), test::TextData(100, 1));
  // The name served one member: the next one keeps its own.
  EXPECT_EQ(Get("out/b.txt"), test::TextData(100, 2));
  EXPECT_FALSE(Exists("out/a.txt"));
}

TEST_F(ExtractTest, StoredPathsCannotLeaveTheExtractionDirectory) {
  const struct {
    std::string stored;
    std::string lands;  // relative to C:\t\out
  } cases[] = {
      {"..\\..\\evil1.txt", "evil1.txt"},
      {"sub/../../evil2.txt", "evil2.txt"},
      {"C:evil3.txt", "evil3.txt"},
      {"\\\\server\\share\\evil4.txt", "evil4.txt"},
      {"..\\../..//evil5.txt", "evil5.txt"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.stored);
    MakeArchive({{"x.txt", test::TextData(10)}});
    PatchName(0, row.stored);
    auto c = NewCompress();
    Extract(*c, {row.stored}, true);
    EXPECT_TRUE(Exists("out/" + row.lands));
  }
  for (const char* bad : {"..", "dir\\..", "."}) {
    SCOPED_TRACE(bad);
    MakeArchive({{"x.txt", test::TextData(10)}});
    PatchName(0, bad);
    auto c = NewCompress();
    EXPECT_EQ(MessageOf([&] { Extract(*c, {bad}, true); }).rfind("Cannot create the file ", 0), 0u);
  }
  // Nothing appeared above the extraction directory.
  for (auto& e : std::filesystem::directory_iterator(Host("")))
    EXPECT_TRUE(e.path().filename() == "out" || e.path().filename() == "a.arc" || e.path().filename() == "x.txt")
        << e.path();
}

TEST_F(ExtractTest, OverwriteRulesDecideAboutAnExistingFile) {
  const Bytes member = test::TextData(500, 1), existing = test::TextData(400, 2);
  const struct {
    TOverwriteType rule;
    int64_t existing_time;  // of the file on disk; the member is of 2005
    bool replaced;
  } cases[] = {
      {owAlways, 1577880000, true},   // 2020
      {owNever, 946728000, false},    // 2000
      {owDate, 946728000, true},      // older file: replaced
      {owDate, 1577880000, false},    // newer file: kept
      {owDate, 1104580800, false},    // same date: kept
      {owVersionDate, 946728000, true},
      {owVersion, 946728000, false},  // no versions on either side: the same
      {owAsk, 1577880000, true},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(testing::Message() << "rule " << static_cast<int>(row.rule) << " time " << row.existing_time);
    Put("a.txt", member);
    SetMTime("a.txt", 1104580800);  // 2005-01-01 12:00
    auto maker = NewCompress();
    Compress(*maker, "a.arc", {"a.txt"});
    Put("out/a.txt", existing);
    SetMTime("out/a.txt", row.existing_time);
    auto c = NewCompress();
    c->SetOverwrite(row.rule);
    int replace_events = 0, done_events = 0;
    c->OnReplace.Assign([&](TWnmrCompress*, const TlzhFileStats&) { ++replace_events; });
    c->OnStatus.Assign([&](TWnmrCompress*, const TlzhFileStats& s) { done_events += s.FileDone ? 1 : 0; });
    Extract(*c, {"a.txt"});
    EXPECT_EQ(Get("out/a.txt"), row.replaced ? member : existing);
    EXPECT_EQ(replace_events, row.replaced ? 1 : 0);
    EXPECT_EQ(done_events, 1);  // a kept file is reported done too
  }
}

TEST_F(ExtractTest, OnReplaceMayChooseAnotherName) {
  MakeArchive({{"a.txt", test::TextData(300)}});
  Put("out/a.txt", Bytes{1, 2, 3});
  auto c = NewCompress();
  c->OnReplace.Assign([](TWnmrCompress* sender, const TlzhFileStats&) { sender->SetDestFileName("a.new"); });
  Extract(*c, {"a.txt"});
  EXPECT_EQ(Get("out/a.txt"), (Bytes{1, 2, 3}));
  EXPECT_EQ(Get("out/a.new"), test::TextData(300));
}

TEST_F(ExtractTest, FailuresNameWhatIsMissing) {
  MakeArchive({{"a.txt", test::TextData(300)}});
  auto c = NewCompress();
  EXPECT_EQ(MessageOf([&] { Extract(*c, {"nope.txt;3"}); }),
            "The file <" + Win("nope.txt;3") + "> was not found in the archive <" + Win("a.arc") + ">");
  EXPECT_TRUE(c->Abort());
  EXPECT_TRUE(c->FilesToProcess()->Empty());
  auto d = NewCompress();
  d->SetCompressedFile(Win("missing.arc"));
  EXPECT_EQ(MessageOf([&] { d->List(); }), "Cannot open the compressed file " + Win("missing.arc"));
  Put("short.arc", Bytes{1, 0, 0});
  d->SetCompressedFile(Win("short.arc"));
  EXPECT_EQ(MessageOf([&] { d->ReadHeaders(); }),
            "Could not read the file headers for the compressed file. The Archive file could possible be corrupt");
}

TEST_F(ExtractTest, DamagedMembersFailAndKeepTheExistingFile) {
  const Bytes data = test::TextData(50000);
  const Bytes existing{9, 9, 9};
  const std::string size_message =
      "The decompressed file's size does not match with the actual size of the file.  The file is " + Win("a.txt");
  const struct {
    const char* what;
    std::function<void(ExtractTest&)> damage;
    std::string message;
  } cases[] = {
      {"FileSize too large", [](ExtractTest& t) { t.PatchInt(0, 132, 50001); }, size_message},
      {"FileSize too small", [](ExtractTest& t) { t.PatchInt(0, 132, 49999); }, size_message},
      {"negative FileSize", [](ExtractTest& t) { t.PatchInt(0, 132, -5); }, size_message},
      {"data cut short", [](ExtractTest& t) { t.PatchInt(0, 20, 5 + 176 + 100); }, size_message},
      {"flipped data byte",
       [](ExtractTest& t) {
         Bytes a = t.Get("a.arc");
         a[5 + 176 + 50] ^= 0x55;
         test::WriteHostFile(t.Host("a.arc"), a);
       },
       "error"},
      {"broken checksum",
       [](ExtractTest& t) {
         Bytes a = t.Get("a.arc");
         a[a.size() - 1] ^= 1;
         test::WriteHostFile(t.Host("a.arc"), a);
       },
       "error"},
      {"checksum missing", [](ExtractTest& t) { t.PatchInt(0, 20, static_cast<int32_t>(t.Get("a.arc").size()) - 5); },
       "error"},
      {"data before the file", [](ExtractTest& t) { t.PatchInt(0, 136, -1000); },
       "Could not read the file headers for the compressed file. The Archive file could possible be corrupt"},
      {"data behind the file", [](ExtractTest& t) { t.PatchInt(0, 136, 0x7FFFFF00); }, size_message},
      {"impossible date", [](ExtractTest& t) { t.Patch(0, 8, {0, 0, 0, 0, 0, 0, 0xF0, 0x7F}); },
       "Cannot set the date of the file just extracted."},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    MakeArchive({{"a.txt", data}});
    row.damage(*this);
    Put("out/a.txt", existing);
    auto c = NewCompress();
    EXPECT_EQ(MessageOf([&] { Extract(*c, {"a.txt"}); }), row.message);
    EXPECT_EQ(Get("out/a.txt"), existing);
    size_t entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(Host("out"))) ++entries;
    EXPECT_EQ(entries, 1u) << "a temporary file was left behind";
  }
}

TEST_F(ExtractTest, AMemberLargerThanItsSizeStopsEarly) {
  // A stream of 20 MB of zeros that claims to hold 10 bytes.
  MakeArchive({{"z.bin", Bytes(20 << 20, 0)}});
  PatchInt(0, 132, 10);
  auto c = NewCompress<test::SmallDiskCompress>();
  c->capacity = 1 << 20;  // the disk would be full long before 20 MB
  c->SetCompressedFile(Win("a.arc"));
  EXPECT_EQ(MessageOf([&] { Extract(*c, {"z.bin"}); }),
            "The decompressed file's size does not match with the actual size of the file.  The file is " +
                Win("z.bin"));
}

TEST_F(ExtractTest, AFullDiskRaisesUnlessOnFullDiskIsHandled) {
  MakeArchive({{"a.bin", test::BinaryData(200000)}});
  auto c = NewCompress<test::SmallDiskCompress>();
  c->capacity = 100000;
  try {
    Extract(*c, {"a.bin"});
    ADD_FAILURE() << "no exception";
  } catch (const EwcDiskFull& e) {
    EXPECT_EQ(e.Message(), "The disk is full");
  }
  int full = 0;
  c->OnFullDisk.Assign([&](TObject*) { ++full; });
  EXPECT_EQ(MessageOf([&] { Extract(*c, {"a.bin"}); }),
            "The decompressed file's size does not match with the actual size of the file.  The file is " +
                Win("a.bin"));
  EXPECT_GE(full, 1);
  EXPECT_FALSE(Exists("out/a.bin"));
}

TEST_F(ExtractTest, AbortEndsQuietlyWithoutAPartialFile) {
  MakeArchive({{"a.bin", test::BinaryData(300000)}, {"b.txt", test::TextData(10)}});
  auto c = NewCompress();
  int aborted = 0;
  c->OnAborted.Assign([&](TObject*) { ++aborted; });
  c->OnStatus.Assign([](TWnmrCompress* sender, const TlzhFileStats& s) {
    if (s.FileBytesDone >= 8192) sender->SetAbort(true);
  });
  Extract(*c, {"a.bin", "b.txt"});
  EXPECT_EQ(aborted, 1);
  EXPECT_FALSE(Exists("out/a.bin"));
  EXPECT_FALSE(Exists("out/b.txt"));
  EXPECT_TRUE(c->FilesToProcess()->Empty());
}

TEST_F(ExtractTest, AnArchiveInsideAnotherFileIsReadAtItsOffset) {
  const Bytes data = test::TextData(70000);
  MakeArchive({{"a.txt", data}});
  Bytes host(1000, 0xCC);
  const Bytes archive = Get("a.arc");
  host.insert(host.end(), archive.begin(), archive.end());
  Put("setup.exe", host);
  auto c = NewCompress();
  c->SetCompressedFile(Win("setup.exe"));
  c->SetOffset(1000);
  c->SetExtractDirectory(Win("out"));
  TStringList list{Win("A.TXT")};
  c->SetFilesToProcess(list);
  c->Extract();
  EXPECT_EQ(Get("out/a.txt"), data);
}

}  // namespace
}  // namespace wenmoor
