// Reading version resources from real PE files (tests/data/pe, made by the
// MinGW-w64 tools from the .rc files beside them).
#include "support/pe_version_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "support/pe_test_files.h"

namespace wenmoor {
namespace {

using test::ReadPeFixture;
using Strings = std::vector<std::pair<std::string, std::string>>;

std::optional<PeVersionInfo> ReadFixture(const std::string& name) {
  return PeVersionReader::Read(ReadPeFixture(name));
}

Strings StringsOf(const VersionStringTable& table) {
  Strings out;
  for (const auto& s : table.strings) out.emplace_back(s.name, s.value);
  return out;
}

// The fixed information of every fixture that has one, field by field.
struct FixedRow {
  const char* file;
  PeFormat format;
  std::uint16_t language;
  std::array<std::uint16_t, 4> file_version;
  std::array<std::uint16_t, 4> product_version;
  std::uint32_t flags_mask, flags, file_os, file_type, file_subtype;
};

class FixedInfoTest : public testing::TestWithParam<FixedRow> {};

TEST_P(FixedInfoTest, ReadsEveryField) {
  const FixedRow& row = GetParam();
  const auto info = ReadFixture(row.file);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->format, row.format);
  EXPECT_EQ(info->resource_language, row.language);
  ASSERT_TRUE(info->fixed.has_value());
  const FixedFileInfo& fixed = *info->fixed;
  EXPECT_EQ(fixed.signature, FixedFileInfo::kSignature);
  EXPECT_EQ(fixed.struct_version, 0x10000u);
  EXPECT_EQ(fixed.FileVersion(), row.file_version);
  EXPECT_EQ(fixed.ProductVersion(), row.product_version);
  EXPECT_EQ(fixed.flags_mask, row.flags_mask);
  EXPECT_EQ(fixed.flags, row.flags);
  EXPECT_EQ(fixed.file_os, row.file_os);
  EXPECT_EQ(fixed.file_type, row.file_type);
  EXPECT_EQ(fixed.file_subtype, row.file_subtype);
  EXPECT_EQ(fixed.file_date_ms, 0u);
  EXPECT_EQ(fixed.file_date_ls, 0u);
  // "\" gives the same structure.
  const auto queried = info->Query("\\");
  ASSERT_TRUE(queried.has_value());
  EXPECT_EQ(std::get<FixedFileInfo>(*queried), fixed);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, FixedInfoTest,
    testing::Values(
        FixedRow{"en1252_x86.dll", PeFormat::Pe32, 0x0409, {5, 0, 0, 12}, {5, 0, 0, 0}, 0x3F, 0x2, 0x4, 2, 0},
        FixedRow{"en1252_x64.dll", PeFormat::Pe32Plus, 0x0409, {5, 0, 0, 12}, {5, 0, 0, 0}, 0x3F, 0x2, 0x4, 2, 0},
        FixedRow{"en1200_x64.exe", PeFormat::Pe32Plus, 0x0409, {10, 2, 300, 65535}, {10, 2, 0, 0}, 0x3F, 0,
                 0x40004, 1, 0},
        FixedRow{"german_x64.dll", PeFormat::Pe32Plus, 0x0407, {2, 1, 0, 7}, {2, 1, 0, 0}, 0x3F, 0, 0x40004, 3, 9},
        FixedRow{"two_tables_x86.exe", PeFormat::Pe32, 0x0409, {3, 0, 0, 1}, {3, 0, 0, 1}, 0x3F, 0, 0x4, 4, 3},
        FixedRow{"no_strings_x64.dll", PeFormat::Pe32Plus, 0x0409, {1, 0, 0, 0}, {1, 0, 0, 0}, 0x3F, 0, 0x4, 7, 0},
        // The first language in the directory is German, written second.
        FixedRow{"two_languages_x64.dll", PeFormat::Pe32Plus, 0x0407, {4, 0, 0, 2}, {4, 0, 0, 2}, 0, 0, 0x4, 2, 0}),
    [](const testing::TestParamInfo<FixedRow>& p) {
      std::string name = p.param.file;
      for (char& c : name) {
        if (c == '.') c = '_';
      }
      return name;
    });

TEST(PeVersionReaderTest, EnglishLatin1TableHoldsEveryStandardString) {
  const Strings expected = {
      {"Comments", "Quarry engine core"},
      {"CompanyName", "Fennick Software"},
      {"FileDescription", "Quarry Database Engine"},
      {"FileVersion", "5.0.0.12"},
      {"InternalName", "qrycore"},
      {"LegalCopyright", "Copyright 1999-2003 Fennick Software"},
      {"LegalTradeMarks", "Quarry is a trade mark of Fennick Software"},
      {"OriginalFileName", "QRYCORE.DLL"},
      {"PrivateBuild", "built by the night job"},
      {"ProductName", "Quarry"},
      {"ProductVersion", "5.0 Beta"},
      {"SpecialBuild", "for the test suite"},
  };
  for (const char* file : {"en1252_x86.dll", "en1252_x64.dll"}) {
    SCOPED_TRACE(file);
    const auto info = ReadFixture(file);
    ASSERT_TRUE(info.has_value());
    ASSERT_EQ(info->string_tables.size(), 1u);
    EXPECT_EQ(info->string_tables[0].key, "040904E4");
    EXPECT_EQ(StringsOf(info->string_tables[0]), expected);
    ASSERT_TRUE(info->translations.has_value());
    EXPECT_EQ(*info->translations, (std::vector<VersionTranslation>{{0x0409, 1252}}));
  }
}

TEST(PeVersionReaderTest, QueryFollowsThePlatformPaths) {
  const auto info = ReadFixture("en1252_x86.dll");
  ASSERT_TRUE(info.has_value());
  const auto string_at = [&](const char* path) -> std::string {
    const auto value = info->Query(path);
    if (!value) return "<none>";
    const auto* text = std::get_if<std::string>(&*value);
    return text ? *text : "<not a string>";
  };
  EXPECT_EQ(string_at("\\StringFileInfo\\040904E4\\FileVersion"), "5.0.0.12");
  // Names compare without regard to case, and empty components are skipped.
  EXPECT_EQ(string_at("\\stringfileinfo\\040904e4\\companyname"), "Fennick Software");
  EXPECT_EQ(string_at("StringFileInfo\\\\040904E4\\ProductName\\"), "Quarry");
  EXPECT_EQ(string_at("\\StringFileInfo\\040904B0\\FileVersion"), "<none>");
  EXPECT_EQ(string_at("\\StringFileInfo\\040904E4\\NoSuchName"), "<none>");
  EXPECT_EQ(string_at("\\StringFileInfo\\040904E4"), "<none>");
  EXPECT_EQ(string_at("\\VarFileInfo"), "<none>");

  const auto translation = info->Query("\\VarFileInfo\\Translation");
  ASSERT_TRUE(translation.has_value());
  EXPECT_EQ(std::get<std::vector<VersionTranslation>>(*translation),
            (std::vector<VersionTranslation>{{0x0409, 1252}}));
  EXPECT_TRUE(info->Query("").has_value()) << "an empty path names the root, like \"\\\"";
}

TEST(PeVersionReaderTest, UnicodeTableOfAnApplication) {
  const auto info = ReadFixture("en1200_x64.exe");
  ASSERT_TRUE(info.has_value());
  ASSERT_EQ(info->string_tables.size(), 1u);
  EXPECT_EQ(info->string_tables[0].key, "040904B0");
  EXPECT_EQ(StringsOf(info->string_tables[0]), (Strings{{"CompanyName", "Fennick Software"},
                                                        {"FileDescription", "Quarry Setup"},
                                                        {"FileVersion", "10.2.300.65535"},
                                                        {"OriginalFileName", "setup.exe"},
                                                        {"ProductName", "Quarry"}}));
  EXPECT_EQ(*info->translations, (std::vector<VersionTranslation>{{0x0409, 1200}}));
  EXPECT_EQ(FixedFileInfo::Dotted(info->fixed->FileVersion()), "10.2.300.65535");
}

TEST(PeVersionReaderTest, GermanTextBecomesUtf8) {
  const auto info = ReadFixture("german_x64.dll");
  ASSERT_TRUE(info.has_value());
  ASSERT_EQ(info->string_tables.size(), 1u);
  EXPECT_EQ(info->string_tables[0].key, "040704B0");
  EXPECT_EQ(StringsOf(info->string_tables[0]),
            (Strings{{"CompanyName", "M\xC3\xBCller & S\xC3\xB6hne GmbH"},
                     {"FileDescription", "Klangtreiber f\xC3\xBCr \xC3\x9C"
                                         "bungen"},
                     // U+1F3B5 is stored as a surrogate pair.
                     {"LegalCopyright", "\xC2\xA9 2002 M\xC3\xBCller \xF0\x9F\x8E\xB5"},
                     {"Comments", ""}}));
  // An empty value exists: the query finds it.
  const auto comments = info->Query("\\StringFileInfo\\040704B0\\Comments");
  ASSERT_TRUE(comments.has_value());
  EXPECT_EQ(std::get<std::string>(*comments), "");
  EXPECT_EQ(*info->translations, (std::vector<VersionTranslation>{{0x0407, 1200}}));
}

TEST(PeVersionReaderTest, TwoStringTablesAndTwoTranslations) {
  const auto info = ReadFixture("two_tables_x86.exe");
  ASSERT_TRUE(info.has_value());
  ASSERT_EQ(info->string_tables.size(), 2u);
  EXPECT_EQ(info->string_tables[0].key, "040904E4");
  EXPECT_EQ(info->string_tables[1].key, "040704B0");
  EXPECT_EQ(StringsOf(info->string_tables[1]),
            (Strings{{"FileDescription", "Quarry-Symbole"}, {"ProductVersion", "3.0 (deutsch)"}}));
  ASSERT_NE(info->FindString("040904E4", "ProductVersion"), nullptr);
  EXPECT_EQ(*info->FindString("040904E4", "ProductVersion"), "3.0");
  ASSERT_NE(info->FindString("040704b0", "productversion"), nullptr);
  EXPECT_EQ(*info->FindString("040704b0", "productversion"), "3.0 (deutsch)");
  EXPECT_EQ(*info->translations, (std::vector<VersionTranslation>{{0x0409, 1252}, {0x0407, 1200}}));
}

TEST(PeVersionReaderTest, FixedInfoWithoutStrings) {
  const auto info = ReadFixture("no_strings_x64.dll");
  ASSERT_TRUE(info.has_value());
  EXPECT_TRUE(info->fixed.has_value());
  EXPECT_TRUE(info->string_tables.empty());
  EXPECT_FALSE(info->Query("\\StringFileInfo\\040904E4\\FileVersion").has_value());
  EXPECT_EQ(*info->translations, (std::vector<VersionTranslation>{{0x0409, 1252}}));
}

TEST(PeVersionReaderTest, StringsWithoutFixedInfo) {
  const auto info = ReadFixture("no_fixed_x86.dll");
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->format, PeFormat::Pe32);
  EXPECT_FALSE(info->fixed.has_value());
  EXPECT_FALSE(info->Query("\\").has_value());
  EXPECT_FALSE(info->translations.has_value());
  EXPECT_FALSE(info->Query("\\VarFileInfo\\Translation").has_value());
  ASSERT_EQ(info->string_tables.size(), 1u);
  EXPECT_EQ(StringsOf(info->string_tables[0]),
            (Strings{{"CompanyName", "Fennick"}, {"FileDescription", "No fixed info"}}));
}

TEST(PeVersionReaderTest, FirstLanguageOfTheResourceIsRead) {
  const auto info = ReadFixture("two_languages_x64.dll");
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->resource_language, 0x0407);
  ASSERT_EQ(info->string_tables.size(), 1u);
  EXPECT_EQ(info->string_tables[0].key, "040704B0");
  EXPECT_EQ(StringsOf(info->string_tables[0]), (Strings{{"FileDescription", "Deutsche Ressource"}}));
}

TEST(PeVersionReaderTest, FilesWithoutVersionInformation) {
  for (const char* file : {"no_version_x86.dll", "no_resources_x64.exe", "plain.txt"}) {
    SCOPED_TRACE(file);
    EXPECT_FALSE(ReadFixture(file).has_value());
  }
  EXPECT_FALSE(PeVersionReader::Read({}).has_value());
}

TEST(PeVersionReaderTest, TableKeyIsUpperCaseHex) {
  EXPECT_EQ(PeVersionInfo::TableKey(0x0409, 1252), "040904E4");
  EXPECT_EQ(PeVersionInfo::TableKey(0x0407, 1200), "040704B0");
  EXPECT_EQ(PeVersionInfo::TableKey(0xFFFF, 0), "FFFF0000");
}

}  // namespace
}  // namespace wenmoor
