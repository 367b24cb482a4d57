// The answer file of the headless operator: what to type, tick, pick and
// press on which form, and which button to give which message box.
//
// Format (see also docs/headless.md). UTF-8 text, one statement a line;
// blank lines and lines whose first non-blank character is '#' or ';' are
// ignored. Sections start with a header and hold actions:
//
//   [form "Choose Destination Location"]     a form, by caption, name or class
//   set edDestDir = C:\Tools\Quarry           type into an edit or memo
//   check D4CB = true                         tick (true) or clear (false)
//   select RG = 1                             pick a radio item / tab by index
//   select RG = "No, I would not*"            ... or by its text (a pattern)
//   press ProceedBtn                          press a button by name,
//   press "Next >"                            ... by caption (a pattern),
//   press default                             ... or the form's default button
//
//   [message "*not properly installed*" every]
//   press OK                                  OK Cancel Abort Retry Ignore Yes No
//                                             All NoToAll YesToAll Help, a caption,
//                                             or default
//   [input "Create folder"]
//   set text = New Folder                     then press OK (default) or Cancel
//   [folder "*"]
//   set path = D:\Tools                       then press OK (default) or Cancel
//
// Headers: `[kind "pattern"]` or `[kind "pattern" every]`. A pattern is a
// double-quoted string matched without regard to case against a form's
// caption, Name or class (or those of the wizard page in front), a message
// box's text, caption or identity, an input box's caption, prompt or
// identity, a folder browser's caption or identity; '*' matches any run of
// characters (line breaks included) and '?' one character. In quoted text
// \" is a quote, \\ a backslash, \n \r \t line feed, return and tab; other
// escapes are errors. An unquoted value is the rest of the line, trimmed,
// taken literally (backslashes included).
//
// Use. When a form, box or browser comes up, the first section of its kind
// (in file order) that matches and is still available answers it: a
// section without `every` answers one showing only, one with `every` any
// number. In a form section the set/check/select actions run in order, then
// the press (at most one, and last); without a press the default button is
// pressed. No matching section: the default answer.
//
// Errors. A file that breaks these rules is refused when it is read, with
// its name, the line and the reason (EAnswerFileError); so is an answer
// that does not fit when it is used (a control the form does not show, a
// button the box does not have), with the line of the answer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/backend.h"

namespace wenmoor {

class EAnswerFileError : public EUiBackendError {
 public:
  EAnswerFileError(const std::string& file, int line, const std::string& reason);
  const std::string& File() const { return file_; }
  int Line() const { return line_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string file_;
  int line_;
  std::string reason_;
};

enum class AnswerKind : uint8_t { Form, Message, Input, Folder };

struct AnswerAction {
  enum class Verb : uint8_t { Set, Check, Select, Press };
  Verb verb = Verb::Press;
  std::string target;  // a control name, "text"/"path", a button name; or a caption pattern
  bool target_is_pattern = false;  // press "Caption"
  bool press_default = false;      // press default
  std::string value;               // set: the text; select: the item pattern
  bool checked = false;            // check
  int index = -1;                  // select by index; -1 when by text
  int line = 0;
};

struct AnswerSection {
  AnswerKind kind = AnswerKind::Form;
  std::string pattern;
  bool every = false;
  int line = 0;
  std::vector<AnswerAction> actions;
  // The press action, if any (always the last action).
  const AnswerAction* Press() const;
};

class AnswerFile {
 public:
  AnswerFile() = default;
  // Raises EAnswerFileError at the first fault.
  static AnswerFile Parse(std::string_view text, const std::string& file_name);
  // Reads and parses a file; an unreadable file is an EAnswerFileError at
  // line 0.
  static AnswerFile Load(const std::string& path);

  const std::string& FileName() const { return file_name_; }
  const std::vector<AnswerSection>& Sections() const { return sections_; }

  // The first available section of `kind` whose pattern matches one of
  // `keys`; a section without `every` is used up. Null when none.
  const AnswerSection* Take(AnswerKind kind, const std::vector<std::string>& keys);
  // Sections without `every` that answered nothing.
  std::vector<const AnswerSection*> Unused() const;

 private:
  std::string file_name_;
  std::vector<AnswerSection> sections_;
  std::vector<bool> used_;
};

// Case-insensitive (ASCII) match of `text` against `pattern` with '*' and
// '?' wildcards; linear in memory, at worst pattern × text steps.
bool GlobMatch(std::string_view pattern, std::string_view text);

const char* AnswerKindName(AnswerKind kind);

}  // namespace wenmoor
