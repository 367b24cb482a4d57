// The registry entries component: writes one key with a list of named
// values during the installation and records them for the uninstaller.
//
// Its container does not process it: the engine processes every object of
// rank 8500 together, after the file containers. All logic is in
// TCustomInstallRegistry; TInstallRegistry publishes it.
//
// Ownership: the component owns its Entries; the form owns the component.
// Entries refer to path specifiers without owning them; a specifier that is
// destroyed is cleared from every entry.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "registry/cmp_TRegistryEntry.h"
#include "registry/routines_Registry.h"
#include "script/cmp_TInstallContainer.h"

namespace wenmoor {

enum TKeySpecifier : uint8_t { ksAbsolute, ksCompanyName, ksProductName, ksVersion };
WENMOOR_ENUM(TKeySpecifier, ksAbsolute, ksCompanyName, ksProductName, ksVersion)

WENMOOR_EXCEPTION(IEInstallRegistry, IException);
WENMOOR_EXCEPTION(IEInstallRegistryList, IException);

class TCustomInstallRegistry;
using TBeforeWriteEntry = TEvent<TCustomInstallRegistry*, TRegistryEntry*, bool&>;

class TCustomInstallRegistry : public TInstallObject {
  WENMOOR_CLASS(TCustomInstallRegistry, TInstallObject)
 public:
  explicit TCustomInstallRegistry(TComponent* owner);
  ~TCustomInstallRegistry() override;

  TRegistryEntries* Entries() const { return entries_.get(); }
  // Copies the items of `v` (the component keeps its own collection).
  virtual void SetEntries(TRegistryEntries* v);
  const std::string& Key() const { return key_; }
  // Stored empty while KeySpecifierType names the key from the install
  // component's information.
  virtual void SetKey(const std::string& v);
  TKeySpecifier KeySpecifierType() const { return key_specifier_type_; }
  // For the three kinds that name the key from the install component:
  // IEInstallRegistry "There is no TInstall component in your project" when
  // there is none (and not loading); the old kind stays then. Otherwise Key
  // becomes empty and RootKey hkLocalMachine.
  virtual void SetKeySpecifierType(TKeySpecifier v);
  TRootKeys RootKey() const { return root_key_; }
  void SetRootKey(TRootKeys v) { root_key_ = v; }

  // The key written: Key without a trailing backslash, or
  // "\SOFTWARE\<company>[\<product>[\<version>]]" from the install
  // component (IEInstallRegistry without one).
  virtual std::string GetKey() const;

  TBeforeWriteEntry OnBeforeWriteEntry;

  int RegisteredType() const override { return kRankRegistry; }
  // Writes each entry that OnBeforeWriteEntry lets through, then the base step.
  void DoProcess() override;
  // Records the key, its root and every entry's value text under
  // `key`\RegistryKeys\RegistryKey<n> (HKEY_LOCAL_MACHINE) and counts it in
  // `key`\RegistryKeys "Entries". A count that is not a whole number raises
  // EConvertError; a failing write raises EIRCannotWriteValue.
  void RegisterUninstall(const std::string& key) override;
  // Code -968 runs Process.
  void ReceiveInformation(TObject* sender, int code, TObject* po) override;
  // A destroyed install component turns the key kind back to ksAbsolute.
  void ObjectRemoved(TInstallContainer* object) override;
  void Loaded() override;
  void Notification(TComponent* c, TOperation operation) override;

 private:
  std::unique_ptr<TRegistryEntries> entries_;
  std::string key_ = "\\SOFTWARE\\MyStuff";
  TKeySpecifier key_specifier_type_ = ksAbsolute;
  TRootKeys root_key_ = hkLocalMachine;
};

class TInstallRegistry : public TCustomInstallRegistry {
  WENMOOR_CLASS(TInstallRegistry, TCustomInstallRegistry)
 public:
  using TCustomInstallRegistry::TCustomInstallRegistry;
};

// Every registry component in existence, in order of creation (observers).
class TInstallRegistryList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TCustomInstallRegistry* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  // IEInstallRegistryList "Cannot add blank entry to the registry list" for nil.
  void Add(TCustomInstallRegistry* r);
  void Remove(TCustomInstallRegistry* r);

 private:
  std::vector<TCustomInstallRegistry*> items_;
};
TInstallRegistryList& InstallRegistries();

}  // namespace wenmoor
