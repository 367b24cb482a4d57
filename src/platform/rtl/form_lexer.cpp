#include "platform/rtl/form_lexer.h"

#include <charconv>
#include <system_error>

#include "platform/rtl/typeinfo.h"

namespace wenmoor {
namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

bool FormToken::IsWord(std::string_view word) const { return kind == FormTokenKind::Ident && SameText(text, word); }

std::string DescribeToken(const FormToken& token) {
  switch (token.kind) {
    case FormTokenKind::EndOfText:
      return "the end of the text";
    case FormTokenKind::Ident:
    case FormTokenKind::Symbol:
    case FormTokenKind::Integer:
    case FormTokenKind::Float:
      return "'" + token.text + "'";
    case FormTokenKind::String:
      return "a string";
    case FormTokenKind::Binary:
      return "binary data";
  }
  return "a token";
}

FormLexer::FormLexer(std::string_view text, std::string file_name) : text_(text), file_name_(std::move(file_name)) {
  if (text_.substr(0, 3) == "\xEF\xBB\xBF") at_ = 3;
}

void FormLexer::Fail(FormPos pos, std::string reason) const {
  throw EFormError(file_name_, pos.line, pos.column, std::move(reason));
}

void FormLexer::Advance() {
  char c = text_[at_++];
  if (c == '\n') {
    ++pos_.line;
    pos_.column = 1;
  } else if (!IsContinuationByte(c)) {
    // Columns count characters: only the first byte of a UTF-8 sequence moves on.
    ++pos_.column;
  }
}

void FormLexer::SkipWhitespace() {
  while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\r' || Peek() == '\n')) Advance();
}

FormToken FormLexer::Next() {
  SkipWhitespace();
  if (AtEnd()) {
    FormToken t;
    t.pos = pos_;
    return t;
  }
  char c = Peek();
  if (IsIdentStart(c)) return LexIdent();
  if (IsDigit(c) || c == '$' || (c == '-' && (IsDigit(Peek(1)) || Peek(1) == '$'))) return LexNumber();
  if (c == '\'' || c == '#') return LexString();
  if (c == '{') return LexBinary();
  static constexpr std::string_view kSymbols = ":=.,[]()<>+-";
  if (kSymbols.find(c) != std::string_view::npos) {
    FormToken t;
    t.kind = FormTokenKind::Symbol;
    t.pos = pos_;
    t.text = std::string(1, c);
    Advance();
    return t;
  }
  // Show the whole character, however many bytes it takes.
  std::string shown;
  if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
    shown = Format("#%d", static_cast<int>(static_cast<unsigned char>(c)));
  } else {
    size_t end = at_ + 1;
    while (end < text_.size() && end < at_ + 4 && IsContinuationByte(text_[end])) ++end;
    shown = "'" + std::string(text_.substr(at_, end - at_)) + "'";
  }
  Fail(pos_, Format("Unexpected character %s", shown));
}

FormToken FormLexer::LexIdent() {
  FormToken t;
  t.kind = FormTokenKind::Ident;
  t.pos = pos_;
  size_t start = at_;
  while (!AtEnd() && IsIdentChar(Peek())) Advance();
  t.text = std::string(text_.substr(start, at_ - start));
  return t;
}

FormToken FormLexer::LexNumber() {
  FormToken t;
  t.kind = FormTokenKind::Integer;
  t.pos = pos_;
  size_t start = at_;
  bool negative = Peek() == '-';
  if (negative) Advance();
  if (Peek() == '$') {
    Advance();
    t.hex = true;
    uint64_t value = 0;
    int digits = 0;
    while (!AtEnd() && HexValue(Peek()) >= 0) {
      value = value << 4 | static_cast<uint64_t>(HexValue(Peek()));
      ++digits;
      Advance();
    }
    while (!AtEnd() && IsIdentChar(Peek())) Advance();
    t.text = std::string(text_.substr(start, at_ - start));
    if (digits == 0 || at_ - start != static_cast<size_t>(digits) + 1 + (negative ? 1 : 0))
      Fail(t.pos, Format("Invalid number %s", t.text));
    if (digits > 16) Fail(t.pos, Format("Number %s is out of range", t.text));
    // Above INT64_MAX the 64 bits are kept: $FFFFFFFFFFFFFFFF is -1.
    t.integer = static_cast<int64_t>(negative ? 0 - value : value);
    return t;
  }
  while (IsDigit(Peek())) Advance();
  if (Peek() == '.' && IsDigit(Peek(1))) {
    t.kind = FormTokenKind::Float;
    Advance();
    while (IsDigit(Peek())) Advance();
  }
  if ((Peek() == 'e' || Peek() == 'E') &&
      (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
    t.kind = FormTokenKind::Float;
    Advance();
    if (Peek() == '+' || Peek() == '-') Advance();
    while (IsDigit(Peek())) Advance();
  }
  size_t number_end = at_;
  // A number runs into no letter: "12px" is a mistake, not 12 and px.
  while (!AtEnd() && IsIdentChar(Peek())) Advance();
  t.text = std::string(text_.substr(start, at_ - start));
  if (at_ != number_end) Fail(t.pos, Format("Invalid number %s", t.text));
  const char* first = t.text.data();
  const char* last = first + t.text.size();
  std::from_chars_result r{};
  if (t.kind == FormTokenKind::Integer) r = std::from_chars(first, last, t.integer);
  else r = std::from_chars(first, last, t.real);
  if (r.ec == std::errc::result_out_of_range) Fail(t.pos, Format("Number %s is out of range", t.text));
  if (r.ec != std::errc() || r.ptr != last) Fail(t.pos, Format("Invalid number %s", t.text));
  return t;
}

void FormLexer::LexCharCode(std::string& out) {
  FormPos at = pos_;
  size_t start = at_;
  Advance();  // '#'
  bool hex = Peek() == '$';
  if (hex) Advance();
  uint32_t cp = 0;
  int digits = 0;
  for (;; ++digits) {
    int d = hex ? HexValue(Peek()) : (IsDigit(Peek()) ? Peek() - '0' : -1);
    if (AtEnd() || d < 0) break;
    // Past the Unicode range there is nothing to find: stop before overflow.
    if (cp <= 0x10FFFF) cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(d);
    Advance();
  }
  if (digits == 0) Fail(at, "Expected a character code after '#'");
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    Fail(at, Format("Invalid character code %s", text_.substr(start, at_ - start)));
  AppendUtf8(out, cp);
}

FormToken FormLexer::LexString() {
  FormToken t;
  t.kind = FormTokenKind::String;
  t.pos = pos_;
  for (;;) {
    if (Peek() == '#' && !AtEnd()) {
      LexCharCode(t.text);
    } else if (Peek() == '\'' && !AtEnd()) {
      FormPos open = pos_;
      Advance();
      for (;;) {
        if (AtEnd() || Peek() == '\n' || Peek() == '\r') Fail(open, "Unterminated string");
        if (Peek() == '\'') {
          Advance();
          if (Peek() != '\'' || AtEnd()) break;
        }
        t.text.push_back(Peek());
        Advance();
      }
    } else {
      return t;
    }
  }
}

FormToken FormLexer::LexBinary() {
  FormToken t;
  t.kind = FormTokenKind::Binary;
  t.pos = pos_;
  Advance();  // '{'
  int high = -1;
  for (;;) {
    if (AtEnd()) Fail(t.pos, "Unterminated binary data: '}' is missing");
    char c = Peek();
    if (c == '}') break;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      Advance();
      continue;
    }
    int v = HexValue(c);
    if (v < 0) Fail(pos_, "Invalid character in binary data: only hex digits are allowed");
    if (high < 0) {
      high = v;
    } else {
      t.bytes.push_back(static_cast<uint8_t>(high << 4 | v));
      high = -1;
    }
    Advance();
  }
  if (high >= 0) Fail(t.pos, "Odd number of hex digits in binary data");
  Advance();  // '}'
  return t;
}

}  // namespace wenmoor
