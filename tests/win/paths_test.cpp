// Windows paths on the emulated machine: parsing, case-insensitive
// resolution, drives, host paths seen from Windows, short names.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "platform/win/name_rules.h"
#include "platform/win/paths.h"
#include "platform/win/win_error.h"
#include "support/temp_prefix.h"

namespace fs = std::filesystem;

namespace wenmoor::platform {
namespace {

class PathsTest : public ::testing::Test {
 protected:
  PathMap& Paths() { return prefix_.Machine().Paths(); }
  fs::path C() const { return prefix_.DriveC(); }
  test::TempPrefix prefix_;
};

TEST_F(PathsTest, ParsesTheWindowsForms) {
  const struct {
    const char* in;
    const char* full;
  } cases[] = {
      {"C:\\Program Files\\Qry", "C:\\Program Files\\Qry"},
      {"c:/program files/qry", "C:\\program files\\qry"},
      {"\\\\?\\C:\\a\\b", "C:\\a\\b"},
      {"\\??\\C:\\a\\b", "C:\\a\\b"},
      {"C:\\a\\\\b\\", "C:\\a\\b"},
      {"C:\\a\\.\\b\\..\\c", "C:\\a\\c"},
      {"C:\\..\\..\\a", "C:\\a"},
      {"C:\\", "C:\\"},
      {"C:", nullptr},  // drive-relative: depends on the current directory
      {"C:\\dir.\\file. ", "C:\\dir\\file"},
      {"C:\\a...\\b", "C:\\a...\\b"},
  };
  for (const auto& c : cases) {
    std::optional<std::string> full = Paths().FullPath(c.in);
    ASSERT_TRUE(full) << c.in;
    if (c.full) {
      EXPECT_EQ(*full, c.full) << c.in;
    }
  }
}

TEST_F(PathsTest, RefusesPathsThatNameNoFile) {
  const struct {
    const char* in;
    uint32_t error;
  } cases[] = {
      {"", ERROR_PATH_NOT_FOUND},
      {"\\\\server\\share\\x", ERROR_PATH_NOT_FOUND},
      {"C:\\a<b", ERROR_INVALID_NAME},
      {"C:\\a|b\\c", ERROR_INVALID_NAME},
      {"C:\\what?", ERROR_INVALID_NAME},
      {"C:\\a\"b", ERROR_INVALID_NAME},
      {"C:\\a\x01", ERROR_INVALID_NAME},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(Paths().ToHost(c.in)) << c.in;
    EXPECT_EQ(GetLastError(), c.error) << c.in;
  }
  SetLastError(0);
  EXPECT_FALSE(Paths().ToHost("Q:\\x"));  // no such drive
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(PathsTest, ExistingComponentsResolveWithoutRegardToCase) {
  fs::create_directories(C() / "Program Files" / "Fennick" / "Qry");
  std::ofstream(C() / "Program Files" / "Fennick" / "Qry" / "ReadMe.TXT") << "x";
  const fs::path expected = C() / "Program Files" / "Fennick" / "Qry" / "ReadMe.TXT";
  for (const char* spelling : {"C:\\Program Files\\Fennick\\Qry\\ReadMe.TXT", "c:\\PROGRAM FILES\\fennick\\QRY\\readme.txt",
                               "C:/program files/FENNICK/qry/README.txt"}) {
    EXPECT_EQ(Paths().ToHost(spelling), expected) << spelling;
  }
}

TEST_F(PathsTest, NewComponentsKeepTheCaseGiven) {
  fs::create_directories(C() / "Program Files");
  // The existing part takes the stored case, the rest the case given.
  EXPECT_EQ(Paths().ToHost("C:\\PROGRAM FILES\\New Dir\\Sub\\File.Txt"),
            C() / "Program Files" / "New Dir" / "Sub" / "File.Txt");
  fs::create_directories(*Paths().ToHost("C:\\program files\\New Dir"));
  EXPECT_TRUE(fs::is_directory(C() / "Program Files" / "New Dir"));
  EXPECT_EQ(Paths().ToHost("C:\\PROGRAM FILES\\NEW DIR"), C() / "Program Files" / "New Dir");
}

TEST_F(PathsTest, ExactNameWinsOverOneDifferingInCase) {
  fs::create_directories(C() / "dup" / "Name");
  fs::create_directories(C() / "dup" / "NAME");
  EXPECT_EQ(Paths().ToHost("C:\\dup\\NAME"), C() / "dup" / "NAME");
  EXPECT_EQ(Paths().ToHost("C:\\dup\\Name"), C() / "dup" / "Name");
  // Neither spelled exactly: the choice does not depend on readdir's order.
  EXPECT_EQ(Paths().ToHost("C:\\dup\\name"), C() / "dup" / "NAME");
}

TEST_F(PathsTest, SeesChangesMadeAfterALookup) {
  fs::create_directories(C() / "cache");
  EXPECT_EQ(Paths().ToHost("C:\\CACHE\\FILE.TXT"), C() / "cache" / "FILE.TXT");  // listing cached, no file
  std::ofstream(C() / "cache" / "file.txt") << "x";  // same clock tick, very likely
  EXPECT_EQ(Paths().ToHost("C:\\CACHE\\FILE.TXT"), C() / "cache" / "file.txt");
  fs::rename(C() / "cache" / "file.txt", C() / "cache" / "File.Txt");
  EXPECT_EQ(Paths().ToHost("C:\\CACHE\\FILE.TXT"), C() / "cache" / "File.Txt");
  fs::remove(C() / "cache" / "File.Txt");
  EXPECT_EQ(Paths().ToHost("C:\\cache\\FILE.TXT"), C() / "cache" / "FILE.TXT");
}

TEST_F(PathsTest, FoldsLettersBeyondAscii) {
  fs::create_directories(C() / "Übersicht" / "Ελλάδα" / "Москва");
  EXPECT_EQ(Paths().ToHost("C:\\übersicht\\ΕΛΛΆΔΑ\\москва"), C() / "Übersicht" / "Ελλάδα" / "Москва");
}

TEST_F(PathsTest, DrivesMapThroughDosdevices) {
  EXPECT_EQ(Paths().Drives(), "CZ");
  EXPECT_EQ(Paths().ToHost("Z:\\etc\\hostname"), fs::path("/etc/hostname"));
  EXPECT_EQ(Paths().ToHost("z:\\"), fs::path("/"));
  // A drive added while the machine is in use is seen.
  fs::create_directories(prefix_.Dir() / "dvd");
  fs::create_directory_symlink(prefix_.Dir() / "dvd", prefix_.Path() / "dosdevices" / "d:");
  EXPECT_EQ(Paths().ToHost("D:\\setup.exe"), prefix_.Dir() / "dvd" / "setup.exe");
  EXPECT_EQ(Paths().ToWindows(prefix_.Dir() / "dvd" / "x"), "D:\\x");
}

TEST_F(PathsTest, HostPathsAreSeenThroughTheirDrive) {
  EXPECT_EQ(Paths().ToWindows(C() / "windows" / "system32"), "C:\\windows\\system32");
  EXPECT_EQ(Paths().ToWindows(C()), "C:\\");
  // Through the link itself, or through a path that is not normal.
  EXPECT_EQ(Paths().ToWindows(prefix_.Path() / "dosdevices" / "c:" / "windows"), "C:\\windows");
  EXPECT_EQ(Paths().ToWindows(C() / "windows" / ".." / "users"), "C:\\users");
  // Outside every other drive: Z:.
  EXPECT_EQ(Paths().ToWindows("/home/me/build"), "Z:\\home\\me\\build");
  EXPECT_EQ(Paths().ToWindows("/"), "Z:\\");
}

TEST_F(PathsTest, CurrentAndProgramDirectoriesAreWindowsPaths) {
  const fs::path saved = fs::current_path();
  ASSERT_TRUE(Paths().SetCurrentDirectory("C:\\WINDOWS"));
  EXPECT_EQ(fs::current_path(), C() / "windows");
  EXPECT_EQ(Paths().CurrentDirectory(), "C:\\windows");
  EXPECT_EQ(Paths().FullPath("system32\\x.dll"), "C:\\windows\\system32\\x.dll");
  EXPECT_EQ(Paths().FullPath("\\temp"), "C:\\temp");
  EXPECT_EQ(Paths().FullPath("C:temp"), "C:\\windows\\temp");
  EXPECT_EQ(Paths().FullPath("Z:temp"), "Z:\\temp");
  SetLastError(0);
  EXPECT_FALSE(Paths().SetCurrentDirectory("C:\\no such dir"));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  fs::current_path(saved);

  char exe[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
  EXPECT_EQ(Paths().ProgramDirectory(), Paths().ToWindows(fs::path(exe).parent_path()));
  EXPECT_EQ(Paths().ProgramDirectory().substr(0, 3), "Z:\\");
}

TEST_F(PathsTest, ShortPathNamesFollowTheDirectory) {
  fs::create_directories(C() / "Program Files" / "Common Files");
  fs::create_directories(C() / "Program Files (x86)");
  fs::create_directories(C() / "Program Files" / "Fennick Software" / "quarry.dll.bak");
  std::ofstream(C() / "Program Files" / "Fennick Software" / "ReadMe.txt") << "x";
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"C:\\Program Files", "C:\\PROGRA~1"},
      {"c:\\program files (x86)", "C:\\PROGRA~2"},
      {"C:\\Program Files\\Common Files\\", "C:\\PROGRA~1\\COMMON~1\\"},
      {"C:\\Program Files\\Fennick Software\\ReadMe.txt", "C:\\PROGRA~1\\FENNIC~1\\ReadMe.txt"},
      {"C:\\Program Files\\Fennick Software\\quarry.dll.bak", "C:\\PROGRA~1\\FENNIC~1\\QUARRY~1.BAK"},
      {"C:\\windows\\system32", "C:\\windows\\system32"},
  };
  for (const auto& c : cases) EXPECT_EQ(Paths().ShortPathName(c.in), c.out) << c.in;
  // Short names lead back to the file, and the long form comes back.
  EXPECT_EQ(Paths().ToHost("C:\\PROGRA~1\\FENNIC~1\\readme.txt"),
            C() / "Program Files" / "Fennick Software" / "ReadMe.txt");
  EXPECT_EQ(Paths().LongPathName("C:\\progra~1\\fennic~1\\README.TXT"),
            "C:\\Program Files\\Fennick Software\\ReadMe.txt");
  SetLastError(0);
  EXPECT_FALSE(Paths().ShortPathName("C:\\Program Files\\missing.txt"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(Paths().ShortPathName("C:\\missing dir\\x.txt"));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(NameRulesTest, ShortNameValidity) {
  const struct {
    const char* name;
    bool valid;
  } cases[] = {
      {"README.TXT", true}, {"readme.txt", true}, {"A", true},          {"ABCDEFGH.IJK", true},
      {"ABCDEFGHI", false}, {"A.BCDE", false},    {"A.B.C", false},     {"A B", false},
      {".profile", false},  {"A.", false},        {"~$X!.{}", true},    {"a+b.txt", false},
      {"", false},          {"naïve", false},     {"PROGRA~1", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsShortName(c.name), c.valid) << c.name;
}

TEST(NameRulesTest, ShortNamesAreNumberedAmongTheDirectory) {
  const std::map<std::string, std::string> names = AssignShortNames({
      "Program Files", "Program Files (x86)", "PROGRA~1",  // an 8.3 entry takes its own number
      "a+b=c.txt", ".bashrc", "Long Name.HTML", "x y", "naïve café.txt",
      "Prog1", "Prog2", "Progr", "Program Data", "Programs 1", "Programs 2", "Programs 3", "Programs 4",
      "Programs 5", "Programs 6", "Programs 7", "Programs 8",
  });
  const struct {
    const char* name;
    const char* short_name;
  } expected[] = {
      {"PROGRA~1", "PROGRA~1"},  {"Program Data", "PROGRA~2"},   {"Program Files", "PROGRA~3"},
      {"Program Files (x86)", "PROGRA~4"}, {"Programs 5", "PROGRA~9"}, {"Programs 6", "PROGR~10"}, {"a+b=c.txt", "A_B_C~1.TXT"},
      {".bashrc", "BASHRC~1"},   {"Long Name.HTML", "LONGNA~1.HTM"}, {"x y", "XY~1"},
      {"naïve café.txt", "NA_VEC~1.TXT"}, {"Prog1", "Prog1"},
  };
  for (const auto& e : expected) EXPECT_EQ(names.at(e.name), e.short_name) << e.name;
  // Past nine, the stem gives up a character for the number.
  std::vector<std::string> many;
  for (int i = 0; i < 12; ++i) many.push_back("Quarry Database " + std::to_string(100 + i));
  const std::map<std::string, std::string> numbered = AssignShortNames(many);
  EXPECT_EQ(numbered.at("Quarry Database 108"), "QUARRY~9");
  EXPECT_EQ(numbered.at("Quarry Database 109"), "QUARR~10");
  EXPECT_EQ(numbered.at("Quarry Database 111"), "QUARR~12");
}

TEST(NameRulesTest, FoldingComparesLikeWindows) {
  EXPECT_EQ(FoldFileName("Program Files"), FoldFileName("PROGRAM files"));
  EXPECT_EQ(FoldFileName("Äöü"), FoldFileName("äÖÜ"));
  EXPECT_EQ(FoldFileName("Łódź"), FoldFileName("łÓDŹ"));
  EXPECT_NE(FoldFileName("a"), FoldFileName("b"));
  EXPECT_EQ(FoldFileName(std::string("\xff\xfe", 2)), std::string("\xff\xfe", 2));  // not UTF-8: kept
  EXPECT_TRUE(IsValidComponent("Program Files (x86)"));
  EXPECT_FALSE(IsValidComponent("a:b"));
}

}  // namespace
}  // namespace wenmoor::platform
