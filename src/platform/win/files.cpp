// File services: existence, attributes, dates, copy, delete, move.
// Directories, temporary names and disks are in directories.cpp.
#include "platform/win/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/win/file_in_use.h"
#include "platform/win/host_files.h"
#include "platform/win/machine.h"
#include "platform/win/os_version.h"
#include "platform/win/paths.h"
#include "platform/win/pending_renames.h"
#include "platform/win/win_error.h"

namespace fs = std::filesystem;

namespace wenmoor::platform {

namespace {

constexpr const char* kDosAttrib = "user.DOSATTRIB";
// The bits kept in the extended attribute (read-only is the mode's, the
// directory bit the file type's).
constexpr uint32_t kXattrBits = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE;

std::optional<fs::path> Host(std::string_view path) { return Machine::Current().Paths().ToHost(path); }

FileId IdOf(const struct stat& st) { return FileId{st.st_dev, st.st_ino}; }

bool ReadOnlyMode(mode_t mode) { return (mode & 0222) == 0; }

// stat() of an existing path, or false with the Windows error of a missing
// one: ERROR_FILE_NOT_FOUND when only the last component is missing,
// ERROR_PATH_NOT_FOUND when its directory is.
bool StatOrFail(const fs::path& host, struct stat& st, bool follow = true) {
  if ((follow ? ::stat(host.c_str(), &st) : ::lstat(host.c_str(), &st)) == 0) return true;
  if (errno == ENOENT) {
    struct stat parent {};
    return Fail(::stat(host.parent_path().c_str(), &parent) == 0 ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
  }
  return errno == ENOTDIR ? Fail(ERROR_PATH_NOT_FOUND) : FailFromErrno();
}

// The bits of user.DOSATTRIB in its text form ("0x22"); nullopt when the
// attribute is absent or in a form we do not read (Samba's binary blob).
std::optional<uint32_t> ReadDosAttrib(const fs::path& host) {
  char buf[64] = {};
  const ssize_t n = ::getxattr(host.c_str(), kDosAttrib, buf, sizeof buf - 1);
  if (n < 3 || buf[0] != '0' || (buf[1] != 'x' && buf[1] != 'X')) return std::nullopt;
  char* end = nullptr;
  const unsigned long v = std::strtoul(buf + 2, &end, 16);
  if (end == buf + 2) return std::nullopt;
  return static_cast<uint32_t>(v);
}

// Stores bits in user.DOSATTRIB. A file system without extended attributes
// keeps only what the mode can say; that is not an error.
bool WriteDosAttrib(const fs::path& host, uint32_t bits) {
  char buf[16];
  const int n = std::snprintf(buf, sizeof buf, "0x%x", bits);
  if (::setxattr(host.c_str(), kDosAttrib, buf, static_cast<size_t>(n), 0) == 0) return true;
  if (errno == ENOTSUP || errno == EPERM) return true;
  return FailFromErrno();
}

}  // namespace

uint32_t HostFileAttributes(const fs::path& host, const struct stat& st) {
  const bool dir = S_ISDIR(st.st_mode);
  uint32_t attr = dir ? FILE_ATTRIBUTE_DIRECTORY : 0;
  if (std::optional<uint32_t> stored = ReadDosAttrib(host)) {
    // Directories keep their read-only flag here: on Windows it does not
    // stop writing into them, so it must not become a permission.
    attr |= *stored & (kXattrBits | (dir ? FILE_ATTRIBUTE_READONLY : 0));
  } else if (!dir) {
    attr |= FILE_ATTRIBUTE_ARCHIVE;
  }
  if (!dir && ReadOnlyMode(st.st_mode)) attr |= FILE_ATTRIBUTE_READONLY;
  return attr == 0 ? FILE_ATTRIBUTE_NORMAL : attr;
}

namespace {

// Why `host` (which exists) may not be deleted or replaced now; 0 if it may.
uint32_t ReplaceRefusal(const fs::path& host, const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return ERROR_ACCESS_DENIED;
  if (ReadOnlyMode(st.st_mode) && !S_ISLNK(st.st_mode)) return ERROR_ACCESS_DENIED;
  if (FileInUse(IdOf(st), host)) return ERROR_SHARING_VIOLATION;
  return ERROR_SUCCESS;
}

// Copies the bytes and metadata of `source` into a new file beside `dest`,
// then renames it onto `dest`, so `dest` is never seen half-written.
bool CopyInto(const fs::path& source, const struct stat& src_st, const fs::path& dest) {
  const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return FailFromErrno();
  std::string temp = (dest.parent_path() / ("." + dest.filename().string() + ".XXXXXX")).string();
  const int out = ::mkostemp(temp.data(), O_CLOEXEC);
  if (out < 0) {
    const int err = errno;
    ::close(in);
    return Fail(err == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(err));
  }
  bool ok = true;
  char buf[1 << 16];
  for (;;) {
    const ssize_t n = ::read(in, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = FailFromErrno();
      break;
    }
    for (ssize_t done = 0; ok && done < n;) {
      const ssize_t w = ::write(out, buf + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) ok = FailFromErrno();
      else done += w;
    }
    if (!ok) break;
  }
  if (ok) {
    const struct timespec times[2] = {src_st.st_atim, src_st.st_mtim};
    ::futimens(out, times);
    if (::fchmod(out, src_st.st_mode & 07777) != 0) ok = FailFromErrno();
  }
  ::close(in);
  if (::close(out) != 0 && ok) ok = FailFromErrno();
  if (ok) {
    if (std::optional<uint32_t> bits = ReadDosAttrib(source)) WriteDosAttrib(temp, *bits);
    if (::rename(temp.c_str(), dest.c_str()) != 0) ok = FailFromErrno();
  }
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

// The host place where `dest` is to be created: its directory resolved,
// its last component as given (so a rename can change only the case).
std::optional<fs::path> NewHostName(std::string_view dest) {
  PathMap& paths = Machine::Current().Paths();
  std::optional<WinPath> p = paths.Parse(dest);
  if (!p) return std::nullopt;
  if (p->components.empty()) {
    SetLastError(ERROR_ACCESS_DENIED);  // a drive's root
    return std::nullopt;
  }
  const std::string last = p->components.back();
  p->components.pop_back();
  std::optional<fs::path> dir = paths.ToHost(p->ToString());
  if (!dir) return std::nullopt;
  return *dir / last;
}

}  // namespace

bool FileExists(std::string_view path) {
  std::optional<fs::path> host = Host(path);
  struct stat st {};
  return host && ::stat(host->c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(std::string_view path) {
  std::optional<fs::path> host = Host(path);
  struct stat st {};
  return host && ::stat(host->c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

uint32_t GetFileAttributes(std::string_view path) {
  std::optional<fs::path> host = Host(path);
  struct stat st {};
  if (!host || !StatOrFail(*host, st)) return INVALID_FILE_ATTRIBUTES;
  return HostFileAttributes(*host, st);
}

bool SetFileAttributes(std::string_view path, uint32_t attributes) {
  std::optional<fs::path> host = Host(path);
  struct stat st {};
  if (!host || !StatOrFail(*host, st)) return false;
  const bool dir = S_ISDIR(st.st_mode);
  if (!dir) {
    mode_t mode = st.st_mode & 07777;
    if (attributes & FILE_ATTRIBUTE_READONLY) {
      mode &= ~mode_t{0222};
    } else if (ReadOnlyMode(mode)) {
      // Write for the owner, and for those who may read, as far as the
      // umask allows (as Wine clears the flag).
      const mode_t mask = ::umask(0);
      ::umask(mask);
      mode |= (0200 | ((mode & 0044) >> 1)) & ~mask;
    }
    if (mode != (st.st_mode & 07777) && ::chmod(host->c_str(), mode) != 0) return FailFromErrno();
  }
  return WriteDosAttrib(*host, attributes & (kXattrBits | (dir ? FILE_ATTRIBUTE_READONLY : 0)));
}

std::optional<int64_t> GetFileSize(std::string_view path) {
  std::optional<fs::path> host = Host(path);
  struct stat st {};
  if (!host || !StatOrFail(*host, st)) return std::nullopt;
  if (S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return std::nullopt;
  }
  return static_cast<int64_t>(st.st_size);
}

std::optional<TDateTime> GetFileDate(std::string_view path) {
  std::optional<fs::path> host = Host(path);
  struct stat st {};
  if (!host || !StatOrFail(*host, st)) return std::nullopt;
  return UnixTimeToDateTime(st.st_mtim);
}

bool SetFileDate(std::string_view path, TDateTime local_time) {
  std::optional<fs::path> host = Host(path);
  struct stat st {};
  if (!host || !StatOrFail(*host, st)) return false;
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1] = DateTimeToUnixTime(local_time);
  if (::utimensat(AT_FDCWD, host->c_str(), times, 0) != 0) return FailFromErrno();
  return true;
}

bool IsFileInUse(std::string_view path) {
  std::optional<fs::path> host = Host(path);
  struct stat st {};
  if (!host || ::stat(host->c_str(), &st) != 0) return false;
  return FileInUse(IdOf(st), *host);
}

bool CopyFile(std::string_view source, std::string_view dest, IfExists if_exists) {
  std::optional<fs::path> src = Host(source);
  struct stat src_st {};
  if (!src || !StatOrFail(*src, src_st)) return false;
  if (S_ISDIR(src_st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  std::optional<fs::path> dst = Host(dest);
  if (!dst) return false;
  struct stat dst_st {};
  if (::stat(dst->c_str(), &dst_st) == 0) {
    if (dst_st.st_dev == src_st.st_dev && dst_st.st_ino == src_st.st_ino) return Fail(ERROR_SHARING_VIOLATION);
    if (if_exists == IfExists::Fail) return Fail(ERROR_FILE_EXISTS);
    if (uint32_t refusal = ReplaceRefusal(*dst, dst_st)) return Fail(refusal);
  }
  return CopyInto(*src, src_st, *dst);
}

bool DeleteFile(std::string_view path) {
  std::optional<fs::path> host = Host(path);
  struct stat st {};
  if (!host || !StatOrFail(*host, st, /*follow=*/false)) return false;
  if (uint32_t refusal = ReplaceRefusal(*host, st)) return Fail(refusal);
  if (::unlink(host->c_str()) != 0) return FailFromErrno();
  return true;
}

bool MoveFile(std::string_view source, std::string_view dest) {
  return MoveFileEx(source, dest, MOVEFILE_COPY_ALLOWED);
}

bool MoveFileEx(std::string_view source, std::string_view dest, uint32_t flags) {
  PathMap& paths = Machine::Current().Paths();
  if (flags & MOVEFILE_DELAY_UNTIL_REBOOT) {
    if (flags & MOVEFILE_COPY_ALLOWED) return Fail(ERROR_INVALID_PARAMETER);
    OsVersionInfo version;
    if (!GetVersionEx(version)) return false;
    if (version.IsWin9x()) return Fail(ERROR_CALL_NOT_IMPLEMENTED);
    std::optional<std::string> from = paths.FullPath(source);
    std::optional<std::string> to = dest.empty() ? std::optional<std::string>("") : paths.FullPath(dest);
    if (!from || !to) return false;
    try {
      AddPendingRename(Machine::Current().Registry(),
                       {*from, *to, (flags & MOVEFILE_REPLACE_EXISTING) != 0 && !to->empty()});
    } catch (const std::exception&) {
      return Fail(ERROR_ACCESS_DENIED);  // the registry refused, as for a user without the right
    }
    return true;
  }
  if (dest.empty()) return Fail(ERROR_INVALID_PARAMETER);

  std::optional<fs::path> src = Host(source);
  struct stat src_st {};
  if (!src || !StatOrFail(*src, src_st, /*follow=*/false)) return false;
  const bool is_dir = S_ISDIR(src_st.st_mode);
  if (!is_dir && FileInUse(IdOf(src_st), *src)) return Fail(ERROR_SHARING_VIOLATION);
  std::optional<fs::path> dst = NewHostName(dest);
  if (!dst) return false;

  struct stat dst_st {};
  std::optional<fs::path> existing = Host(dest);
  if (existing && ::lstat(existing->c_str(), &dst_st) == 0) {
    const bool same = dst_st.st_dev == src_st.st_dev && dst_st.st_ino == src_st.st_ino;
    if (!same) {  // the same file: only the case of its name changes
      if (!(flags & MOVEFILE_REPLACE_EXISTING)) return Fail(ERROR_ALREADY_EXISTS);
      if (is_dir) return Fail(ERROR_ACCESS_DENIED);
      if (uint32_t refusal = ReplaceRefusal(*existing, dst_st)) return Fail(refusal);
      if (*existing != *dst && ::unlink(existing->c_str()) != 0) return FailFromErrno();
    }
  }
  if (::rename(src->c_str(), dst->c_str()) == 0) return true;
  if (errno != EXDEV) return FailFromErrno();
  if (is_dir || !(flags & MOVEFILE_COPY_ALLOWED)) return Fail(ERROR_NOT_SAME_DEVICE);
  if (!CopyInto(*src, src_st, *dst)) return false;
  if (::unlink(src->c_str()) != 0) return FailFromErrno();
  return true;
}

}  // namespace wenmoor::platform
