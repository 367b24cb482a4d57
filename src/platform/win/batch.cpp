// The batch interpreter (see batch.h).
#include "platform/win/batch.h"

#include <fstream>
#include <sstream>

#include "platform/rtl/typeinfo.h"
#include "platform/win/files.h"
#include "platform/win/machine.h"
#include "platform/win/name_rules.h"
#include "platform/win/paths.h"
#include "platform/win/win_error.h"

namespace wenmoor::platform {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Splits at blanks outside quotes; the quotes themselves are dropped.
std::vector<std::string> Tokens(std::string_view s) {
  std::vector<std::string> tokens;
  std::string cur;
  bool quoted = false, any = false;
  for (char c : s) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (any) tokens.push_back(cur);
      cur.clear();
      any = false;
    } else {
      cur += c;
      any = true;
    }
  }
  if (any) tokens.push_back(cur);
  return tokens;
}

// The first word of a command and what follows it. The word ends at a
// blank or a switch ("del/q x").
void SplitCommand(std::string_view command, std::string& word, std::string_view& rest) {
  size_t end = 0;
  while (end < command.size() && command[end] != ' ' && command[end] != '\t' && command[end] != '/') ++end;
  word = FoldFileName(command.substr(0, end));
  rest = Trim(command.substr(end));
}

struct Args {
  std::vector<std::string> switches;  // upper-case, without "/"
  std::vector<std::string> paths;
  bool Has(std::string_view s) const {
    for (const std::string& sw : switches)
      if (sw == s) return true;
    return false;
  }
};

Args ParseArgs(const std::vector<std::string>& tokens) {
  Args a;
  for (const std::string& t : tokens) {
    if (t.size() >= 2 && t[0] == '/') a.switches.push_back(FoldFileName(t.substr(1)));
    else a.paths.push_back(t);
  }
  return a;
}

bool HasWildcard(std::string_view s) { return s.find_first_of("*?") != std::string_view::npos; }

std::string DirectoryOf(const std::string& path) {
  const size_t sep = path.find_last_of("\\/");
  return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

std::string Full(const std::string& path) {
  return Machine::Current().Paths().FullPath(path).value_or(path);
}

// The files and directories a path names: the matches of a wildcard, or
// the path itself when it exists.
std::vector<std::string> Matches(const std::string& path) {
  std::vector<std::string> found;
  if (HasWildcard(path)) {
    const std::string dir = DirectoryOf(Full(path));
    for (const FindData& f : FindFiles(path)) found.push_back(dir + f.name);
  } else if (GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES) {
    found.push_back(Full(path));
  }
  return found;
}

}  // namespace

int BatchInterpreter::Run(std::string_view text, const std::vector<std::string>& params) {
  params_ = params;
  lines_.clear();
  labels_.clear();
  std::istringstream in{std::string(text)};
  for (std::string line; std::getline(in, line);) {
    const std::string_view t = Trim(line);
    if (!t.empty() && t[0] == ':' && (t.size() < 2 || t[1] != ':')) {
      std::string_view name = t.substr(1);
      name = name.substr(0, name.find_first_of(" \t"));
      labels_.emplace(FoldFileName(name), lines_.size());  // the first of equal labels wins, as in cmd
    }
    lines_.push_back(line);
  }
  next_ = 0;
  size_t steps = 0;
  while (next_ < lines_.size() && exit_code_ < 0) {
    if (max_steps_ && ++steps > max_steps_) {
      err_ << "The batch file ran longer than it may.\n";
      exit_code_ = 1;
      break;
    }
    std::string_view line = Trim(lines_[next_++]);
    if (line.empty() || line[0] == ':') continue;
    bool quiet = false;
    while (!line.empty() && line[0] == '@') {
      quiet = true;
      line = Trim(line.substr(1));
    }
    const std::string expanded = Expand(line);
    if (echo_ && !quiet) out_ << expanded << "\n";
    if (!Execute(expanded)) break;
  }
  out_.flush();
  err_.flush();
  return exit_code_ >= 0 ? exit_code_ : errorlevel_;
}

std::string BatchInterpreter::Parameter(std::string_view modifiers, size_t index) const {
  if (index >= params_.size()) return "";
  const std::string& value = params_[index];
  if (modifiers.empty()) return value;
  std::string full = Full(value);
  if (modifiers.find_first_of("sS") != std::string_view::npos)
    full = Machine::Current().Paths().ShortPathName(full).value_or(full);
  const std::string mods = FoldFileName(modifiers);
  if (mods.find_first_of("DPNX") == std::string::npos) return full;  // f (and s) alone
  const size_t sep = full.find_last_of('\\');
  const std::string name = sep == std::string::npos ? full : full.substr(sep + 1);
  const size_t dot = name.find_last_of('.');
  std::string out;
  if (mods.find('D') != std::string::npos) out += full.substr(0, 2);
  if (mods.find('P') != std::string::npos) out += sep == std::string::npos ? "\\" : full.substr(2, sep - 1);
  if (mods.find('N') != std::string::npos) out += name.substr(0, dot);
  if (mods.find('X') != std::string::npos && dot != std::string::npos) out += name.substr(dot);
  return out;
}

std::string BatchInterpreter::Expand(std::string_view line) const {
  std::string out;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '%') {
      out += line[i];
      continue;
    }
    if (i + 1 >= line.size()) break;  // a lone % at the end vanishes
    const char c = line[i + 1];
    if (c == '%') {
      out += '%';
      ++i;
    } else if (c >= '0' && c <= '9') {
      const std::string& v = Parameter("", static_cast<size_t>(c - '0'));
      // A parameter that needs quotes got them on the command line.
      out += v.find(' ') != std::string::npos ? "\"" + v + "\"" : v;
      ++i;
    } else if (c == '*') {
      for (size_t k = 1; k < params_.size(); ++k) out += (k > 1 ? " " : "") + params_[k];
      ++i;
    } else if (c == '~') {
      size_t j = i + 2;
      while (j < line.size() && std::string_view("fdpnxsFDPNXS").find(line[j]) != std::string_view::npos) ++j;
      if (j < line.size() && line[j] >= '0' && line[j] <= '9') {
        out += Parameter(line.substr(i + 2, j - i - 2), static_cast<size_t>(line[j] - '0'));
        i = j;
      } else {
        out += '%';
      }
    } else {
      const size_t close = line.find('%', i + 1);
      if (close == std::string_view::npos) {
        out += line.substr(i);
        break;
      }
      out += Machine::Current().EnvironmentVariable(line.substr(i + 1, close - i - 1));  // unset: empty
      i = close;
    }
  }
  return out;
}

void BatchInterpreter::Report(const std::string& path, uint32_t error) {
  err_ << path << "\n" << FormatMessage(error) << "\n";
  errorlevel_ = 1;
}

bool BatchInterpreter::Execute(std::string_view command) {
  command = Trim(command);
  if (command.empty()) return true;
  std::string word;
  std::string_view rest;
  SplitCommand(command, word, rest);
  if (word.rfind("ECHO.", 0) == 0) {
    out_ << command.substr(5) << "\n";
    return true;
  }
  const std::vector<std::string> tokens = Tokens(rest);
  if (word == "REM" || word.rfind("::", 0) == 0) return true;
  if (word == "ECHO") {
    if (SameText(rest, "OFF")) echo_ = false;
    else if (SameText(rest, "ON")) echo_ = true;
    else if (rest.empty()) out_ << (echo_ ? "ECHO is on." : "ECHO is off.") << "\n";
    else out_ << rest << "\n";
    return true;
  }
  if (word == "GOTO") {
    std::string label = tokens.empty() ? std::string() : tokens[0];
    if (!label.empty() && label[0] == ':') label.erase(0, 1);
    if (SameText(label, "EOF")) return false;
    auto it = labels_.find(FoldFileName(label));
    if (it == labels_.end()) {
      err_ << "The system cannot find the batch label specified - " << label << "\n";
      errorlevel_ = 1;
      return false;
    }
    next_ = it->second + 1;
    return true;
  }
  if (word == "IF") return If(rest);
  if (word == "DEL" || word == "ERASE") Delete(tokens);
  else if (word == "MOVE") Move(tokens);
  else if (word == "DELTREE") DelTree(tokens);
  else if (word == "RMDIR" || word == "RD") RemoveDir(tokens);
  else if (word == "CD" || word == "CHDIR") {
    PathMap& paths = Machine::Current().Paths();
    const Args a = ParseArgs(tokens);
    if (a.paths.empty()) out_ << paths.CurrentDirectory() << "\n";
    else if (!paths.SetCurrentDirectory(a.paths[0])) Report(a.paths[0], GetLastError());
  } else if (word == "EXIT") {
    const Args a = ParseArgs(tokens);
    exit_code_ = a.paths.empty() ? errorlevel_ : std::atoi(a.paths[0].c_str());
    return false;
  } else {
    err_ << "'" << command.substr(0, command.find_first_of(" \t")) << "' is not recognized as an internal or "
         << "external command,\noperable program or batch file.\n";
    errorlevel_ = 9009;
  }
  return true;
}

bool BatchInterpreter::If(std::string_view rest) {
  bool negate = false, ignore_case = false;
  std::string word;
  std::string_view tail = rest;
  for (;;) {
    SplitCommand(tail, word, rest);
    if (word == "NOT") negate = true;
    else if (tail.size() >= 2 && SameText(tail.substr(0, 2), "/I")) {
      ignore_case = true;
      rest = Trim(tail.substr(2));
    } else break;
    tail = rest;
  }
  bool holds = false;
  std::string_view command;
  if (word == "EXIST" || word == "ERRORLEVEL") {
    // The operand is one token, quoted or not.
    size_t end = 0;
    bool quoted = false;
    while (end < rest.size() && (quoted || (rest[end] != ' ' && rest[end] != '\t'))) {
      if (rest[end] == '"') quoted = !quoted;
      ++end;
    }
    const std::vector<std::string> operand = Tokens(rest.substr(0, end));
    const std::string value = operand.empty() ? std::string() : operand[0];
    command = Trim(rest.substr(end));
    holds = word == "EXIST" ? !Matches(value).empty() : errorlevel_ >= std::atoi(value.c_str());
  } else {
    const size_t eq = tail.find("==");
    if (eq == std::string_view::npos) {
      err_ << "The syntax of the command is incorrect.\n";
      errorlevel_ = 1;
      return true;
    }
    const std::string_view left = Trim(tail.substr(0, eq));
    std::string_view after = Trim(tail.substr(eq + 2));
    const size_t end = after.find_first_of(" \t");
    const std::string_view right = after.substr(0, end);
    command = end == std::string_view::npos ? std::string_view() : Trim(after.substr(end));
    holds = ignore_case ? SameText(left, right) : left == right;
  }
  if (holds != negate) return Execute(command);
  return true;
}

void BatchInterpreter::Delete(const std::vector<std::string>& tokens) {
  const Args a = ParseArgs(tokens);
  for (const std::string& path : a.paths) {
    std::vector<std::string> targets;
    for (const std::string& found : Matches(path)) {
      if (DirectoryExists(found)) {  // a directory: the files in it
        for (const FindData& f : FindFiles(found + "\\*"))
          if (!(f.attributes & FILE_ATTRIBUTE_DIRECTORY)) targets.push_back(found + "\\" + f.name);
      } else {
        targets.push_back(found);
      }
    }
    if (targets.empty() && !DirectoryExists(path)) {
      err_ << "Could Not Find " << Full(path) << "\n";
      continue;
    }
    for (const std::string& t : targets) {
      if (a.Has("F")) {
        const uint32_t attrs = GetFileAttributes(t);
        if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY))
          SetFileAttributes(t, attrs & ~FILE_ATTRIBUTE_READONLY);
      }
      if (!DeleteFile(t)) Report(t, GetLastError());
    }
  }
}

void BatchInterpreter::Move(const std::vector<std::string>& tokens) {
  const Args a = ParseArgs(tokens);
  if (a.paths.size() != 2) {
    err_ << "The syntax of the command is incorrect.\n";
    errorlevel_ = 1;
    return;
  }
  const std::vector<std::string> sources = Matches(a.paths[0]);
  if (sources.empty()) {
    Report(Full(a.paths[0]), ERROR_FILE_NOT_FOUND);
    return;
  }
  const bool into_dir = DirectoryExists(a.paths[1]);
  if (sources.size() > 1 && !into_dir) {
    err_ << "Cannot move multiple files to a single file.\n";
    errorlevel_ = 1;
    return;
  }
  int moved = 0;
  for (const std::string& src : sources) {
    std::string target = a.paths[1];
    if (into_dir) target = Full(target) + "\\" + src.substr(src.find_last_of('\\') + 1);
    if (MoveFileEx(src, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) ++moved;
    else Report(src, GetLastError());
  }
  out_ << "        " << moved << " file(s) moved.\n";
}

bool BatchInterpreter::RemoveTree(const std::string& dir) {
  bool ok = true;
  for (const FindData& f : FindFiles(dir + "\\*")) {
    const std::string path = dir + "\\" + f.name;
    if (f.attributes & FILE_ATTRIBUTE_DIRECTORY) {
      ok = RemoveTree(path) && ok;
      continue;
    }
    if (f.attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributes(path, f.attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!DeleteFile(path)) {
      Report(path, GetLastError());
      ok = false;
    }
  }
  if (ok && !RemoveDirectory(dir)) {
    Report(dir, GetLastError());
    ok = false;
  }
  return ok;
}

void BatchInterpreter::DelTree(const std::vector<std::string>& tokens) {
  const Args a = ParseArgs(tokens);
  for (const std::string& path : a.paths) {
    for (const std::string& found : Matches(path)) {
      out_ << "Deleting " << found << "...\n";
      if (DirectoryExists(found)) {
        RemoveTree(found);
        continue;
      }
      const uint32_t attrs = GetFileAttributes(found);
      if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY))
        SetFileAttributes(found, attrs & ~FILE_ATTRIBUTE_READONLY);
      if (!DeleteFile(found)) Report(found, GetLastError());
    }
  }
}

void BatchInterpreter::RemoveDir(const std::vector<std::string>& tokens) {
  const Args a = ParseArgs(tokens);
  for (const std::string& path : a.paths) {
    const std::string full = Full(path);
    if (!DirectoryExists(full)) {
      Report(full, GetFileAttributes(full) == INVALID_FILE_ATTRIBUTES ? ERROR_FILE_NOT_FOUND : ERROR_DIRECTORY);
    } else if (a.Has("S")) {
      RemoveTree(full);
    } else if (!RemoveDirectory(full)) {
      Report(full, GetLastError());
    }
  }
}

int RunBatchFile(std::string_view win_path, const std::vector<std::string>& params, std::ostream& out,
                 std::ostream& err) {
  std::optional<std::filesystem::path> host = Machine::Current().Paths().ToHost(win_path);
  std::ifstream in;
  if (host) in.open(*host, std::ios::binary);
  if (!in) {
    err << "The batch file cannot be found.\n";
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();
  BatchInterpreter interpreter(out, err);
  return interpreter.Run(text.str(), params);
}

}  // namespace wenmoor::platform
