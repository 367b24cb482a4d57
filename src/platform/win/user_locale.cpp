#include "platform/win/user_locale.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <string>

#include "platform/win/machine.h"

namespace wenmoor::platform {
namespace {

constexpr LANGID kUsEnglish = 0x0409;
constexpr std::string_view kInternationalKey = "Control Panel\\International";

constexpr LANGID MakeLangId(unsigned primary, unsigned sub) { return static_cast<LANGID>((sub << 10) | primary); }

struct LocaleEntry {
  const char* language;  // ISO 639 code
  const char* country;   // ISO 3166 code; "" for any other country
  LANGID id;
};

// Windows' numbering of the languages (primary language, sublanguage).
// Entries of a language with a country come before its default entry.
constexpr LocaleEntry kLocales[] = {
    {"ar", "", MakeLangId(0x01, 1)},
    {"bg", "", MakeLangId(0x02, 1)},
    {"ca", "", MakeLangId(0x03, 1)},
    {"zh", "TW", MakeLangId(0x04, 1)},
    {"zh", "CN", MakeLangId(0x04, 2)},
    {"zh", "HK", MakeLangId(0x04, 3)},
    {"zh", "SG", MakeLangId(0x04, 4)},
    {"zh", "MO", MakeLangId(0x04, 5)},
    {"zh", "", MakeLangId(0x04, 2)},
    {"cs", "", MakeLangId(0x05, 1)},
    {"da", "", MakeLangId(0x06, 1)},
    {"de", "CH", MakeLangId(0x07, 2)},
    {"de", "AT", MakeLangId(0x07, 3)},
    {"de", "", MakeLangId(0x07, 1)},
    {"el", "", MakeLangId(0x08, 1)},
    {"en", "GB", MakeLangId(0x09, 2)},
    {"en", "AU", MakeLangId(0x09, 3)},
    {"en", "CA", MakeLangId(0x09, 4)},
    {"en", "", MakeLangId(0x09, 1)},
    {"es", "MX", MakeLangId(0x0A, 2)},
    {"es", "", MakeLangId(0x0A, 3)},
    {"fi", "", MakeLangId(0x0B, 1)},
    {"fr", "BE", MakeLangId(0x0C, 2)},
    {"fr", "CA", MakeLangId(0x0C, 3)},
    {"fr", "CH", MakeLangId(0x0C, 4)},
    {"fr", "", MakeLangId(0x0C, 1)},
    {"he", "", MakeLangId(0x0D, 1)},
    {"iw", "", MakeLangId(0x0D, 1)},
    {"hu", "", MakeLangId(0x0E, 1)},
    {"is", "", MakeLangId(0x0F, 1)},
    {"it", "CH", MakeLangId(0x10, 2)},
    {"it", "", MakeLangId(0x10, 1)},
    {"ja", "", MakeLangId(0x11, 1)},
    {"ko", "", MakeLangId(0x12, 1)},
    {"nl", "BE", MakeLangId(0x13, 2)},
    {"nl", "", MakeLangId(0x13, 1)},
    {"nb", "", MakeLangId(0x14, 1)},
    {"no", "", MakeLangId(0x14, 1)},
    {"nn", "", MakeLangId(0x14, 2)},
    {"pl", "", MakeLangId(0x15, 1)},
    {"pt", "BR", MakeLangId(0x16, 1)},
    {"pt", "", MakeLangId(0x16, 2)},
    {"ro", "", MakeLangId(0x18, 1)},
    {"ru", "", MakeLangId(0x19, 1)},
    {"hr", "", MakeLangId(0x1A, 1)},
    {"sr", "", MakeLangId(0x1A, 3)},
    {"sk", "", MakeLangId(0x1B, 1)},
    {"sq", "", MakeLangId(0x1C, 1)},
    {"sv", "FI", MakeLangId(0x1D, 2)},
    {"sv", "", MakeLangId(0x1D, 1)},
    {"th", "", MakeLangId(0x1E, 1)},
    {"tr", "", MakeLangId(0x1F, 1)},
    {"ur", "", MakeLangId(0x20, 1)},
    {"id", "", MakeLangId(0x21, 1)},
    {"uk", "", MakeLangId(0x22, 1)},
    {"be", "", MakeLangId(0x23, 1)},
    {"sl", "", MakeLangId(0x24, 1)},
    {"et", "", MakeLangId(0x25, 1)},
    {"lv", "", MakeLangId(0x26, 1)},
    {"lt", "", MakeLangId(0x27, 1)},
    {"fa", "", MakeLangId(0x29, 1)},
    {"vi", "", MakeLangId(0x2A, 1)},
};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::optional<LANGID> FromRegistry(RegistryStore& registry) {
  if (std::optional<RegValue> v = registry.QueryValue(RootKey::CurrentUser, kInternationalKey, "Locale")) {
    if (std::optional<std::string> text = v->AsString()) {
      uint32_t lcid = 0;
      const char* end = text->data() + text->size();
      auto [p, ec] = std::from_chars(text->data(), end, lcid, 16);
      if (ec == std::errc() && p == end && !text->empty() && (lcid & 0xFFFF) != 0)
        return static_cast<LANGID>(lcid & 0xFFFF);
    }
  }
  if (std::optional<RegValue> v = registry.QueryValue(RootKey::CurrentUser, kInternationalKey, "LocaleName")) {
    if (std::optional<std::string> text = v->AsString()) return LangIdOfLocaleName(*text);
  }
  return std::nullopt;
}

std::optional<LANGID> FromEnvironment() {
  // The first variable that is set decides, as for the C library.
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return LangIdOfLocaleName(value);
  }
  return std::nullopt;
}

}  // namespace

std::optional<LANGID> LangIdOfLocaleName(std::string_view name) {
  // language[_COUNTRY][.codeset][@modifier], or language-COUNTRY.
  name = name.substr(0, name.find_first_of(".@"));
  const size_t sep = name.find_first_of("_-");
  const std::string language = Lower(name.substr(0, sep));
  const std::string country = sep == std::string_view::npos ? std::string() : Upper(name.substr(sep + 1));
  for (const LocaleEntry& e : kLocales)
    if (language == e.language && (*e.country == '\0' || country == e.country)) return e.id;
  return std::nullopt;
}

LANGID UserDefaultLangID(RegistryStore& registry) {
  if (std::optional<LANGID> id = FromRegistry(registry)) return *id;
  if (std::optional<LANGID> id = FromEnvironment()) return *id;
  return kUsEnglish;
}

LANGID GetUserDefaultLangID() { return UserDefaultLangID(CurrentRegistry()); }

}  // namespace wenmoor::platform
