// CopyFile: contents, date and progress of a plain copy, the overwrite
// rules, an abort part-way, and a full disk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/cmp_TWnmrCompress.h"
#include "archive_fixture.h"
#include "platform/win/file_time.h"
#include "platform/win/files.h"

namespace wenmoor {
namespace {

using test::ArchiveFixture;
using test::Bytes;
using test::MessageOf;

class CopyTest : public ArchiveFixture {};

TEST_F(CopyTest, CopiesContentsAndDateWithProgress) {
  const Bytes data = test::BinaryData(20000);
  Put("src.bin", data);
  SetMTime("src.bin", 1262347205);  // 2010-01-01 12:00:05 UTC
  auto c = NewCompress();
  std::vector<TlzhFileStats> status;
  c->OnStatus.Assign([&](TWnmrCompress*, const TlzhFileStats& s) { status.push_back(s); });
  c->CopyFile(Win("src.bin"), Win("new/dir/dst.bin"));
  EXPECT_EQ(Get("new/dir/dst.bin"), data);
  EXPECT_EQ(platform::GetFileDate(Win("new/dir/dst.bin")), platform::EncodeDateTime(2010, 1, 1, 12, 0, 4));
  // Blocks of 8,192 bytes: 8192, 16384, 20000, then FileDone.
  ASSERT_EQ(status.size(), 4u);
  EXPECT_EQ(status[0].FileBytesDone, 8192);
  EXPECT_EQ(status[0].FilePercent, 41);
  EXPECT_EQ(status[2].FileBytesDone, 20000);
  EXPECT_EQ(status[2].TotalPercent, 100);
  EXPECT_TRUE(status[3].FileDone);
  EXPECT_EQ(status[3].FileName, Win("src.bin"));
  EXPECT_EQ(status[3].FileSize, 20000);
  EXPECT_EQ(c->ExtractDirectory(), Win("new\\dir"));
  EXPECT_TRUE(c->DestFileName().empty());
}

TEST_F(CopyTest, AnEmptyFileGivesAnEmptyCopy) {
  Put("empty", {});
  auto c = NewCompress();
  bool done = false;
  c->OnStatus.Assign([&](TWnmrCompress*, const TlzhFileStats& s) { done = done || s.FileDone; });
  c->CopyFile(Win("empty"), Win("copy"));
  EXPECT_TRUE(Exists("copy"));
  EXPECT_TRUE(Get("copy").empty());
  EXPECT_TRUE(done);
}

TEST_F(CopyTest, NeverKeepsAnExistingFileSilently) {
  Put("src", test::TextData(100));
  Put("dst", Bytes{1, 2});
  auto c = NewCompress();
  c->SetOverwrite(owNever);
  int events = 0;
  c->OnStatus.Assign([&](TWnmrCompress*, const TlzhFileStats&) { ++events; });
  c->OnReplace.Assign([&](TWnmrCompress*, const TlzhFileStats&) { ++events; });
  c->CopyFile(Win("src"), Win("dst"));
  EXPECT_EQ(Get("dst"), (Bytes{1, 2}));
  EXPECT_EQ(events, 0);
}

TEST_F(CopyTest, ReplacingFiresOnReplaceWhichMayRename) {
  Put("src", test::TextData(100));
  Put("dst", Bytes{1, 2});
  auto c = NewCompress();
  TlzhFileStats seen;
  c->OnReplace.Assign([&](TWnmrCompress* sender, const TlzhFileStats& s) {
    seen = s;
    sender->SetDestFileName("other");
  });
  c->CopyFile(Win("src"), Win("dst"));
  EXPECT_EQ(seen.FileName, Win("src"));
  EXPECT_EQ(Get("dst"), (Bytes{1, 2}));
  EXPECT_EQ(Get("other"), test::TextData(100));
}

TEST_F(CopyTest, AbortLeavesAPartialCopyAndNoException) {
  Put("src", test::BinaryData(100000));
  auto c = NewCompress();
  int aborted = 0;
  c->OnAborted.Assign([&](TObject*) { ++aborted; });
  c->OnStatus.Assign([](TWnmrCompress* sender, const TlzhFileStats& s) {
    if (s.FileBytesDone >= 16384) sender->SetAbort(true);
  });
  c->CopyFile(Win("src"), Win("dst"));
  EXPECT_EQ(Get("dst").size(), 16384u);
  EXPECT_EQ(aborted, 0);  // a copy has no abort handling of its own
}

TEST_F(CopyTest, FailuresPassOnUnchanged) {
  auto c = NewCompress();
  EXPECT_EQ(MessageOf([&] { c->CopyFile(Win("missing"), Win("dst")); }), "Cannot open the file " + Win("missing"));
  EXPECT_FALSE(c->Abort());
  Put("src", test::BinaryData(30000));
  auto small = NewCompress<test::SmallDiskCompress>();
  small->capacity = 10000;
  try {
    small->CopyFile(Win("src"), Win("dst"));
    ADD_FAILURE() << "no exception";
  } catch (const EwcDiskFull& e) {
    EXPECT_EQ(e.Message(), "The disk is full");
  }
  int full = 0;
  small->OnFullDisk.Assign([&](TObject*) { ++full; });
  small->CopyFile(Win("src"), Win("dst2"));
  EXPECT_EQ(Get("dst2").size(), 10000u);  // the rest is missing, as the handler let it be
  EXPECT_EQ(full, 3);
}

}  // namespace
}  // namespace wenmoor
