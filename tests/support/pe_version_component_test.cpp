// TVersionResource and TVersionInfo: reading real PE files of the emulated
// machine into the script's string properties.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/rtl/persistent.h"
#include "support/cmp_TVersion.h"
#include "support/pe_version_prefix.h"

namespace wenmoor {
namespace {

using Fields = std::map<std::string, std::string>;

// Every published property of the component's VersionInfo, by name, read
// through the class registry as the script and the translator see them.
Fields FieldsOf(const TVersionResource& resource) {
  Fields fields;
  const TVersionInfo& info = *resource.VersionInfo();
  for (const TPropInfo* prop : info.ClassType().Properties()) fields[prop->name] = prop->get_string(info);
  return fields;
}

const Fields kEmpty = {
    {"Comment", ""},        {"CompanyName", ""},      {"FileDescription", ""}, {"FileVersion", ""},
    {"InternalName", ""},   {"LegalCopyright", ""},   {"LegalTradeMarks", ""}, {"OriginalFileName", ""},
    {"PrivateBuild", ""},   {"ProductName", ""},      {"ProductVersion", ""},  {"SpecialBuild", ""},
    {"FileOS", ""},         {"FileType", ""},         {"FileSubType", ""},
};

Fields With(Fields base, const Fields& changes) {
  for (const auto& [name, value] : changes) base.at(name) = value;
  return base;
}

class VersionResourceTest : public test::PeVersionPrefixTest {
 protected:
  ComponentPtr<TVersionResource> resource_ = CreateUnowned<TVersionResource>();
};

TEST_F(VersionResourceTest, ReadsEveryFieldOfTheDefaultTable) {
  resource_->SetFileName(Install("en1252_x86.dll", "qrycore.dll"));
  EXPECT_EQ(FieldsOf(*resource_), (Fields{
                                      {"Comment", "Quarry engine core"},
                                      {"CompanyName", "Fennick Software"},
                                      {"FileDescription", "Quarry Database Engine"},
                                      {"FileVersion", "5.0.0.12"},
                                      {"InternalName", "qrycore"},
                                      {"LegalCopyright", "Copyright 1999-2003 Fennick Software"},
                                      {"LegalTradeMarks", "Quarry is a trade mark of Fennick Software"},
                                      {"OriginalFileName", "QRYCORE.DLL"},
                                      {"PrivateBuild", "built by the night job"},
                                      {"ProductName", "Quarry"},
                                      // The string replaces the fixed product version 5.0.0.0.
                                      {"ProductVersion", "5.0 Beta"},
                                      {"SpecialBuild", "for the test suite"},
                                      {"FileOS", "32 bit Windows"},
                                      {"FileType", "Dynamic-Link Library"},
                                      {"FileSubType", ""},
                                  }));
}

TEST_F(VersionResourceTest, LanguageAndCharacterSetChooseTheTable) {
  resource_->SetFileName(Install("en1200_x64.exe", "setup.exe"));
  // The default table 040904E4 is not there: only the fixed values.
  const Fields fixed_only = With(kEmpty, {{"FileVersion", "10.2.300.65535"},
                                          {"ProductVersion", "10.2.0.0"},
                                          {"FileOS", "Windows NT with 32 bit Windows"},
                                          {"FileType", "Application"}});
  EXPECT_EQ(FieldsOf(*resource_), fixed_only);

  resource_->SetCharacterSet(csUnicode);  // reads again: 040904B0
  EXPECT_EQ(FieldsOf(*resource_), With(fixed_only, {{"CompanyName", "Fennick Software"},
                                                    {"FileDescription", "Quarry Setup"},
                                                    {"OriginalFileName", "setup.exe"},
                                                    {"ProductName", "Quarry"}}));

  resource_->SetFileName(Install("two_tables_x86.exe", "symbols.fon"));
  EXPECT_EQ(resource_->VersionInfo()->FileDescription(), "") << "no 040904B0 table here";
  resource_->SetCharacterSet(csMultilingual);
  EXPECT_EQ(resource_->VersionInfo()->FileDescription(), "Quarry symbols");
  EXPECT_EQ(resource_->VersionInfo()->ProductVersion(), "3.0");
  resource_->SetLanguage(lnGerman);
  resource_->SetCharacterSet(csUnicode);
  EXPECT_EQ(resource_->VersionInfo()->FileDescription(), "Quarry-Symbole");
  EXPECT_EQ(resource_->VersionInfo()->ProductVersion(), "3.0 (deutsch)");
  EXPECT_EQ(resource_->VersionInfo()->FileType(), "Font");
  EXPECT_EQ(resource_->VersionInfo()->FileSubType(), "TrueType");
}

TEST_F(VersionResourceTest, GermanDriver) {
  resource_->SetLanguage(lnGerman);
  resource_->SetCharacterSet(csUnicode);
  resource_->SetFileName(Install("german_x64.dll", "klang.drv"));
  EXPECT_EQ(FieldsOf(*resource_), With(kEmpty, {{"CompanyName", "M\xC3\xBCller & S\xC3\xB6hne GmbH"},
                                                {"FileDescription", "Klangtreiber f\xC3\xBCr \xC3\x9C"
                                                                    "bungen"},
                                                {"LegalCopyright", "\xC2\xA9 2002 M\xC3\xBCller \xF0\x9F\x8E\xB5"},
                                                {"FileVersion", "2.1.0.7"},
                                                {"ProductVersion", "2.1.0.0"},
                                                {"FileOS", "Windows NT with 32 bit Windows"},
                                                {"FileType", "Device Driver"},
                                                {"FileSubType", "Sound"}}));
}

TEST_F(VersionResourceTest, FilesWithoutUsableVersionInformationLeaveEveryFieldEmpty) {
  const std::string good = Install("en1252_x86.dll", "good.dll");
  for (const auto& [fixture, name] : std::map<std::string, std::string>{{"plain.txt", "readme.txt"},
                                                                        {"no_version_x86.dll", "nover.dll"},
                                                                        {"no_resources_x64.exe", "bare.exe"},
                                                                        // Strings but no fixed part: the
                                                                        // platform's reader stops at "\".
                                                                        {"no_fixed_x86.dll", "nofixed.dll"}}) {
    SCOPED_TRACE(fixture);
    resource_->SetFileName(good);
    ASSERT_EQ(resource_->VersionInfo()->FileVersion(), "5.0.0.12");
    resource_->SetFileName(Install(fixture, name));  // every field is cleared first
    EXPECT_EQ(FieldsOf(*resource_), kEmpty);
  }
  for (const char* path : {"C:\\missing.dll", "", "   ", "Q:\\unmapped\\drive.dll", "C:\\windows"}) {
    SCOPED_TRACE(path);
    resource_->SetFileName(good);
    EXPECT_NO_THROW(resource_->SetFileName(path));
    EXPECT_EQ(FieldsOf(*resource_), kEmpty);
  }
}

TEST(VersionInfoTextTest, OperatingSystems) {
  const std::map<uint32_t, std::string> expected = {
      {0x00000001, "Windows 3.0 or later"},
      {0x00000002, "16 bit OS/2 Presentation Manager"},
      {0x00000003, "32 bit OS/2 Presentation Manager"},
      {0x00000004, "32 bit Windows"},
      {0x00010000, "MS-Dos"},
      {0x00010001, "Windows 3.0 or later with MS-Dos"},
      {0x00010004, "32 bit Windows with MS-Dos"},
      {0x00020000, "16 bit OS/2"},
      {0x00020002, "16 bit OS/2 with Presentation Manager"},
      {0x00030000, "32 bit OS/2"},
      {0x00030003, "32 bit OS/2 with Presentation Manager"},
      {0x00040000, "Windows NT"},
      {0x00040004, "Windows NT with 32 bit Windows"},
      {0x00000000, "Unknown"},
      {0x00040001, "Unknown"},
      {0x00050004, "Unknown"},
  };
  for (const auto& [value, text] : expected) EXPECT_EQ(TVersionInfo::FileOSText(value), text) << std::hex << value;
}

TEST(VersionInfoTextTest, TypesAndSubtypes) {
  const std::map<uint32_t, std::string> types = {{0, "Unknown"},
                                                 {1, "Application"},
                                                 {2, "Dynamic-Link Library"},
                                                 {3, "Device Driver"},
                                                 {4, "Font"},
                                                 {5, "Virtual Device Driver"},
                                                 {6, "Unknown"},
                                                 {7, "Static-Link Library"},
                                                 {8, "Unknown"}};
  for (const auto& [value, text] : types) EXPECT_EQ(TVersionInfo::FileTypeText(value), text) << value;

  const char* drivers[] = {"Unknown", "Printer", "Keyboard", "Language", "Display",        "Mouse",
                           "Network", "System",  "Installable", "Sound",  "Communications", "Unknown"};
  for (uint32_t sub = 0; sub < std::size(drivers); ++sub) {
    EXPECT_EQ(TVersionInfo::FileSubTypeText(3, sub), drivers[sub]) << sub;
  }
  const char* fonts[] = {"Unknown", "Raster", "Vector", "TrueType", "Unknown"};
  for (uint32_t sub = 0; sub < std::size(fonts); ++sub) EXPECT_EQ(TVersionInfo::FileSubTypeText(4, sub), fonts[sub]);
  // Other types have no subtype text, whatever the value.
  for (uint32_t type : {0u, 1u, 2u, 5u, 7u}) EXPECT_EQ(TVersionInfo::FileSubTypeText(type, 3), "") << type;
}

TEST(VersionResourceClassTest, PublishedAsTheScriptNamesIt) {
  const TClassInfo* cls = TClassInfo::Find("TVersionResource");
  ASSERT_NE(cls, nullptr);
  for (const char* name : {"FileName", "Language", "CharacterSet", "VersionInfo"}) {
    EXPECT_NE(cls->FindProperty(name), nullptr) << name;
  }
  const TPropInfo* language = cls->FindProperty("Language");
  ASSERT_NE(language->enum_info, nullptr);
  EXPECT_EQ(language->enum_info->ValueOf("lnUSEnglish"), lnUSEnglish);
  EXPECT_EQ(language->default_ordinal, lnUSEnglish);
  EXPECT_EQ(cls->FindProperty("CharacterSet")->default_ordinal, csMultilingual);
  EXPECT_EQ(cls->FindProperty("CharacterSet")->enum_info->ValueOf("csMultilingual"), csMultilingual);
}

TEST(VersionResourceClassTest, LanguageAndCodePageNumbers) {
  const std::map<TLanguage, uint16_t> languages = {
      {lnArabic, 1025},           {lnGerman, 1031},     {lnUSEnglish, 1033},       {lnBahasa, 1057},
      {lnSimplifiedChinese, 2052}, {lnSwissGerman, 2055}, {lnUKEnglish, 2057},      {lnSerboCroatian, 2074},
      {lnCanadianFrench, 3084},   {lnSwissFrench, 4108},
  };
  for (const auto& [language, id] : languages) EXPECT_EQ(LanguageId(language), id) << int{language};
  // The identifiers ascend through the table, one per enumerator.
  for (int i = 1; i <= lnSwissFrench; ++i) {
    EXPECT_LT(LanguageId(static_cast<TLanguage>(i - 1)), LanguageId(static_cast<TLanguage>(i))) << i;
  }
  const uint16_t pages[] = {0, 932, 949, 950, 1200, 1250, 1251, 1252, 1253, 1254, 1255, 1256};
  for (int i = 0; i <= csArabic; ++i) EXPECT_EQ(CodePage(static_cast<TCharacterSet>(i)), pages[i]) << i;
  EXPECT_EQ(PeVersionInfo::TableKey(LanguageId(lnUSEnglish), CodePage(csMultilingual)), "040904E4");
}

}  // namespace
}  // namespace wenmoor
