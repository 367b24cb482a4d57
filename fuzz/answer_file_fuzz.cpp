// Answer files from outside: any input is either refused with
// EAnswerFileError (naming a line of the input) or read; what is read has
// sections whose actions obey the rules, and its patterns can be matched.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ui/headless/answer_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wenmoor;
  const std::string text(reinterpret_cast<const char*>(data), size);
  AnswerFile file;
  try {
    file = AnswerFile::Parse(text, "fuzz.txt");
  } catch (const EAnswerFileError& e) {
    if (e.Line() < 1) std::abort();
    return 0;
  }
  for (const AnswerSection& s : file.Sections()) {
    if (s.pattern.empty()) std::abort();
    for (size_t i = 0; i < s.actions.size(); ++i) {
      const AnswerAction& a = s.actions[i];
      if (a.verb == AnswerAction::Verb::Press && i + 1 != s.actions.size()) std::abort();
      if (s.kind == AnswerKind::Message && a.verb != AnswerAction::Verb::Press) std::abort();
    }
    // Patterns are matched against texts of any length; the match must
    // end, whatever the pattern.
    GlobMatch(s.pattern, text.substr(0, 256));
  }
  file.Take(AnswerKind::Form, {"Welcome", "MainForm", "TForm"});
  file.Take(AnswerKind::Message, {text.substr(0, 64)});
  return 0;
}
