#include "registry/cmp_TInstallRegistry.h"

#include <algorithm>
#include <charconv>

#include "engine/cmp_TInstall.h"
#include "engine/cmp_TInstallInformation.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/rtl/sysutils.h"

namespace wenmoor {
namespace {

// The whole number in `s`; EConvertError otherwise (a damaged count must
// not be taken for zero, or an earlier record would be overwritten).
int ParseCount(const std::string& s) {
  int value = 0;
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(s.data(), end, value);
  if (s.empty() || ec != std::errc() || ptr != end) throw EConvertError("'%s' is not a valid integer value", s);
  return value;
}

TInstallInformation& RequireInformation() {
  TCustomInstall* install = CurrentInstall();
  if (!install || !install->Information()) throw IEInstallRegistry("There is no TInstall component in your project");
  return *install->Information();
}

}  // namespace

TCustomInstallRegistry::TCustomInstallRegistry(TComponent* owner)
    : TInstallObject(owner), entries_(std::make_unique<TRegistryEntries>(this)) {
  SetProcessedWithContainer(false);
  SetInclude(true);
  InstallRegistries().Add(this);
}

TCustomInstallRegistry::~TCustomInstallRegistry() { InstallRegistries().Remove(this); }

void TCustomInstallRegistry::SetEntries(TRegistryEntries* v) {
  if (v) entries_->Assign(*v);
  else entries_->Clear();
}

void TCustomInstallRegistry::SetKey(const std::string& v) { key_ = key_specifier_type_ == ksAbsolute ? v : ""; }

void TCustomInstallRegistry::SetKeySpecifierType(TKeySpecifier v) {
  if (v != ksAbsolute) {
    if (!IsLoading() && !CurrentInstall()) throw IEInstallRegistry("There is no TInstall component in your project");
    key_.clear();
    root_key_ = hkLocalMachine;
  }
  key_specifier_type_ = v;
}

std::string TCustomInstallRegistry::GetKey() const {
  if (key_specifier_type_ == ksAbsolute) {
    std::string key = key_;
    if (!key.empty() && key.back() == '\\') key.pop_back();
    return key;
  }
  TInstallInformation& info = RequireInformation();
  std::string key = "\\SOFTWARE\\" + info.CompanyName();
  if (key_specifier_type_ == ksCompanyName) return key;
  key += "\\" + info.ProductName();
  if (key_specifier_type_ == ksProductName) return key;
  return key + "\\" + info.Version();
}

void TCustomInstallRegistry::DoProcess() {
  for (int i = 0; i < entries_->Count(); ++i) {
    TRegistryEntry* entry = entries_->Items(i);
    bool proceed = true;
    OnBeforeWriteEntry(this, entry, proceed);
    if (proceed) entry->WriteEntry(root_key_, GetKey());
  }
  TInstallObject::DoProcess();
}

void TCustomInstallRegistry::RegisterUninstall(const std::string& key) {
  const std::string list_key = key + "\\RegistryKeys";
  std::string count_text;
  ReadRegistryString(hkLocalMachine, list_key, "Entries", count_text, "0");
  const int n = ParseCount(count_text) + 1;
  const std::string record = list_key + "\\RegistryKey" + IntToStr(n);
  // The record is written before it is counted, so that the count never
  // names a record that a failed write left missing.
  WriteRegistryString(hkLocalMachine, record, "Key", GetKey());
  WriteRegistryInteger(hkLocalMachine, record, "Root", static_cast<int32_t>(root_key_));
  for (int i = 0; i < entries_->Count(); ++i) {
    TRegistryEntry* entry = entries_->Items(i);
    WriteRegistryString(hkLocalMachine, record + "\\Entries", entry->Ident(), entry->GetValueText());
  }
  WriteRegistryString(hkLocalMachine, list_key, "Entries", IntToStr(n));
}

void TCustomInstallRegistry::ReceiveInformation(TObject*, int code, TObject*) {
  if (code == kNotifyProcessRegistryNow) Process();
}

void TCustomInstallRegistry::ObjectRemoved(TInstallContainer* object) {
  TInstallObject::ObjectRemoved(object);
  if (dynamic_cast<TCustomInstall*>(object) && key_specifier_type_ != ksAbsolute) key_specifier_type_ = ksAbsolute;
}

void TCustomInstallRegistry::Loaded() {
  TInstallObject::Loaded();
  for (int i = 0; i < entries_->Count(); ++i) entries_->Items(i)->SetOwner(this);
}

void TCustomInstallRegistry::Notification(TComponent* c, TOperation operation) {
  TInstallObject::Notification(c, operation);
  if (operation != opRemove || !dynamic_cast<TCustomPathSpecifier*>(c)) return;
  for (int i = 0; i < entries_->Count(); ++i) {
    TRegistryEntry* entry = entries_->Items(i);
    if (entry->PathSpecifier() != c) continue;
    // Clearing through the setter makes the entry text-typed; the kind it
    // had is what it keeps writing.
    const TRegistryEntryType kind = entry->EntryType();
    entry->SetPathSpecifier(nullptr);
    entry->SetEntryType(kind);
  }
}

void TInstallRegistryList::Add(TCustomInstallRegistry* r) {
  if (!r) throw IEInstallRegistryList("Cannot add blank entry to the registry list");
  items_.push_back(r);
}

void TInstallRegistryList::Remove(TCustomInstallRegistry* r) {
  items_.erase(std::remove(items_.begin(), items_.end(), r), items_.end());
}

TInstallRegistryList& InstallRegistries() {
  static TInstallRegistryList list;
  return list;
}

WENMOOR_REGISTER_CLASS(TCustomInstallRegistry) {}

WENMOOR_REGISTER_CLASS(TInstallRegistry) {
  c.Prop("Container", &T::Container, &T::SetContainer);
  c.Object("Entries", &T::Entries);
  c.Prop("InstallTypes", &T::InstallTypes, &T::SetInstallTypes)
      .Default(TInstallTypeSet{itFull, itDefault, itCompact, itCustom});
  c.Prop("Key", &T::Key, &T::SetKey);
  c.Prop("KeySpecifierType", &T::KeySpecifierType, &T::SetKeySpecifierType).NoDefault();
  c.Prop("RootKey", &T::RootKey, &T::SetRootKey).Default(hkLocalMachine);
  c.Prop("Uninstall", &T::Uninstall, &T::SetUninstall).Default(true);
  c.Event("OnAfterProcess", &T::OnAfterProcess);
  c.Event("OnBeforeProcess", &T::OnBeforeProcess);
  c.Event("OnBeforeWriteEntry", &T::OnBeforeWriteEntry);
}

}  // namespace wenmoor
