#include "platform/win/reg_text.h"

#include <cstdio>

namespace wenmoor::platform {

namespace {

// Length of the UTF-8 sequence at text[i] and its code point; 0 when the
// bytes there are not a well-formed sequence. Surrogate code points are
// accepted (they are how unpaired UTF-16 surrogates are carried).
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& cp) {
  const auto b = [&](size_t k) { return static_cast<uint8_t>(text[i + k]); };
  const uint8_t c = b(0);
  size_t len = 0;
  char32_t min = 0;
  if (c < 0x80) {
    cp = c;
    return 1;
  } else if ((c & 0xE0) == 0xC0) {
    len = 2, cp = c & 0x1F, min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    len = 3, cp = c & 0x0F, min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    len = 4, cp = c & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > text.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    if ((b(k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF) return 0;
  return len;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

// Lower case of one UTF-16 unit for the scripts names are written in in
// practice (Latin-1, Greek, Cyrillic); other characters compare as they are.
char16_t LowerUnit(char16_t c) {
  if (c >= u'A' && c <= u'Z') return c + 32;
  if (c < 0x80) return c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    size_t len = DecodeUtf8(utf8, i, cp);
    if (len == 0) {
      cp = static_cast<uint8_t>(utf8[i]);  // Latin-1 fallback
      len = 1;
    }
    AppendUtf16(out, cp);
    i += len;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::string FoldName(std::string_view utf8) {
  bool ascii = true;
  for (char c : utf8) ascii &= static_cast<uint8_t>(c) < 0x80;
  if (ascii) {
    std::string out(utf8);
    for (char& c : out) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return out;
  }
  std::u16string wide = Utf8ToUtf16(utf8);
  for (char16_t& c : wide) c = LowerUnit(c);
  return Utf16ToUtf8(wide);
}

void AppendEscaped(std::string& out, std::u16string_view s, std::string_view also_escape) {
  // The letters of the C escapes for the control characters that have one.
  static constexpr char kEscapes[33] = ".......abtnvfr.............e....";
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    const bool more = i + 1 < s.size();
    char buf[16];
    if (c > 127) {
      // Four digits when the next character could be read as a fifth one.
      const bool pad = more && s[i + 1] < 128 && HexDigit(static_cast<char>(s[i + 1])) >= 0;
      snprintf(buf, sizeof buf, pad ? "\\x%04x" : "\\x%x", static_cast<unsigned>(c));
      out += buf;
    } else if (c < 32) {
      if (kEscapes[c] != '.') {
        out += '\\';
        out += kEscapes[c];
      } else {
        const bool pad = more && s[i + 1] >= u'0' && s[i + 1] <= u'7';
        snprintf(buf, sizeof buf, pad ? "\\%03o" : "\\%o", static_cast<unsigned>(c));
        out += buf;
      }
    } else {
      const char a = static_cast<char>(c);
      if (a == '\\' || also_escape.find(a) != std::string_view::npos) out += '\\';
      out += a;
    }
  }
}

bool ReadEscaped(std::string_view text, size_t& pos, char terminator, std::u16string& out) {
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == terminator) {
      ++pos;
      return true;
    }
    if (c != '\\') {
      char32_t cp = 0;
      size_t len = DecodeUtf8(text, pos, cp);
      if (len == 0) cp = static_cast<uint8_t>(c), len = 1;
      AppendUtf16(out, cp);
      pos += len;
      continue;
    }
    if (++pos >= text.size()) return false;
    const char e = text[pos++];
    switch (e) {
      case 'a': out += u'\a'; break;
      case 'b': out += u'\b'; break;
      case 'e': out += char16_t{27}; break;
      case 'f': out += u'\f'; break;
      case 'n': out += u'\n'; break;
      case 'r': out += u'\r'; break;
      case 't': out += u'\t'; break;
      case 'v': out += u'\v'; break;
      case 'x': {
        unsigned v = 0;
        int digits = 0;
        while (digits < 4 && pos < text.size() && HexDigit(text[pos]) >= 0) {
          v = v * 16 + static_cast<unsigned>(HexDigit(text[pos++]));
          ++digits;
        }
        out += digits ? static_cast<char16_t>(v) : u'x';
        break;
      }
      default:
        if (e >= '0' && e <= '7') {
          unsigned v = static_cast<unsigned>(e - '0');
          for (int k = 0; k < 2 && pos < text.size() && text[pos] >= '0' && text[pos] <= '7'; ++k) {
            v = v * 8 + static_cast<unsigned>(text[pos++] - '0');
          }
          out += static_cast<char16_t>(v);
        } else {
          // Any other escaped character stands for itself (\\ \" \[ \] ...).
          char32_t cp = 0;
          --pos;
          size_t len = DecodeUtf8(text, pos, cp);
          if (len == 0) cp = static_cast<uint8_t>(e), len = 1;
          AppendUtf16(out, cp);
          pos += len;
        }
    }
  }
  return false;
}

}  // namespace wenmoor::platform
