// Compress: the bytes it writes (checked by the independent reader and by
// zlib itself), the zlib parameters of each level, appending, progress and
// statistics, and what a failure or an abort leaves behind.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "archive/cmp_TWnmrCompress.h"
#include "archive_fixture.h"
#include "archive_layout.h"
#include "platform/win/file_time.h"

namespace wenmoor {
namespace {

using test::ArchiveFixture;
using test::Bytes;
using test::MessageOf;
using test::ParseRawArchive;

Bytes Slice(const Bytes& b, size_t from, size_t to_inclusive) {
  return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(to_inclusive) + 1);
}

// zlib's own inflate of one complete stream; fails the test on any error.
Bytes Inflate(const Bytes& stream) {
  z_stream z{};
  EXPECT_EQ(inflateInit(&z), Z_OK);
  Bytes out;
  std::vector<uint8_t> buf(1 << 16);
  z.next_in = const_cast<uint8_t*>(stream.data());
  z.avail_in = static_cast<uInt>(stream.size());
  int rc;
  do {
    z.next_out = buf.data();
    z.avail_out = static_cast<uInt>(buf.size());
    rc = inflate(&z, Z_NO_FLUSH);
    out.insert(out.end(), buf.data(), buf.data() + (buf.size() - z.avail_out));
  } while (rc == Z_OK);
  EXPECT_EQ(rc, Z_STREAM_END);
  EXPECT_EQ(z.avail_in, 0u) << "bytes behind the end of the stream";
  inflateEnd(&z);
  return out;
}

// The bare deflate that every member must equal, byte for byte.
Bytes Deflate(const Bytes& data, int level) {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY), Z_OK);
  Bytes out(deflateBound(&z, data.size()));
  z.next_in = const_cast<uint8_t*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

class CompressTest : public ArchiveFixture {};

TEST_F(CompressTest, WritesTheUnspannedLayout) {
  const Bytes text = test::TextData(200000), binary = test::BinaryData(70000);
  Put("src/readme.txt", text);
  Put("src/tool.bin", binary);
  Put("src/empty.dat", {});
  SetMTime("src/readme.txt", 946728001);  // 2000-01-01 12:00:01 UTC: an odd second
  auto c = NewCompress();
  Compress(*c, "out/files.1", {"src/readme.txt", "src/tool.bin", "src/empty.dat"}, lzcOverwrite, 42);

  const Bytes archive = Get("out/files.1");
  auto raw = ParseRawArchive(archive);
  ASSERT_EQ(raw.file_count, 3);
  EXPECT_EQ(raw.spanned, 0);
  const Bytes* sources[] = {&text, &binary, nullptr};
  size_t expect_header_at = 5;
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const auto& h = raw.headers[i];
    EXPECT_EQ(raw.header_at[i], expect_header_at);
    EXPECT_EQ(h.file_number, static_cast<int32_t>(i + 1));
    EXPECT_EQ(h.file_id, 42);
    EXPECT_EQ(h.first_byte_pos, static_cast<int32_t>(raw.header_at[i] + 176));
    EXPECT_EQ(h.compressed_size, h.last_byte_pos - h.first_byte_pos + 1);
    EXPECT_EQ(h.next_header_pos, h.last_byte_pos + 1);
    EXPECT_EQ(h.first_disk, 0);
    EXPECT_EQ(h.last_disk, 0);
    EXPECT_TRUE(h.reserved_zero);
    EXPECT_EQ(h.file_version, "");
    const Bytes data = Slice(archive, static_cast<size_t>(h.first_byte_pos), static_cast<size_t>(h.last_byte_pos));
    const Bytes expect = sources[i] ? *sources[i] : Bytes{};
    EXPECT_EQ(h.file_size, static_cast<int32_t>(expect.size()));
    EXPECT_EQ(Inflate(data), expect);
    expect_header_at = static_cast<size_t>(h.next_header_pos);
  }
  EXPECT_EQ(expect_header_at, archive.size());
  EXPECT_EQ(raw.headers[0].file_name, "C:\\t\\src\\readme.txt");
  // The odd second is cut to the even one below, as DOS stores it.
  EXPECT_EQ(raw.headers[0].file_date, platform::EncodeDateTime(2000, 1, 1, 12, 0, 0));
  EXPECT_TRUE(c->FilesToProcess()->Empty());
}

TEST_F(CompressTest, EachLevelIsBareDeflateWithTheArchiveParameters) {
  const Bytes data = test::TextData(150000, 3);
  Put("a.txt", data);
  const struct {
    TCompressionLevel level;
    int zlib_level;
  } cases[] = {{colNone, 0}, {colFastest, 1}, {colDefault, 6}, {colMax, 9}};
  for (const auto& row : cases) {
    SCOPED_TRACE(row.zlib_level);
    auto c = NewCompress();
    c->SetCompressionLevel(row.level);
    Compress(*c, "a.arc", {"a.txt"});
    const Bytes archive = Get("a.arc");
    auto h = ParseRawArchive(archive).headers.at(0);
    const Bytes member = Slice(archive, static_cast<size_t>(h.first_byte_pos), static_cast<size_t>(h.last_byte_pos));
    const Bytes bare = Deflate(data, row.zlib_level);
    if (row.zlib_level == 0) {
      // Stored blocks are cut where the buffers end, so only the zlib
      // header (window and level) and the contents can be compared.
      EXPECT_EQ(Slice(member, 0, 1), Slice(bare, 0, 1));
      EXPECT_EQ(Inflate(member), data);
    } else {
      EXPECT_EQ(member, bare);
    }
  }
}

TEST_F(CompressTest, ASourceWithAVersionResourceStoresItsFileVersion) {
  Put("v.dll", test::ReadHostFile(std::string(WENMOOR_TEST_DATA) + "/pe/en1252_x86.dll"));
  auto c = NewCompress();
  Compress(*c, "v.arc", {"v.dll"});
  auto raw = ParseRawArchive(Get("v.arc"));
  EXPECT_FALSE(raw.headers.at(0).file_version.empty());
  EXPECT_NE(raw.headers.at(0).file_version.find('.'), std::string::npos);
}

TEST_F(CompressTest, OverwriteReplacesAndOnlyAddAppends) {
  Put("one.txt", test::TextData(5000, 1));
  Put("two.txt", test::TextData(6000, 2));
  Put("three.txt", test::TextData(7000, 3));
  auto c = NewCompress();
  Compress(*c, "x.arc", {"one.txt", "two.txt"});
  const Bytes first = Get("x.arc");

  Compress(*c, "x.arc", {"three.txt"}, lzcOnlyAdd, 7);
  const Bytes appended = Get("x.arc");
  auto raw = ParseRawArchive(appended);
  ASSERT_EQ(raw.file_count, 3);
  // Every byte of the old members stays; only FileCount changed.
  ASSERT_GT(appended.size(), first.size());
  EXPECT_TRUE(std::equal(first.begin() + 4, first.end(), appended.begin() + 4));
  EXPECT_EQ(raw.header_at[2], first.size());
  EXPECT_EQ(raw.headers[2].file_number, 1);
  EXPECT_EQ(raw.headers[2].file_id, 7);

  Compress(*c, "x.arc", {"two.txt"}, lzcOverwrite);
  raw = ParseRawArchive(Get("x.arc"));
  ASSERT_EQ(raw.file_count, 1);
  EXPECT_EQ(raw.headers[0].file_name, Win("two.txt"));
}

TEST_F(CompressTest, OnlyAddWithoutAnArchiveMakesOne) {
  Put("one.txt", test::TextData(100));
  auto c = NewCompress();
  Compress(*c, "new/dir/x.arc", {"one.txt"}, lzcOnlyAdd);
  EXPECT_EQ(ParseRawArchive(Get("new/dir/x.arc")).file_count, 1);
}

TEST_F(CompressTest, AppendsOneAtATimeAsOneCallWould) {
  std::vector<std::string> names;
  for (int i = 0; i < 30; ++i) {
    names.push_back("many/f" + std::to_string(i) + ".txt");
    Put(names.back(), test::TextData(50 + static_cast<size_t>(i), static_cast<uint32_t>(i)));
  }
  auto all = NewCompress();
  Compress(*all, "all.arc", names);
  auto one = NewCompress();
  for (size_t i = 0; i < names.size(); ++i) {
    Compress(*one, "one.arc", {names[i]}, i == 0 ? lzcOverwrite : lzcOnlyAdd);
    // Someone else's change to the archive between two appends is noticed.
    if (i == 10) {
      auto other = NewCompress();
      Compress(*other, "one.arc", {names[i]}, lzcOnlyAdd);
    }
  }
  auto raw_all = ParseRawArchive(Get("all.arc"));
  auto raw_one = ParseRawArchive(Get("one.arc"));
  ASSERT_EQ(raw_one.file_count, 31);
  for (int i = 0, j = 0; i < 30; ++i, ++j) {
    if (i == 11) ++j;  // the other component's member
    EXPECT_EQ(raw_one.headers[static_cast<size_t>(j)].file_name, raw_all.headers[static_cast<size_t>(i)].file_name);
    EXPECT_EQ(raw_one.headers[static_cast<size_t>(j)].compressed_size, raw_all.headers[static_cast<size_t>(i)].compressed_size);
  }
  EXPECT_EQ(raw_one.headers[11].file_name, raw_one.headers[10].file_name);
}

TEST_F(CompressTest, ReportsProgressWithTheStatistics) {
  const Bytes big = test::BinaryData(300000);
  Put("big.bin", big);
  Put("empty.txt", {});
  auto c = NewCompress();
  std::vector<std::string> events;
  std::vector<TlzhFileStats> status;
  c->OnBeforeAdding.Assign([&](TWnmrCompress*, const TlzhFileStats& s) { events.push_back("before " + s.FileName); });
  c->OnAfterAdding.Assign([&](TWnmrCompress*, const TlzhFileStats& s) { events.push_back("after " + s.FileName); });
  c->OnStatus.Assign([&](TWnmrCompress*, const TlzhFileStats& s) {
    events.push_back("status");
    status.push_back(s);
  });
  Compress(*c, "p.arc", {"big.bin", "empty.txt"});

  ASSERT_GE(events.size(), 5u);
  EXPECT_EQ(events.front(), "before " + Win("big.bin"));
  EXPECT_EQ(events.back(), "after " + Win("empty.txt"));
  // Binary data hardly compresses: several full 64 KB output blocks, each
  // reported, then the member's final report.
  const auto big_reports = std::count(events.begin(), events.end() - 3, std::string("status"));
  EXPECT_GE(big_reports, 4);
  for (size_t i = 1; i < status.size(); ++i) EXPECT_GE(status[i].TotalBytesDone, status[i - 1].TotalBytesDone);
  const TlzhFileStats& big_done = status[status.size() - 2];
  EXPECT_TRUE(big_done.FileDone);
  EXPECT_EQ(big_done.FileBytesDone, 300000);
  EXPECT_EQ(big_done.FilePercent, 100);
  EXPECT_EQ(big_done.TotalFileSize, 300000);
  EXPECT_EQ(big_done.TotalPercent, 100);
  EXPECT_GT(big_done.CompressedSize, 0);
  // An empty file: a member of size 0 whose percentages are 0.
  const TlzhFileStats& empty_done = status.back();
  EXPECT_TRUE(empty_done.FileDone);
  EXPECT_EQ(empty_done.FileSize, 0);
  EXPECT_EQ(empty_done.FilePercent, 0);
  EXPECT_EQ(empty_done.FileRatio, 0);
  // The total grows once a member's report is made: it holds the members before.
  EXPECT_EQ(empty_done.TotalCompressed, big_done.CompressedSize);
  auto raw = ParseRawArchive(Get("p.arc"));
  EXPECT_EQ(raw.headers[1].file_size, 0);
  EXPECT_EQ(raw.headers[1].compressed_size, 8);  // header, empty final block, Adler-32
}

TEST_F(CompressTest, AMissingSourceFailsAndLeavesANewArchiveEmpty) {
  Put("one.txt", test::TextData(100));
  Put("x.arc", Bytes(50, 1));
  auto c = NewCompress();
  EXPECT_EQ(MessageOf([&] { Compress(*c, "x.arc", {"one.txt", "missing.txt"}); }),
            "Cannot open the file " + Win("missing.txt"));
  EXPECT_TRUE(Get("x.arc").empty());
  EXPECT_TRUE(c->Abort());
  EXPECT_TRUE(c->FilesToProcess()->Empty());
}

TEST_F(CompressTest, AFailedAppendLeavesTheArchiveUntouched) {
  Put("one.txt", test::TextData(100));
  auto c = NewCompress();
  Compress(*c, "x.arc", {"one.txt"});
  const Bytes before = Get("x.arc");
  EXPECT_EQ(MessageOf([&] { Compress(*c, "x.arc", {"missing.txt"}, lzcOnlyAdd); }),
            "Cannot open the file " + Win("missing.txt"));
  EXPECT_EQ(Get("x.arc"), before);
}

TEST_F(CompressTest, AnAbortKeepsTheMembersCompletedSoFar) {
  Put("a.txt", test::TextData(1000, 1));
  Put("b.bin", test::BinaryData(400000));
  Put("c.txt", test::TextData(1000, 2));
  auto c = NewCompress();
  int aborted = 0;
  c->OnAborted.Assign([&](TObject*) { ++aborted; });
  c->OnStatus.Assign([&](TWnmrCompress* sender, const TlzhFileStats& s) {
    if (s.FileName == Win("b.bin") && s.FileBytesDone > 100000) sender->SetAbort(true);
  });
  Compress(*c, "x.arc", {"a.txt", "b.bin", "c.txt"});  // no exception
  EXPECT_EQ(aborted, 1);
  const Bytes archive = Get("x.arc");
  auto raw = ParseRawArchive(archive);
  ASSERT_EQ(raw.file_count, 1);
  EXPECT_EQ(static_cast<size_t>(raw.headers[0].next_header_pos), archive.size());
}

TEST_F(CompressTest, ALongSourcePathIsStoredCutAndItsOwnFileIsRead) {
  const std::string long_rel = "d/" + std::string(120, 'x') + ".txt";
  const Bytes data = test::TextData(777);
  const std::string long_win = Put(long_rel, data);
  auto c = NewCompress();
  Compress(*c, "x.arc", {long_rel});
  const Bytes archive = Get("x.arc");
  auto h = ParseRawArchive(archive).headers.at(0);
  EXPECT_EQ(h.file_name, long_win.substr(0, 100));
  EXPECT_EQ(Inflate(Slice(archive, static_cast<size_t>(h.first_byte_pos), static_cast<size_t>(h.last_byte_pos))), data);
  EXPECT_EQ(c->Headers().IndexOf(long_win), -1);
  EXPECT_EQ(c->FileCount(), 1);
  EXPECT_EQ(c->Headers().IndexOf(long_win.substr(0, 100)), 0);
}

}  // namespace
}  // namespace wenmoor
