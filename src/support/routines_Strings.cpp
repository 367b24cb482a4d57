// String and path routines.
#include "support/routines_Strings.h"

namespace wenmoor {

std::string WithTrailingBackslash(std::string_view s) {
  std::string out(s);
  if (!out.empty() && out.back() != '\\') out += '\\';
  return out;
}

std::string WithoutTrailingBackslash(std::string_view s) {
  if (!s.empty() && s.back() == '\\') s.remove_suffix(1);
  return std::string(s);
}

int FieldCount(std::string_view s, char separator) {
  if (s.empty()) return 0;
  int count = 0;
  for (char c : s)
    if (c == separator) ++count;
  return s.back() == separator ? count : count + 1;
}

std::string GetField(std::string_view s, int n, char separator) {
  for (int i = 1; i < n; ++i) {
    const size_t at = s.find(separator);
    if (at == std::string_view::npos) return "";
    s.remove_prefix(at + 1);
  }
  return std::string(s.substr(0, s.find(separator)));
}

void SplitFields(std::string_view s, char separator, TStrings& list) {
  list.Clear();
  const int count = FieldCount(s, separator);
  for (int i = 1; i <= count; ++i) list.Add(GetField(s, i, separator));
}

std::string AfterDriveColon(std::string_view s) {
  const size_t colon = s.find(':');
  return std::string(colon == std::string_view::npos ? s : s.substr(colon + 1));
}

std::string MakeSafeFileName(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '/') out += '-';
    else if (std::string_view("\"*:;<>?\\|").find(c) == std::string_view::npos) out += c;
  }
  return out;
}

}  // namespace wenmoor
