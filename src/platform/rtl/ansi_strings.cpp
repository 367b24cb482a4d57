#include "platform/rtl/ansi_strings.h"

#include <cstdint>
#include <locale>
#include <stdexcept>

namespace wenmoor {
namespace {

// The case mapping of every script, from the C library's UTF-8 locale when
// the machine has it (Debian's C library always does); ASCII otherwise.
const std::ctype<wchar_t>& CaseFacet() {
  static const std::locale locale = [] {
    try {
      return std::locale("C.UTF-8");
    } catch (const std::runtime_error&) {
      return std::locale::classic();
    }
  }();
  return std::use_facet<std::ctype<wchar_t>>(locale);
}

// Decodes one character at `i` (advancing it); a byte that starts no valid
// sequence is returned as itself, marked above the Unicode range so that it
// only ever equals the same byte.
char32_t Next(std::string_view s, size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  int len = 0;
  char32_t cp = 0;
  if (b0 < 0x80) {
    ++i;
    return b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4;
    cp = b0 & 0x07;
  }
  if (len == 0 || i + static_cast<size_t>(len) > s.size()) {
    ++i;
    return 0x110000 + b0;
  }
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return 0x110000 + b0;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  i += static_cast<size_t>(len);
  return cp;
}

char32_t Fold(char32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
  if (c >= 0x110000) return c;
  return static_cast<char32_t>(CaseFacet().toupper(static_cast<wchar_t>(c)));
}

}  // namespace

bool AnsiSameText(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size())
    if (Fold(Next(a, i)) != Fold(Next(b, j))) return false;
  return i == a.size() && j == b.size();
}

}  // namespace wenmoor
