// File services: directories, listings, temporary names, disks and the
// Windows directories (declared in files.h).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "platform/win/files.h"
#include "platform/win/host_files.h"
#include "platform/win/machine.h"
#include "platform/win/name_rules.h"
#include "platform/win/os_version.h"
#include "platform/win/paths.h"
#include "platform/win/win_error.h"

namespace fs = std::filesystem;

namespace wenmoor::platform {

namespace {

std::optional<fs::path> Host(std::string_view path) { return Machine::Current().Paths().ToHost(path); }

std::string WithBackslash(std::string s) {
  if (s.empty() || s.back() != '\\') s += '\\';
  return s;
}

// '*' any run of characters, '?' exactly one; both sides already folded.
bool Glob(std::string_view name, std::string_view mask) {
  size_t n = 0, m = 0, star_m = std::string_view::npos, star_n = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || mask[m] == name[n])) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      star_m = m++;
      star_n = n;
    } else if (star_m != std::string_view::npos) {
      m = star_m + 1;
      n = ++star_n;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
  const std::string n = FoldFileName(name);
  std::string m = FoldFileName(mask);
  if (m == "*" || m == "*.*") return true;
  if (Glob(n, m)) return true;
  // DOS rules: "x.*" also matches "x" (no extension), "x." only names
  // without a dot.
  if (m.size() >= 2 && m.compare(m.size() - 2, 2, ".*") == 0 && n.find('.') == std::string::npos)
    return Glob(n, std::string_view(m).substr(0, m.size() - 2));
  if (!m.empty() && m.back() == '.' && n.find('.') == std::string::npos)
    return Glob(n, std::string_view(m).substr(0, m.size() - 1));
  return false;
}

bool CreateDirectory(std::string_view path) {
  std::optional<fs::path> host = Host(path);
  if (!host) return false;
  if (::mkdir(host->c_str(), 0777) == 0) return true;
  if (errno == ENOENT || errno == ENOTDIR) return Fail(ERROR_PATH_NOT_FOUND);
  return FailFromErrno();
}

bool ForceDirectories(std::string_view path) {
  std::optional<fs::path> host = Host(path);
  if (!host) return false;
  std::error_code ec;
  fs::create_directories(*host, ec);
  if (fs::is_directory(*host)) return true;
  return ec ? Fail(ec.value() == ENOTDIR || ec.value() == EEXIST ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(ec.value()))
            : Fail(ERROR_PATH_NOT_FOUND);
}

bool RemoveDirectory(std::string_view path) {
  std::optional<fs::path> host = Host(path);
  if (!host) return false;
  struct stat st {};
  if (::lstat(host->c_str(), &st) != 0) return Fail(errno == ENOENT ? ERROR_FILE_NOT_FOUND : ErrorFromErrno(errno));
  if (!S_ISDIR(st.st_mode)) return Fail(ERROR_DIRECTORY);
  if (::rmdir(host->c_str()) == 0) return true;
  if (errno == ENOTEMPTY || errno == EEXIST) return Fail(ERROR_DIR_NOT_EMPTY);
  return FailFromErrno();
}

std::vector<FindData> FindFiles(std::string_view pattern) {
  std::string p(pattern);
  std::replace(p.begin(), p.end(), '/', '\\');
  const size_t sep = p.find_last_of('\\');
  std::string dir = sep == std::string::npos ? std::string(".") : p.substr(0, sep + 1);
  const std::string mask = sep == std::string::npos ? p : p.substr(sep + 1);
  if (mask.empty()) {  // "C:\dir\" names no file, as FindFirstFile has it
    SetLastError(ERROR_FILE_NOT_FOUND);
    return {};
  }
  std::optional<fs::path> host = Host(dir);
  struct stat dst {};
  if (!host || ::stat(host->c_str(), &dst) != 0 || !S_ISDIR(dst.st_mode)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return {};
  }
  std::vector<std::string> names;
  if (DIR* d = ::opendir(host->c_str())) {
    while (const dirent* e = ::readdir(d)) {
      const std::string name = e->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(d);
  } else {
    FailFromErrno();
    return {};
  }
  const std::map<std::string, std::string> shorts = AssignShortNames(names);
  std::vector<std::pair<std::string, FindData>> found;
  for (const std::string& name : names) {
    const std::string& short_name = shorts.at(name);
    if (!MatchesMask(name, mask) && !MatchesMask(short_name, mask)) continue;
    const fs::path entry = *host / name;
    struct stat st {};
    if (::stat(entry.c_str(), &st) != 0) continue;  // a dangling link, or gone meanwhile
    FindData data;
    data.name = name;
    data.short_name = short_name;
    data.attributes = HostFileAttributes(entry, st);
    data.size = S_ISDIR(st.st_mode) ? 0 : static_cast<int64_t>(st.st_size);
    data.last_write = UnixTimeToDateTime(st.st_mtim);
    found.emplace_back(FoldFileName(name) + '\0' + name, std::move(data));
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<FindData> result;
  for (auto& [key, data] : found) result.push_back(std::move(data));
  if (result.empty()) SetLastError(ERROR_FILE_NOT_FOUND);
  return result;
}

std::string GetTempPath() {
  Machine& m = Machine::Current();
  std::string dir;
  for (const char* name : {"TMP", "TEMP", "USERPROFILE"}) {
    dir = m.EnvironmentVariable(name);
    if (!dir.empty()) break;
  }
  if (dir.empty()) dir = GetWindowsDirectory() + "\\temp";
  if (std::optional<std::string> full = m.Paths().FullPath(dir)) dir = *full;
  ForceDirectories(dir);
  return WithBackslash(dir);
}

std::optional<std::string> GetTempFileName(std::string_view dir, std::string_view prefix, uint32_t unique) {
  std::optional<std::string> full = Machine::Current().Paths().FullPath(dir);
  if (!full) return std::nullopt;
  const std::string base = WithBackslash(*full) + std::string(prefix.substr(0, 3));
  auto name_of = [&](uint32_t n) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X.tmp", n & 0xFFFF);
    return base + hex;
  };
  if (unique != 0) return name_of(unique);
  if (!DirectoryExists(*full)) {
    SetLastError(ERROR_DIRECTORY);
    return std::nullopt;
  }
  // Start at a number taken from the clock, as Windows does, and take the
  // first free one; creating the file with O_EXCL reserves it atomically.
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch();
  uint32_t n = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(ticks).count()) & 0xFFFF;
  for (uint32_t tries = 0; tries < 0x10000; ++tries, n = (n + 1) & 0xFFFF) {
    if (n == 0) continue;
    const std::string name = name_of(n);
    std::optional<fs::path> host = Host(name);
    if (!host) return std::nullopt;
    const int fd = ::open(host->c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      return name;
    }
    if (errno != EEXIST) {
      FailFromErrno();
      return std::nullopt;
    }
  }
  SetLastError(ERROR_FILE_EXISTS);
  return std::nullopt;
}

std::optional<DiskSpace> GetDiskFreeSpaceEx(std::string_view path) {
  std::optional<fs::path> host = Host(path);
  if (!host) return std::nullopt;
  struct statvfs vfs {};
  if (::statvfs(host->c_str(), &vfs) != 0) {
    FailFromErrno();
    return std::nullopt;
  }
  DiskSpace space;
  space.free_to_caller = static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
  space.total = static_cast<uint64_t>(vfs.f_blocks) * vfs.f_frsize;
  space.total_free = static_cast<uint64_t>(vfs.f_bfree) * vfs.f_frsize;
  return space;
}

std::optional<std::string> SearchPath(std::string_view name, std::string_view extension) {
  Machine& m = Machine::Current();
  PathMap& paths = m.Paths();
  std::string file(name);
  const size_t slash = file.find_last_of("\\/");
  const size_t dot = file.find_last_of('.');
  if (!extension.empty() && (dot == std::string::npos || (slash != std::string::npos && dot < slash)))
    file += extension;
  auto found = [&](const std::string& candidate) -> std::optional<std::string> {
    if (!FileExists(candidate)) return std::nullopt;
    return paths.FullPath(candidate);
  };
  if (file.find_first_of("\\/:") != std::string::npos) {
    if (std::optional<std::string> hit = found(file)) return hit;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return std::nullopt;
  }
  std::vector<std::string> dirs = {paths.ProgramDirectory(), paths.CurrentDirectory(), GetSystemDirectory(),
                                   GetWindowsDirectory()};
  const std::string path_var = m.EnvironmentVariable("PATH");
  for (size_t start = 0; start <= path_var.size();) {
    size_t end = path_var.find(';', start);
    if (end == std::string::npos) end = path_var.size();
    if (end > start) dirs.push_back(path_var.substr(start, end - start));
    start = end + 1;
  }
  for (const std::string& dir : dirs)
    if (std::optional<std::string> hit = found(WithBackslash(dir) + file)) return hit;
  SetLastError(ERROR_FILE_NOT_FOUND);
  return std::nullopt;
}

std::string GetWindowsDirectory() {
  std::string dir = Machine::Current().EnvironmentVariable("SystemRoot");
  while (dir.size() > 3 && dir.back() == '\\') dir.pop_back();
  return dir;
}

std::string GetSystemDirectory() {
  OsVersionInfo version;
  const bool nine_x = GetVersionEx(version) && version.IsWin9x();
  return GetWindowsDirectory() + (nine_x ? "\\system" : "\\system32");
}

}  // namespace wenmoor::platform
