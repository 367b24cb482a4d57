// INI files: reading and writing as the profile functions do, and the
// [Rename] section of WININIT.INI.
#include <gtest/gtest.h>

#include "platform/win/ini_file.h"
#include "platform/win/win_error.h"
#include "support/temp_prefix.h"

namespace wenmoor::platform {
namespace {

const char kWininit[] =
    "; written by an installer\r\n"
    "[Rename]\r\n"
    "NUL=C:\\TEMP\\OLD1.TMP\r\n"
    "NUL=C:\\TEMP\\OLD2.TMP\r\n"
    "C:\\WINDOWS\\SYSTEM\\A.DLL=C:\\WINDOWS\\SYSTEM\\A.1\r\n"
    "\r\n"
    "[Other]\r\n"
    "  Key  =  \"quoted value\"  \r\n"
    "bare\r\n";

TEST(IniFileTest, ReadsSectionsEntriesAndDuplicates) {
  const IniFile ini = IniFile::Parse(kWininit);
  EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Rename", "Other"}));
  const auto rename = ini.Entries("rename");
  ASSERT_EQ(rename.size(), 3u);
  EXPECT_EQ(rename[0], (std::pair<std::string, std::string>{"NUL", "C:\\TEMP\\OLD1.TMP"}));
  EXPECT_EQ(rename[1].second, "C:\\TEMP\\OLD2.TMP");
  EXPECT_EQ(ini.Read("RENAME", "nul"), "C:\\TEMP\\OLD1.TMP");  // the first of equal keys
  EXPECT_EQ(ini.Read("Other", "KEY"), "quoted value");
  EXPECT_EQ(ini.Read("Other", "bare"), "");
  EXPECT_FALSE(ini.Read("Other", "missing"));
  EXPECT_FALSE(ini.Read("Missing", "Key"));
  EXPECT_EQ(ini.Text(), kWininit);  // nothing changed, nothing lost
}

TEST(IniFileTest, WritesReplaceOrAppend) {
  IniFile ini = IniFile::Parse(kWininit);
  ini.Write("Rename", "NUL", "C:\\TEMP\\OLD3.TMP", IniWrite::Append);
  ini.Write("Rename", "NUL", "C:\\TEMP\\OLD1.TMP", IniWrite::Append);  // already there: not twice
  ini.Write("Other", "key", "new");
  ini.Write("New Section", "A", "1");
  const std::string expected =
      "; written by an installer\r\n"
      "[Rename]\r\n"
      "NUL=C:\\TEMP\\OLD1.TMP\r\n"
      "NUL=C:\\TEMP\\OLD2.TMP\r\n"
      "C:\\WINDOWS\\SYSTEM\\A.DLL=C:\\WINDOWS\\SYSTEM\\A.1\r\n"
      "NUL=C:\\TEMP\\OLD3.TMP\r\n"
      "\r\n"
      "[Other]\r\n"
      "key=new\r\n"
      "bare\r\n"
      "\r\n"
      "[New Section]\r\n"
      "A=1\r\n";
  EXPECT_EQ(ini.Text(), expected);
  EXPECT_TRUE(ini.DeleteKey("rename", "nul"));
  EXPECT_EQ(ini.Entries("Rename").size(), 1u);
  EXPECT_TRUE(ini.EraseSection("OTHER"));
  EXPECT_FALSE(ini.EraseSection("Other"));
  EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Rename", "New Section"}));
}

TEST(IniFileTest, KeepsTheLineEndsOfTheFile) {
  IniFile ini = IniFile::Parse("[a]\nx=1\n");
  ini.Write("a", "y", "2");
  EXPECT_EQ(ini.Text(), "[a]\nx=1\ny=2\n");
  EXPECT_EQ(IniFile().Text(), "");
  IniFile fresh;
  fresh.Write("s", "k", "v");
  EXPECT_EQ(fresh.Text(), "[s]\r\nk=v\r\n");
}

TEST(IniFileTest, ProfileFunctionsOnTheMachine) {
  test::TempPrefix prefix;
  EXPECT_EQ(GetPrivateProfileString("Rename", "NUL", "default", "WININIT.INI"), "default");  // no file
  ASSERT_TRUE(WritePrivateProfileString("Rename", "NUL", "C:\\TEMP\\A.TMP", "WININIT.INI"));
  ASSERT_TRUE(WritePrivateProfileString("Rename", "NUL", "C:\\TEMP\\B.TMP", "wininit.ini"));
  ASSERT_TRUE(WritePrivateProfileString("Rename", "C:\\PROGRA~1\\A.DLL", "C:\\PROGRA~1\\A.1",
                                        "C:\\WINDOWS\\WININIT.INI"));
  // In WININIT.INI's [Rename] every operation is kept, duplicate keys included.
  EXPECT_EQ(prefix.ReadFile("C:\\windows\\WININIT.INI"),
            "[Rename]\r\nNUL=C:\\TEMP\\A.TMP\r\nNUL=C:\\TEMP\\B.TMP\r\nC:\\PROGRA~1\\A.DLL=C:\\PROGRA~1\\A.1\r\n");
  // Elsewhere a key is replaced, as Windows does.
  ASSERT_TRUE(WritePrivateProfileString("Setup", "Step", "1", "C:\\setup.ini"));
  ASSERT_TRUE(WritePrivateProfileString("Setup", "STEP", "2", "C:\\setup.ini"));
  EXPECT_EQ(GetPrivateProfileString("setup", "step", "", "C:\\SETUP.INI"), "2");
  ASSERT_TRUE(WritePrivateProfileString("Setup", "Step", std::nullopt, "C:\\setup.ini"));
  EXPECT_EQ(GetPrivateProfileString("Setup", "Step", "gone", "C:\\setup.ini"), "gone");
  ASSERT_TRUE(WritePrivateProfileString("Setup", std::nullopt, std::nullopt, "C:\\setup.ini"));
  EXPECT_EQ(prefix.ReadFile("C:\\setup.ini"), "");
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileString("a", "b", "c", "C:\\no dir\\x.ini"));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

}  // namespace
}  // namespace wenmoor::platform
