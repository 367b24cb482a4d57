// TCollection / TCollectionItem: an owned, ordered list of items of one
// class, stored by the script as "Items = < item ... end item ... end >".
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/persistent.h"

namespace wenmoor {

class TCollection;

class TCollectionItem : public TPersistent {
  WENMOOR_CLASS(TCollectionItem, TPersistent)
 public:
  explicit TCollectionItem(TCollection* collection) : collection_(collection) {}
  TCollection* Collection() const { return collection_; }
  int Index() const;

 private:
  friend class TCollection;
  TCollection* collection_;
};

class TCollection : public TPersistent {
  WENMOOR_CLASS(TCollection, TPersistent)
 public:
  using ItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection*)>;
  // `item_class` names the items' class for the loader and writer.
  TCollection(const TClassInfo& item_class, ItemFactory factory);
  ~TCollection() override;

  const TClassInfo& ItemClass() const { return item_class_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Index checked: EListError "List index out of bounds (%d)".
  TCollectionItem* Items(int index) const;
  TCollectionItem* Add();
  void Delete(int index);
  void Clear();
  void Assign(const TPersistent& source) override;

 protected:
  // Called after the list changed (an item added, deleted, cleared).
  virtual void Update() {}

 private:
  const TClassInfo& item_class_;
  ItemFactory factory_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
};

// A collection whose items are all of class I (constructible from TCollection*).
template <class I>
class TOwnedCollection : public TCollection {
 public:
  TOwnedCollection()
      : TCollection(I::StaticClass(), [](TCollection* c) { return std::unique_ptr<TCollectionItem>(new I(c)); }) {}
  I* Items(int index) const { return static_cast<I*>(TCollection::Items(index)); }
  I* Add() { return static_cast<I*>(TCollection::Add()); }
};

}  // namespace wenmoor
