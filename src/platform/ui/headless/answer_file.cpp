#include "platform/ui/headless/answer_file.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "platform/rtl/format.h"

namespace wenmoor {
namespace {

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Reads one statement line; `pos` walks along it.
class LineReader {
 public:
  LineReader(std::string_view line, const std::string& file, int number)
      : line_(line), file_(file), number_(number) {}

  [[noreturn]] void Fail(const std::string& reason) const { throw EAnswerFileError(file_, number_, reason); }

  void SkipBlanks() {
    while (pos_ < line_.size() && IsBlank(line_[pos_])) ++pos_;
  }
  bool AtEnd() {
    SkipBlanks();
    return pos_ >= line_.size();
  }
  char Peek() {
    SkipBlanks();
    return pos_ < line_.size() ? line_[pos_] : '\0';
  }
  void Expect(char c, const char* what) {
    if (Peek() != c) Fail(Format("expected %s", what));
    ++pos_;
  }
  void ExpectEnd(const char* after) {
    if (!AtEnd()) Fail(Format("unexpected text after %s: \"%s\"", after, line_.substr(pos_)));
  }

  // An identifier, or "" when none stands here.
  std::string Ident() {
    SkipBlanks();
    size_t start = pos_;
    if (pos_ < line_.size() && IsIdentStart(line_[pos_])) {
      ++pos_;
      while (pos_ < line_.size() && IsIdentChar(line_[pos_])) ++pos_;
    }
    return std::string(line_.substr(start, pos_ - start));
  }

  // A double-quoted string with its escapes decoded.
  std::string Quoted() {
    SkipBlanks();
    if (pos_ >= line_.size() || line_[pos_] != '"') Fail("expected a double-quoted text");
    ++pos_;
    std::string out;
    while (true) {
      if (pos_ >= line_.size()) Fail("the quoted text is not closed");
      char c = line_[pos_++];
      if (c == '"') return out;
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (pos_ >= line_.size()) Fail("the quoted text is not closed");
      char e = line_[pos_++];
      switch (e) {
        case '"':
        case '\\':
          out.push_back(e);
          break;
        case 'n':
          out.push_back('\n');
          break;
        case 'r':
          out.push_back('\r');
          break;
        case 't':
          out.push_back('\t');
          break;
        default:
          Fail(Format("unknown escape \\%s in quoted text (write \\\\ for a backslash)", std::string(1, e)));
      }
    }
  }

  // The value after "=": quoted (and then the end of the line) or the rest.
  std::string Value() {
    if (Peek() == '"') {
      std::string v = Quoted();
      ExpectEnd("the quoted value");
      return v;
    }
    std::string_view rest = line_.substr(pos_);
    while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);
    pos_ = line_.size();
    return std::string(rest);
  }

  std::string_view Rest() {
    SkipBlanks();
    return line_.substr(pos_);
  }

 private:
  std::string_view line_;
  const std::string& file_;
  int number_;
  size_t pos_ = 0;
};

bool ParseKind(std::string_view word, AnswerKind& kind) {
  static constexpr std::pair<std::string_view, AnswerKind> kKinds[] = {
      {"form", AnswerKind::Form}, {"message", AnswerKind::Message}, {"input", AnswerKind::Input}, {"folder", AnswerKind::Folder}};
  for (const auto& [name, k] : kKinds) {
    if (word.size() != name.size()) continue;
    bool same = true;
    for (size_t i = 0; i < word.size(); ++i) same = same && Fold(word[i]) == name[i];
    if (same) {
      kind = k;
      return true;
    }
  }
  return false;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

AnswerSection ParseHeader(LineReader& r, int line) {
  r.Expect('[', "[");
  AnswerSection s;
  s.line = line;
  std::string kind = r.Ident();
  if (kind.empty()) r.Fail("a section header starts with form, message, input or folder");
  if (!ParseKind(kind, s.kind)) r.Fail(Format("unknown section kind \"%s\" (form, message, input or folder)", kind));
  s.pattern = r.Quoted();
  if (s.pattern.empty()) r.Fail("the pattern of a section must not be empty (\"*\" matches everything)");
  if (r.Peek() != ']') {
    std::string flag = r.Ident();
    if (!SameWord(flag, "every")) r.Fail(Format("expected \"every\" or ] after the pattern, found \"%s\"", r.Rest()));
    s.every = true;
  }
  r.Expect(']', "] at the end of the section header");
  r.ExpectEnd("the section header");
  return s;
}

AnswerAction ParseAction(LineReader& r, const AnswerSection& s, int line) {
  AnswerAction a;
  a.line = line;
  std::string verb = r.Ident();
  if (verb.empty()) r.Fail(Format("expected an action (set, check, select or press), found \"%s\"", r.Rest()));
  const char* kind = AnswerKindName(s.kind);
  if (SameWord(verb, "press")) {
    a.verb = AnswerAction::Verb::Press;
    if (r.Peek() == '"') {
      a.target = r.Quoted();
      a.target_is_pattern = true;
    } else {
      a.target = r.Ident();
      if (a.target.empty()) r.Fail("press needs a button: a name, a quoted caption or default");
      a.press_default = SameWord(a.target, "default");
    }
    r.ExpectEnd("the button");
    if ((s.kind == AnswerKind::Input || s.kind == AnswerKind::Folder) && !a.press_default &&
        (a.target_is_pattern || (!SameWord(a.target, "OK") && !SameWord(a.target, "Cancel"))))
      r.Fail(Format("a %s box has only the buttons OK and Cancel", kind));
    return a;
  }
  if (SameWord(verb, "set")) {
    a.verb = AnswerAction::Verb::Set;
    a.target = r.Ident();
    if (a.target.empty()) r.Fail("set needs a name: set Name = text");
    if (s.kind == AnswerKind::Message) r.Fail("a message section only presses a button");
    if (s.kind == AnswerKind::Input && !SameWord(a.target, "text"))
      r.Fail(Format("an input section sets only \"text\", not \"%s\"", a.target));
    if (s.kind == AnswerKind::Folder && !SameWord(a.target, "path"))
      r.Fail(Format("a folder section sets only \"path\", not \"%s\"", a.target));
    r.Expect('=', "= after the name");
    a.value = r.Value();
    return a;
  }
  if (SameWord(verb, "check") || SameWord(verb, "select")) {
    const bool check = SameWord(verb, "check");
    a.verb = check ? AnswerAction::Verb::Check : AnswerAction::Verb::Select;
    if (s.kind != AnswerKind::Form) r.Fail(Format("%s is an action of form sections only", verb));
    a.target = r.Ident();
    if (a.target.empty()) r.Fail(Format("%s needs the name of a control", verb));
    r.Expect('=', "= after the name");
    if (check) {
      std::string v = r.Ident();
      if (SameWord(v, "true")) a.checked = true;
      else if (SameWord(v, "false")) a.checked = false;
      else r.Fail(Format("check takes true or false, not \"%s\"", v.empty() ? std::string(r.Rest()) : v));
      r.ExpectEnd("the value");
      return a;
    }
    if (r.Peek() == '"') {
      a.value = r.Quoted();
      r.ExpectEnd("the item");
      return a;
    }
    std::string_view digits = r.Rest();
    if (digits.empty() || digits.size() > 6 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
      r.Fail(Format("select takes an item number (0 is the first) or a quoted item text, not \"%s\"", digits));
    a.index = 0;
    for (char c : digits) a.index = a.index * 10 + (c - '0');
    return a;
  }
  r.Fail(Format("unknown action \"%s\" (set, check, select or press)", verb));
}

}  // namespace

EAnswerFileError::EAnswerFileError(const std::string& file, int line, const std::string& reason)
    : EUiBackendError(line > 0 ? Format("%s:%d: %s", file, line, reason) : Format("%s: %s", file, reason)),
      file_(file),
      line_(line),
      reason_(reason) {}

const char* AnswerKindName(AnswerKind kind) {
  switch (kind) {
    case AnswerKind::Form:
      return "form";
    case AnswerKind::Message:
      return "message";
    case AnswerKind::Input:
      return "input";
    case AnswerKind::Folder:
      return "folder";
  }
  return "?";
}

const AnswerAction* AnswerSection::Press() const {
  return !actions.empty() && actions.back().verb == AnswerAction::Verb::Press ? &actions.back() : nullptr;
}

AnswerFile AnswerFile::Parse(std::string_view text, const std::string& file_name) {
  AnswerFile file;
  file.file_name_ = file_name;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int number = 0;
  size_t at = 0;
  while (at <= text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    LineReader r(line, file.file_name_, number);
    if (line.find('\0') != std::string_view::npos) r.Fail("the line holds a NUL character");
    char first = r.Peek();
    if (first == '\0' || first == '#' || first == ';') continue;
    if (first == '[') {
      file.sections_.push_back(ParseHeader(r, number));
      continue;
    }
    if (file.sections_.empty()) r.Fail("an action before the first section header ([form \"...\"])");
    AnswerSection& s = file.sections_.back();
    if (s.Press()) r.Fail(Format("nothing may follow the press of a section (line %d)", s.actions.back().line));
    s.actions.push_back(ParseAction(r, s, number));
  }
  file.used_.assign(file.sections_.size(), false);
  return file;
}

AnswerFile AnswerFile::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EAnswerFileError(path, 0, "cannot open the answer file");
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) throw EAnswerFileError(path, 0, "cannot read the answer file");
  return Parse(content.str(), path);
}

const AnswerSection* AnswerFile::Take(AnswerKind kind, const std::vector<std::string>& keys) {
  for (size_t i = 0; i < sections_.size(); ++i) {
    const AnswerSection& s = sections_[i];
    if (s.kind != kind || (!s.every && used_[i])) continue;
    for (const std::string& key : keys) {
      if (key.empty() || !GlobMatch(s.pattern, key)) continue;
      used_[i] = true;
      return &s;
    }
  }
  return nullptr;
}

std::vector<const AnswerSection*> AnswerFile::Unused() const {
  std::vector<const AnswerSection*> out;
  for (size_t i = 0; i < sections_.size(); ++i)
    if (!sections_[i].every && !used_[i]) out.push_back(&sections_[i]);
  return out;
}

bool GlobMatch(std::string_view pattern, std::string_view text) {
  // The classic two-pointer match: on a mismatch, go back to the last '*'
  // and let it swallow one more character.
  size_t p = 0, t = 0;
  size_t star = std::string_view::npos, mark = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(text[t]))) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace wenmoor
