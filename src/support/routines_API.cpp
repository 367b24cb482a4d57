// System queries over the emulated machine.
#include "support/routines_API.h"

#include "platform/win/files.h"
#include "platform/win/library.h"
#include "platform/win/machine.h"
#include "platform/win/os_version.h"
#include "platform/win/paths.h"

namespace wenmoor {

namespace {
// The buffers the system hands to the platform: a longer result does not
// fit and counts as a failure.
constexpr size_t kMaxPath = 261;
constexpr size_t kShortPathBuffer = 401;
}  // namespace

TOSVerType WindowsVersionFromInfo(uint32_t platform_id, uint32_t major, uint32_t minor) {
  switch (platform_id) {
    case platform::VER_PLATFORM_WIN32s:
      return os31win32;
    case platform::VER_PLATFORM_WIN32_WINDOWS:
      // Windows 95 (minor 0) reports as Windows 98: the system treats the
      // two alike.
      return minor == 90 ? oswinME : oswin98;
    case platform::VER_PLATFORM_WIN32_NT:
      if (major < 4) return oswinNT351;
      if (major == 4) return oswinNT;
      if (major == 5) return minor == 0 ? oswin2K : oswinXP;
      return osUnidentified;
    default:
      return osUnidentified;
  }
}

TOSVerType GetWindowsVersion() {
  platform::OsVersionInfo info;
  if (!platform::GetVersionEx(info))
    throw EAPIRoutines("Could not get information about the current version of Windows");
  return WindowsVersionFromInfo(info.platform_id, info.major, info.minor);
}

std::string CreateTempFileName(bool keep) {
  const std::string dir = platform::GetTempPath();
  std::optional<std::string> name;
  if (!dir.empty() && dir.size() < kMaxPath) name = platform::GetTempFileName(dir, "bat", 0);
  if (!name || name->empty()) throw EAPIRoutines("Cannot create a temporary file");
  if (!keep) platform::DeleteFile(*name);
  return *name;
}

std::string GetSystemDir() {
  const std::string dir = platform::GetSystemDirectory();
  if (dir.empty() || dir.size() >= kMaxPath) throw EAPIRoutines("Could not retrieve the system directroy from windows");
  return dir;
}

std::string GetWindowsDir() {
  const std::string dir = platform::GetWindowsDirectory();
  if (dir.empty() || dir.size() >= kMaxPath)
    throw EAPIRoutines("Could not retrieve the windows directory from windows");
  return dir;
}

std::string GetShortPath(const std::string& path) {
  std::optional<std::string> short_path = platform::Machine::Current().Paths().ShortPathName(path);
  if (!short_path || short_path->size() >= kShortPathBuffer) return "";
  return *short_path;
}

std::string LoadStringFromLibrary(const std::string& file, uint32_t /*id*/) {
  // A library that loads here is a native object, and native objects carry
  // no string resources; one that does not load has none to give either.
  std::unique_ptr<platform::Library> library = platform::Library::Load(file);
  return "";
}

}  // namespace wenmoor
