// SplitToDisks and reading spanned archives: the layout of the disk files
// (checked by the independent reader), members that run over disks or end
// exactly at a disk's end, disk requests, and the failures of both sides.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "archive/cmp_TWnmrCompress.h"
#include "archive_fixture.h"
#include "archive_layout.h"

namespace wenmoor {
namespace {

using test::ArchiveFixture;
using test::Bytes;
using test::MessageOf;
using test::ParseRawArchive;

int LastDiskOfFirstMember(const Bytes& disk1) { return ParseRawArchive(disk1).headers.at(0).last_disk; }

class SplitTest : public ArchiveFixture {
 public:
  // Members of the unspanned archive "a.arc" and their zlib data.
  std::vector<Bytes> MakeArchive(const std::vector<Bytes>& contents, TCompressionLevel level = colMax) {
    std::vector<std::string> names;
    for (size_t i = 0; i < contents.size(); ++i) {
      names.push_back("src/m" + std::to_string(i) + ".dat");
      Put(names.back(), contents[i]);
    }
    auto c = NewCompress();
    c->SetCompressionLevel(level);
    Compress(*c, "a.arc", names);
    const Bytes archive = Get("a.arc");
    std::vector<Bytes> data;
    for (const auto& h : ParseRawArchive(archive).headers)
      data.emplace_back(archive.begin() + h.first_byte_pos, archive.begin() + h.last_byte_pos + 1);
    return data;
  }

  // Splits a.arc (at `offset` in `file`) into C:\t\disks\files.N with disks
  // of `capacity` bytes; OnNewDisk accepts every disk.
  void Split(int64_t capacity, const std::string& file = "a.arc", int offset = 0) {
    auto c = NewCompress<test::SmallDiskCompress>();
    c->capacity = capacity;
    c->SetCompressedFile(Win(file));
    c->SetOffset(offset);
    c->OnNewDisk.Assign([&](TWnmrCompress*, int disk, std::string& path) {
      asked.push_back(disk);
      EXPECT_EQ(path, Win("disks"));
    });
    c->SplitToDisks(Win("disks"), "files.1");
  }

  std::string DiskName(int n) const { return "disks/files." + std::to_string(n); }

  // The zlib data of member `i`, gathered from the disk files as a reader
  // that follows the layout description would gather it.
  Bytes Gather(const test::RawHeader& h) {
    Bytes out;
    for (int d = h.first_disk; d <= h.last_disk; ++d) {
      const Bytes disk = Get(DiskName(d));
      const size_t from = d == h.first_disk ? static_cast<size_t>(h.first_byte_pos) : 0;
      const size_t to = d == h.last_disk ? static_cast<size_t>(h.last_byte_pos) + 1 : disk.size();
      if (from < to) out.insert(out.end(), disk.begin() + static_cast<std::ptrdiff_t>(from), disk.begin() + static_cast<std::ptrdiff_t>(to));
    }
    return out;
  }

  std::vector<int> asked;
};

TEST_F(SplitTest, SpreadsMembersOverDisksAndRecordsWhereEachLies) {
  const std::vector<Bytes> data =
      MakeArchive({test::BinaryData(60000, 1), test::TextData(5000, 2), test::BinaryData(25000, 3)});
  Split(10000);
  auto raw = ParseRawArchive(Get(DiskName(1)));
  ASSERT_EQ(raw.file_count, 3);
  EXPECT_EQ(raw.spanned, 1);
  EXPECT_EQ(raw.headers[0].first_byte_pos, 5 + 176 * 3);
  EXPECT_EQ(raw.headers[0].first_disk, 1);
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(raw.headers[i].next_header_pos, static_cast<int32_t>(5 + 176 * (i + 1)));
    EXPECT_EQ(raw.headers[i].compressed_size, static_cast<int32_t>(data[i].size()));
    EXPECT_EQ(Gather(raw.headers[i]), data[i]);
  }
  EXPECT_GT(raw.headers[2].last_disk, raw.headers[0].first_disk + 3);
  for (int d = 1; d < raw.headers[2].last_disk; ++d) EXPECT_EQ(Get(DiskName(d)).size(), 10000u) << d;
  std::vector<int> expect_asked;
  for (int d = 2; d <= raw.headers[2].last_disk; ++d) expect_asked.push_back(d);
  EXPECT_EQ(asked, expect_asked);

  // And the spanned archive extracts.
  auto c = NewCompress();
  c->SetCompressedFile(Win(DiskName(1)));
  c->SetExtractDirectory(Win("out"));
  TStringList list{Win("src/m0.dat"), Win("src/m2.dat"), Win("src/m1.dat")};
  c->SetFilesToProcess(list);
  c->Extract();
  EXPECT_EQ(Get("out/m0.dat"), test::BinaryData(60000, 1));
  EXPECT_EQ(Get("out/m1.dat"), test::TextData(5000, 2));
  EXPECT_EQ(Get("out/m2.dat"), test::BinaryData(25000, 3));
}

TEST_F(SplitTest, AMemberEndingAtTheEndOfADiskStartsTheNextOneThere) {
  const std::vector<Bytes> data = MakeArchive({test::BinaryData(5000, 1), test::BinaryData(3000, 2)}, colNone);
  const int64_t capacity = 5 + 176 * 2 + static_cast<int64_t>(data[0].size());
  Split(capacity);
  auto raw = ParseRawArchive(Get(DiskName(1)));
  ASSERT_EQ(raw.file_count, 2);
  EXPECT_EQ(raw.headers[0].last_disk, 1);
  EXPECT_EQ(raw.headers[0].last_byte_pos, capacity - 1);
  EXPECT_EQ(raw.headers[1].first_disk, 1);
  EXPECT_EQ(raw.headers[1].first_byte_pos, capacity);
  EXPECT_EQ(raw.headers[1].last_disk, 2);
  EXPECT_EQ(Gather(raw.headers[1]), data[1]);

  auto c = NewCompress();
  c->SetCompressedFile(Win(DiskName(1)));
  c->SetExtractDirectory(Win("out"));
  TStringList list{Win("src/m1.dat")};
  c->SetFilesToProcess(list);
  c->Extract();
  EXPECT_EQ(Get("out/m1.dat"), test::BinaryData(3000, 2));
  EXPECT_EQ(c->CompressedFile(), Win(DiskName(2)));
}

TEST_F(SplitTest, AnArchiveThatFitsMakesOneDiskFromItsOffset) {
  MakeArchive({test::TextData(4000, 1), test::TextData(4000, 2)});
  Bytes host(1000, 0x5A);
  const Bytes archive = Get("a.arc");
  host.insert(host.end(), archive.begin(), archive.end());
  Put("setup.exe", host);
  Split(1 << 20, "setup.exe", 1000);
  EXPECT_TRUE(asked.empty());
  EXPECT_FALSE(Exists(DiskName(2)));
  auto raw = ParseRawArchive(Get(DiskName(1)));
  for (const auto& h : raw.headers) {
    EXPECT_EQ(h.first_disk, 1);
    EXPECT_EQ(h.last_disk, 1);
  }
  EXPECT_EQ(Get(DiskName(1)).size(), archive.size());
}

TEST_F(SplitTest, FailuresOfTheSplit) {
  MakeArchive({test::BinaryData(20000)});
  auto c = NewCompress<test::SmallDiskCompress>();
  c->SetCompressedFile(Win("a.arc"));
  c->capacity = 10000;
  EXPECT_EQ(MessageOf([&] { c->SplitToDisks(Win("disks"), "files.1"); }),
            "There was no event handler for the OnNewDisk event, therefore no new disk could be inserted");
  EXPECT_TRUE(c->Abort());
  c->OnNewDisk.Assign([](TWnmrCompress*, int, std::string&) {});
  c->capacity = 1000;  // the rest of an 8 KB block does not fit on the next disk either
  EXPECT_EQ(MessageOf([&] { c->SplitToDisks(Win("disks"), "files.1"); }),
            "There is too little space on this disk to operate");
  c->SetCompressedFile(Win("none.arc"));
  EXPECT_EQ(MessageOf([&] { c->SplitToDisks(Win("disks"), "files.1"); }),
            "Cannot open the compressed file " + Win("none.arc"));

  // A header that claims data beyond the file ends the split, not the program.
  Bytes a = Get("a.arc");
  PutInt32(&a[5 + 20], 0x7FFFFF00);
  Put("a.arc", a);
  c->SetCompressedFile(Win("a.arc"));
  c->capacity = 1 << 20;
  EXPECT_EQ(MessageOf([&] { c->SplitToDisks(Win("disks"), "files.1"); }),
            "Could not read the file headers for the compressed file. The Archive file could possible be corrupt");
}

TEST_F(SplitTest, AbortEndsTheSplitQuietly) {
  MakeArchive({test::BinaryData(50000)});
  auto c = NewCompress();
  c->SetCompressedFile(Win("a.arc"));
  int aborted = 0;
  c->OnAborted.Assign([&](TObject*) { ++aborted; });
  c->OnStatus.Assign([](TWnmrCompress* sender, const TlzhFileStats&) { sender->SetAbort(true); });
  c->SplitToDisks(Win("disks"), "files.1");
  EXPECT_EQ(aborted, 1);
}

TEST_F(SplitTest, MissingDisksAreAskedForFourTimes) {
  MakeArchive({test::BinaryData(40000, 1), test::TextData(100, 2)});
  Split(10000);
  std::filesystem::rename(Host(DiskName(3)), Host("moved.3"));
  auto extract = [&](TWnmrCompress& c) {
    c.SetCompressedFile(Win(DiskName(1)));
    c.SetExtractDirectory(Win("out"));
    TStringList list{Win("src/m0.dat")};
    c.SetFilesToProcess(list);
    c.Extract();
  };
  auto plain = NewCompress();
  EXPECT_EQ(MessageOf([&] { extract(*plain); }), "Could not open the correct disk file 3");

  auto stubborn = NewCompress();
  std::vector<std::pair<int, std::string>> asks;
  stubborn->OnNewDisk.Assign([&](TWnmrCompress*, int disk, std::string& path) { asks.emplace_back(disk, path); });
  EXPECT_EQ(MessageOf([&] { extract(*stubborn); }), "Cannot open the compressed file " + Win(DiskName(3)));
  ASSERT_EQ(asks.size(), 4u);
  for (const auto& [disk, path] : asks) {
    EXPECT_EQ(disk, 3);
    EXPECT_EQ(path, Win("disks"));
  }

  // A handler that points at the disk's new place is followed there, and
  // the next disk is looked for beside it first.
  auto helpful = NewCompress();
  std::vector<int> helped;
  helpful->OnNewDisk.Assign([&](TWnmrCompress*, int disk, std::string& path) {
    helped.push_back(disk);
    path = disk == 3 ? "C:\\t" : Win("disks");
  });
  std::filesystem::rename(Host("moved.3"), Host("files.3"));
  extract(*helpful);
  EXPECT_EQ(Get("out/m0.dat"), test::BinaryData(40000, 1));
  EXPECT_EQ(helped, (std::vector<int>{3, 4}));
  EXPECT_EQ(helpful->CompressedFile(), Win(DiskName(LastDiskOfFirstMember(Get(DiskName(1))))));
}

}  // namespace
}  // namespace wenmoor
