// The Wine hive file format: reading, writing, and faithfulness to files
// written by Wine 8.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/win/reg_file_reader.h"
#include "platform/win/reg_file_writer.h"
#include "platform/win/reg_text.h"

namespace wenmoor::platform {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Fixture(const char* name) {
  return Slurp(std::string(WENMOOR_SHARED_FIXTURES) + "/wine8-prefix/" + name);
}

constexpr const char* kHead = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n";

std::unique_ptr<RegHive> Parse(const std::string& body) { return ReadRegFile(kHead + body, "test.reg"); }

const RegValue& ValueAt(const RegHive& hive, const char* path, const char* name) {
  const RegNode* node = hive.Find(path);
  if (!node) throw std::runtime_error(std::string("no key ") + path);
  const RegNamedValue* v = node->FindValue(name);
  if (!v) throw std::runtime_error(std::string("no value ") + name);
  return v->value;
}

class WineFixtureTest : public ::testing::TestWithParam<const char*> {};

// Reading a file Wine wrote and writing it back gives the same bytes: the
// order of keys and values, times, escapes and line breaks all match Wine's.
TEST_P(WineFixtureTest, WritesBackByteForByte) {
  const std::string text = Fixture(GetParam());
  ASSERT_FALSE(text.empty());
  auto hive = ReadRegFile(text, GetParam());
  const std::string written = WriteRegFile(*hive);
  if (written != text) {
    size_t i = 0;
    while (i < written.size() && i < text.size() && written[i] == text[i]) ++i;
    FAIL() << "first difference at byte " << i << ":\nexpected: " << text.substr(i > 80 ? i - 80 : 0, 200)
           << "\nwritten:  " << written.substr(i > 80 ? i - 80 : 0, 200);
  }
}

INSTANTIATE_TEST_SUITE_P(Wine8, WineFixtureTest, ::testing::Values("system.reg", "user.reg", "userdef.reg"));

TEST(RegFileTest, FixtureValuesOfEveryKind) {
  auto hive = ReadRegFile(Fixture("system.reg"), "system.reg");
  const std::string clsid = "Software\\Classes\\CLSID\\{05EC7C2B-F1E6-4961-AD46-E1CC810A87D2}";
  EXPECT_EQ(ValueAt(*hive, "Software\\Classes\\.chm", "").AsString(), "chm.file");
  EXPECT_EQ(ValueAt(*hive, clsid.c_str(), "BitLength").AsDWord(), 0x10u);
  EXPECT_EQ(ValueAt(*hive, (clsid + "\\ChannelMasks").c_str(), "0"), RegValue::Binary({0x1f, 0x00}));
  const RegValue& expand = ValueAt(*hive, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesPath");
  EXPECT_EQ(expand.type, REG_EXPAND_SZ);
  EXPECT_EQ(expand.AsString(), "%ProgramFiles%");
  const RegValue& multi =
      ValueAt(*hive, "Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink", "Lucida Sans Unicode");
  ASSERT_EQ(multi.type, REG_MULTI_SZ);
  const auto items = multi.AsMultiString();
  ASSERT_TRUE(items.has_value());
  ASSERT_EQ(items->size(), 9u);
  EXPECT_EQ(items->front(), "MSGOTHIC.TTC,MS UI Gothic");
  EXPECT_EQ(items->back(), "SEGUISYM.TTF,Segoe UI Symbol");
  // A value of a kind number Wine uses for device properties, kept as bytes.
  const RegValue& prop = ValueAt(*hive,
      "System\\CurrentControlSet\\Enum\\DISPLAY\\Default_Monitor\\0000&0000\\Properties\\"
      "{233a9ef3-afc4-4abd-b564-c32f21f1535b}\\0002", "");
  EXPECT_EQ(prop, RegValue::Binary({3, 0, 0, 0}, 0xffff0007u));
  // A symbolic link key, its target spread over continuation lines.
  const RegNode* link = hive->Find("Software\\Classes\\Wow6432Node\\AppId");
  ASSERT_NE(link, nullptr);
  EXPECT_TRUE(link->link);
  const RegNamedValue* target = link->FindValue("SymbolicLinkValue");
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(target->value.type, REG_LINK);
  EXPECT_EQ(target->value.data.size(), 2u * std::string("\\Registry\\Machine\\Software\\Classes\\AppId").size());
}

TEST(RegFileTest, StringEscapesRoundTrip) {
  struct Case {
    std::u16string text;
    std::string escaped;  // as Wine writes it between the quotes
  };
  const Case cases[] = {
      {u"plain", "plain"},
      {u"C:\\dir\\", "C:\\\\dir\\\\"},
      {u"say \"hi\"", "say \\\"hi\\\""},
      {u"a\nb\rc\td", "a\\nb\\rc\\td"},
      {u"bell\a", "bell\\a"},
      {u"nul\0x" + std::u16string(), "nul"},  // (the literal stops at the NUL)
      {std::u16string(u"a\0b", 3), "a\\0b"},
      {std::u16string(u"a\x01" u"7", 3), "a\\0017"},  // octal padded before a digit
      {u"caf\u00e9", "caf\\xe9"},
      {u"\u00e9a", "\\x00e9a"},                       // padded before a hex digit
      {u"\u00e9z", "\\xe9z"},
      {u"\u20ac", "\\x20ac"},
      {u"esc\x1b", "esc\\e"},
  };
  for (const Case& c : cases) {
    std::string out;
    AppendEscaped(out, c.text, "\"");
    EXPECT_EQ(out, c.escaped) << Utf16ToUtf8(c.text);
    std::u16string back;
    size_t pos = 0;
    const std::string quoted = out + "\"";
    ASSERT_TRUE(ReadEscaped(quoted, pos, '"', back)) << out;
    EXPECT_EQ(back, c.text) << out;
    EXPECT_EQ(pos, quoted.size());
  }
}

TEST(RegFileTest, ReadsUtf8AndEscapesAlike) {
  auto hive = Parse("\n[K] 0\n\"a\"=\"caf\xc3\xa9\"\n\"b\"=\"caf\\xe9\"\n\"c\"=\"\\x20ac\\x1f600\"\n");
  EXPECT_EQ(ValueAt(*hive, "K", "a").AsString(), "caf\xc3\xa9");
  EXPECT_EQ(ValueAt(*hive, "K", "a"), ValueAt(*hive, "K", "b"));
  // \x takes at most four digits: "\x1f600" is U+1F60 followed by "0".
  EXPECT_EQ(ValueAt(*hive, "K", "c").AsString(), "\xe2\x82\xac\xe1\xbd\xa0" "0");
}

TEST(RegFileTest, KeyPathsWithEscapedCharacters) {
  auto hive = Parse("\n[A\\\\B\\[x\\]] 0\n@=\"1\"\n");
  const RegNode* node = hive->Find("a\\b[X]");
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->name, "B[x]");
  const std::string written = WriteRegFile(*hive);
  EXPECT_NE(written.find("[A\\\\B\\[x\\]] 0\n"), std::string::npos) << written;
}

TEST(RegFileTest, ContinuationLinesAndEveryValueKind) {
  auto hive = Parse(
      "\n[K] 1700000000\n#time=1d9\n"
      "@=\"default\"\n"
      "\"bin\"=hex:01,02,\\\n  03,ff\n"
      "\"dw\"=dword:deadbeef\n"
      "\"empty\"=hex:\n"
      "\"exp\"=str(2):\"%TEMP%\"\n"
      "\"multi\"=str(7):\"a\\0b\\0\"\n"
      "\"none\"=hex(0):\n"
      "\"q\"=hex(b):01,00,00,00,00,00,00,00\n");
  EXPECT_EQ(ValueAt(*hive, "K", "bin"), RegValue::Binary({1, 2, 3, 0xff}));
  EXPECT_EQ(ValueAt(*hive, "K", "dw").AsDWord(), 0xdeadbeefu);
  EXPECT_EQ(ValueAt(*hive, "K", "empty"), RegValue::Binary({}));
  EXPECT_EQ(ValueAt(*hive, "K", "exp"), RegValue::String("%TEMP%", REG_EXPAND_SZ));
  EXPECT_EQ(ValueAt(*hive, "K", "multi"), RegValue::MultiString({"a", "b"}));
  EXPECT_EQ(ValueAt(*hive, "K", "none"), RegValue::Binary({}, REG_NONE));
  EXPECT_EQ(ValueAt(*hive, "K", "q").type, REG_QWORD);
  EXPECT_EQ(hive->Find("K")->modified, 0x1d9u);
  // Written back in Wine's form (the continuation line is Wine's, too).
  auto again = ReadRegFile(WriteRegFile(*hive), "again.reg");
  EXPECT_EQ(WriteRegFile(*again), WriteRegFile(*hive));
  EXPECT_EQ(ValueAt(*again, "K", "bin"), RegValue::Binary({1, 2, 3, 0xff}));
}

TEST(RegFileTest, LongBinaryWrapsLikeWine) {
  RegHive hive;
  hive.HeaderLines() = {";; All keys relative to REGISTRY\\\\Machine", "#arch=win64"};
  hive.SetValue("K", "Data", RegValue::Binary(std::vector<uint8_t>(40, 0xab)), 116444736000000000ULL);
  const std::string text = WriteRegFile(hive);
  // "Data"=hex: is 11 characters; Wine breaks once a line passes 76.
  const std::string first = "\"Data\"=hex:" + [] {
    std::string s;
    for (int i = 0; i < 22; ++i) s += "ab,";
    return s;
  }() + "\\\n";
  EXPECT_NE(text.find(first), std::string::npos) << text;
  auto back = ReadRegFile(text, "t.reg");
  EXPECT_EQ(ValueAt(*back, "K", "Data").data.size(), 40u);
}

TEST(RegFileTest, UnknownOptionLinesAreKeptVerbatim) {
  auto hive = Parse("\n[K] 0\n#time=0\n#future=1\n; a comment\n\"v\"=\"x\"\n");
  const std::string text = WriteRegFile(*hive);
  EXPECT_NE(text.find("#future=1\n; a comment\n\"v\"=\"x\"\n"), std::string::npos) << text;
}

TEST(RegFileTest, StringsThatAreNotTerminatedAreWrittenAsHex) {
  RegHive hive;
  hive.SetValue("K", "odd", RegValue::Binary({0x41, 0x00, 0x42}, REG_SZ), 116444736000000000ULL);
  const std::string text = WriteRegFile(hive);
  EXPECT_NE(text.find("\"odd\"=hex(1):41,00,42\n"), std::string::npos) << text;
  EXPECT_EQ(ValueAt(*ReadRegFile(text, "t"), "K", "odd"), RegValue::Binary({0x41, 0x00, 0x42}, REG_SZ));
}

TEST(RegFileTest, BadInputIsReportedWithFileAndLine) {
  struct Case {
    std::string text;
    int line;
    std::string reason;
  };
  const std::string head = kHead;  // 4 lines
  const Case cases[] = {
      {"", 0, "not a Wine registry file"},
      {"REGEDIT4\n", 1, "not a Wine registry file"},
      {"WINE REGISTRY Version 1\n", 1, "unsupported registry file version"},
      {head + "\"v\"=\"x\"\n", 5, "value outside of a key"},
      {head + "\n[K 0\n", 6, "key line without closing ']'"},
      {head + "\n[K] 12x\n", 6, "unexpected text after key path"},
      {head + "\n[K] 0\n#time=zz\n", 7, "invalid #time line"},
      {head + "\n[K] 0\n\"v\"=\"x\n", 7, "string value without closing quote"},
      {head + "\n[K] 0\n\"v\"=\"x\" y\n", 7, "unexpected text after string value"},
      {head + "\n[K] 0\n\"v\"=dword:\n", 7, "invalid dword value"},
      {head + "\n[K] 0\n\"v\"=dword:123456789\n", 7, "invalid dword value"},
      {head + "\n[K] 0\n\"v\"=hex:0g\n", 7, "invalid hex data"},
      {head + "\n[K] 0\n\"v\"=hex:01,\\\n", 7, "continuation line missing at end of file"},
      {head + "\n[K] 0\n\"v\"=hex:01,\\\n  02,\\\n zz\n", 9, "invalid hex data"},
      {head + "\n[K] 0\n\"v\"=quad:1\n", 7, "unknown value type"},
      {head + "\n[K] 0\n\"v\" \"x\"\n", 7, "'=' expected after the value name"},
      {head + "\n[K] 0\njunk\n", 7, "unrecognised line"},
  };
  for (const Case& c : cases) {
    try {
      ReadRegFile(c.text, "/p/system.reg");
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const RegistryFormatError& e) {
      EXPECT_EQ(e.File(), "/p/system.reg");
      EXPECT_EQ(e.Line(), c.line) << c.text;
      EXPECT_EQ(e.Reason(), c.reason) << c.text;
      EXPECT_NE(std::string(e.what()).find("/p/system.reg:" + std::to_string(c.line)), std::string::npos);
    }
  }
}

TEST(RegFileTest, CaseInsensitiveOrderIsWines) {
  // Wine sorts siblings by their lower-case names: '_' (5F) before letters,
  // and a name before its longer extensions.
  RegHive hive;
  for (const char* name : {"b", "_x", "A", "ab", "a b"}) hive.Create(name, 116444736000000000ULL);
  std::vector<std::string> names;
  for (const auto& sub : hive.Root().subkeys) names.push_back(sub->name);
  EXPECT_EQ(names, (std::vector<std::string>{"_x", "A", "a b", "ab", "b"}));
  EXPECT_EQ(hive.Find("AB"), hive.Find("ab"));
}

}  // namespace
}  // namespace wenmoor::platform
