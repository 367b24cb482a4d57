// The answer file: what it accepts, what it refuses (with the line and the
// reason), how patterns match, and how sections are used up.
#include <gtest/gtest.h>

#include "platform/rtl/format.h"
#include "platform/ui/headless/answer_file.h"

namespace wenmoor {
namespace {

TEST(AnswerFileTest, AGoodFileGivesItsSectionsAndActions) {
  const AnswerFile f = AnswerFile::Parse(
      "\xEF\xBB\xBF# comment\r\n"
      "; another\r\n"
      "\r\n"
      "[form \"Choose \\\"Destination\\\" Location\"]\r\n"
      "  set edDestDir = C:\\Tools\\Quarry  \r\n"
      "set Memo1 = \"  two\\nlines \"\r\n"
      "check D4CB = TRUE\r\n"
      "select RG = 1\r\n"
      "select Tabs = \"Sec*\"\r\n"
      "press \"Next >\"\r\n"
      "[Message \"*\" every]\n"
      "press NoToAll\n"
      "[input \"x\"]\n"
      "set text =\n"
      "press Cancel\n"
      "[folder \"y\"]\n"
      "set path = \"\"\n"
      "press default\n",
      "a.txt");
  ASSERT_EQ(f.Sections().size(), 4u);
  const AnswerSection& form = f.Sections()[0];
  EXPECT_EQ(form.kind, AnswerKind::Form);
  EXPECT_EQ(form.pattern, "Choose \"Destination\" Location");
  EXPECT_FALSE(form.every);
  EXPECT_EQ(form.line, 4);
  ASSERT_EQ(form.actions.size(), 6u);
  EXPECT_EQ(form.actions[0].target, "edDestDir");
  EXPECT_EQ(form.actions[0].value, "C:\\Tools\\Quarry") << "unquoted: literal, trimmed";
  EXPECT_EQ(form.actions[1].value, "  two\nlines ") << "quoted: escapes, blanks kept";
  EXPECT_TRUE(form.actions[2].checked);
  EXPECT_EQ(form.actions[3].index, 1);
  EXPECT_EQ(form.actions[4].index, -1);
  EXPECT_EQ(form.actions[4].value, "Sec*");
  ASSERT_NE(form.Press(), nullptr);
  EXPECT_TRUE(form.Press()->target_is_pattern);
  EXPECT_EQ(form.Press()->target, "Next >");
  EXPECT_EQ(form.Press()->line, 10);
  EXPECT_TRUE(f.Sections()[1].every);
  EXPECT_EQ(f.Sections()[1].kind, AnswerKind::Message);
  EXPECT_EQ(f.Sections()[2].actions[0].value, "");
  EXPECT_TRUE(f.Sections()[3].Press()->press_default);
}

TEST(AnswerFileTest, BadFilesAreRefusedWithTheLineAndTheReason) {
  struct Row {
    const char* text;
    int line;
    const char* reason_part;
  };
  const Row rows[] = {
      {"press OK\n", 1, "before the first section"},
      {"[form Welcome]\n", 1, "double-quoted"},
      {"[window \"x\"]\n", 1, "unknown section kind \"window\""},
      {"[form \"x\"\n", 1, "expected \"every\" or ]"},
      {"[form \"x\" always]\n", 1, "expected \"every\" or ]"},
      {"[form \"x\"] trailing\n", 1, "unexpected text"},
      {"[form \"\"]\n", 1, "must not be empty"},
      {"[form \"open\n", 1, "not closed"},
      {"[form \"a\\qb\"]\n", 1, "unknown escape \\q"},
      {"[form \"x\"]\n\nwiggle Button1\n", 3, "unknown action \"wiggle\""},
      {"[form \"x\"]\nset = 3\n", 2, "set needs a name"},
      {"[form \"x\"]\nset Edit1 3\n", 2, "expected ="},
      {"[form \"x\"]\nset Edit1 = \"a\" b\n", 2, "unexpected text"},
      {"[form \"x\"]\ncheck CB = maybe\n", 2, "true or false"},
      {"[form \"x\"]\nselect RG = -1\n", 2, "item number"},
      {"[form \"x\"]\nselect RG = one\n", 2, "item number"},
      {"[form \"x\"]\npress\n", 2, "press needs a button"},
      {"[form \"x\"]\npress A B\n", 2, "unexpected text"},
      {"[form \"x\"]\npress A\nset E = 1\n", 3, "nothing may follow the press"},
      {"[message \"x\"]\nset E = 1\n", 2, "only presses a button"},
      {"[message \"x\"]\ncheck C = true\n", 2, "form sections only"},
      {"[input \"x\"]\nset value = 1\n", 2, "sets only \"text\""},
      {"[folder \"x\"]\nset text = 1\n", 2, "sets only \"path\""},
      {"[folder \"x\"]\npress Retry\n", 2, "only the buttons OK and Cancel"},
      {"[form \"x\"]\nset E = a\0b\n", 2, "NUL"},
  };
  for (const Row& r : rows) {
    std::string text = r.text;
    if (std::string_view(r.reason_part) == "NUL") text = std::string("[form \"x\"]\nset E = a") + '\0' + "b\n";
    try {
      AnswerFile::Parse(text, "bad.txt");
      ADD_FAILURE() << "accepted: " << r.text;
    } catch (const EAnswerFileError& e) {
      EXPECT_EQ(e.File(), "bad.txt");
      EXPECT_EQ(e.Line(), r.line) << r.text << " -> " << e.what();
      EXPECT_NE(e.Reason().find(r.reason_part), std::string::npos) << r.text << " -> " << e.what();
      EXPECT_EQ(std::string(e.what()).rfind(Format("bad.txt:%d: ", r.line), 0), 0u) << e.what();
    }
  }
}

TEST(AnswerFileTest, AMissingFileIsAnErrorThatNamesIt) {
  try {
    AnswerFile::Load("/nonexistent/answers.txt");
    FAIL();
  } catch (const EAnswerFileError& e) {
    EXPECT_EQ(e.Line(), 0);
    EXPECT_EQ(std::string(e.what()), "/nonexistent/answers.txt: cannot open the answer file");
  }
}

TEST(AnswerFileTest, PatternsMatchWithoutRegardToCase) {
  struct Row {
    const char* pattern;
    const char* text;
    bool match;
  };
  const Row rows[] = {
      {"Welcome", "welcome", true},
      {"Welcome", "Welcome!", false},
      {"*", "", true},
      {"?", "", false},
      {"W?lcome", "Walcome", true},
      {"*not properly*", "This software has been properly installed", false},
      {"*not properly*", "It has not properly installed", true},
      {"a*b*c", "aXXbYYc", true},
      {"a*b*c", "aXXbYY", false},
      {"*.txt", "notes.txt.bak", false},
      {"Line*two", "Line one\ntwo", true},
      {"**a**", "bab", true},
  };
  for (const Row& r : rows) EXPECT_EQ(GlobMatch(r.pattern, r.text), r.match) << r.pattern << " / " << r.text;
}

TEST(AnswerFileTest, SectionsAreTakenInFileOrderOnceOrEveryTime) {
  AnswerFile f = AnswerFile::Parse(
      "[form \"Welcome\"]\n[form \"W*\" every]\n[message \"Welcome\"]\n[form \"Welcome\"]\n", "a.txt");
  const std::vector<std::string> keys = {"Welcome", "MainForm", "TForm"};
  EXPECT_EQ(f.Take(AnswerKind::Form, keys)->line, 1);
  EXPECT_EQ(f.Take(AnswerKind::Form, keys)->line, 2) << "the first is used up; the every-section comes next";
  EXPECT_EQ(f.Take(AnswerKind::Form, keys)->line, 2) << "an every-section before a fresh one wins";
  EXPECT_EQ(f.Take(AnswerKind::Form, {"Other"}), nullptr);
  EXPECT_EQ(f.Take(AnswerKind::Form, {"", "TWelcomeForm", "Wx"})->line, 2) << "any key may match";
  EXPECT_EQ(f.Take(AnswerKind::Message, keys)->line, 3);
  ASSERT_EQ(f.Unused().size(), 1u);
  EXPECT_EQ(f.Unused()[0]->line, 4);
}

}  // namespace
}  // namespace wenmoor
