#include "platform/rtl/sysutils.h"

#include <cctype>
#include <charconv>

#include "platform/rtl/exceptions.h"

namespace wenmoor {

std::string TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ') ++i;
  return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && static_cast<unsigned char>(s[n - 1]) <= ' ') --n;
  return std::string(s.substr(0, n));
}

std::string Trim(std::string_view s) { return TrimLeft(TrimRight(s)); }

std::string UpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string LowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

int CompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int x = std::toupper(static_cast<unsigned char>(a[i]));
    int y = std::toupper(static_cast<unsigned char>(b[i]));
    if (x != y) return x - y;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

size_t PosText(std::string_view needle, std::string_view haystack) {
  if (needle.empty()) return 0;
  for (size_t i = 0; i + needle.size() <= haystack.size(); ++i)
    if (CompareText(haystack.substr(i, needle.size()), needle) == 0) return i;
  return std::string_view::npos;
}

std::string IntToStr(int64_t v) { return std::to_string(v); }

int64_t StrToIntDef(std::string_view s, int64_t def) {
  std::string t = Trim(s);
  if (t.empty()) return def;
  int64_t v = 0;
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || ptr != t.data() + t.size()) return def;
  return v;
}

int64_t StrToInt(std::string_view s) {
  std::string t = Trim(s);
  int64_t v = 0;
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (t.empty() || ec != std::errc() || ptr != t.data() + t.size())
    throw EConvertError("'%s' is not a valid integer value", std::string(s));
  return v;
}

namespace {
// Index just after the last "\" or ":" (the start of the name part).
size_t NameStart(std::string_view f) {
  size_t i = f.find_last_of("\\:");
  return i == std::string_view::npos ? 0 : i + 1;
}
}  // namespace

std::string ExtractFilePath(std::string_view f) { return std::string(f.substr(0, NameStart(f))); }

std::string ExtractFileDir(std::string_view f) {
  size_t i = NameStart(f);
  // Keep the backslash of a root ("C:\") and of a lone "\".
  if (i > 0 && f[i - 1] == '\\' && !(i == 1 || (i >= 2 && f[i - 2] == ':'))) --i;
  return std::string(f.substr(0, i));
}

std::string ExtractFileName(std::string_view f) { return std::string(f.substr(NameStart(f))); }

std::string ExtractFileExt(std::string_view f) {
  size_t i = f.find_last_of("\\:.");
  if (i == std::string_view::npos || f[i] != '.') return {};
  return std::string(f.substr(i));
}

std::string ChangeFileExt(std::string_view f, std::string_view ext) {
  size_t i = f.find_last_of("\\:.");
  if (i == std::string_view::npos || f[i] != '.') i = f.size();
  return std::string(f.substr(0, i)) + std::string(ext);
}

std::string ExtractFileDrive(std::string_view f) {
  if (f.size() >= 2 && f[1] == ':') return std::string(f.substr(0, 2));
  if (f.size() >= 2 && f[0] == '\\' && f[1] == '\\') {
    size_t server_end = f.find('\\', 2);
    if (server_end == std::string_view::npos) return std::string(f);
    size_t share_end = f.find('\\', server_end + 1);
    return std::string(f.substr(0, share_end == std::string_view::npos ? f.size() : share_end));
  }
  return {};
}

std::string IncludeTrailingBackslash(std::string_view s) {
  std::string out(s);
  if (out.empty() || out.back() != '\\') out.push_back('\\');
  return out;
}

std::string ExcludeTrailingBackslash(std::string_view s) {
  std::string out(s);
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

}  // namespace wenmoor
