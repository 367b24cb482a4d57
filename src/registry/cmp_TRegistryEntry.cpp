#include "registry/cmp_TRegistryEntry.h"

#include "paths/cmp_TPathSpecifier.h"
#include "registry/cmp_TInstallRegistry.h"
#include "registry/cmp_TWnmrRegistry.h"

namespace wenmoor {

TRegistryEntry::TRegistryEntry(TCollection* collection) : TCollectionItem(collection) {
  TCustomInstallRegistry* component = CollectionComponent();
  if (component && !component->IsLoading()) owner_ = component;
}

TCustomInstallRegistry* TRegistryEntry::CollectionComponent() const {
  auto* entries = dynamic_cast<TRegistryEntries*>(Collection());
  return entries ? entries->Component() : nullptr;
}

bool TRegistryEntry::Active() const { return owner_ && !owner_->IsLoading(); }

void TRegistryEntry::SetBoolean(bool v) {
  boolean_ = v;
  if (Active()) entry_type_ = retBoolean;
}

void TRegistryEntry::SetInteger(int32_t v) {
  integer_ = v;
  if (Active()) entry_type_ = retInteger;
}

void TRegistryEntry::SetText(const std::string& v) {
  text_ = v;
  if (Active()) entry_type_ = retText;
}

void TRegistryEntry::SetPathSpecifier(TCustomPathSpecifier* v) {
  if (Active()) {
    if (v) {
      v->CheckComponent(owner_);  // may refuse: nothing is changed then
      text_ = "%p";
    }
    entry_type_ = retText;
  }
  path_specifier_ = v;
  // The component clears the reference when the specifier dies, so it must
  // hear of that even for entries read from the script.
  if (v) {
    if (TCustomInstallRegistry* component = CollectionComponent()) component->FreeNotification(v);
  }
}

std::string TRegistryEntry::GetValueText() const {
  if (!path_specifier_) return text_;
  TComponent* asker = owner_ ? static_cast<TComponent*>(owner_) : CollectionComponent();
  return TPathSpecifier::ExpandPathMacro(text_, path_specifier_->Path(asker));
}

void TRegistryEntry::WriteEntry(TRootKeys root, const std::string& key) const {
  TwnmrRegistry registry;
  SetRootKeyIndex(registry, root);
  if (!registry.OpenKey(key, true)) {
    TCustomInstallRegistry* component = owner_ ? owner_ : CollectionComponent();
    throw IERegistryEntry("%s cannot create the key %s in the registry", component ? component->Name() : "", key);
  }
  // The registry object closes the key when it goes, on every way out.
  switch (entry_type_) {
    case retText:
      registry.WriteString(ident_, GetValueText());
      break;
    case retInteger:
      registry.WriteInteger(ident_, integer_);
      break;
    case retBoolean:
      registry.WriteInteger(ident_, boolean_ ? 1 : 0);
      break;
  }
  registry.CloseKey();
}

void TRegistryEntry::Assign(const TPersistent& source) {
  auto* other = dynamic_cast<const TRegistryEntry*>(&source);
  if (!other) return TCollectionItem::Assign(source);
  // Raw copies: the type switching of the setters would undo EntryType.
  boolean_ = other->boolean_;
  entry_type_ = other->entry_type_;
  ident_ = other->ident_;
  integer_ = other->integer_;
  text_ = other->text_;
  path_specifier_ = other->path_specifier_;
  if (path_specifier_) {
    if (TCustomInstallRegistry* component = CollectionComponent()) component->FreeNotification(path_specifier_);
  }
}

TRegistryEntries::TRegistryEntries(TCustomInstallRegistry* component)
    : TCollection(TRegistryEntry::StaticClass(),
                  [](TCollection* c) { return std::unique_ptr<TCollectionItem>(new TRegistryEntry(c)); }),
      component_(component) {
  if (!component) throw IERegistryEntries("Cannot create a TRegistryEntries component with a Nil Owner");
}

WENMOOR_REGISTER_CLASS(TRegistryEntry) {
  c.Prop("Boolean", &T::Boolean, &T::SetBoolean).Default(false);
  c.Prop("EntryType", &T::EntryType, &T::SetEntryType).Default(retText);
  c.Prop("Ident", &T::Ident, &T::SetIdent);
  c.Prop("Integer", &T::Integer, &T::SetInteger).Default(0);
  c.Prop("PathSpecifier", &T::PathSpecifier, &T::SetPathSpecifier);
  c.Prop("Text", &T::Text, &T::SetText);
}

WENMOOR_REGISTER_CLASS(TRegistryEntries) {}

}  // namespace wenmoor
