// TVersionResource: reads the version resource of a file into a
// TVersionInfo, and decides by an overwrite rule whether a file replaces an
// existing one (IsFileNewerByName, IsFileNewer).
//
// Contract
// - Reading never raises: a file that is missing, unreadable, not a PE file
//   or without a version resource leaves every field of VersionInfo empty.
// - FileName is a Windows path of the emulated machine. Setting FileName,
//   Language or CharacterSet reads the resource again.
// - The comparison functions use the shared reader (Shared()), whose
//   FileName they change. It is created on first use and lives until the
//   program ends (or FreeShared()).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/rtl/component.h"
#include "platform/win/file_time.h"
#include "support/file_compare_types.h"
#include "support/pe_version_info.h"
#include "support/version_info.h"

namespace wenmoor {

// GetFileVersionInfo: the version information of a file (a Windows path),
// or nullopt when it is missing, unreadable or has none. Never raises.
std::optional<PeVersionInfo> ReadVersionInfo(const std::string& path);

// The language part of a string table's name.
enum TLanguage : uint8_t {
  lnArabic, lnBulgarian, lnCatalan, lnTraditionalChinese, lnCzech, lnDanish, lnGerman, lnGreek, lnUSEnglish,
  lnCastilianSpanish, lnFinnish, lnFrench, lnHebrew, lnHungarian, lnIcelandic, lnItalian, lnJapanese, lnKorean,
  lnDutch, lnNorwegianBokmal, lnPolish, lnBrazilianPortuguese, lnRhaetoRomanic, lnRomanian, lnRussian,
  lnCroatoSerbian, lnSlovak, lnAlbanian, lnSwedish, lnThai, lnTurkish, lnUrdu, lnBahasa, lnSimplifiedChinese,
  lnSwissGerman, lnUKEnglish, lnMexicanSpanish, lnBelgianFrench, lnSwissItalian, lnBelgianDutch,
  lnNorwegianNynorsk, lnPortuguese, lnSerboCroatian, lnCanadianFrench, lnSwissFrench,
};
WENMOOR_ENUM(TLanguage, lnArabic, lnBulgarian, lnCatalan, lnTraditionalChinese, lnCzech, lnDanish, lnGerman, lnGreek,
             lnUSEnglish, lnCastilianSpanish, lnFinnish, lnFrench, lnHebrew, lnHungarian, lnIcelandic, lnItalian,
             lnJapanese, lnKorean, lnDutch, lnNorwegianBokmal, lnPolish, lnBrazilianPortuguese, lnRhaetoRomanic,
             lnRomanian, lnRussian, lnCroatoSerbian, lnSlovak, lnAlbanian, lnSwedish, lnThai, lnTurkish, lnUrdu,
             lnBahasa, lnSimplifiedChinese, lnSwissGerman, lnUKEnglish, lnMexicanSpanish, lnBelgianFrench,
             lnSwissItalian, lnBelgianDutch, lnNorwegianNynorsk, lnPortuguese, lnSerboCroatian, lnCanadianFrench,
             lnSwissFrench)

// The code-page part of a string table's name.
enum TCharacterSet : uint8_t {
  csASCII, csJapan, csKorea, csTaiwan, csUnicode, csLatin2, csCyrillic, csMultilingual, csGreek, csTurkish,
  csHebrew, csArabic,
};
WENMOOR_ENUM(TCharacterSet, csASCII, csJapan, csKorea, csTaiwan, csUnicode, csLatin2, csCyrillic, csMultilingual,
             csGreek, csTurkish, csHebrew, csArabic)

// The Windows language identifier (lnUSEnglish -> 1033) and code page
// (csMultilingual -> 1252).
uint16_t LanguageId(TLanguage language);
uint16_t CodePage(TCharacterSet character_set);

class TVersionResource : public TComponent {
  WENMOOR_CLASS(TVersionResource, TComponent)
 public:
  // FileName is the program's own file, Language lnUSEnglish, CharacterSet
  // csMultilingual; the resource is read at once.
  explicit TVersionResource(TComponent* owner);
  ~TVersionResource() override;

  const std::string& FileName() const { return file_name_; }
  void SetFileName(const std::string& file_name);
  TLanguage Language() const { return language_; }
  void SetLanguage(TLanguage language);
  TCharacterSet CharacterSet() const { return character_set_; }
  void SetCharacterSet(TCharacterSet character_set);
  // Owned by the component.
  TVersionInfo* VersionInfo() const { return version_info_.get(); }

  // 0 when equal, 1 when `a` is the newer, 2 when `b` is (version_compare.h).
  static int CompareVersions(std::string_view a, std::string_view b);

  // Whether the file `source`, about to be copied, should replace the
  // existing file `dest` under the rule `overwrite`.
  static TFileCompareResult IsFileNewerByName(const std::string& source, const std::string& dest,
                                              TOverwriteType overwrite);
  // The same for a candidate known by its version string and date (an
  // archive member). `source_date` is a local TDateTime.
  static TFileCompareResult IsFileNewer(const std::string& source_version, const std::string& dest,
                                        TOverwriteType overwrite, TDateTime source_date);

  // The shared reader, created when missing; FreeShared() destroys it.
  static TVersionResource& Shared();
  static void FreeShared();

 private:
  void ReadResource();

  std::string file_name_;
  TLanguage language_ = lnUSEnglish;
  TCharacterSet character_set_ = csMultilingual;
  std::unique_ptr<TVersionInfo> version_info_;
};

}  // namespace wenmoor
