// TStrings / TStringList: an ordered list of strings, with the Name=Value
// helpers, and stored by the script as "Strings = ( 'a' 'b' )".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/persistent.h"

namespace wenmoor {

class TStrings : public TPersistent {
  WENMOOR_CLASS(TStrings, TPersistent)
 public:
  TStrings() = default;
  TStrings(std::initializer_list<std::string> lines) : items_(lines) {}

  int Count() const { return static_cast<int>(items_.size()); }
  // Index checked: EListError "List index out of bounds (%d)".
  const std::string& Strings(int index) const;
  const std::string& operator[](int index) const { return Strings(index); }
  void Put(int index, std::string s);
  virtual int Add(std::string s);
  void Insert(int index, std::string s);
  void Delete(int index);
  virtual void Clear();
  // Index of the first entry equal to s without regard to case; -1 if none.
  virtual int IndexOf(std::string_view s) const;
  bool Empty() const { return items_.empty(); }

  // Lines joined by CR LF, each line terminated.
  std::string Text() const;
  // Splits at CR LF, LF or CR.
  void SetText(std::string_view text);
  // "Name=Value" access.
  std::string Names(int index) const;
  std::string Values(std::string_view name) const;
  void SetValue(std::string_view name, std::string_view value);
  int IndexOfName(std::string_view name) const;

  const std::vector<std::string>& Items() const { return items_; }
  std::vector<std::string> Lines() const { return items_; }
  void SetLines(const std::vector<std::string>& lines);

  void Assign(const TPersistent& source) override;
  bool operator==(const TStrings& o) const { return items_ == o.items_; }

  // Raised after every change of the lines (once per BeginUpdate/EndUpdate
  // bracket); a control that shows the lines hooks it.
  TNotifyEvent OnChange;
  // Defers OnChange until the matching EndUpdate; brackets nest.
  void BeginUpdate() { ++update_count_; }
  void EndUpdate();

 protected:
  // Called by every change; raises OnChange unless an update is open.
  virtual void Changed();
  std::vector<std::string> items_;

 private:
  int update_count_ = 0;
  bool changed_in_update_ = false;
};

enum TDuplicates : uint8_t { dupIgnore, dupAccept, dupError };
WENMOOR_ENUM(TDuplicates, dupIgnore, dupAccept, dupError)

class TStringList : public TStrings {
  WENMOOR_CLASS(TStringList, TStrings)
 public:
  using TStrings::TStrings;
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates d) { duplicates_ = d; }
  bool CaseSensitive() const { return case_sensitive_; }
  void SetCaseSensitive(bool v) { case_sensitive_ = v; }

  int Add(std::string s) override;
  int IndexOf(std::string_view s) const override;
  void Sort();

 private:
  int Compare(std::string_view a, std::string_view b) const;
  bool Find(std::string_view s, int& index) const;
  bool sorted_ = false;
  bool case_sensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
};

}  // namespace wenmoor
