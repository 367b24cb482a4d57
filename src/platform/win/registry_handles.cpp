#include "platform/win/registry_handles.h"

#include <map>
#include <mutex>

namespace wenmoor {

using platform::RootKey;

namespace {

struct Table {
  std::mutex mutex;
  std::map<HKEY, RegKeyInfoOfHandle> open;
  HKEY next = 0x100;  // Windows hands out small multiples of four
};

Table& Handles() {
  static Table table;
  return table;
}

std::string JoinPath(const std::string& base, std::string_view sub) {
  while (!sub.empty() && sub.front() == '\\') sub.remove_prefix(1);
  while (!sub.empty() && sub.back() == '\\') sub.remove_suffix(1);
  if (sub.empty()) return base;
  if (base.empty()) return std::string(sub);
  return base + "\\" + std::string(sub);
}

}  // namespace

std::optional<RootKey> RootKeyOfHandle(HKEY key) {
  switch (key) {
    case HKEY_CLASSES_ROOT: return RootKey::ClassesRoot;
    case HKEY_CURRENT_USER: return RootKey::CurrentUser;
    case HKEY_LOCAL_MACHINE: return RootKey::LocalMachine;
    case HKEY_USERS: return RootKey::Users;
    case HKEY_CURRENT_CONFIG: return RootKey::CurrentConfig;
    case HKEY_DYN_DATA: return RootKey::DynData;
    default: return std::nullopt;
  }
}

HKEY HandleOfRootKey(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RootKey::CurrentUser: return HKEY_CURRENT_USER;
    case RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RootKey::Users: return HKEY_USERS;
    case RootKey::CurrentConfig: return HKEY_CURRENT_CONFIG;
    case RootKey::DynData: return HKEY_DYN_DATA;
  }
  return 0;
}

std::optional<RegKeyInfoOfHandle> RegHandles::Lookup(platform::RegistryStore& store, HKEY key) {
  if (auto root = RootKeyOfHandle(key)) return RegKeyInfoOfHandle{&store, *root, "", KEY_ALL_ACCESS};
  Table& t = Handles();
  std::lock_guard<std::mutex> lock(t.mutex);
  auto it = t.open.find(key);
  if (it == t.open.end()) return std::nullopt;
  return it->second;
}

HKEY RegHandles::Open(platform::RegistryStore& store, HKEY base, std::string_view subkey, uint32_t access,
                      bool create) {
  auto info = Lookup(store, base);
  if (!info) return 0;
  RegKeyInfoOfHandle opened{info->store, info->root, JoinPath(info->path, subkey), access};
  if (!opened.store->KeyExists(opened.root, opened.path)) {
    // Creating needs the right to add subkeys to the key it starts from.
    if (!create || !(info->access & KEY_CREATE_SUB_KEY)) return 0;
    if (!opened.store->CreateKey(opened.root, opened.path)) return 0;
  }
  Table& t = Handles();
  std::lock_guard<std::mutex> lock(t.mutex);
  const HKEY handle = t.next;
  t.next += 4;
  t.open.emplace(handle, std::move(opened));
  return handle;
}

bool RegHandles::Close(HKEY key) {
  if (RootKeyOfHandle(key)) return true;
  Table& t = Handles();
  std::lock_guard<std::mutex> lock(t.mutex);
  return t.open.erase(key) > 0;
}

bool RegHandles::DeleteSubKey(platform::RegistryStore& store, HKEY base, std::string_view subkey) {
  auto info = Lookup(store, base);
  if (!info) return false;
  const std::string path = JoinPath(info->path, subkey);
  if (path == info->path) return false;  // a key cannot delete itself through an empty name
  return info->store->DeleteKey(info->root, path);
}

}  // namespace wenmoor
