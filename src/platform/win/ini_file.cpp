// INI files: a list of lines with the sections and entries recognised.
#include "platform/win/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "platform/rtl/typeinfo.h"
#include "platform/win/files.h"
#include "platform/win/machine.h"
#include "platform/win/paths.h"
#include "platform/win/win_error.h"

namespace wenmoor::platform {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return std::string(v.substr(1, v.size() - 2));
  return std::string(v);
}

}  // namespace

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  if (text.find("\r\n") == std::string_view::npos && text.find('\n') != std::string_view::npos) ini.eol_ = "\n";
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view raw = text.substr(start, end - start);
    Line line;
    line.text = std::string(raw);
    const std::string_view t = Trim(raw);
    if (!t.empty() && t.front() == '[') {
      line.kind = Kind::Section;
      const size_t close = t.find(']');
      line.name = std::string(Trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
    } else if (!t.empty() && t.front() != ';') {
      line.kind = Kind::Entry;
      const size_t eq = t.find('=');
      line.name = std::string(Trim(t.substr(0, eq)));
      line.value = eq == std::string_view::npos ? std::string() : std::string(Trim(t.substr(eq + 1)));
    }
    ini.lines_.push_back(std::move(line));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return ini;
}

std::string IniFile::Text() const {
  std::string out;
  for (const Line& l : lines_) out += l.text + eol_;
  return out;
}

std::vector<std::string> IniFile::Sections() const {
  std::vector<std::string> names;
  for (const Line& l : lines_)
    if (l.kind == Kind::Section) names.push_back(l.name);
  return names;
}

bool IniFile::FindSection(std::string_view section, size_t& header, size_t& end) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind != Kind::Section || !SameText(lines_[i].name, section)) continue;
    header = i;
    end = i + 1;
    // The section runs to the next header; trailing blank lines stay
    // with it only when an entry follows them.
    for (size_t j = i + 1; j < lines_.size() && lines_[j].kind != Kind::Section; ++j)
      if (lines_[j].kind == Kind::Entry) end = j + 1;
    return true;
  }
  return false;
}

std::vector<std::pair<std::string, std::string>> IniFile::Entries(std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> entries;
  size_t header = 0, end = 0;
  if (!FindSection(section, header, end)) return entries;
  for (size_t i = header + 1; i < end; ++i)
    if (lines_[i].kind == Kind::Entry) entries.emplace_back(lines_[i].name, Unquote(lines_[i].value));
  return entries;
}

std::optional<std::string> IniFile::Read(std::string_view section, std::string_view key) const {
  for (const auto& [name, value] : Entries(section))
    if (SameText(name, key)) return value;
  return std::nullopt;
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value, IniWrite mode) {
  Line entry;
  entry.kind = Kind::Entry;
  entry.name = std::string(Trim(key));
  entry.value = std::string(Trim(value));
  entry.text = entry.name + "=" + std::string(value);
  size_t header = 0, end = 0;
  if (!FindSection(section, header, end)) {
    if (!lines_.empty() && !Trim(lines_.back().text).empty()) lines_.push_back(Line{});
    Line head;
    head.kind = Kind::Section;
    head.name = std::string(Trim(section));
    head.text = "[" + head.name + "]";
    lines_.push_back(std::move(head));
    lines_.push_back(std::move(entry));
    return;
  }
  for (size_t i = header + 1; i < end; ++i) {
    Line& l = lines_[i];
    if (l.kind != Kind::Entry || !SameText(l.name, entry.name)) continue;
    if (mode == IniWrite::Replace) {
      l = std::move(entry);
      return;
    }
    if (l.value == entry.value) return;  // appending the same operation twice would run it twice
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(end), std::move(entry));
}

bool IniFile::DeleteKey(std::string_view section, std::string_view key) {
  size_t header = 0, end = 0;
  if (!FindSection(section, header, end)) return false;
  bool removed = false;
  for (size_t i = end; i-- > header + 1;) {
    if (lines_[i].kind == Kind::Entry && SameText(lines_[i].name, key)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
      removed = true;
    }
  }
  return removed;
}

bool IniFile::EraseSection(std::string_view section) {
  size_t header = 0, end = 0;
  if (!FindSection(section, header, end)) return false;
  // Up to the next header: blank lines and comments of the section go too.
  size_t stop = header + 1;
  while (stop < lines_.size() && lines_[stop].kind != Kind::Section) ++stop;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header), lines_.begin() + static_cast<std::ptrdiff_t>(stop));
  return true;
}

namespace {

std::string ProfilePath(std::string_view file) {
  if (file.find_first_of("\\/") == std::string_view::npos) return GetWindowsDirectory() + "\\" + std::string(file);
  return std::string(file);
}

std::optional<std::string> ReadAll(const std::filesystem::path& host) {
  std::ifstream in(host, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view default_value,
                                    std::string_view file) {
  std::optional<std::filesystem::path> host = Machine::Current().Paths().ToHost(ProfilePath(file));
  std::optional<std::string> text = host ? ReadAll(*host) : std::nullopt;
  if (!text) return std::string(default_value);
  return IniFile::Parse(*text).Read(section, key).value_or(std::string(default_value));
}

bool WritePrivateProfileString(std::string_view section, std::optional<std::string_view> key,
                               std::optional<std::string_view> value, std::string_view file) {
  const std::string path = ProfilePath(file);
  std::optional<std::filesystem::path> host = Machine::Current().Paths().ToHost(path);
  if (!host) return false;
  IniFile ini = IniFile::Parse(ReadAll(*host).value_or(""));
  if (!key) {
    ini.EraseSection(section);
  } else if (!value) {
    ini.DeleteKey(section, *key);
  } else {
    const bool append = SameText(host->filename().string(), "WININIT.INI") && SameText(section, "Rename");
    ini.Write(section, *key, *value, append ? IniWrite::Append : IniWrite::Replace);
  }
  // Written beside the file and renamed over it, so a crash leaves the old
  // file or the new one, never half of one.
  const std::string text = ini.Text();
  std::string temp = host->string() + ".XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? Fail(ERROR_PATH_NOT_FOUND) : FailFromErrno();
  bool ok = true;
  for (size_t done = 0; ok && done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = FailFromErrno();
    else done += static_cast<size_t>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = FailFromErrno();
  if (::close(fd) != 0 && ok) ok = FailFromErrno();
  if (ok) ::chmod(temp.c_str(), 0644);
  if (ok && ::rename(temp.c_str(), host->c_str()) != 0) ok = FailFromErrno();
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace wenmoor::platform
