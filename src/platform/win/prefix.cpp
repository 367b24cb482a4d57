// The minimal layout of a new prefix (see prefix.h).
#include "platform/win/prefix.h"

#include <system_error>
#include <utility>
#include <vector>

#include "platform/win/machine.h"
#include "platform/win/os_version.h"
#include "platform/win/registry_store.h"

namespace fs = std::filesystem;

namespace wenmoor::platform {

namespace {

// Folders of a profile: (shell folder value, path below the profile).
using Folders = std::vector<std::pair<const char*, const char*>>;

const Folders kUserFolders = {
    {"AppData", "Application Data"},
    {"Cache", "Local Settings\\Temporary Internet Files"},
    {"Cookies", "Cookies"},
    {"Desktop", "Desktop"},
    {"Favorites", "Favorites"},
    {"History", "Local Settings\\History"},
    {"Local AppData", "Local Settings\\Application Data"},
    {"Local Settings", "Local Settings"},
    {"My Music", "My Documents\\My Music"},
    {"My Pictures", "My Documents\\My Pictures"},
    {"My Video", "My Documents\\My Videos"},
    {"NetHood", "NetHood"},
    {"Personal", "My Documents"},
    {"PrintHood", "PrintHood"},
    {"Programs", "Start Menu\\Programs"},
    {"Recent", "Recent"},
    {"SendTo", "SendTo"},
    {"Start Menu", "Start Menu"},
    {"Startup", "Start Menu\\Programs\\Startup"},
    {"AltStartup", "Start Menu\\Programs\\Startup"},
    {"Templates", "Templates"},
};

const Folders kCommonFolders = {
    {"Common AppData", "Application Data"},
    {"Common Desktop", "Desktop"},
    {"Common Documents", "Documents"},
    {"Common Favorites", "Favorites"},
    {"Common Programs", "Start Menu\\Programs"},
    {"Common Start Menu", "Start Menu"},
    {"Common Startup", "Start Menu\\Programs\\Startup"},
    {"Common AltStartup", "Start Menu\\Programs\\Startup"},
    {"Common Templates", "Templates"},
};

constexpr const char* kWindowsDir = "C:\\windows";
constexpr const char* kTempDir = "C:\\windows\\temp";

fs::path HostBelow(const fs::path& base, std::string_view win_relative) {
  fs::path p = base;
  size_t start = 0;
  while (start <= win_relative.size()) {
    size_t end = win_relative.find('\\', start);
    if (end == std::string_view::npos) end = win_relative.size();
    if (end > start) p /= std::string(win_relative.substr(start, end - start));
    start = end + 1;
  }
  return p;
}

void MakeDirectory(const fs::path& dir) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) throw PrefixError("cannot create " + dir.string() + ": " + ec.message());
}

void MakeLink(const fs::path& link, const fs::path& target) {
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(link, ec))) return;
  fs::create_directory_symlink(target, link, ec);
  if (ec) throw PrefixError("cannot create " + link.string() + ": " + ec.message());
}

void WriteFolders(RegistryStore& reg, RootKey root, const std::string& profile, const std::string& variable,
                  const Folders& folders) {
  const std::string base = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
  for (const auto& [name, below] : folders) {
    reg.SetValue(root, base + "Shell Folders", name, RegValue::String(profile + "\\" + below));
    reg.SetValue(root, base + "User Shell Folders", name,
                 RegValue::String(variable + "\\" + below, REG_EXPAND_SZ));
  }
}

void WriteRegistry(RegistryStore& reg, const std::string& user) {
  const std::string profile = "C:\\users\\" + user;
  const std::string all_users = "C:\\users\\All Users";
  const auto S = [](std::string_view text) { return RegValue::String(text); };
  const auto X = [](std::string_view text) { return RegValue::String(text, REG_EXPAND_SZ); };
  const RootKey lm = RootKey::LocalMachine;
  const RootKey cu = RootKey::CurrentUser;
  const OsVersionInfo xp = *VersionFromWineName("winxp");
  const std::string build = std::to_string(xp.build);

  const std::string win = "Software\\Microsoft\\Windows\\CurrentVersion";
  reg.SetValue(lm, win, "ProgramFilesDir", S("C:\\Program Files"));
  reg.SetValue(lm, win, "CommonFilesDir", S("C:\\Program Files\\Common Files"));
  reg.SetValue(lm, win, "ProductName", S(xp.product_name));
  reg.SetValue(lm, win, "VersionNumber", S("5.1." + build));
  reg.SetValue(lm, win, "ProductId", S("12345-oem-0000001-54321"));
  reg.CreateKey(lm, win + "\\Run");
  reg.CreateKey(lm, win + "\\RunOnce");
  reg.CreateKey(lm, win + "\\Uninstall");
  reg.CreateKey(cu, win + "\\Run");
  reg.CreateKey(cu, win + "\\RunOnce");

  const std::string nt = "Software\\Microsoft\\Windows NT\\CurrentVersion";
  reg.SetValue(lm, nt, "CurrentVersion", S("5.1"));
  reg.SetValue(lm, nt, "CurrentBuildNumber", S(build));
  reg.SetValue(lm, nt, "CurrentBuild", S(build));
  reg.SetValue(lm, nt, "CSDVersion", S(xp.csd_version));
  reg.SetValue(lm, nt, "ProductName", S(xp.product_name));
  reg.SetValue(lm, nt, "SystemRoot", S(kWindowsDir));
  reg.SetValue(lm, nt, "RegisteredOwner", S(user));
  reg.SetValue(lm, nt, "RegisteredOrganization", S(""));
  reg.SetValue(lm, nt + "\\ProfileList", "ProfilesDirectory", X("%SystemDrive%\\users"));
  reg.SetValue(lm, nt + "\\ProfileList", "AllUsersProfile", S("All Users"));

  const std::string session = "System\\CurrentControlSet\\Control\\Session Manager";
  reg.SetValue(lm, session + "\\Environment", "ComSpec", X("%SystemRoot%\\system32\\cmd.exe"));
  reg.SetValue(lm, session + "\\Environment", "PATH", X("%SystemRoot%\\system32;%SystemRoot%"));
  reg.SetValue(lm, session + "\\Environment", "PATHEXT", S(".COM;.EXE;.BAT;.CMD"));
  reg.SetValue(lm, session + "\\Environment", "OS", S("Windows_NT"));
  reg.SetValue(lm, session + "\\Environment", "windir", X("%SystemRoot%"));
  reg.SetValue(lm, session + "\\Environment", "TEMP", X("%SystemRoot%\\temp"));
  reg.SetValue(lm, session + "\\Environment", "TMP", X("%SystemRoot%\\temp"));

  reg.SetValue(cu, "Environment", "TEMP", S(kTempDir));
  reg.SetValue(cu, "Environment", "TMP", S(kTempDir));
  reg.SetValue(cu, "Software\\Wine", "Version", S("winxp"));

  WriteFolders(reg, cu, profile, "%USERPROFILE%", kUserFolders);
  reg.SetValue(cu, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Fonts",
               S("C:\\windows\\Fonts"));
  WriteFolders(reg, lm, all_users, "%ALLUSERSPROFILE%", kCommonFolders);
  reg.Sync();
}

}  // namespace

bool PrefixExists(const fs::path& prefix) {
  std::error_code ec;
  return fs::exists(prefix / "system.reg", ec) || fs::is_directory(prefix / "drive_c", ec);
}

bool CreatePrefix(const fs::path& prefix) {
  if (PrefixExists(prefix)) return false;
  MakeDirectory(prefix);
  const fs::path c = prefix / "drive_c";
  for (const char* dir : {"windows\\system32", "windows\\system", "windows\\temp", "windows\\Fonts",
                          "Program Files\\Common Files"})
    MakeDirectory(HostBelow(c, dir));
  const std::string user = Machine::UserName();
  const fs::path users = c / "users";
  for (const auto& [name, below] : kUserFolders) MakeDirectory(HostBelow(users / user, below));
  for (const auto& [name, below] : kCommonFolders) MakeDirectory(HostBelow(users / "All Users", below));

  MakeDirectory(prefix / "dosdevices");
  MakeLink(prefix / "dosdevices" / "c:", "../drive_c");
  MakeLink(prefix / "dosdevices" / "z:", "/");

  try {
    RegistryStore reg(prefix);
    WriteRegistry(reg, user);
  } catch (const std::exception& e) {
    throw PrefixError("cannot write the registry of " + prefix.string() + ": " + e.what());
  }
  return true;
}

}  // namespace wenmoor::platform
