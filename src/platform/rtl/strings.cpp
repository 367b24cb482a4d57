#include "platform/rtl/strings.h"

#include <algorithm>
#include <cctype>

#include "platform/rtl/exceptions.h"

namespace wenmoor {
namespace {
int CompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int x = std::toupper(static_cast<unsigned char>(a[i]));
    int y = std::toupper(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
// Keeps an update bracket balanced when a change in the middle throws.
class UpdateScope {
 public:
  explicit UpdateScope(TStrings& s) : s_(s) { s_.BeginUpdate(); }
  ~UpdateScope() { s_.EndUpdate(); }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

 private:
  TStrings& s_;
};
}  // namespace

const std::string& TStrings::Strings(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (%d)", index);
  return items_[static_cast<size_t>(index)];
}

void TStrings::Put(int index, std::string s) {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (%d)", index);
  items_[static_cast<size_t>(index)] = std::move(s);
  Changed();
}

int TStrings::Add(std::string s) {
  items_.push_back(std::move(s));
  Changed();
  return Count() - 1;
}

void TStrings::Insert(int index, std::string s) {
  if (index < 0 || index > Count()) throw EListError("List index out of bounds (%d)", index);
  items_.insert(items_.begin() + index, std::move(s));
  Changed();
}

void TStrings::Delete(int index) {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (%d)", index);
  items_.erase(items_.begin() + index);
  Changed();
}

void TStrings::Clear() {
  items_.clear();
  Changed();
}

void TStrings::EndUpdate() {
  if (update_count_ > 0 && --update_count_ == 0 && changed_in_update_) {
    changed_in_update_ = false;
    OnChange(this);
  }
}

void TStrings::Changed() {
  if (update_count_ > 0) {
    changed_in_update_ = true;
    return;
  }
  OnChange(this);
}

int TStrings::IndexOf(std::string_view s) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (CompareText(items_[i], s) == 0) return static_cast<int>(i);
  return -1;
}

std::string TStrings::Text() const {
  std::string out;
  for (const auto& s : items_) {
    out += s;
    out += "\r\n";
  }
  return out;
}

void TStrings::SetText(std::string_view text) {
  UpdateScope update(*this);
  Clear();
  size_t i = 0;
  while (i < text.size()) {
    size_t j = i;
    while (j < text.size() && text[j] != '\r' && text[j] != '\n') ++j;
    Add(std::string(text.substr(i, j - i)));
    if (j < text.size() && text[j] == '\r') ++j;
    if (j < text.size() && text[j] == '\n') ++j;
    i = j;
  }
}

std::string TStrings::Names(int index) const {
  const std::string& s = Strings(index);
  size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

int TStrings::IndexOfName(std::string_view name) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    size_t eq = items_[i].find('=');
    if (eq != std::string::npos && CompareText(std::string_view(items_[i]).substr(0, eq), name) == 0)
      return static_cast<int>(i);
  }
  return -1;
}

std::string TStrings::Values(std::string_view name) const {
  int i = IndexOfName(name);
  return i < 0 ? std::string() : items_[static_cast<size_t>(i)].substr(items_[static_cast<size_t>(i)].find('=') + 1);
}

void TStrings::SetValue(std::string_view name, std::string_view value) {
  int i = IndexOfName(name);
  std::string line = std::string(name) + "=" + std::string(value);
  if (value.empty()) {
    if (i >= 0) Delete(i);
  } else if (i >= 0) {
    Put(i, line);
  } else {
    Add(line);
  }
}

void TStrings::SetLines(const std::vector<std::string>& lines) {
  UpdateScope update(*this);
  Clear();
  for (const auto& l : lines) Add(l);
}

void TStrings::Assign(const TPersistent& source) {
  if (auto* s = dynamic_cast<const TStrings*>(&source)) {
    if (s != this) SetLines(s->items_);
    return;
  }
  TPersistent::Assign(source);
}

int TStringList::Compare(std::string_view a, std::string_view b) const {
  if (case_sensitive_) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
  return CompareText(a, b);
}

bool TStringList::Find(std::string_view s, int& index) const {
  int lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = Compare(items_[static_cast<size_t>(mid)], s);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) found = true;
    }
  }
  index = lo;
  return found;
}

int TStringList::Add(std::string s) {
  if (!sorted_) return TStrings::Add(std::move(s));
  int index = 0;
  if (Find(s, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw EListError("String list does not allow duplicates");
  }
  items_.insert(items_.begin() + index, std::move(s));
  Changed();
  return index;
}

int TStringList::IndexOf(std::string_view s) const {
  if (!sorted_) {
    for (size_t i = 0; i < items_.size(); ++i)
      if (Compare(items_[i], s) == 0) return static_cast<int>(i);
    return -1;
  }
  int index = 0;
  return Find(s, index) ? index : -1;
}

void TStringList::Sort() {
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const std::string& a, const std::string& b) { return Compare(a, b) < 0; });
  Changed();
}

void TStringList::SetSorted(bool value) {
  if (value && !sorted_) Sort();
  sorted_ = value;
}

WENMOOR_REGISTER_CLASS(TStrings) { c.Lines("Strings", &T::Lines, &T::SetLines); }
WENMOOR_REGISTER_CLASS(TStringList) {}

}  // namespace wenmoor
