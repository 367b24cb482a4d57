// The tokens of the form text format (the text of a stored component tree).
//
//   identifier   Name, TForm1, itFull, True             letters, digits, '_'
//   integer      12, -4, $1F                          decimal or '$' hex, with '-'
//   float        1.5, -0.25, 1.5E3, 2e-3              digits '.' digits and/or an exponent
//   string       'it''s', #13#10, 'a'#13#10'b'        quoted parts and #code parts
//                                                     written together form one token
//   binary       { 0A0B 0c }                          hex pairs, any white space between
//   symbol       : = . , [ ] ( ) < > + -
//
// White space (including line breaks) separates tokens; it matters only
// between string parts: `'a' 'b'` are two strings (two items of a list),
// `'a''b'` and `'a'#9'b'` one. The text is UTF-8 (an initial byte-order mark
// is skipped); quoted parts keep their bytes as they are, and `#n` is the
// Unicode code point n (decimal, or hex with `#$`), stored as UTF-8.
//
// Every token carries the line and column of its first character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/form_error.h"

namespace wenmoor {

enum class FormTokenKind : uint8_t { EndOfText, Ident, Integer, Float, String, Binary, Symbol };

struct FormToken {
  FormTokenKind kind = FormTokenKind::EndOfText;
  FormPos pos;
  // Ident: the name; Symbol: the character; Integer and Float: the source
  // text; String: the decoded value.
  std::string text;
  int64_t integer = 0;  // Integer (a '$' literal above INT64_MAX keeps its 64 bits)
  bool hex = false;     // Integer written in '$' hex
  double real = 0;      // Float
  std::vector<uint8_t> bytes;  // Binary

  bool IsSymbol(char c) const { return kind == FormTokenKind::Symbol && text.size() == 1 && text[0] == c; }
  // An identifier equal to `word` without regard to case.
  bool IsWord(std::string_view word) const;
};

// How a token is named in an error message: "'end'", "a string", "the end
// of the text", ...
std::string DescribeToken(const FormToken& token);

class FormLexer {
 public:
  // `text` must outlive the lexer; `file_name` only names it in errors.
  FormLexer(std::string_view text, std::string file_name);

  // The next token; EndOfText at the end (and on every call after it).
  // Raises EFormError for an unterminated string or binary block, a bad
  // number, a bad character code, or a character that starts no token.
  FormToken Next();

  const std::string& FileName() const { return file_name_; }
  [[noreturn]] void Fail(FormPos pos, std::string reason) const;

 private:
  bool AtEnd() const { return at_ >= text_.size(); }
  char Peek(size_t ahead = 0) const { return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0'; }
  void Advance();
  void SkipWhitespace();
  FormToken LexIdent();
  FormToken LexNumber();
  FormToken LexString();
  FormToken LexBinary();
  void LexCharCode(std::string& out);

  std::string_view text_;
  std::string file_name_;
  size_t at_ = 0;
  FormPos pos_;
};

}  // namespace wenmoor
