// The member headers: bytes of the 176-byte record and of the preamble, the
// walk of the header chain (also at an offset and over hostile chains), and
// lookups by name.
#include "archive/file_header.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/archive_errors.h"
#include "archive_layout.h"
#include "platform/rtl/stream.h"

namespace wenmoor {
namespace {

using test::ParseRawArchive;
using test::ParseRawHeader;

TFileHeaderRec SampleRec() {
  TFileHeaderRec r;
  r.FileNumber = 3;
  r.FileDate = 36526.5;  // 2000-01-01 12:00
  r.LastDisk = 7;
  r.LastBytePos = 0x01020304;
  r.FileName = "C:\\src\\Readme.txt";
  r.NextHeaderPos = -2;
  r.FileSize = 123456;
  r.FirstBytePos = 181;
  r.CompressedSize = 0x7FFFFFFF;
  r.FirstDisk = 255;
  r.FileID = 1999;
  r.FileVersion = "5.0.0.12";
  return r;
}

std::string ExpectThrowMessage(const std::function<void()>& f) {
  try {
    f();
  } catch (const EWnmrCompress& e) {
    return e.Message();
  }
  ADD_FAILURE() << "no EWnmrCompress raised";
  return {};
}

// Builds an unspanned archive the way the compressor lays it out: preamble,
// then each header followed by `data_size` bytes of data.
std::vector<uint8_t> UnspannedArchive(const std::vector<std::string>& names, int data_size) {
  TMemoryStream s;
  TFileHeaders list;
  for (const auto& n : names) {
    auto h = std::make_unique<TFileHeader>();
    h->Rec.FileName = n;
    list.Add(std::move(h));
  }
  list.WriteToStream(s);
  for (int i = 0; i < list.Count(); ++i) {
    TFileHeaderRec& r = list.GetFileHeaders(i).Rec;
    int32_t at = static_cast<int32_t>(s.Position());
    r.FileNumber = i + 1;
    r.FirstBytePos = at + 176;
    r.LastBytePos = r.FirstBytePos + data_size - 1;
    r.NextHeaderPos = r.LastBytePos + 1;
    r.CompressedSize = data_size;
    r.FileSize = data_size * 2;
    r.FileID = 10 + i;
    list.GetFileHeaders(i).WriteToStream(s);
    std::vector<uint8_t> data(static_cast<size_t>(data_size), static_cast<uint8_t>(0xA0 + i));
    s.WriteBuffer(data.data(), data_size);
  }
  return s.Bytes();
}

TEST(FileHeaderRec, EncodesEveryFieldAtItsOffset) {
  const TFileHeaderRec r = SampleRec();
  auto bytes = r.Encode();
  std::vector<uint8_t> v(bytes.begin(), bytes.end());
  ASSERT_EQ(v.size(), 176u);
  auto raw = ParseRawHeader(v, 0);
  EXPECT_EQ(raw.file_number, 3);
  EXPECT_EQ(raw.file_date, 36526.5);
  EXPECT_EQ(raw.last_disk, 7);
  EXPECT_EQ(raw.last_byte_pos, 0x01020304);
  EXPECT_EQ(raw.file_name, "C:\\src\\Readme.txt");
  EXPECT_EQ(raw.next_header_pos, -2);
  EXPECT_EQ(raw.file_size, 123456);
  EXPECT_EQ(raw.first_byte_pos, 181);
  EXPECT_EQ(raw.compressed_size, 0x7FFFFFFF);
  EXPECT_EQ(raw.first_disk, 255);
  EXPECT_EQ(raw.file_id, 1999);
  EXPECT_EQ(raw.file_version, "5.0.0.12");
  EXPECT_TRUE(raw.reserved_zero);
  // Little-endian, low byte first.
  EXPECT_EQ(v[20], 0x04);
  EXPECT_EQ(v[23], 0x01);
  EXPECT_EQ(TFileHeaderRec::Decode(bytes), r);
}

TEST(FileHeaderRec, CutsStringsToTheirCapacity) {
  TFileHeaderRec r;
  r.FileName = std::string(150, 'n');
  r.FileVersion = "1.2.3.4.5.6.7.8.9.10.11";
  std::vector<uint8_t> v;
  auto bytes = r.Encode();
  v.assign(bytes.begin(), bytes.end());
  auto raw = ParseRawHeader(v, 0);
  EXPECT_EQ(raw.file_name, std::string(100, 'n'));
  EXPECT_EQ(raw.file_version, "1.2.3.4.5.6.7.8.9.10");
  // The version's last character sits in the last byte before the padding.
  EXPECT_EQ(v[172], '0');
  EXPECT_EQ(v[173], 0);
}

TEST(FileHeaderRec, NeverSplitsAUtf8Sequence) {
  // 99 ASCII bytes and a two-byte character: the character does not fit.
  std::string name = std::string(99, 'a') + "\xC3\xA9";
  EXPECT_EQ(CutToCapacity(name, 100), std::string(99, 'a'));
  EXPECT_EQ(CutToCapacity(std::string(98, 'a') + "\xC3\xA9", 100), std::string(98, 'a') + "\xC3\xA9");
}

TEST(FileHeaderRec, DamagedLengthBytesReadNoFurtherThanTheCapacity) {
  TFileHeaderRec::Bytes bytes{};
  bytes[24] = 250;  // claims more than the 100 bytes there are
  bytes[152] = 200;
  for (int i = 25; i < 125; ++i) bytes[static_cast<size_t>(i)] = 'x';
  TFileHeaderRec r = TFileHeaderRec::Decode(bytes);
  EXPECT_EQ(r.FileName, std::string(100, 'x'));
  EXPECT_EQ(r.FileVersion.size(), 20u);
}

TEST(FileHeaders, ReadsAnUnspannedArchiveAndItsCopyAtAnOffset) {
  std::vector<uint8_t> archive = UnspannedArchive({"a.txt", "b.dll", "c.hlp"}, 40);
  auto raw = ParseRawArchive(archive);
  ASSERT_EQ(raw.file_count, 3);
  EXPECT_EQ(raw.header_at, (std::vector<size_t>{5, 5 + 176 + 40, 5 + 2 * (176 + 40)}));

  std::vector<uint8_t> host(1000 + archive.size(), 0xEE);
  std::copy(archive.begin(), archive.end(), host.begin() + 1000);
  for (int64_t offset : {0, 1000}) {
    TMemoryStream s(offset == 0 ? archive : host);
    TFileHeaders list;
    list.ReadFromStream(s, offset);
    ASSERT_EQ(list.Count(), 3) << "offset " << offset;
    EXPECT_FALSE(list.Spanned);
    for (int i = 0; i < 3; ++i) {
      const TFileHeader& h = list.GetFileHeaders(i);
      EXPECT_TRUE(h.FromArchive);
      // Positions are relative to the archive, unchanged by the offset.
      EXPECT_EQ(static_cast<size_t>(h.Rec.FirstBytePos), raw.header_at[static_cast<size_t>(i)] + 176);
      EXPECT_EQ(h.Rec.FileName, raw.headers[static_cast<size_t>(i)].file_name);
      EXPECT_EQ(h.Rec.FileID, 10 + i);
    }
  }
}

TEST(FileHeaders, WritesTheSpannedHeaderBlockBackToBack) {
  TFileHeaders list;
  for (const char* n : {"one", "two", "three"}) {
    auto h = std::make_unique<TFileHeader>();
    h->Rec.FileName = n;
    list.Add(std::move(h));
  }
  list.Spanned = true;
  TMemoryStream s;
  s.WriteBuffer("garbage", 7);
  list.WriteToStream(s);
  ASSERT_EQ(s.Size(), 5 + 176 * 3);
  auto raw = ParseRawArchive(s.Bytes());
  EXPECT_EQ(raw.file_count, 3);
  EXPECT_EQ(raw.spanned, 1);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(raw.headers[static_cast<size_t>(i)].next_header_pos, 5 + 176 * (i + 1)) << i;

  TFileHeaders back;
  back.ReadFromStream(s, 0);
  EXPECT_TRUE(back.Spanned);
  ASSERT_EQ(back.Count(), 3);
  EXPECT_EQ(back.GetFileHeaders(2).Rec.FileName, "three");
}

TEST(FileHeaders, UnspannedWriteIsThePreambleOnly) {
  TFileHeaders list;
  auto h = std::make_unique<TFileHeader>();
  h->Rec.FileName = "x";
  list.Add(std::move(h));
  TMemoryStream s;
  list.WriteToStream(s);
  EXPECT_EQ(s.Bytes(), (std::vector<uint8_t>{1, 0, 0, 0, 0}));
}

TEST(FileHeaders, PreambleOfFiveBytesOrLess) {
  struct Case {
    std::vector<uint8_t> bytes;
    int count;  // -1: fails with the count message
  };
  const Case cases[] = {
      {{}, -1},
      {{0, 0, 0, 0}, -1},
      {{0, 0, 0, 0, 0}, 0},
      {{0xFF, 0xFF, 0xFF, 0xFF, 0}, 0},  // FileCount -1
      {{0, 0, 0, 0x80, 1}, 0},           // most negative FileCount
  };
  for (const auto& c : cases) {
    TMemoryStream s(c.bytes);
    TFileHeaders list;
    if (c.count < 0) {
      EXPECT_EQ(ExpectThrowMessage([&] { list.ReadFromStream(s, 0); }),
                "Could not read the file header count for the compressed file")
          << c.bytes.size() << " bytes";
    } else {
      list.ReadFromStream(s, 0);
      EXPECT_EQ(list.Count(), c.count);
    }
  }
}

TEST(FileHeaders, AShortHeaderFailsAndKeepsWhatWasRead) {
  std::vector<uint8_t> archive = UnspannedArchive({"a", "b"}, 10);
  archive.resize(archive.size() - 10 - 1);  // cut into the second header
  TMemoryStream s(archive);
  TFileHeaders list;
  EXPECT_EQ(ExpectThrowMessage([&] { list.ReadFromStream(s, 0); }),
            "Could not read the file headers for the compressed file. The Archive file could possible be corrupt");
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.GetFileHeaders(0).Rec.FileName, "a");
}

TEST(FileHeaders, HostileChainsEndWithoutHangingOrGrowing) {
  struct Case {
    const char* what;
    int32_t file_count;
    int32_t next_of_first;  // NextHeaderPos of header 0
    int expect_count;       // headers left in the list
  };
  const Case cases[] = {
      {"loop onto itself", 0x7FFFFFFF, 5, 1},
      {"step back before the header", 0x7FFFFFFF, 0, 1},
      {"overlapping next header", 3, 5 + 100, 1},
      {"negative position", 2, -1000, 1},
      {"far beyond the end", 2, 0x7FFFFFF0, 1},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> archive = UnspannedArchive({"a", "b"}, 10);
    test::RawArchive raw = ParseRawArchive(archive);
    archive[0] = static_cast<uint8_t>(c.file_count);
    archive[1] = static_cast<uint8_t>(c.file_count >> 8);
    archive[2] = static_cast<uint8_t>(c.file_count >> 16);
    archive[3] = static_cast<uint8_t>(c.file_count >> 24);
    PutInt32(&archive[5 + 128], c.next_of_first);
    TMemoryStream s(archive);
    TFileHeaders list;
    EXPECT_EQ(ExpectThrowMessage([&] { list.ReadFromStream(s, 0); }),
              "Could not read the file headers for the compressed file. The Archive file could possible be corrupt")
        << c.what;
    EXPECT_EQ(list.Count(), c.expect_count) << c.what;
  }
}

TEST(FileHeaders, AddRefusesBlankNames) {
  TFileHeaders list;
  for (std::string name : {std::string(), std::string("   "), std::string(" \t\r\n "), std::string("\0\x01", 2)}) {
    auto h = std::make_unique<TFileHeader>();
    h->Rec.FileName = name;
    EXPECT_EQ(ExpectThrowMessage([&] { list.Add(std::move(h)); }), "Tried to add an invalid file header");
  }
  EXPECT_EQ(list.Count(), 0);
  auto h = std::make_unique<TFileHeader>();
  h->Rec.FileName = " x ";
  list.Add(std::move(h));
  EXPECT_EQ(list.Count(), 1);
}

TEST(FileHeaders, GetFileHeadersChecksTheIndex) {
  TFileHeaders list;
  auto h = std::make_unique<TFileHeader>();
  h->Rec.FileName = "x";
  list.Add(std::move(h));
  EXPECT_EQ(ExpectThrowMessage([&] { list.GetFileHeaders(1); }),
            "1 is an invalid TFileHeader index in TFileHeaders.GetFileHeaders");
  EXPECT_EQ(ExpectThrowMessage([&] { list.GetFileHeaders(-1); }),
            "-1 is an invalid TFileHeader index in TFileHeaders.GetFileHeaders");
}

TEST(FileHeaders, IndexOfComparesAsciiCaseInsensitivelyAndTakesTheFirst) {
  TFileHeaders list;
  for (const char* n : {"C:\\Src\\A.TXT", "c:\\src\\b.txt", "C:\\SRC\\A.txt", "C:\\\xC3\xA9t\xC3\xA9.txt"}) {
    auto h = std::make_unique<TFileHeader>();
    h->Rec.FileName = n;
    list.Add(std::move(h));
  }
  struct Case {
    const char* name;
    int index;
  };
  const Case cases[] = {
      {"c:\\src\\a.txt", 0},          // case differs: the first of two matches
      {"C:\\Src\\A.TXT;4;extra", 0},  // fields after ";" are ignored
      {"C:\\SRC\\B.TXT", 1},
      {"C:\\\xC3\xA9t\xC3\xA9.txt", 3},
      {"C:\\\xC3\x89T\xC3\x89.TXT", -1},  // only A-Z fold
      {"C:\\Src\\A.TXT ", -1},
      {"", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(list.IndexOf(c.name), c.index) << c.name;

  // A header added after a lookup is found too; an earlier namesake wins.
  for (const char* n : {"late.txt", "C:\\src\\B.txt"}) {
    auto h = std::make_unique<TFileHeader>();
    h->Rec.FileName = n;
    list.Add(std::move(h));
  }
  EXPECT_EQ(list.IndexOf("LATE.TXT"), 4);
  EXPECT_EQ(list.IndexOf("c:\\src\\b.txt"), 1);
  list.Clear();
  EXPECT_EQ(list.IndexOf("late.txt"), -1);
}

}  // namespace
}  // namespace wenmoor
