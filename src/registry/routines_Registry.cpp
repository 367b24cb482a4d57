#include "registry/routines_Registry.h"

#include "platform/win/machine.h"
#include "registry/cmp_TWnmrRegistry.h"
#include "support/routines_API.h"

namespace wenmoor {

namespace {

constexpr HKEY kRootKeys[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG, HKEY_CURRENT_USER,
                              HKEY_DYN_DATA,     HKEY_LOCAL_MACHINE,  HKEY_USERS};
constexpr const char* kRunOnceKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

}  // namespace

HKEY RootKeyHandleOf(TRootKeys root) { return kRootKeys[root]; }

int RootKeyIndexOf(HKEY root_key, int default_index) {
  for (int i = 0; i < 6; ++i) {
    if (kRootKeys[i] == root_key) return i;
  }
  return default_index;
}

void SetRootKeyIndex(TRegistry& registry, int root) {
  if (root >= 0 && root <= 5) registry.SetRootKey(kRootKeys[root]);
}

void WriteRegistryString(TRootKeys root, const std::string& key, const std::string& name,
                         const std::string& value) {
  bool written = false;
  try {
    TwnmrRegistry registry;
    SetRootKeyIndex(registry, root);
    if (registry.OpenKey(key, true)) {
      registry.WriteString(name, value);
      written = true;
    }
  } catch (const std::exception&) {
  }
  if (!written) throw EIRCannotWriteValue("Cannot install into registry. Key: %s Ident: %s Value %s", key, name, value);
}

void WriteRegistryInteger(TRootKeys root, const std::string& key, const std::string& name, int32_t value) {
  bool written = false;
  try {
    TwnmrRegistry registry;
    SetRootKeyIndex(registry, root);
    if (registry.OpenKey(key, true)) {
      registry.WriteInteger(name, value);
      written = true;
    }
  } catch (const std::exception&) {
  }
  if (!written) throw EIRCannotWriteValue(key);
}

void ReadRegistryString(TRootKeys root, const std::string& key, const std::string& name, std::string& value,
                        const std::string& default_value) {
  value = default_value;
  try {
    TwnmrRegistry registry;
    SetRootKeyIndex(registry, root);
    if (registry.KeyExists(key) && registry.OpenKey(key, false) && registry.ValueExists(name)) {
      value = registry.ReadString(name);
    }
  } catch (const std::exception&) {
    value = default_value;
  }
}

int32_t ReadRegistryInteger(TRootKeys root, const std::string& key, const std::string& name,
                            int32_t default_value) {
  try {
    TwnmrRegistry registry;
    SetRootKeyIndex(registry, root);
    if (registry.KeyExists(key) && registry.OpenKey(key, false) && registry.ValueExists(name)) {
      return registry.ReadInteger(name);
    }
  } catch (const std::exception&) {
  }
  return default_value;
}

void DeleteRegistryKey(TRootKeys root, const std::string& key) {
  try {
    TwnmrRegistry registry;
    SetRootKeyIndex(registry, root);
    if (!registry.OpenKey(key, false)) return;
    const std::vector<std::string> names = registry.KeyNames();
    registry.CloseKey();
    const std::string base = key.empty() || key.back() != '\\' ? key + "\\" : key;
    for (const std::string& sub : names) DeleteRegistryKey(root, base + sub);
    registry.DeleteKeyTree(key);
  } catch (const std::exception&) {
  }
}

bool AddRunOnce(const std::string& name, const std::string& command, bool unique) {
  try {
    TwnmrRegistry registry;
    registry.SetRootKey(NTFamily.Contains(GetWindowsVersion()) ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE);
    if (!registry.OpenKey(kRunOnceKey, true)) return false;
    std::string value_name = name;
    if (unique) {
      for (int n = 1; registry.ValueExists(value_name); ++n) value_name = name + std::to_string(n);
    }
    registry.WriteString(value_name, command);
    registry.CloseKey();
    // On Windows the key is written through when it is closed; here that is
    // a sync of the store, so that the entry survives a loss of power.
    platform::CurrentRegistry().Sync();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace wenmoor
