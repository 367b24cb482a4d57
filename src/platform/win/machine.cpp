// The machine of this process and its emulated environment.
#include "platform/win/machine.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>

#include "platform/rtl/typeinfo.h"
#include "platform/win/paths.h"
#include "platform/win/prefix.h"

namespace fs = std::filesystem;

namespace wenmoor::platform {

namespace {

std::unique_ptr<Machine>& CurrentSlot() {
  static std::unique_ptr<Machine> current;
  return current;
}
std::mutex& CurrentMutex() {
  static std::mutex m;
  return m;
}

std::unique_ptr<Machine> OpenOrCreate(const fs::path& prefix) {
  std::error_code ec;
  const fs::path abs = fs::absolute(prefix, ec).lexically_normal();
  if (ec) throw PrefixError("cannot use the prefix " + prefix.string() + ": " + ec.message());
  if (fs::exists(abs, ec) && !fs::is_directory(abs, ec))
    throw PrefixError("the prefix " + abs.string() + " is not a directory");
  CreatePrefix(abs);  // no-op for a prefix that exists
  return std::make_unique<Machine>(abs);
}

std::optional<std::string> RegString(RegistryStore& reg, RootKey root, std::string_view key, std::string_view name) {
  try {
    std::optional<RegValue> v = reg.QueryValue(root, key, name);
    if (v) return v->AsString();
  } catch (const std::exception&) {
    // An unreadable hive leaves the variable unset, as a missing value does.
  }
  return std::nullopt;
}

constexpr std::string_view kSystemEnvironment = "System\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr std::string_view kNtVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr std::string_view kWinVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr std::string_view kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

}  // namespace

Machine::Machine(fs::path prefix)
    : prefix_(std::move(prefix)),
      registry_(std::make_unique<RegistryStore>(prefix_)),
      paths_(std::make_unique<PathMap>(prefix_)) {}

Machine::~Machine() = default;

fs::path Machine::DefaultPrefixPath() {
  if (const char* env = std::getenv("WINEPREFIX"); env && *env) return env;
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    const passwd* pw = getpwuid(getuid());
    home = pw ? pw->pw_dir : "/";
  }
  return fs::path(home) / ".wine";
}

Machine& Machine::Current() {
  std::lock_guard lock(CurrentMutex());
  std::unique_ptr<Machine>& slot = CurrentSlot();
  if (!slot) slot = OpenOrCreate(DefaultPrefixPath());
  return *slot;
}

Machine::TestScope::TestScope(const fs::path& prefix) {
  std::unique_ptr<Machine> next = OpenOrCreate(prefix);
  std::lock_guard lock(CurrentMutex());
  previous_ = std::move(CurrentSlot());
  CurrentSlot() = std::move(next);
}

Machine::TestScope::~TestScope() {
  std::lock_guard lock(CurrentMutex());
  CurrentSlot() = std::move(previous_);
}

std::string Machine::UserName() {
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name && *pw->pw_name) return pw->pw_name;
  if (const char* user = std::getenv("USER"); user && *user) return user;
  return "user";
}

std::string Machine::EnvironmentVariable(std::string_view name) {
  RegistryStore& reg = *registry_;
  // The user's own variables win over the system's, as in a Windows
  // process's environment block; REG_EXPAND_SZ values are expanded there.
  for (RootKey root : {RootKey::CurrentUser, RootKey::LocalMachine}) {
    const std::string_view key = root == RootKey::CurrentUser ? std::string_view("Environment") : kSystemEnvironment;
    for (const std::string& value_name : reg.ValueNames(root, key)) {
      if (!SameText(value_name, name)) continue;
      std::optional<RegValue> v = reg.QueryValue(root, key, value_name);
      if (!v || !v->AsString()) continue;
      return v->type == REG_EXPAND_SZ ? ExpandEnvironmentStrings(*v->AsString()) : *v->AsString();
    }
  }
  // The variables that Windows derives from its own settings.
  const auto windows_dir = [&] {
    return RegString(reg, RootKey::LocalMachine, kNtVersion, "SystemRoot").value_or("C:\\windows");
  };
  const auto profiles_dir = [&] {
    std::string dir =
        RegString(reg, RootKey::LocalMachine, std::string(kNtVersion) + "\\ProfileList", "ProfilesDirectory")
            .value_or("%SystemDrive%\\users");
    return ExpandEnvironmentStrings(dir);
  };
  if (SameText(name, "SystemRoot") || SameText(name, "windir")) return windows_dir();
  if (SameText(name, "SystemDrive")) return windows_dir().substr(0, 2);
  if (SameText(name, "USERNAME")) return UserName();
  if (SameText(name, "USERPROFILE")) return profiles_dir() + "\\" + UserName();
  if (SameText(name, "ALLUSERSPROFILE")) {
    std::string all =
        RegString(reg, RootKey::LocalMachine, std::string(kNtVersion) + "\\ProfileList", "AllUsersProfile")
            .value_or("All Users");
    return profiles_dir() + "\\" + all;
  }
  if (SameText(name, "ProgramFiles"))
    return RegString(reg, RootKey::LocalMachine, kWinVersion, "ProgramFilesDir").value_or("C:\\Program Files");
  if (SameText(name, "CommonProgramFiles"))
    return RegString(reg, RootKey::LocalMachine, kWinVersion, "CommonFilesDir")
        .value_or("C:\\Program Files\\Common Files");
  if (SameText(name, "APPDATA")) return RegString(reg, RootKey::CurrentUser, kShellFolders, "AppData").value_or("");
  return "";
}

std::string Machine::ExpandEnvironmentStrings(std::string_view text) {
  // Variables are expanded when they are read (EnvironmentVariable), and
  // their values may refer to other variables (TEMP=%SystemRoot%\temp);
  // a depth limit stops variables that refer to themselves.
  static thread_local int depth = 0;
  if (depth > 8) return std::string(text);
  struct Nest {
    Nest() { ++depth; }
    ~Nest() { --depth; }
  } nest;
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    const size_t open = text.find('%', i);
    if (open == std::string_view::npos) break;
    const size_t close = text.find('%', open + 1);
    if (close == std::string_view::npos) break;
    out.append(text.substr(i, open - i));
    const std::string_view name = text.substr(open + 1, close - open - 1);
    std::string value = name.empty() ? std::string() : EnvironmentVariable(name);
    if (value.empty()) {
      out.append(text.substr(open, close - open));  // unknown: kept, and its closing % may open the next
      i = close;
      continue;
    }
    out += value;
    i = close + 1;
  }
  out.append(text.substr(std::min(i, text.size())));
  return out;
}

RegistryStore& CurrentRegistry() { return Machine::Current().Registry(); }

}  // namespace wenmoor::platform
