// Special folders through the profile's folder values (see shell_folders.h).
#include "platform/win/shell_folders.h"

#include <exception>
#include <optional>

#include "platform/win/machine.h"
#include "platform/win/registry_store.h"

namespace wenmoor::platform {

namespace {

constexpr const char* kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";

struct FolderValue {
  int csidl;
  RootKey root;  // CurrentUser for the user's folders, LocalMachine for all users'
  const char* name;
};

// The value names are the ones the shell writes for each folder. Virtual
// folders are absent on purpose: they have no path.
constexpr FolderValue kFolders[] = {
    {CSIDL_PROGRAMS, RootKey::CurrentUser, "Programs"},
    {CSIDL_PERSONAL, RootKey::CurrentUser, "Personal"},
    {CSIDL_FAVORITES, RootKey::CurrentUser, "Favorites"},
    {CSIDL_STARTUP, RootKey::CurrentUser, "Startup"},
    {CSIDL_RECENT, RootKey::CurrentUser, "Recent"},
    {CSIDL_SENDTO, RootKey::CurrentUser, "SendTo"},
    {CSIDL_STARTMENU, RootKey::CurrentUser, "Start Menu"},
    {CSIDL_DESKTOPDIRECTORY, RootKey::CurrentUser, "Desktop"},
    {CSIDL_NETHOOD, RootKey::CurrentUser, "NetHood"},
    {CSIDL_FONTS, RootKey::CurrentUser, "Fonts"},
    {CSIDL_TEMPLATES, RootKey::CurrentUser, "Templates"},
    {CSIDL_COMMON_STARTMENU, RootKey::LocalMachine, "Common Start Menu"},
    {CSIDL_COMMON_PROGRAMS, RootKey::LocalMachine, "Common Programs"},
    {CSIDL_COMMON_STARTUP, RootKey::LocalMachine, "Common Startup"},
    {CSIDL_COMMON_DESKTOPDIRECTORY, RootKey::LocalMachine, "Common Desktop"},
    {CSIDL_APPDATA, RootKey::CurrentUser, "AppData"},
    {CSIDL_PRINTHOOD, RootKey::CurrentUser, "PrintHood"},
    {CSIDL_LOCAL_APPDATA, RootKey::CurrentUser, "Local AppData"},
    {CSIDL_ALTSTARTUP, RootKey::CurrentUser, "AltStartup"},
    {CSIDL_COMMON_ALTSTARTUP, RootKey::LocalMachine, "Common AltStartup"},
    {CSIDL_COMMON_FAVORITES, RootKey::LocalMachine, "Common Favorites"},
    {CSIDL_INTERNET_CACHE, RootKey::CurrentUser, "Cache"},
    {CSIDL_COOKIES, RootKey::CurrentUser, "Cookies"},
    {CSIDL_HISTORY, RootKey::CurrentUser, "History"},
    {CSIDL_COMMON_APPDATA, RootKey::LocalMachine, "Common AppData"},
    {CSIDL_MYPICTURES, RootKey::CurrentUser, "My Pictures"},
    {CSIDL_COMMON_TEMPLATES, RootKey::LocalMachine, "Common Templates"},
    {CSIDL_COMMON_DOCUMENTS, RootKey::LocalMachine, "Common Documents"},
};

std::optional<std::string> StringValue(RegistryStore& reg, RootKey root, const std::string& key, const char* name) {
  std::optional<RegValue> value = reg.QueryValue(root, key, name);
  if (!value) return std::nullopt;
  return value->AsString();
}

// "C:\a\" -> "C:\a", but "C:\" stays a root.
std::string WithoutTrailingBackslash(std::string path) {
  while (path.size() > 1 && path.back() == '\\' && !(path.size() == 3 && path[1] == ':')) path.pop_back();
  return path;
}

}  // namespace

std::string SHGetSpecialFolderPath(int csidl) {
  const int folder = csidl & 0xff;  // the high byte holds flags only
  for (const FolderValue& f : kFolders) {
    if (f.csidl != folder) continue;
    try {
      Machine& machine = Machine::Current();
      RegistryStore& reg = machine.Registry();
      // "Shell Folders" holds the expanded paths; a profile that only has
      // the unexpanded "User Shell Folders" value is read through that.
      std::optional<std::string> path = StringValue(reg, f.root, std::string(kExplorer) + "Shell Folders", f.name);
      if (!path || path->empty()) {
        path = StringValue(reg, f.root, std::string(kExplorer) + "User Shell Folders", f.name);
        if (path) path = machine.ExpandEnvironmentStrings(*path);
      }
      return path ? WithoutTrailingBackslash(*path) : std::string();
    } catch (const std::exception&) {
      return std::string();
    }
  }
  return std::string();
}

}  // namespace wenmoor::platform
