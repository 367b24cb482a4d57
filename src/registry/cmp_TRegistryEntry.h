// One named value of a registry component (TRegistryEntry) and the ordered
// list of them (TRegistryEntries) that each registry component owns.
//
// An entry writes exactly one of its three values, chosen by EntryType.
// Once the entry knows its Owner (the registry component) and that owner
// is not being loaded, setting a value also switches EntryType to that
// value's kind; while the script is read the setters only store.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/collection.h"
#include "platform/rtl/exceptions.h"
#include "registry/routines_Registry.h"

namespace wenmoor {

class TCustomInstallRegistry;
class TCustomPathSpecifier;

enum TRegistryEntryType : uint8_t { retText, retInteger, retBoolean };
WENMOOR_ENUM(TRegistryEntryType, retText, retInteger, retBoolean)

WENMOOR_EXCEPTION(IERegistryEntry, IException);
WENMOOR_EXCEPTION(IERegistryEntries, IException);

class TRegistryEntry : public TCollectionItem {
  WENMOOR_CLASS(TRegistryEntry, TCollectionItem)
 public:
  // An entry made in a collection whose component is not being loaded
  // knows its Owner at once; one made by the loader learns it in the
  // component's Loaded.
  explicit TRegistryEntry(TCollection* collection);

  bool Boolean() const { return boolean_; }
  void SetBoolean(bool v);
  TRegistryEntryType EntryType() const { return entry_type_; }
  void SetEntryType(TRegistryEntryType v) { entry_type_ = v; }
  const std::string& Ident() const { return ident_; }
  void SetIdent(const std::string& v) { ident_ = v; }
  int32_t Integer() const { return integer_; }
  void SetInteger(int32_t v);
  TCustomPathSpecifier* PathSpecifier() const { return path_specifier_; }
  // A specifier is first checked against the owner (IEPathSpecifier when it
  // refuses it); then Text becomes "%p". See the header comment for when
  // EntryType changes.
  void SetPathSpecifier(TCustomPathSpecifier* v);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& v);

  TCustomInstallRegistry* Owner() const { return owner_; }
  void SetOwner(TCustomInstallRegistry* v) { owner_ = v; }

  // Text, with %p replaced by the specifier's path for the owner when a
  // PathSpecifier is set.
  std::string GetValueText() const;
  // Opens or creates `key` below `root` and writes this entry's value.
  // IERegistryEntry "%s cannot create the key %s in the registry" when the
  // key cannot be opened; a failing write passes the registry's error on.
  void WriteEntry(TRootKeys root, const std::string& key) const;

  // Copies the six properties, not Owner.
  void Assign(const TPersistent& source) override;

 private:
  // The owner acts on the setters only once it is known and loaded.
  bool Active() const;
  // The registry component of the collection, known from construction;
  // used to watch the specifier's destruction even while loading.
  TCustomInstallRegistry* CollectionComponent() const;

  bool boolean_ = false;
  TRegistryEntryType entry_type_ = retText;
  std::string ident_;
  int32_t integer_ = 0;
  TCustomPathSpecifier* path_specifier_ = nullptr;
  std::string text_;
  TCustomInstallRegistry* owner_ = nullptr;
};

class TRegistryEntries : public TCollection {
  WENMOOR_CLASS(TRegistryEntries, TCollection)
 public:
  // IERegistryEntries "Cannot create a TRegistryEntries component with a Nil
  // Owner" when `component` is null.
  explicit TRegistryEntries(TCustomInstallRegistry* component);

  TCustomInstallRegistry* Component() const { return component_; }
  TRegistryEntry* Items(int index) const { return static_cast<TRegistryEntry*>(TCollection::Items(index)); }
  TRegistryEntry* Add() { return static_cast<TRegistryEntry*>(TCollection::Add()); }

 private:
  TCustomInstallRegistry* component_;
};

}  // namespace wenmoor
