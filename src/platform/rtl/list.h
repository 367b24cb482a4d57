// TList: a plain ordered list of object references that owns nothing, as
// the component library's list; reports pass it as a parameter object.
#pragma once

#include <initializer_list>
#include <vector>

#include "platform/rtl/persistent.h"

namespace wenmoor {

class TList : public TObject {
 public:
  TList() = default;
  TList(std::initializer_list<TObject*> items) : items_(items) {}
  int Count() const { return static_cast<int>(items_.size()); }
  // Null for an index out of range (callers check what they receive).
  TObject* Items(int index) const {
    return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)] : nullptr;
  }
  void Add(TObject* o) { items_.push_back(o); }
  void Clear() { items_.clear(); }

 private:
  std::vector<TObject*> items_;
};

}  // namespace wenmoor
