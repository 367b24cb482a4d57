// The registry editor's .reg files: parsing, export, and the round trip.
#include <gtest/gtest.h>

#include <filesystem>

#include "registry/regedit_file.h"

namespace wenmoor {
namespace {

namespace fs = std::filesystem;
using platform::RegValue;
using platform::RootKey;
using Kind = RegeditEntry::Kind;

std::string Utf16(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

TEST(RegeditFileTest, SplitsRootNames) {
  const struct {
    const char* text;
    RootKey root;
    const char* path;
  } cases[] = {
      {"HKLM\\Software\\X", RootKey::LocalMachine, "Software\\X"},
      {"hkey_local_machine\\Software\\X\\", RootKey::LocalMachine, "Software\\X"},
      {"HKCU", RootKey::CurrentUser, ""},
      {"HKCR\\.txt", RootKey::ClassesRoot, ".txt"},
      {"HKU\\.Default", RootKey::Users, ".Default"},
      {"HKEY_CURRENT_CONFIG\\Software", RootKey::CurrentConfig, "Software"},
      {"\\HKEY_DYN_DATA\\x", RootKey::DynData, "x"},
  };
  for (const auto& c : cases) {
    auto split = SplitRegistryPath(c.text);
    ASSERT_TRUE(split.has_value()) << c.text;
    EXPECT_EQ(split->first, c.root) << c.text;
    EXPECT_EQ(split->second, c.path) << c.text;
  }
  EXPECT_FALSE(SplitRegistryPath("HKXX\\Software"));
  EXPECT_FALSE(SplitRegistryPath("Software\\X"));
}

TEST(RegeditFileTest, ParsesBothVersionsAndEveryLineKind) {
  const std::string body =
      "\r\n; comment\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Qry]\r\n"
      "@=\"default\"\r\n"
      "\"Path\"=\"C:\\\\Program Files\\\\Qry \\\"x\\\"\"\r\n"
      "\"Count\"=dword:0000002a\r\n"
      "\"Bin\"=hex:01,02,\\\r\n  03\r\n"
      "\"Old\"=-\r\n"
      "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n";
  for (const std::string& text :
       {Utf16("Windows Registry Editor Version 5.00\r\n" + body), "REGEDIT4\r\n" + body,
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n" + body}) {
    const auto entries = ParseRegeditFile(text, "t.reg");
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[0].kind, Kind::CreateKey);
    EXPECT_EQ(entries[0].path, "Software\\Qry");
    EXPECT_EQ(entries[1].name, "");
    EXPECT_EQ(entries[1].value, RegValue::String("default"));
    EXPECT_EQ(entries[2].value, RegValue::String("C:\\Program Files\\Qry \"x\""));
    EXPECT_EQ(entries[3].value, RegValue::DWord(42));
    EXPECT_EQ(entries[4].value, RegValue::Binary({1, 2, 3}));
    EXPECT_EQ(entries[5].kind, Kind::DeleteValue);
    EXPECT_EQ(entries[5].name, "Old");
    EXPECT_EQ(entries[6].kind, Kind::DeleteKey);
    EXPECT_EQ(entries[6].root, RootKey::CurrentUser);
    EXPECT_EQ(entries[6].line, 11);
  }
}

TEST(RegeditFileTest, Regedit4StringBytesAreWidened) {
  const auto entries = ParseRegeditFile("REGEDIT4\n[HKLM\\X]\n\"E\"=hex(2):25,54,25,00\n", "t.reg");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].value, RegValue::String("%T%", platform::REG_EXPAND_SZ));
}

TEST(RegeditFileTest, BadFilesNameTheLine) {
  const struct {
    std::string text;
    int line;
    std::string reason;
  } cases[] = {
      {"WINE REGISTRY Version 2\n", 1, "not a registry editor file"},
      {"REGEDIT4\n\"v\"=\"x\"\n", 2, "value outside of a key"},
      {"REGEDIT4\n[HKEY_NOWHERE\\X]\n", 2, "unknown root key"},
      {"REGEDIT4\n[HKLM\\X\n", 2, "key line without closing ']'"},
      {"REGEDIT4\n[HKLM\\X]\n\"v\"=dword:123456789\n", 3, "invalid dword value"},
      {"REGEDIT4\n[HKLM\\X]\n\"v\"=hex:1\n", 3, "invalid hex data"},
      {"REGEDIT4\n[HKLM\\X]\n\"v\"=hex:01,\\\n", 3, "continuation line missing"},
      {"REGEDIT4\n[HKLM\\X]\n\"v\"=\"open\n", 3, "string without closing quote"},
      {"REGEDIT4\n[HKLM\\X]\n\"v\"=quad:1\n", 3, "unknown value type"},
      {"REGEDIT4\n[-HKLM\\X]\n\"v\"=\"x\"\n", 3, "value outside of a key"},
      {"REGEDIT4\n[HKLM\\X]\nnonsense\n", 3, "unrecognised line"},
  };
  for (const auto& c : cases) {
    try {
      ParseRegeditFile(c.text, "in.reg");
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const platform::RegistryFormatError& e) {
      EXPECT_EQ(e.File(), "in.reg");
      EXPECT_EQ(e.Line(), c.line) << c.text;
      EXPECT_EQ(e.Reason().rfind(c.reason, 0), 0u) << e.Reason();
    }
  }
}

class RegeditStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/wenmoor-regedit-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    prefix_ = tmpl;
  }
  void TearDown() override { fs::remove_all(prefix_); }
  fs::path prefix_;
};

TEST_F(RegeditStoreTest, ExportAndImportRoundTrip) {
  const std::vector<std::pair<std::string, RegValue>> values = {
      {"", RegValue::String("default")},
      {"quote\"back\\slash", RegValue::String("a \"b\" \\c")},
      {"newline", RegValue::String("line1\r\nline2")},
      {"expand", RegValue::String("%TEMP%", platform::REG_EXPAND_SZ)},
      {"multi", RegValue::MultiString({"x", "y"})},
      {"dword", RegValue::DWord(0xfffffffe)},
      {"binary", RegValue::Binary(std::vector<uint8_t>(100, 0x5a))},
      {"none", RegValue::Binary({}, platform::REG_NONE)},
      {"unicode", RegValue::String("caf\xc3\xa9 \xe2\x82\xac")},
  };
  std::string exported;
  {
    platform::RegistryStore store(prefix_);
    for (const auto& [name, v] : values) store.SetValue(RootKey::CurrentUser, "Software\\Exp\\Sub", name, v);
    store.CreateKey(RootKey::CurrentUser, "Software\\Exp\\Empty");
    EXPECT_FALSE(ExportRegeditFile(store, RootKey::CurrentUser, "Software\\Missing"));
    auto text = ExportRegeditFile(store, RootKey::CurrentUser, "Software\\Exp");
    ASSERT_TRUE(text.has_value());
    exported = *text;
    store.DeleteTree(RootKey::CurrentUser, "Software\\Exp");
    ApplyRegeditEntries(store, ParseRegeditFile(exported, "exp.reg"));
    for (const auto& [name, v] : values) {
      EXPECT_EQ(store.QueryValue(RootKey::CurrentUser, "Software\\Exp\\Sub", name), v) << name;
    }
    EXPECT_TRUE(store.KeyExists(RootKey::CurrentUser, "Software\\Exp\\Empty"));
    EXPECT_EQ(ExportRegeditFile(store, RootKey::CurrentUser, "Software\\Exp"), exported);
  }
  EXPECT_EQ(exported.substr(0, 4), std::string("\xFF\xFEW\0", 4)) << "UTF-16LE with its BOM";
}

}  // namespace
}  // namespace wenmoor
