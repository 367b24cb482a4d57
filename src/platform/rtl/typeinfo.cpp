#include "platform/rtl/typeinfo.h"

#include <cctype>

namespace wenmoor {

namespace {
// ASCII folding, as the "C" locale folds: identifiers are ASCII, and this
// runs for every name lookup, so it avoids a library call per character.
char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

EnumInfo::EnumInfo(std::string_view type_name, std::string_view names) : type_name_(type_name) {
  std::string current;
  for (char c : names) {
    if (c == ',') {
      names_.push_back(current);
      current.clear();
    } else if (!std::isspace(static_cast<unsigned char>(c))) {
      current.push_back(c);
    }
  }
  if (!current.empty()) names_.push_back(current);
}

const std::string& EnumInfo::Name(int ordinal) const {
  static const std::string empty;
  return ordinal >= 0 && ordinal < Count() ? names_[static_cast<size_t>(ordinal)] : empty;
}

int EnumInfo::ValueOf(std::string_view ident) const {
  for (size_t i = 0; i < names_.size(); ++i)
    if (SameText(names_[i], ident)) return static_cast<int>(i);
  return -1;
}

}  // namespace wenmoor
