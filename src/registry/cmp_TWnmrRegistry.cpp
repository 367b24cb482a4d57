#include "registry/cmp_TWnmrRegistry.h"

namespace wenmoor {

namespace {

std::string StripBackslash(const std::string& key) { return TwnmrRegistry::IsRelative(key) ? key : key.substr(1); }

}  // namespace

HKEY TwnmrRegistry::OpenWith(const std::string& key, uint32_t access, bool create) {
  return RegHandles::Open(Store(), GetBaseKey(IsRelative(key)), StripBackslash(key), access, create);
}

HKEY TwnmrRegistry::OpenKeyAllAccess(const std::string& key) { return OpenWith(key, KEY_ALL_ACCESS, false); }

HKEY TwnmrRegistry::OpenKeyReadOnly(const std::string& key) { return OpenWith(key, KEY_READ, false); }

bool TwnmrRegistry::KeyExists(const std::string& key) {
  const HKEY opened = OpenKeyReadOnly(key);
  if (opened == 0) return false;
  RegHandles::Close(opened);
  return true;
}

bool TwnmrRegistry::OpenKey(const std::string& key, bool can_create) {
  const bool relative = IsRelative(key);
  const std::string path = StripBackslash(key);
  HKEY opened = 0;
  if (!can_create || path.empty() || KeyExists(key)) {
    // An existing key is opened with the reduced rights only, never with
    // full access, so that this works where full access is refused.
    opened = OpenWith(key, kReducedAccess, false);
  } else {
    opened = OpenWith(key, KEY_ALL_ACCESS, true);
  }
  if (opened == 0) return false;
  ChangeKey(opened, relative && CurrentKey() != 0 ? CurrentPath() + "\\" + path : path);
  return true;
}

bool TwnmrRegistry::DeleteKeyTree(const std::string& key) {
  const bool relative = IsRelative(key);
  const HKEY base = GetBaseKey(relative);
  const HKEY doomed = OpenKeyAllAccess(key);
  if (doomed != 0) {
    const HKEY previous = CurrentKey();
    SetCurrentKey(doomed);
    try {
      // The names are taken before the first deletion, so that deleting one
      // subkey cannot make the walk skip the next.
      for (const std::string& sub : KeyNames()) DeleteKeyTree(sub);
    } catch (...) {
      SetCurrentKey(previous);
      RegHandles::Close(doomed);
      throw;
    }
    SetCurrentKey(previous);
    RegHandles::Close(doomed);
  }
  return RegHandles::DeleteSubKey(Store(), base, StripBackslash(key));
}

}  // namespace wenmoor
