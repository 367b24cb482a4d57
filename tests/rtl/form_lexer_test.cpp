#include "platform/rtl/form_lexer.h"

#include <gtest/gtest.h>

namespace wenmoor {
namespace {

std::vector<FormToken> Lex(std::string_view text) {
  FormLexer lexer(text, "lex.dfm");
  std::vector<FormToken> out;
  for (;;) {
    FormToken t = lexer.Next();
    if (t.kind == FormTokenKind::EndOfText) return out;
    out.push_back(std::move(t));
  }
}

TEST(FormLexer, TokensKnowTheirLineAndColumn) {
  // Columns count characters: the two-byte 'ä' in the string is one column.
  const std::string text =
      "\xEF\xBB\xBF"  // a byte-order mark is skipped
      "object Form1: TForm\r\n"
      "  Caption = '\xC3\xA4' X\n"
      "\tData = { 0A\n 0b }\n";
  std::vector<FormToken> t = Lex(text);
  struct Want {
    FormTokenKind kind;
    const char* text;
    int line, column;
  };
  const Want want[] = {
      {FormTokenKind::Ident, "object", 1, 1},  {FormTokenKind::Ident, "Form1", 1, 8},
      {FormTokenKind::Symbol, ":", 1, 13},     {FormTokenKind::Ident, "TForm", 1, 15},
      {FormTokenKind::Ident, "Caption", 2, 3}, {FormTokenKind::Symbol, "=", 2, 11},
      {FormTokenKind::String, "\xC3\xA4", 2, 13}, {FormTokenKind::Ident, "X", 2, 17},
      {FormTokenKind::Ident, "Data", 3, 2},    {FormTokenKind::Symbol, "=", 3, 7},
      {FormTokenKind::Binary, "", 3, 9},
  };
  ASSERT_EQ(t.size(), std::size(want));
  for (size_t i = 0; i < t.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(t[i].kind, want[i].kind);
    if (want[i].kind != FormTokenKind::Binary) {
      EXPECT_EQ(t[i].text, want[i].text);
    }
    EXPECT_EQ(t[i].pos.line, want[i].line);
    EXPECT_EQ(t[i].pos.column, want[i].column);
  }
  EXPECT_EQ(t.back().bytes, (std::vector<uint8_t>{0x0A, 0x0B}));
}

TEST(FormLexer, ReadsNumbers) {
  struct Case {
    const char* text;
    FormTokenKind kind;
    int64_t integer;
    double real;
    bool hex;
  };
  const Case cases[] = {
      {"0", FormTokenKind::Integer, 0, 0, false},
      {"-12", FormTokenKind::Integer, -12, 0, false},
      {"9223372036854775807", FormTokenKind::Integer, INT64_MAX, 0, false},
      {"-9223372036854775808", FormTokenKind::Integer, INT64_MIN, 0, false},
      {"$ff", FormTokenKind::Integer, 255, 0, true},
      {"-$10", FormTokenKind::Integer, -16, 0, true},
      {"$FFFFFFFFFFFFFFFF", FormTokenKind::Integer, -1, 0, true},
      {"1.5", FormTokenKind::Float, 0, 1.5, false},
      {"-0.25", FormTokenKind::Float, 0, -0.25, false},
      {"1.5E3", FormTokenKind::Float, 0, 1500, false},
      {"2e-3", FormTokenKind::Float, 0, 0.002, false},
      {"1e+20", FormTokenKind::Float, 0, 1e20, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<FormToken> t = Lex(c.text);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].kind, c.kind);
    EXPECT_EQ(t[0].hex, c.hex);
    if (c.kind == FormTokenKind::Integer) {
      EXPECT_EQ(t[0].integer, c.integer);
    } else {
      EXPECT_DOUBLE_EQ(t[0].real, c.real);
    }
  }
  // "1." is the integer 1 and a dot; a lone minus is a symbol.
  std::vector<FormToken> t = Lex("1. - x");
  ASSERT_EQ(t.size(), 4u);
  EXPECT_EQ(t[0].kind, FormTokenKind::Integer);
  EXPECT_TRUE(t[1].IsSymbol('.'));
  EXPECT_TRUE(t[2].IsSymbol('-'));
}

TEST(FormLexer, DecodesStrings) {
  struct Case {
    const char* text;
    std::string want;
  };
  const Case cases[] = {
      {"''", ""},
      {"'it''s'", "it's"},
      {"''''", "'"},
      {"#13#10", "\r\n"},
      {"'a'#9'b'", "a\tb"},
      {"#0", std::string(1, '\0')},
      {"#127#128", "\x7F\xC2\x80"},             // code points, not bytes, above 127
      {"#$263A", "\xE2\x98\xBA"},                // hex code point
      {"#128512", "\xF0\x9F\x98\x80"},           // beyond the basic plane
      {"'\xE2\x82\xAC'", "\xE2\x82\xAC"},        // UTF-8 kept as it is
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<FormToken> t = Lex(c.text);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].kind, FormTokenKind::String);
    EXPECT_EQ(t[0].text, c.want);
  }
  // White space separates strings: these are two.
  std::vector<FormToken> two = Lex("'a' 'b'");
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[1].pos.column, 5);
}

TEST(FormLexer, RefusesMalformedTokensAtTheirPlace) {
  struct Case {
    const char* text;
    int line, column;
    const char* reason;
  };
  const Case cases[] = {
      {"x = 'open\n'", 1, 5, "Unterminated string"},
      {"  'a' #", 1, 7, "Expected a character code after '#'"},
      {"#$", 1, 1, "Expected a character code after '#'"},
      {"#99999999999999999999", 1, 1, "Invalid character code #99999999999999999999"},
      {"\n  12ab", 2, 3, "Invalid number 12ab"},
      {"$12G", 1, 1, "Invalid number $12G"},
      {"$11112222333344445", 1, 1, "Number $11112222333344445 is out of range"},
      {"9223372036854775808", 1, 1, "Number 9223372036854775808 is out of range"},
      {"{ 0A\n  0B 0", 1, 1, "Unterminated binary data: '}' is missing"},
      {"{ 0A\n  x }", 2, 3, "Invalid character in binary data: only hex digits are allowed"},
      {"a ; b", 1, 3, "Unexpected character ';'"},
      {"a \x01", 1, 3, "Unexpected character #1"},
      {"\xC3\xA4", 1, 1, "Unexpected character '\xC3\xA4'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      Lex(c.text);
      ADD_FAILURE() << "no error";
    } catch (const EFormError& e) {
      EXPECT_EQ(e.Line(), c.line);
      EXPECT_EQ(e.Column(), c.column);
      EXPECT_EQ(e.Reason(), c.reason);
      EXPECT_EQ(e.File(), "lex.dfm");
    }
  }
}

}  // namespace
}  // namespace wenmoor
