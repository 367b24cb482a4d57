// File services: attributes, dates, copy, delete (and what refuses it),
// move, directories, listings, temporary names.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <fstream>

#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "platform/win/process.h"
#include "platform/win/win_error.h"
#include "support/temp_prefix.h"

namespace fs = std::filesystem;

namespace wenmoor::platform {
namespace {

class FilesTest : public ::testing::Test {
 protected:
  // Runs `script` in /bin/sh as a child of the test; answers the process.
  std::unique_ptr<Process> Shell(const std::string& script) {
    const std::string line = "sh -c " + QuoteArgument(script);
    std::unique_ptr<Process> p = Process::Create("Z:\\bin\\sh", line);
    EXPECT_TRUE(p) << GetLastError();
    return p;
  }
  void ExpectFailure(bool ok, uint32_t error, const std::string& what) {
    EXPECT_FALSE(ok) << what;
    EXPECT_EQ(GetLastError(), error) << what;
  }
  test::TempPrefix prefix_;
};

TEST_F(FilesTest, ExistenceDistinguishesFilesFromDirectories) {
  prefix_.WriteFile("C:\\Dir\\File.txt", "x");
  EXPECT_TRUE(FileExists("c:\\dir\\file.TXT"));
  EXPECT_FALSE(FileExists("C:\\Dir"));
  EXPECT_TRUE(DirectoryExists("C:\\DIR"));
  EXPECT_FALSE(DirectoryExists("C:\\Dir\\File.txt"));
  EXPECT_FALSE(FileExists("C:\\Dir\\Other.txt"));
  EXPECT_EQ(GetFileSize("C:\\dir\\file.txt"), 1);
}

TEST_F(FilesTest, AttributesMapToModeAndDosAttrib) {
  prefix_.WriteFile("C:\\a.txt", "x");
  const fs::path host = prefix_.Host("C:\\a.txt");
  EXPECT_EQ(GetFileAttributes("C:\\a.txt"), FILE_ATTRIBUTE_ARCHIVE);  // no record: as Wine reads it
  EXPECT_EQ(GetFileAttributes("C:\\windows"), FILE_ATTRIBUTE_DIRECTORY);

  ASSERT_TRUE(SetFileAttributes("C:\\a.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(fs::status(host).permissions() & fs::perms::all & (fs::perms::owner_write | fs::perms::group_write |
                                                                fs::perms::others_write),
            fs::perms::none);
  char text[32] = {};
  ASSERT_GT(getxattr(host.c_str(), "user.DOSATTRIB", text, sizeof text - 1), 0);
  EXPECT_STREQ(text, "0x2");  // Wine's and Samba's text form; read-only lives in the mode
  EXPECT_EQ(GetFileAttributes("C:\\A.TXT"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

  ASSERT_TRUE(SetFileAttributes("C:\\a.txt", 0));  // nothing at all reads as "normal"
  EXPECT_EQ(GetFileAttributes("C:\\a.txt"), FILE_ATTRIBUTE_NORMAL);
  EXPECT_NE(fs::status(host).permissions() & fs::perms::owner_write, fs::perms::none);

  // A directory keeps read-only as a flag: it must not stop writing into it.
  ASSERT_TRUE(SetFileAttributes("C:\\windows", FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(GetFileAttributes("C:\\windows"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
  EXPECT_NO_THROW(TFileStream("C:\\windows\\new.txt", fmCreate));

  SetLastError(0);
  EXPECT_EQ(GetFileAttributes("C:\\missing.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetFileAttributes("C:\\missing\\x.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(FilesTest, LastWriteTimeIsMtimeInLocalTime) {
  prefix_.WriteFile("C:\\dated.txt", "x");
  const TDateTime when = EncodeDateTime(2001, 8, 24, 13, 45, 30);
  ASSERT_TRUE(SetFileDate("C:\\dated.txt", when));
  const std::optional<TDateTime> read = GetFileDate("C:\\DATED.TXT");
  ASSERT_TRUE(read);
  EXPECT_NEAR(*read, when, 1e-8);
  struct stat st {};
  ASSERT_EQ(stat(prefix_.Host("C:\\dated.txt").c_str(), &st), 0);
  // 13:45:30 local is 11:45:30 UTC with summer time in Berlin, or
  // 13:45:30 UTC under TZ=UTC, as the tests run; either way mtime is the
  // local time's instant.
  struct tm local {};
  const time_t mtime = st.st_mtim.tv_sec;
  localtime_r(&mtime, &local);
  EXPECT_EQ(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec, 13 * 3600 + 45 * 60 + 30);
  EXPECT_EQ(local.tm_mday, 24);
  EXPECT_FALSE(SetFileDate("C:\\missing.txt", when));
  EXPECT_FALSE(GetFileDate("C:\\missing.txt"));
}

TEST_F(FilesTest, CopyKeepsContentsDateAndAttributes) {
  prefix_.WriteFile("C:\\src\\a.dll", "library");
  ASSERT_TRUE(SetFileDate("C:\\src\\a.dll", EncodeDateTime(1999, 1, 2, 3, 4, 6)));
  ASSERT_TRUE(SetFileAttributes("C:\\src\\a.dll", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(ForceDirectories("C:\\dst"));
  ASSERT_TRUE(CopyFile("C:\\SRC\\A.DLL", "C:\\dst\\B.dll", IfExists::Fail));
  EXPECT_EQ(prefix_.ReadFile("C:\\dst\\b.dll"), "library");
  EXPECT_EQ(fs::directory_iterator(prefix_.DriveC() / "dst")->path().filename(), "B.dll");  // nothing else left
  EXPECT_EQ(GetFileAttributes("C:\\dst\\B.dll"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
  EXPECT_NEAR(*GetFileDate("C:\\dst\\B.dll"), EncodeDateTime(1999, 1, 2, 3, 4, 6), 1e-8);

  SetLastError(0);
  ExpectFailure(CopyFile("C:\\src\\a.dll", "C:\\dst\\b.dll", IfExists::Fail), ERROR_FILE_EXISTS, "fail if exists");
  ExpectFailure(CopyFile("C:\\src\\a.dll", "C:\\dst\\b.dll", IfExists::Overwrite), ERROR_ACCESS_DENIED,
                "read-only destination");
  ExpectFailure(CopyFile("C:\\src\\a.dll", "C:\\src\\A.DLL", IfExists::Overwrite), ERROR_SHARING_VIOLATION,
                "onto itself");
  ExpectFailure(CopyFile("C:\\src\\none.dll", "C:\\dst\\c.dll", IfExists::Overwrite), ERROR_FILE_NOT_FOUND,
                "missing source");
  ExpectFailure(CopyFile("C:\\src\\a.dll", "C:\\nodir\\c.dll", IfExists::Overwrite), ERROR_PATH_NOT_FOUND,
                "missing directory");
  prefix_.WriteFile("C:\\dst\\c.dll", "old");
  ASSERT_TRUE(CopyFile("C:\\src\\a.dll", "C:\\dst\\c.dll", IfExists::Overwrite));
  EXPECT_EQ(prefix_.ReadFile("C:\\dst\\c.dll"), "library");
}

TEST_F(FilesTest, DeleteIsRefusedWhereWindowsRefusesIt) {
  prefix_.WriteFile("C:\\ro.txt", "x");
  ASSERT_TRUE(SetFileAttributes("C:\\ro.txt", FILE_ATTRIBUTE_READONLY));
  ExpectFailure(DeleteFile("C:\\ro.txt"), ERROR_ACCESS_DENIED, "read-only");
  EXPECT_TRUE(FileExists("C:\\ro.txt"));
  ExpectFailure(DeleteFile("C:\\windows"), ERROR_ACCESS_DENIED, "directory");
  ExpectFailure(DeleteFile("C:\\missing.txt"), ERROR_FILE_NOT_FOUND, "missing");
  ExpectFailure(DeleteFile("C:\\missing\\x.txt"), ERROR_PATH_NOT_FOUND, "missing directory");

  prefix_.WriteFile("C:\\mine.txt", "x");
  {
    TFileStream open("C:\\mine.txt", fmOpenRead | fmShareDenyNone);
    ExpectFailure(DeleteFile("C:\\MINE.TXT"), ERROR_SHARING_VIOLATION, "held by a stream of this process");
  }
  EXPECT_TRUE(DeleteFile("C:\\MINE.TXT"));
  EXPECT_FALSE(fs::exists(prefix_.DriveC() / "mine.txt"));
}

TEST_F(FilesTest, DeleteIsRefusedWhileAnotherProcessHoldsTheFile) {
  prefix_.WriteFile("C:\\Program Files\\in use.dll", "x");
  const fs::path host = prefix_.Host("C:\\Program Files\\in use.dll");
  const fs::path ready = prefix_.Dir() / "ready";
  // The child opens the file, says so, and keeps it until it is killed.
  std::unique_ptr<Process> child =
      Shell("exec 3<'" + host.string() + "'; touch '" + ready.string() + "'; exec sleep 30");
  ASSERT_TRUE(child);
  for (int i = 0; i < 500 && !fs::exists(ready); ++i) usleep(10'000);
  ASSERT_TRUE(fs::exists(ready));
  EXPECT_TRUE(IsFileInUse("C:\\Program Files\\in use.dll"));
  ExpectFailure(DeleteFile("C:\\Program Files\\in use.dll"), ERROR_SHARING_VIOLATION, "open in a child");
  ExpectFailure(MoveFileEx("C:\\Program Files\\in use.dll", "C:\\moved.dll", 0), ERROR_SHARING_VIOLATION,
                "moving it");
  prefix_.WriteFile("C:\\new.dll", "y");
  ExpectFailure(MoveFileEx("C:\\new.dll", "C:\\Program Files\\in use.dll", MOVEFILE_REPLACE_EXISTING),
                ERROR_SHARING_VIOLATION, "replacing it");
  EXPECT_TRUE(fs::exists(host));

  kill(child->Id(), SIGKILL);
  ASSERT_TRUE(child->Wait(std::chrono::seconds(10)));
  EXPECT_FALSE(IsFileInUse("C:\\Program Files\\in use.dll"));
  EXPECT_TRUE(DeleteFile("C:\\Program Files\\in use.dll"));
}

TEST_F(FilesTest, DeleteIsRefusedWhileAnotherProcessMapsTheFile) {
  // A running program maps its own file: the program in use is the classic case.
  prefix_.WriteFile("C:\\tools\\placeholder", "");
  const fs::path copy = prefix_.Host("C:\\tools\\sleeper");
  fs::copy_file("/bin/sleep", copy);
  std::unique_ptr<Process> child = Process::Create("C:\\tools\\sleeper", "sleeper 30");
  ASSERT_TRUE(child) << GetLastError();
  // Wait without deleting: a delete that wins the race against exec() would
  // succeed, rightly, and leave nothing to test.
  bool mapped = false;
  for (int i = 0; i < 500 && !mapped; ++i) {
    mapped = IsFileInUse("C:\\tools\\sleeper");
    if (!mapped) usleep(10'000);
  }
  ASSERT_TRUE(mapped);
  ExpectFailure(DeleteFile("C:\\tools\\sleeper"), ERROR_SHARING_VIOLATION, "a running program");
  kill(child->Id(), SIGKILL);
  child->Wait();
  EXPECT_TRUE(DeleteFile("C:\\tools\\sleeper"));
}

TEST_F(FilesTest, MoveRenamesAndRefusesToOverwrite) {
  prefix_.WriteFile("C:\\a\\one.txt", "1");
  prefix_.WriteFile("C:\\a\\two.txt", "2");
  ExpectFailure(MoveFile("C:\\a\\one.txt", "C:\\a\\TWO.TXT"), ERROR_ALREADY_EXISTS, "existing target");
  ASSERT_TRUE(MoveFileEx("C:\\a\\one.txt", "C:\\a\\TWO.TXT", MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(prefix_.ReadFile("C:\\a\\two.txt"), "1");
  EXPECT_FALSE(FileExists("C:\\a\\one.txt"));
  // Only the case changes: the same file, renamed.
  ASSERT_TRUE(MoveFile("C:\\a\\two.txt", "C:\\a\\Two.Txt"));
  EXPECT_TRUE(fs::exists(prefix_.DriveC() / "a" / "Two.Txt"));
  EXPECT_FALSE(fs::exists(prefix_.DriveC() / "a" / "two.txt"));
  // Directories move too; a new name is created with the case given.
  ASSERT_TRUE(MoveFile("C:\\A", "C:\\Moved Dir"));
  EXPECT_TRUE(fs::is_directory(prefix_.DriveC() / "Moved Dir"));
  ExpectFailure(MoveFile("C:\\nothing", "C:\\x"), ERROR_FILE_NOT_FOUND, "missing source");
  ExpectFailure(MoveFileEx("C:\\Moved Dir\\Two.Txt", "", 0), ERROR_INVALID_PARAMETER, "no target, not delayed");
}

TEST_F(FilesTest, DelayedMoveIsRecordedAsWindowsRecordsIt) {
  prefix_.WriteFile("C:\\dir\\a.1", "new");
  ASSERT_TRUE(MoveFileEx("C:\\dir\\a.1", "C:\\dir\\a.dll", MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT));
  ASSERT_TRUE(MoveFileEx("c:/dir/../dir/old.tmp", "", MOVEFILE_DELAY_UNTIL_REBOOT));
  EXPECT_TRUE(FileExists("C:\\dir\\a.1"));  // nothing moves before the restart
  std::optional<RegValue> v = CurrentRegistry().QueryValue(
      RootKey::LocalMachine, "System\\CurrentControlSet\\Control\\Session Manager", "PendingFileRenameOperations");
  ASSERT_TRUE(v);
  EXPECT_EQ(v->type, REG_MULTI_SZ);
  std::u16string expected = u"\\??\\C:\\dir\\a.1";
  expected += u'\0';
  expected += u"!\\??\\C:\\dir\\a.dll";
  expected += u'\0';
  expected += u"\\??\\C:\\dir\\old.tmp";
  expected += u'\0';
  expected += u'\0';  // the empty target: delete
  expected += u'\0';  // the end of the list
  std::vector<uint8_t> bytes;
  for (char16_t c : expected) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  EXPECT_EQ(v->data, bytes);
  ExpectFailure(MoveFileEx("C:\\dir\\a.1", "C:\\dir\\b", MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_COPY_ALLOWED),
                ERROR_INVALID_PARAMETER, "delay with copy");
}

TEST_F(FilesTest, DelayedMoveIsNotAvailableOnThe9xFamily) {
  test::TempPrefix win98("win98");
  win98.WriteFile("C:\\a.1", "x");
  ExpectFailure(MoveFileEx("C:\\a.1", "C:\\a.dll", MOVEFILE_DELAY_UNTIL_REBOOT), ERROR_CALL_NOT_IMPLEMENTED, "win98");
  EXPECT_FALSE(CurrentRegistry().QueryValue(RootKey::LocalMachine,
                                            "System\\CurrentControlSet\\Control\\Session Manager",
                                            "PendingFileRenameOperations"));
}

TEST_F(FilesTest, DirectoriesAreCreatedAndRemoved) {
  ExpectFailure(CreateDirectory("C:\\x\\y"), ERROR_PATH_NOT_FOUND, "missing parent");
  ASSERT_TRUE(CreateDirectory("C:\\X"));
  ExpectFailure(CreateDirectory("C:\\x"), ERROR_ALREADY_EXISTS, "exists, in another case");
  ASSERT_TRUE(ForceDirectories("C:\\x\\New\\Deep\\Er"));
  EXPECT_TRUE(fs::is_directory(prefix_.DriveC() / "X" / "New" / "Deep" / "Er"));
  EXPECT_TRUE(ForceDirectories("C:\\X\\NEW"));  // already there
  prefix_.WriteFile("C:\\file", "x");
  ExpectFailure(ForceDirectories("C:\\file\\sub"), ERROR_PATH_NOT_FOUND, "through a file");
  ExpectFailure(RemoveDirectory("C:\\x\\new"), ERROR_DIR_NOT_EMPTY, "not empty");
  ExpectFailure(RemoveDirectory("C:\\file"), ERROR_DIRECTORY, "a file");
  ASSERT_TRUE(RemoveDirectory("C:\\x\\new\\deep\\er"));
  EXPECT_FALSE(DirectoryExists("C:\\x\\new\\deep\\er"));
}

TEST_F(FilesTest, MasksMatchAsOnWindows) {
  const struct {
    const char* name;
    const char* mask;
    bool match;
  } cases[] = {
      {"readme.txt", "*.*", true},    {"readme", "*.*", true},       {"README.TXT", "*.txt", true},
      {"readme.txt", "*.TXT", true},  {"readme.txt", "*.doc", false}, {"a.txt", "?.txt", true},
      {"ab.txt", "?.txt", false},     {"readme", "readme.*", true},  {"readme", "*.", true},
      {"read.me", "*.", false},       {"setup.1", "setup.?", true},  {"setup.10", "setup.?", false},
      {"x.tar.gz", "*.gz", true},     {"abc", "a*c", true},          {"ac", "a*c", true},
      {"ab", "a*c", false},           {"", "*", true},
  };
  for (const auto& c : cases) EXPECT_EQ(MatchesMask(c.name, c.mask), c.match) << c.name << " ~ " << c.mask;
}

TEST_F(FilesTest, FindFilesListsMatchesInOrder) {
  prefix_.WriteFile("C:\\list\\b.TXT", "bb");
  prefix_.WriteFile("C:\\list\\A.txt", "a");
  prefix_.WriteFile("C:\\list\\Long File Name.txt", "");
  prefix_.WriteFile("C:\\list\\c.doc", "");
  ASSERT_TRUE(ForceDirectories("C:\\list\\Sub"));
  std::vector<std::string> names;
  for (const FindData& f : FindFiles("c:\\LIST\\*.txt")) names.push_back(f.name);
  EXPECT_EQ(names, (std::vector<std::string>{"A.txt", "b.TXT", "Long File Name.txt"}));

  const std::vector<FindData> all = FindFiles("C:\\list\\*.*");
  ASSERT_EQ(all.size(), 5u);
  EXPECT_EQ(all[1].name, "b.TXT");
  EXPECT_EQ(all[1].size, 2);
  EXPECT_EQ(all[2].name, "c.doc");
  EXPECT_EQ(all[3].short_name, "LONGFI~1.TXT");
  EXPECT_EQ(all[4].name, "Sub");
  EXPECT_TRUE(all[4].attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(FindFiles("C:\\list\\LONGFI~1.TXT").at(0).name, "Long File Name.txt");  // short names match too

  SetLastError(0);
  EXPECT_TRUE(FindFiles("C:\\list\\*.exe").empty());
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(FindFiles("C:\\nolist\\*.*").empty());
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(FilesTest, TemporaryNamesAreUniqueAndReserved) {
  const std::string temp = GetTempPath();
  EXPECT_EQ(temp, "C:\\windows\\temp\\");
  std::set<std::string> names;
  for (int i = 0; i < 20; ++i) {
    std::optional<std::string> name = GetTempFileName(temp, "batch", 0);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->rfind("C:\\windows\\temp\\bat", 0), 0u) << *name;  // three letters of the prefix
    EXPECT_EQ(name->substr(name->size() - 4), ".tmp");
    EXPECT_TRUE(FileExists(*name)) << *name;
    EXPECT_TRUE(names.insert(*name).second) << *name;
  }
  // With a number given, the name is formed and nothing is created.
  EXPECT_EQ(GetTempFileName("C:\\windows\\temp", "ab", 0x1A2B), "C:\\windows\\temp\\ab1A2B.tmp");
  EXPECT_FALSE(FileExists("C:\\windows\\temp\\ab1A2B.tmp"));
  SetLastError(0);
  EXPECT_FALSE(GetTempFileName("C:\\no such dir", "x", 0));
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);

  // The directory named by TMP wins, and is made when missing.
  CurrentRegistry().SetValue(RootKey::CurrentUser, "Environment", "TMP",
                             RegValue::String("%USERPROFILE%\\Local Settings\\Temp", REG_EXPAND_SZ));
  const std::string user_temp = GetTempPath();
  EXPECT_EQ(user_temp, "C:\\users\\" + Machine::UserName() + "\\Local Settings\\Temp\\");
  EXPECT_TRUE(DirectoryExists(user_temp));
}

TEST_F(FilesTest, SystemDirectoriesFollowTheVersion) {
  EXPECT_EQ(GetWindowsDirectory(), "C:\\windows");
  EXPECT_EQ(GetSystemDirectory(), "C:\\windows\\system32");
  test::TempPrefix win98("win98");
  EXPECT_EQ(GetSystemDirectory(), "C:\\windows\\system");
  EXPECT_TRUE(DirectoryExists(GetSystemDirectory()));
}

TEST_F(FilesTest, SearchPathFindsProgramsLikeWindows) {
  prefix_.WriteFile("C:\\windows\\system32\\regsvr.exe", "");
  prefix_.WriteFile("C:\\windows\\notepad.exe", "");
  EXPECT_EQ(SearchPath("REGSVR", ".exe"), "C:\\windows\\system32\\REGSVR.exe");
  EXPECT_EQ(SearchPath("notepad.exe", ".com"), "C:\\windows\\notepad.exe");
  EXPECT_EQ(SearchPath("C:\\windows\\notepad", ".exe"), "C:\\windows\\notepad.exe");
  SetLastError(0);
  EXPECT_FALSE(SearchPath("nothing", ".exe"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FilesTest, FreeSpaceOfTheDrive) {
  std::optional<DiskSpace> space = GetDiskFreeSpaceEx("C:\\");
  ASSERT_TRUE(space);
  EXPECT_GT(space->total, 0u);
  EXPECT_LE(space->free_to_caller, space->total_free);
  EXPECT_LE(space->total_free, space->total);
  EXPECT_FALSE(GetDiskFreeSpaceEx("C:\\no such dir"));
}

TEST(ErrorTextTest, SystemTextsAndTheirShortForm) {
  EXPECT_EQ(FormatMessage(ERROR_ACCESS_DENIED), "Access is denied.");
  EXPECT_EQ(SysErrorMessage(ERROR_ACCESS_DENIED), "Access is denied");
  EXPECT_EQ(FormatMessage(ERROR_SHARING_VIOLATION),
            "The process cannot access the file because it is being used by another process.");
  EXPECT_EQ(FormatMessage(99999), "Unknown error 99999.");
  EXPECT_EQ(ErrorFromErrno(ENOENT), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ErrorFromErrno(ENOSPC), ERROR_DISK_FULL);
  EXPECT_EQ(ErrorFromErrno(EXDEV), ERROR_NOT_SAME_DEVICE);
  EOSError e(ERROR_FILE_NOT_FOUND);
  EXPECT_STREQ(e.what(), "System Error.  Code: 2.\nThe system cannot find the file specified");
  EXPECT_EQ(e.ErrorCode(), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace wenmoor::platform
