// TRegistry: the component library's registry class over the emulated
// machine's registry. One object has a root key, at most one current (open)
// key with its path, and reads and writes values of the current key.
//
// Key names: a name that starts with a backslash is absolute (below the root
// key); any other is relative (below the current key when one is open, else
// below the root). The backslash is removed before the name is used.
//
// Failures: the open/create/delete operations answer false; value reads and
// writes raise ERegistryException with the component library's messages:
//   "Failed to create key %s"         CreateKey could not create it
//   "Failed to set data for '%s'"     a write failed (no open key, no right)
//   "Failed to get data for '%s'"     ReadInteger etc. of a missing value
//   "Invalid data type for '%s'"      a value of another kind than asked for
// Errors of the store itself (a corrupt hive, a full disk) pass through as
// RegistryFormatError / RegistryIoError.
//
// Ownership: the object owns its current key handle and closes it; it uses
// (does not own) a RegistryStore, by default the machine's
// (platform::CurrentRegistry()), which must outlive it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/strings.h"
#include "platform/win/registry_handles.h"

namespace wenmoor {

WENMOOR_EXCEPTION(ERegistryException, Exception);

enum TRegDataType : uint8_t { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegKeyInfo {
  int NumSubKeys = 0;
  int MaxSubKeyLen = 0;
  int NumValues = 0;
  int MaxValueLen = 0;
  int MaxDataLen = 0;
};

class TRegistry {
 public:
  // Root HKEY_CURRENT_USER, access KEY_ALL_ACCESS, the machine's registry.
  TRegistry();
  explicit TRegistry(uint32_t access);
  explicit TRegistry(platform::RegistryStore& store, uint32_t access = KEY_ALL_ACCESS);
  virtual ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return root_key_; }
  // Closes the current key, then sets the root.
  void SetRootKey(HKEY value);
  uint32_t Access() const { return access_; }
  void SetAccess(uint32_t value) { access_ = value; }
  HKEY CurrentKey() const { return current_key_; }
  const std::string& CurrentPath() const { return current_path_; }

  // Opens Key with Access (creating it when CanCreate) and makes it current.
  virtual bool OpenKey(const std::string& key, bool can_create);
  // Opens Key with KEY_READ and makes it current; Access becomes KEY_READ.
  bool OpenKeyReadOnly(const std::string& key);
  void CloseKey();
  // Creates Key without opening it; ERegistryException when it cannot.
  bool CreateKey(const std::string& key);
  // Deletes Key with all its subkeys.
  bool DeleteKey(const std::string& key);
  bool KeyExists(const std::string& key);

  bool HasSubKeys();
  bool GetKeyInfo(TRegKeyInfo& info);
  void GetKeyNames(TStrings& names);
  void GetValueNames(TStrings& names);
  std::vector<std::string> KeyNames();
  std::vector<std::string> ValueNames();

  bool ValueExists(const std::string& name);
  TRegDataType GetDataType(const std::string& name);
  // The size of the value's data in bytes; -1 when it does not exist.
  int GetDataSize(const std::string& name);
  bool DeleteValue(const std::string& name);

  // A missing value reads as the empty string.
  std::string ReadString(const std::string& name);
  void WriteString(const std::string& name, const std::string& value);
  void WriteExpandString(const std::string& name, const std::string& value);
  int32_t ReadInteger(const std::string& name);
  void WriteInteger(const std::string& name, int32_t value);
  bool ReadBool(const std::string& name) { return ReadInteger(name) != 0; }
  void WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }
  // The bytes of a binary (or unknown-kind) value; empty when it is missing.
  std::vector<uint8_t> ReadBinaryData(const std::string& name);
  void WriteBinaryData(const std::string& name, const std::vector<uint8_t>& data);

  static bool IsRelative(const std::string& key) { return key.empty() || key[0] != '\\'; }

 protected:
  platform::RegistryStore& Store() { return *store_; }
  // The current key for a relative name when one is open, else the root.
  HKEY GetBaseKey(bool relative) const;
  // Makes `key` current (closing the previous one) with `path`.
  void ChangeKey(HKEY key, std::string path);
  // Makes `key` current without closing the previous one (for a caller that
  // restores it afterwards).
  void SetCurrentKey(HKEY key) { current_key_ = key; }
  // Opens Key (absolute or relative) with Access without making it current;
  // 0 on failure. The caller closes it.
  HKEY GetKey(const std::string& key);

 private:
  // The current key and its handle info, for a value operation that needs
  // `right`; nullopt when no key is open or the handle lacks the right.
  std::optional<RegKeyInfoOfHandle> Current(uint32_t right);
  std::optional<platform::RegValue> Query(const std::string& name);
  void Put(const std::string& name, const platform::RegValue& value);

  platform::RegistryStore* store_;
  HKEY root_key_ = HKEY_CURRENT_USER;
  uint32_t access_ = KEY_ALL_ACCESS;
  HKEY current_key_ = 0;
  std::string current_path_;
};

}  // namespace wenmoor
