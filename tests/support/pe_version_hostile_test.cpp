// Damaged and hostile input to the version-resource reader: PE headers and
// resource directories that point anywhere, VS_VERSIONINFO blocks whose
// lengths lie. Nothing may crash or read outside the input (the sanitizer
// build checks that); what can still be read is read, the rest is absent.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "support/pe_test_files.h"
#include "support/pe_version_reader.h"

namespace wenmoor {
namespace {

using test::GetU16;
using test::GetU32;
using test::PutU16;
using test::PutU32;
using Bytes = std::vector<std::uint8_t>;

// ---------------------------------------------------------------------------
// A writer of VS_VERSIONINFO blocks, so that each test can state the one
// thing it gets wrong.

struct Block {
  std::u16string key;
  std::uint16_t type = 0;
  Bytes value;
  std::uint16_t value_length = 0;
  std::vector<Block> children;
  std::optional<std::uint16_t> length;  // overrides the true wLength
};

void Pad4(Bytes& out) {
  while (out.size() % 4 != 0) out.push_back(0);
}

void PutUtf16(Bytes& out, std::u16string_view text) {
  for (char16_t c : text) {
    out.push_back(static_cast<std::uint8_t>(c));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
}

void Encode(const Block& block, Bytes& out) {
  Pad4(out);
  const std::size_t start = out.size();
  out.resize(start + 6);
  PutUtf16(out, block.key);
  PutUtf16(out, std::u16string(1, u'\0'));
  Pad4(out);
  out.insert(out.end(), block.value.begin(), block.value.end());
  for (const Block& child : block.children) Encode(child, out);
  PutU16(out, start, block.length.value_or(static_cast<std::uint16_t>(out.size() - start)));
  PutU16(out, start + 2, block.value_length);
  PutU16(out, start + 4, block.type);
}

Bytes Encode(const Block& root) {
  Bytes out;
  Encode(root, out);
  return out;
}

Block Text(std::u16string key, std::u16string value) {
  Block b{std::move(key), 1, {}, static_cast<std::uint16_t>(value.size() + 1), {}, {}};
  PutUtf16(b.value, value);
  PutUtf16(b.value, std::u16string(1, u'\0'));
  return b;
}

Block Node(std::u16string key, std::vector<Block> children) {
  return Block{std::move(key), 1, {}, 0, std::move(children), {}};
}

Block Binary(std::u16string key, Bytes value) {
  const auto size = static_cast<std::uint16_t>(value.size());
  return Block{std::move(key), 0, std::move(value), size, {}, {}};
}

Bytes Fixed(std::uint32_t signature = FixedFileInfo::kSignature) {
  Bytes fixed(FixedFileInfo::kSize, 0);
  PutU32(fixed, 0, signature);
  PutU32(fixed, 8, 0x00050000);  // file version 5.0.0.12
  PutU32(fixed, 12, 12);
  return fixed;
}

Block Root(Bytes fixed, std::vector<Block> children) {
  Block root = Binary(u"VS_VERSION_INFO", std::move(fixed));
  root.children = std::move(children);
  return root;
}

Block Translation(Bytes pairs) { return Node(u"VarFileInfo", {Binary(u"Translation", std::move(pairs))}); }

std::string StringOf(const std::optional<PeVersionInfo>& info, const char* table, const char* name) {
  if (!info) return "<no info>";
  const std::string* value = info->FindString(table, name);
  return value ? *value : "<none>";
}

bool IsValidUtf8(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

void ExpectValidUtf8(const PeVersionInfo& info) {
  for (const auto& table : info.string_tables) {
    EXPECT_TRUE(IsValidUtf8(table.key));
    for (const auto& s : table.strings) {
      EXPECT_TRUE(IsValidUtf8(s.name));
      EXPECT_TRUE(IsValidUtf8(s.value));
    }
  }
}

// ---------------------------------------------------------------------------
// VS_VERSIONINFO blocks.

TEST(VersionBlockTest, WellFormedBlockReadsBack) {
  const Bytes bytes = Encode(Root(Fixed(), {Node(u"StringFileInfo", {Node(u"040904E4", {Text(u"A", u"one"),
                                                                                         Text(u"Bb", u"two")})}),
                                            Translation({0x09, 0x04, 0xE4, 0x04})}));
  const auto info = PeVersionReader::ParseBlock(bytes);
  ASSERT_TRUE(info.has_value());
  ASSERT_TRUE(info->fixed.has_value());
  EXPECT_EQ(FixedFileInfo::Dotted(info->fixed->FileVersion()), "5.0.0.12");
  EXPECT_EQ(StringOf(info, "040904E4", "A"), "one");
  EXPECT_EQ(StringOf(info, "040904E4", "Bb"), "two");
  EXPECT_EQ(*info->translations, (std::vector<VersionTranslation>{{0x0409, 1252}}));
}

// Tools disagree on what wValueLength of a string counts; the value is read
// to its NUL whatever the field says.
TEST(VersionBlockTest, StringLengthFieldIsNotTrusted) {
  for (std::uint16_t stored : {0, 1, 4, 8, 200, 0xFFFF}) {
    SCOPED_TRACE(stored);
    Block text = Text(u"Name", u"value");
    text.value_length = stored;
    const auto info =
        PeVersionReader::ParseBlock(Encode(Root(Fixed(), {Node(u"StringFileInfo", {Node(u"040904E4", {text})})})));
    EXPECT_EQ(StringOf(info, "040904E4", "Name"), "value");
  }
}

TEST(VersionBlockTest, LengthOverrunningItsParentIsCutThere) {
  Block greedy = Text(u"Greedy", u"kept");
  greedy.length = 0xFFF0;
  Block table = Node(u"040904E4", {greedy, Text(u"Unreached", u"x")});
  const auto info = PeVersionReader::ParseBlock(
      Encode(Root(Fixed(), {Node(u"StringFileInfo", {table}), Translation({0x07, 0x04, 0xB0, 0x04})})));
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(StringOf(info, "040904E4", "Greedy"), "kept");
  // The greedy block swallowed the rest of its table, but nothing beyond it.
  EXPECT_EQ(StringOf(info, "040904E4", "Unreached"), "<none>");
  EXPECT_EQ(*info->translations, (std::vector<VersionTranslation>{{0x0407, 1200}}));
}

TEST(VersionBlockTest, UnreadableBlockEndsItsList) {
  Block empty = Text(u"Zero", u"");
  empty.length = 0;  // zero padding where a block should be
  Block unterminated = Text(u"Later", u"y");
  const auto info = PeVersionReader::ParseBlock(Encode(
      Root(Fixed(), {Node(u"StringFileInfo", {Node(u"040904E4", {Text(u"First", u"x"), empty, unterminated})})})));
  EXPECT_EQ(StringOf(info, "040904E4", "First"), "x");
  EXPECT_EQ(StringOf(info, "040904E4", "Later"), "<none>");
}

TEST(VersionBlockTest, RootThatCannotBeReadMeansNoInformation) {
  Bytes key_without_nul = {0x40, 0x00, 0x00, 0x00, 0x00, 0x00};
  for (int i = 0; i < 29; ++i) PutUtf16(key_without_nul, u"V");
  const std::vector<Bytes> cases = {
      {},                                    // nothing
      {0x10, 0x00},                          // shorter than a header
      {0x00, 0x00, 0x00, 0x00, 0x00, 0x00},  // wLength 0
      {0x05, 0x00, 0x00, 0x00, 0x00, 0x00},  // wLength below the header size
      key_without_nul,
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_FALSE(PeVersionReader::ParseBlock(cases[i]).has_value()) << "case " << i;
  }
}

TEST(VersionBlockTest, FixedInfoNeedsItsSignatureAndFullSize) {
  const Block strings = Node(u"StringFileInfo", {Node(u"040904E4", {Text(u"Name", u"still read")})});
  Block short_value = Root(Fixed(), {strings});
  short_value.value_length = 40;  // the value field claims less than a VS_FIXEDFILEINFO
  const std::vector<std::pair<const char*, Block>> cases = {
      {"wrong signature", Root(Fixed(0xFEEF04BC), {strings})},
      {"short value", short_value},
  };
  for (const auto& [what, root] : cases) {
    SCOPED_TRACE(what);
    const auto info = PeVersionReader::ParseBlock(Encode(root));
    ASSERT_TRUE(info.has_value());
    EXPECT_FALSE(info->fixed.has_value());
    EXPECT_FALSE(info->Query("\\").has_value());
  }
  // A bad value does not hide the strings that follow it.
  EXPECT_EQ(StringOf(PeVersionReader::ParseBlock(Encode(cases[0].second)), "040904E4", "Name"), "still read");

  // A value length that overruns the root is cut at its end: the fixed
  // information is whole, but it seems to swallow the children.
  Block long_value = Root(Fixed(), {strings});
  long_value.value_length = 0xFFFF;
  const auto info = PeVersionReader::ParseBlock(Encode(long_value));
  ASSERT_TRUE(info.has_value());
  ASSERT_TRUE(info->fixed.has_value());
  EXPECT_EQ(FixedFileInfo::Dotted(info->fixed->FileVersion()), "5.0.0.12");
  EXPECT_TRUE(info->string_tables.empty());
}

TEST(VersionBlockTest, TranslationKeepsWholePairsOnly) {
  const auto pairs_of = [](Bytes value) {
    const auto info = PeVersionReader::ParseBlock(Encode(Root(Fixed(), {Translation(std::move(value))})));
    return info && info->translations ? info->translations->size() : std::size_t{99};
  };
  EXPECT_EQ(pairs_of({}), 0u);
  EXPECT_EQ(pairs_of({1, 2, 3}), 0u);
  EXPECT_EQ(pairs_of({1, 2, 3, 4, 5, 6}), 1u);
  EXPECT_EQ(pairs_of({1, 2, 3, 4, 5, 6, 7, 8}), 2u);
}

TEST(VersionBlockTest, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::u16string broken = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00), char16_t(0xD83D)};
  const auto info = PeVersionReader::ParseBlock(
      Encode(Root(Fixed(), {Node(u"StringFileInfo", {Node(u"040904E4", {Text(u"S", broken)})})})));
  EXPECT_EQ(StringOf(info, "040904E4", "S"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(VersionBlockTest, OnlyTheFirstStringFileInfoCounts) {
  const auto info = PeVersionReader::ParseBlock(
      Encode(Root(Fixed(), {Node(u"StringFileInfo", {Node(u"040904E4", {Text(u"N", u"first")})}),
                            Node(u"StringFileInfo", {Node(u"040904E4", {Text(u"N", u"second")})})})));
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->string_tables.size(), 1u);
  EXPECT_EQ(StringOf(info, "040904E4", "N"), "first");
}

// Alignment counts from the start of the resource, not from the address the
// bytes happen to sit at (the reader never assumes aligned memory).
TEST(VersionBlockTest, BlockAtAnOddAddressReadsTheSame) {
  const Bytes bytes =
      Encode(Root(Fixed(), {Node(u"StringFileInfo", {Node(u"040904E4", {Text(u"Odd", u"placement")})})}));
  Bytes shifted(bytes.size() + 1);
  std::memcpy(shifted.data() + 1, bytes.data(), bytes.size());
  const auto aligned = PeVersionReader::ParseBlock(bytes);
  const auto odd = PeVersionReader::ParseBlock(std::span(shifted).subspan(1));
  ASSERT_TRUE(aligned.has_value());
  EXPECT_EQ(odd, aligned);
}

// Cutting a block anywhere loses what lies past the cut and nothing else.
TEST(VersionBlockTest, EveryTruncationIsSafe) {
  const Bytes bytes = Encode(Root(
      Fixed(), {Node(u"StringFileInfo", {Node(u"040904E4", {Text(u"CompanyName", u"Fennick"), Text(u"X", u"y")})}),
                Translation({0x09, 0x04, 0xE4, 0x04})}));
  const auto full = PeVersionReader::ParseBlock(bytes);
  ASSERT_TRUE(full.has_value());
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    const auto cut = PeVersionReader::ParseBlock(std::span(bytes).first(size));
    if (!cut) continue;
    SCOPED_TRACE(size);
    if (cut->fixed) {
      EXPECT_EQ(cut->fixed, full->fixed);
    }
    ASSERT_LE(cut->string_tables.size(), 1u);
    if (!cut->string_tables.empty()) {
      for (const auto& s : cut->string_tables[0].strings) {
        // A string cut short is a prefix of the real one.
        const std::string* real = full->FindString("040904E4", s.name);
        ASSERT_NE(real, nullptr) << s.name;
        EXPECT_EQ(real->substr(0, s.value.size()), s.value);
      }
    }
    EXPECT_FALSE(cut->translations && cut->translations->size() > 1);
  }
}

// ---------------------------------------------------------------------------
// PE images: the headers and the resource directory of a real DLL, damaged
// one field at a time.

// Where the fields of en1252_x86.dll (PE32) are.
struct Layout {
  explicit Layout(const Bytes& dll) {
    lfanew = GetU32(dll, 0x3C);
    coff = lfanew + 4;
    optional = coff + 20;
    resource_entry = optional + 96 + 2 * 8;
    sections = optional + GetU16(dll, coff + 16);
    for (std::size_t i = 0; i < GetU16(dll, coff + 2); ++i) {
      const std::size_t at = sections + 40 * i;
      if (std::memcmp(&dll.at(at), ".rsrc", 5) == 0) rsrc_section = at;
    }
    rsrc = GetU32(dll, rsrc_section + 20);
    // Root directory: one type (16) -> name directory -> language directory
    // -> data entry; each directory has one entry right after its header.
    name_dir = rsrc + (GetU32(dll, rsrc + 20) & 0x7FFFFFFF);
    language_dir = rsrc + (GetU32(dll, name_dir + 20) & 0x7FFFFFFF);
    data_entry = rsrc + GetU32(dll, language_dir + 20);
  }
  std::size_t lfanew, coff, optional, resource_entry, sections, rsrc_section = 0, rsrc, name_dir, language_dir,
      data_entry;
};

class DamagedPeTest : public testing::Test {
 protected:
  void SetUp() override {
    dll_ = test::ReadPeFixture("en1252_x86.dll");
    intact_ = PeVersionReader::Read(dll_);
    ASSERT_TRUE(intact_.has_value());
  }
  Bytes dll_;
  std::optional<PeVersionInfo> intact_;
};

TEST_F(DamagedPeTest, LayoutOfTheFixtureIsWhatTheseTestsAssume) {
  const Layout at(dll_);
  ASSERT_NE(at.rsrc_section, 0u);
  EXPECT_EQ(GetU16(dll_, at.optional), 0x10B);
  EXPECT_EQ(GetU16(dll_, at.rsrc + 14), 1) << "one numbered type";
  EXPECT_EQ(GetU32(dll_, at.rsrc + 16), 16u) << "RT_VERSION";
  EXPECT_EQ(GetU32(dll_, at.language_dir + 16), 0x0409u);
}

TEST_F(DamagedPeTest, EachDamagedFieldMeansNoInformation) {
  struct Case {
    const char* what;
    std::function<void(Bytes&, const Layout&)> damage;
  };
  const std::vector<Case> cases = {
      {"no MZ", [](Bytes& b, const Layout&) { b[0] = 'Z'; }},
      {"PE header past the end", [](Bytes& b, const Layout&) { PutU32(b, 0x3C, static_cast<std::uint32_t>(b.size())); }},
      {"PE header offset wraps", [](Bytes& b, const Layout&) { PutU32(b, 0x3C, 0xFFFFFFFE); }},
      {"no PE signature", [](Bytes& b, const Layout& l) { b[l.lfanew + 1] = 'F'; }},
      {"unknown optional magic", [](Bytes& b, const Layout& l) { PutU16(b, l.optional, 0x107); }},
      {"too few data directories", [](Bytes& b, const Layout& l) { PutU32(b, l.optional + 92, 2); }},
      {"optional header too short for the entry",
       [](Bytes& b, const Layout& l) { PutU16(b, l.coff + 16, 96 + 2 * 8 + 4); }},
      {"no resource directory", [](Bytes& b, const Layout& l) { PutU32(b, l.resource_entry, 0); }},
      {"resource RVA in no section", [](Bytes& b, const Layout& l) { PutU32(b, l.resource_entry, 0x7FFF0000); }},
      {"no sections", [](Bytes& b, const Layout& l) { PutU16(b, l.coff + 2, 0); }},
      {"section table past the end",
       [](Bytes& b, const Layout& l) { PutU16(b, l.coff + 16, static_cast<std::uint16_t>(0xFFF0)); }},
      {"section data past the end",
       [](Bytes& b, const Layout& l) { PutU32(b, l.rsrc_section + 20, static_cast<std::uint32_t>(b.size())); }},
      {"type missing among entries that run off",
       [](Bytes& b, const Layout& l) {
         PutU32(b, l.rsrc + 16, 17);
         PutU16(b, l.rsrc + 14, 0xFFFF);
       }},
      {"type entry is not a directory", [](Bytes& b, const Layout& l) { b[l.rsrc + 23] &= 0x7F; }},
      {"empty name directory", [](Bytes& b, const Layout& l) { PutU16(b, l.name_dir + 14, 0); }},
      {"name directory loops to the root",
       [](Bytes& b, const Layout& l) { PutU32(b, l.name_dir + 20, 0x80000000u); }},
      {"name directory loops to itself",
       [](Bytes& b, const Layout& l) {
         PutU32(b, l.name_dir + 20, 0x80000000u | static_cast<std::uint32_t>(l.name_dir - l.rsrc));
       }},
      {"language entry is a directory", [](Bytes& b, const Layout& l) { b[l.language_dir + 23] |= 0x80; }},
      {"language directory offset past the end",
       [](Bytes& b, const Layout& l) { PutU32(b, l.name_dir + 20, 0xFFFFFFF0u); }},
      {"data entry past the end", [](Bytes& b, const Layout& l) { PutU32(b, l.language_dir + 20, 0x7FFFFFF0); }},
      {"data RVA in no section", [](Bytes& b, const Layout& l) { PutU32(b, l.data_entry, 0xFFFFFFF0u); }},
      {"data size past the section", [](Bytes& b, const Layout& l) { PutU32(b, l.data_entry + 4, 0xFFFFFFFFu); }},
      {"data size zero", [](Bytes& b, const Layout& l) { PutU32(b, l.data_entry + 4, 0); }},
      {"version block length zero",
       [](Bytes& b, const Layout& l) {
         const std::uint32_t rva = GetU32(b, l.data_entry);
         const std::uint32_t section_rva = GetU32(b, l.rsrc_section + 12);
         PutU16(b, l.rsrc + (rva - section_rva), 0);
       }},
  };
  const Layout layout(dll_);
  for (const Case& c : cases) {
    Bytes damaged = dll_;
    c.damage(damaged, layout);
    EXPECT_FALSE(PeVersionReader::Read(damaged).has_value()) << c.what;
  }
}

TEST_F(DamagedPeTest, HarmlessOddities) {
  const Layout layout(dll_);
  {
    SCOPED_TRACE("a section count far beyond the table: the resource section comes first");
    Bytes b = dll_;
    PutU16(b, layout.coff + 2, 0xFFFF);
    EXPECT_EQ(PeVersionReader::Read(b), intact_);
  }
  {
    SCOPED_TRACE("a claimed type count beyond the directory when the type is found first");
    Bytes b = dll_;
    PutU16(b, layout.rsrc + 12, 0x7FFF);
    PutU32(b, layout.rsrc + 16, 16);
    EXPECT_EQ(PeVersionReader::Read(b).has_value(), true);
  }
  {
    SCOPED_TRACE("the data directory's size is not a bound the loader uses");
    Bytes b = dll_;
    PutU32(b, layout.resource_entry + 4, 1);
    EXPECT_EQ(PeVersionReader::Read(b), intact_);
  }
}

TEST_F(DamagedPeTest, EveryTruncationGivesAllOrNothing) {
  for (std::size_t size = 0; size < dll_.size(); ++size) {
    const auto cut = PeVersionReader::Read(std::span(dll_).first(size));
    if (cut) {
      EXPECT_EQ(cut, intact_) << "cut at " << size;
    }
  }
}

// A cheap, deterministic stand-in for the fuzzer in the normal test run:
// random bytes overwritten in every fixture. Whatever comes out must be
// well-formed.
TEST(RandomDamageTest, ResultsStayWellFormed) {
  std::mt19937 random(20030519);
  for (const char* name : {"en1252_x86.dll", "en1200_x64.exe", "german_x64.dll", "two_tables_x86.exe",
                           "no_fixed_x86.dll", "two_languages_x64.dll"}) {
    SCOPED_TRACE(name);
    const Bytes original = test::ReadPeFixture(name);
    int still_read = 0;
    for (int round = 0; round < 1500; ++round) {
      Bytes b = original;
      const int hits = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < hits; ++i) b[random() % b.size()] = static_cast<std::uint8_t>(random());
      if (const auto info = PeVersionReader::Read(b)) {
        ++still_read;
        ExpectValidUtf8(*info);
        if (info->fixed) {
          EXPECT_EQ(info->fixed->signature, FixedFileInfo::kSignature);
        }
      }
    }
    // Most damage lands in padding and code; the run exercised the reader.
    EXPECT_GT(still_read, 0);
  }
}

}  // namespace
}  // namespace wenmoor
