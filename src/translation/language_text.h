// The text format of a language: lines of "GLID;Text" and memos.
//
//   5;Next >             a one-line text with GLID 5
//   * any words          a comment (also inside a memo)
//   #40;                 opens memo 40 (the ";" and what follows may be left out)
//   First line           lines of the memo, each trimmed
//   #                    closes the memo
//
// Lines are numbered from 0 and trimmed of blanks and control characters
// before anything else; empty lines are skipped. A one-line text runs from
// the character after the first ";" (a blank there belongs to the text) to
// the second ";" or the end, and keeps at most kMaxTextLength characters.
// A memo still open at the end is dropped. Errors raise Exception with the
// number of the line and the trimmed line:
//   "The %d'th string (%s) does not have the proper format of GLID;Text"
//       (no number, or an empty text)
//   "The %d'th string (%s) does not have the proper format of GLID;Text or .GLID;"
//       (a number that does not convert)
//   "Found the end of memo marker # at line %d. Was not in a memo however"
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wenmoor {

struct ParsedLanguageString {
  int32_t glid = 0;
  int line = 0;  // index of its line
  std::string text;
};

struct ParsedLanguageMemo {
  int32_t glid = 0;
  int line = 0;  // index of its opening line
  std::vector<std::string> lines;
};

struct ParsedLanguageText {
  std::vector<ParsedLanguageString> strings;
  std::vector<ParsedLanguageMemo> memos;
};

// The longest one-line text, in characters (a short string of the runtime).
constexpr size_t kMaxTextLength = 255;

ParsedLanguageText ParseLanguageText(const std::vector<std::string>& lines);

}  // namespace wenmoor
