#include "platform/rtl/collection.h"

#include "platform/rtl/exceptions.h"

namespace wenmoor {

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  for (int i = 0; i < collection_->Count(); ++i)
    if (collection_->Items(i) == this) return i;
  return -1;
}

TCollection::TCollection(const TClassInfo& item_class, ItemFactory factory)
    : item_class_(item_class), factory_(std::move(factory)) {}

TCollection::~TCollection() = default;

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (%d)", index);
  return items_[static_cast<size_t>(index)].get();
}

TCollectionItem* TCollection::Add() {
  items_.push_back(factory_(this));
  Update();
  return items_.back().get();
}

void TCollection::Delete(int index) {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (%d)", index);
  items_.erase(items_.begin() + index);
  Update();
}

void TCollection::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Update();
}

void TCollection::Assign(const TPersistent& source) {
  auto* other = dynamic_cast<const TCollection*>(&source);
  if (!other) return TPersistent::Assign(source);
  if (other == this) return;
  items_.clear();
  for (const auto& item : other->items_) {
    items_.push_back(factory_(this));
    items_.back()->Assign(*item);
  }
  Update();
}

WENMOOR_REGISTER_CLASS(TCollectionItem) {}
WENMOOR_REGISTER_CLASS(TCollection) {}

}  // namespace wenmoor
