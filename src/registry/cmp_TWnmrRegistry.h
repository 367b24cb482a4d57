// TwnmrRegistry: the registry class every part of the framework uses. It
// opens keys with only the rights it needs (read, create-subkey, set-value
// rather than full access), which is what a user without administrator
// rights may do below many keys of Windows NT, 2000 and XP.
//
// Key names follow TRegistry: a leading backslash makes a name absolute
// (below the root key), any other name is relative (below the current key
// when one is open, else below the root).
#pragma once

#include <string>

#include "platform/win/registry.h"

namespace wenmoor {

class TwnmrRegistry : public TRegistry {
 public:
  using TRegistry::TRegistry;

  // Read, create-subkey and set-value: enough to write values below a key.
  static constexpr uint32_t kReducedAccess = KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE;

  // False when Key starts with a backslash, true otherwise (empty included).
  static bool IsRelative(const std::string& key) { return TRegistry::IsRelative(key); }

  // Opens Key with full access / read access without making it current; 0
  // on failure. The caller closes the handle with RegHandles::Close.
  HKEY OpenKeyAllAccess(const std::string& key);
  HKEY OpenKeyReadOnly(const std::string& key);
  // Whether Key can be opened for reading.
  bool KeyExists(const std::string& key);
  // Opens Key with the reduced rights and makes it current; with CanCreate
  // a missing key is created (with full access). See the source for the steps.
  bool OpenKey(const std::string& key, bool can_create) override;
  // Deletes Key with all its subkeys; false when Key itself was not deleted.
  bool DeleteKeyTree(const std::string& key);

 private:
  HKEY OpenWith(const std::string& key, uint32_t access, bool create);
};

}  // namespace wenmoor
