// The language text format: what a list of lines yields, and the errors
// with the number of the offending line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "translation/language_text.h"

namespace wenmoor {
namespace {

struct Text {
  int glid;
  int line;
  std::string text;
};
struct Memo {
  int glid;
  int line;
  std::vector<std::string> lines;
};

struct GoodCase {
  const char* what;
  std::vector<std::string> lines;
  std::vector<Text> texts;
  std::vector<Memo> memos;
};

TEST(LanguageTextTest, LinesGiveTextsAndMemos) {
  const GoodCase cases[] = {
      {"one text", {"5;Next >"}, {{5, 0, "Next >"}}, {}},
      {"a blank after the ';' belongs to the text", {"5; Next >"}, {{5, 0, " Next >"}}, {}},
      {"the line is trimmed first", {"  \t5;Next >  \r"}, {{5, 0, "Next >"}}, {}},
      {"a second ';' ends the text", {"12;a;b"}, {{12, 0, "a"}}, {}},
      {"signs", {"-3;minus", "+4;plus"}, {{-3, 0, "minus"}, {4, 1, "plus"}}, {}},
      {"empty lines and comments are skipped but counted",
       {"", "* a comment", "   ", "7;Seven"},
       {{7, 3, "Seven"}},
       {}},
      {"the example of six lines",
       {"5;Next >", "* any words", "#40;", "First line of the memo", "Second line of the memo", "#"},
       {{5, 0, "Next >"}},
       {{40, 2, {"First line of the memo", "Second line of the memo"}}}},
      {"a memo opener without ';', and what follows the ';' is ignored",
       {"#12", "a", "#", "#13;ignored;too", "b", "#"},
       {},
       {{12, 0, {"a"}}, {13, 3, {"b"}}}},
      {"memo lines are trimmed; blank and '*' lines inside are dropped; '#x' is a memo line",
       {"#1;", "  one  ", "", "* note", "#2;", "  two", "#"},
       {},
       {{1, 0, {"one", "#2;", "two"}}}},
      {"a memo not closed is lost", {"4;four", "#9;", "lost line"}, {{4, 0, "four"}}, {}},
      {"the same GLID twice keeps both, in order", {"6;a", "6;b"}, {{6, 0, "a"}, {6, 1, "b"}}, {}},
      {"UTF-8 texts", {"6;Abbrechen", "2;Zurück"}, {{6, 0, "Abbrechen"}, {2, 1, "Zurück"}}, {}},
  };
  for (const GoodCase& c : cases) {
    SCOPED_TRACE(c.what);
    const ParsedLanguageText parsed = ParseLanguageText(c.lines);
    ASSERT_EQ(parsed.strings.size(), c.texts.size());
    for (size_t i = 0; i < c.texts.size(); ++i) {
      EXPECT_EQ(parsed.strings[i].glid, c.texts[i].glid);
      EXPECT_EQ(parsed.strings[i].line, c.texts[i].line);
      EXPECT_EQ(parsed.strings[i].text, c.texts[i].text);
    }
    ASSERT_EQ(parsed.memos.size(), c.memos.size());
    for (size_t i = 0; i < c.memos.size(); ++i) {
      EXPECT_EQ(parsed.memos[i].glid, c.memos[i].glid);
      EXPECT_EQ(parsed.memos[i].line, c.memos[i].line);
      EXPECT_EQ(parsed.memos[i].lines, c.memos[i].lines);
    }
  }
}

TEST(LanguageTextTest, ErrorsNameTheLineFromZeroAndTheTrimmedLine) {
  const struct {
    const char* what;
    std::vector<std::string> lines;
    std::string message;
  } cases[] = {
      {"no ';' and so no text", {"1;one", "12"},
       "The 1'th string (12) does not have the proper format of GLID;Text"},
      {"an empty number", {";text"}, "The 0'th string (;text) does not have the proper format of GLID;Text"},
      {"a text that is blank", {"", "3;   ;x  "},
       "The 1'th string (3;   ;x) does not have the proper format of GLID;Text"},
      {"a number that does not convert", {"* c", "x5;Next"},
       "The 1'th string (x5;Next) does not have the proper format of GLID;Text or .GLID;"},
      {"a number with blanks inside", {"5 ;Next"},
       "The 0'th string (5 ;Next) does not have the proper format of GLID;Text or .GLID;"},
      {"a number beyond 32 bits", {"4294967301;x"},
       "The 0'th string (4294967301;x) does not have the proper format of GLID;Text or .GLID;"},
      {"hexadecimal is no GLID", {"0x10;x"},
       "The 0'th string (0x10;x) does not have the proper format of GLID;Text or .GLID;"},
      {"a memo opener without a number", {"#;"}, "The 0'th string (#;) does not have the proper format of GLID;Text"},
      {"a memo opener whose number does not convert", {"", "", "#ab;"},
       "The 2'th string (#ab;) does not have the proper format of GLID;Text or .GLID;"},
      {"an end of memo outside a memo", {"1;a", "  #  "},
       "Found the end of memo marker # at line 1. Was not in a memo however"},
      {"a second end of memo", {"#1", "a", "#", "#"},
       "Found the end of memo marker # at line 3. Was not in a memo however"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      ParseLanguageText(c.lines);
      ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

TEST(LanguageTextTest, TextsAreCutAfter255CharactersWithoutSplittingOne) {
  const std::string ascii(300, 'a');
  EXPECT_EQ(ParseLanguageText({"1;" + ascii}).strings[0].text, std::string(255, 'a'));
  // Two bytes a character: 255 characters are 510 bytes, and no byte of
  // the 256th is kept.
  std::string umlauts;
  for (int i = 0; i < 300; ++i) umlauts += "ü";
  const std::string cut = ParseLanguageText({"1;" + umlauts}).strings[0].text;
  EXPECT_EQ(cut.size(), 510u);
  EXPECT_EQ(cut.substr(508), "ü");
  EXPECT_EQ(ParseLanguageText({"1;" + std::string(255, 'b')}).strings[0].text.size(), 255u);
}

}  // namespace
}  // namespace wenmoor
