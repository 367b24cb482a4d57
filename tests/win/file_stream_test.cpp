// TFileStream: modes, share modes between streams, errors as the component
// library raises them.
#include <gtest/gtest.h>

#include <string>

#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "platform/win/win_error.h"
#include "support/temp_prefix.h"

namespace wenmoor {
namespace {

using platform::GetLastError;

class FileStreamTest : public ::testing::Test {
 protected:
  test::TempPrefix prefix_;
};

TEST_F(FileStreamTest, CreateWriteReadSeek) {
  {
    TFileStream out("C:\\Program Files\\New File.bin", fmCreate);
    out.WriteBuffer("hello world", 11);
    EXPECT_EQ(out.Size(), 11);
    out.SetSize(5);
    EXPECT_EQ(out.Position(), 5);
  }
  EXPECT_EQ(prefix_.ReadFile("C:\\Program Files\\New File.bin"), "hello");
  TFileStream in("c:\\PROGRAM FILES\\new file.BIN", fmOpenRead);
  EXPECT_EQ(in.FileName(), "c:\\PROGRAM FILES\\new file.BIN");
  char buf[8] = {};
  EXPECT_EQ(in.Seek(-3, soEnd), 2);
  EXPECT_EQ(in.Read(buf, 8), 3);  // short at the end
  EXPECT_STREQ(buf, "llo");
  EXPECT_THROW(in.ReadBuffer(buf, 1), EReadError);
  EXPECT_EQ(in.Write("x", 1), 0);  // opened for reading only
  EXPECT_EQ(in.Seek(-1, soBeginning), -1);
  EXPECT_EQ(GetLastError(), platform::ERROR_NEGATIVE_SEEK);
}

TEST_F(FileStreamTest, CreateTruncatesAndOpenWriteDoesNot) {
  prefix_.WriteFile("C:\\a.txt", "abcdef");
  { TFileStream(("C:\\a.txt"), fmOpenWrite).WriteBuffer("XY", 2); }
  EXPECT_EQ(prefix_.ReadFile("C:\\a.txt"), "XYcdef");
  { TFileStream("C:\\a.txt", fmOpenReadWrite | fmShareDenyNone).WriteBuffer("Z", 1); }
  EXPECT_EQ(prefix_.ReadFile("C:\\a.txt"), "ZYcdef");
  { TFileStream("C:\\A.TXT", fmCreate); }
  EXPECT_EQ(prefix_.ReadFile("C:\\a.txt"), "");
}

TEST_F(FileStreamTest, ErrorsCarryThePathAndTheSystemText) {
  const struct {
    const char* path;
    uint16_t mode;
    const char* message;
    uint32_t code;
  } cases[] = {
      {"C:\\missing.txt", fmOpenRead, "Cannot open file \"C:\\missing.txt\". The system cannot find the file specified",
       platform::ERROR_FILE_NOT_FOUND},
      {"C:\\no dir\\x.txt", fmOpenRead,
       "Cannot open file \"C:\\no dir\\x.txt\". The system cannot find the path specified",
       platform::ERROR_PATH_NOT_FOUND},
      {"C:\\no dir\\x.txt", fmCreate,
       "Cannot create file \"C:\\no dir\\x.txt\". The system cannot find the path specified",
       platform::ERROR_PATH_NOT_FOUND},
      {"C:\\windows", fmOpenRead, "Cannot open file \"C:\\windows\". Access is denied", platform::ERROR_ACCESS_DENIED},
      {"C:\\bad|name", fmCreate,
       "Cannot create file \"C:\\bad|name\". The filename, directory name, or volume label syntax is incorrect",
       platform::ERROR_INVALID_NAME},
  };
  for (const auto& c : cases) {
    try {
      TFileStream f(c.path, c.mode);
      ADD_FAILURE() << c.path << " opened";
    } catch (const EStreamError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
      EXPECT_EQ(GetLastError(), c.code) << c.path;
      EXPECT_EQ(dynamic_cast<const EFCreateError*>(&e) != nullptr, c.mode == fmCreate) << c.path;
    }
  }
}

TEST_F(FileStreamTest, ReadOnlyFileRefusesWriting) {
  prefix_.WriteFile("C:\\ro.txt", "keep");
  ASSERT_TRUE(platform::SetFileAttributes("C:\\ro.txt", platform::FILE_ATTRIBUTE_READONLY));
  EXPECT_THROW(TFileStream("C:\\ro.txt", fmCreate), EFCreateError);
  EXPECT_THROW(TFileStream("C:\\ro.txt", fmOpenWrite), EFOpenError);
  EXPECT_EQ(GetLastError(), platform::ERROR_ACCESS_DENIED);
  EXPECT_EQ(prefix_.ReadFile("C:\\ro.txt"), "keep");  // not truncated
  EXPECT_NO_THROW(TFileStream("C:\\ro.txt", fmOpenRead));
}

TEST_F(FileStreamTest, ShareModesBetweenStreams) {
  prefix_.WriteFile("C:\\shared.txt", "x");
  const uint16_t R = fmOpenRead, W = fmOpenWrite;
  // First stream, second stream, whether the second opens.
  const struct {
    uint16_t first;
    uint16_t second;
    bool opens;
  } cases[] = {
      {R | fmShareDenyNone, R | fmShareDenyNone, true},
      {R | fmShareDenyWrite, R | fmShareDenyWrite, true},
      {R | fmShareDenyWrite, W | fmShareDenyNone, false},   // the first denies writing
      {R | fmShareDenyNone, R | fmShareDenyWrite, true},
      {W | fmShareDenyNone, R | fmShareDenyWrite, false},   // the second would deny the first's writing
      {R | fmShareExclusive, R | fmShareDenyNone, false},
      {R | fmShareCompat, R | fmShareDenyNone, false},      // compatibility mode shares nothing
      {R | fmShareDenyRead, W | fmShareDenyNone, true},
      {R | fmShareDenyRead, R | fmShareDenyNone, false},
      {R | fmShareDenyNone, fmCreate, false},               // fmCreate alone is exclusive
  };
  for (const auto& c : cases) {
    TFileStream first("C:\\shared.txt", c.first);
    bool opened = true;
    try {
      TFileStream second("C:\\SHARED.TXT", c.second);
    } catch (const EStreamError&) {
      opened = false;
      EXPECT_EQ(GetLastError(), platform::ERROR_SHARING_VIOLATION);
    }
    EXPECT_EQ(opened, c.opens) << std::hex << c.first << " then " << c.second;
  }
  // Closed streams hold nothing.
  EXPECT_NO_THROW(TFileStream("C:\\shared.txt", fmOpenReadWrite | fmShareExclusive));
  EXPECT_EQ(prefix_.ReadFile("C:\\shared.txt"), "x");  // the refused fmCreate truncated nothing
}

}  // namespace
}  // namespace wenmoor
