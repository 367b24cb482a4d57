// Handles of open registry keys, as Windows hands them out (HKEY), over the
// registry store. A handle remembers its store, its root, its path and the
// rights it was opened with; the predefined keys (HKEY_CLASSES_ROOT ...) are
// handles with every right on the root of their key.
//
// The prefix has no per-user permissions: an open succeeds whenever the key
// exists (or could be created), whatever rights are asked for. The rights
// still bind the handle: an operation that needs a right the handle was not
// opened with fails, as on Windows (a key opened with KEY_READ refuses
// writes).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win/registry_store.h"

namespace wenmoor {

using HKEY = uint32_t;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_PERFORMANCE_DATA = 0x80000004u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;
inline constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

// Access rights (winnt.h).
inline constexpr uint32_t KEY_QUERY_VALUE = 0x0001;
inline constexpr uint32_t KEY_SET_VALUE = 0x0002;
inline constexpr uint32_t KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr uint32_t KEY_NOTIFY = 0x0010;
inline constexpr uint32_t KEY_CREATE_LINK = 0x0020;
inline constexpr uint32_t DELETE_ACCESS = 0x00010000;  // DELETE
inline constexpr uint32_t STANDARD_RIGHTS_READ = 0x00020000;
inline constexpr uint32_t STANDARD_RIGHTS_WRITE = 0x00020000;
inline constexpr uint32_t STANDARD_RIGHTS_ALL = 0x001F0000;
inline constexpr uint32_t KEY_READ = STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY;
inline constexpr uint32_t KEY_WRITE = STANDARD_RIGHTS_WRITE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
inline constexpr uint32_t KEY_EXECUTE = KEY_READ;
inline constexpr uint32_t KEY_ALL_ACCESS = 0x000F003F;

// The store's root of a predefined key; nullopt for HKEY_PERFORMANCE_DATA
// and any other number.
std::optional<platform::RootKey> RootKeyOfHandle(HKEY key);
HKEY HandleOfRootKey(platform::RootKey root);

// What an open handle stands for.
struct RegKeyInfoOfHandle {
  platform::RegistryStore* store = nullptr;
  platform::RootKey root = platform::RootKey::LocalMachine;
  std::string path;  // below the root, without leading backslash
  uint32_t access = 0;
};

// The handle table. Thread-safe. `store` is used for predefined keys; a
// handle opened below another handle uses that handle's store.
class RegHandles {
 public:
  // Opens (or, with `create`, creates) `subkey` below `base`; 0 when the key
  // does not exist (cannot be created) or `base` is not a valid handle, or
  // when a missing key would be created below a handle without
  // KEY_CREATE_SUB_KEY. An empty subkey opens `base` itself again.
  static HKEY Open(platform::RegistryStore& store, HKEY base, std::string_view subkey, uint32_t access,
                   bool create);
  // Closes an opened handle; predefined keys cannot be closed (true, as
  // Windows answers). False for an unknown handle.
  static bool Close(HKEY key);
  // What the handle stands for; nullopt for an unknown handle.
  static std::optional<RegKeyInfoOfHandle> Lookup(platform::RegistryStore& store, HKEY key);
  // Deletes `subkey` of `base` when it has no subkeys of its own.
  static bool DeleteSubKey(platform::RegistryStore& store, HKEY base, std::string_view subkey);
};

}  // namespace wenmoor
