// TFileStream over the machine's files.
#include "platform/win/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/win/file_in_use.h"
#include "platform/win/machine.h"
#include "platform/win/paths.h"
#include "platform/win/win_error.h"

namespace wenmoor {

using namespace platform;

namespace {

// The component library's share modes as CreateFile takes them; the
// compatibility mode shares nothing, as it does there.
uint32_t ShareOf(uint16_t mode) {
  switch (mode & 0x00F0) {
    case fmShareDenyWrite: return FILE_SHARE_READ;
    case fmShareDenyRead: return FILE_SHARE_WRITE;
    case fmShareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: return 0;  // fmShareCompat, fmShareExclusive
  }
}

uint32_t AccessOf(uint16_t mode, bool create) {
  if (create) return GENERIC_READ | GENERIC_WRITE;
  switch (mode & 0x000F) {
    case fmOpenWrite: return GENERIC_WRITE;
    case fmOpenReadWrite: return GENERIC_READ | GENERIC_WRITE;
    default: return GENERIC_READ;
  }
}

[[noreturn]] void Raise(bool create, std::string_view path, uint32_t code) {
  SetLastError(code);
  if (create) throw EFCreateError("Cannot create file \"%s\". %s", path, SysErrorMessage(code));
  throw EFOpenError("Cannot open file \"%s\". %s", path, SysErrorMessage(code));
}

uint32_t OpenError(int err, const std::string& host) {
  if (err == ENOENT) {
    struct stat st {};
    const std::string parent = host.substr(0, host.find_last_of('/'));
    return ::stat(parent.c_str(), &st) == 0 ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
  }
  return err == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(err);
}

}  // namespace

TFileStream::TFileStream(std::string_view win_path, uint16_t mode) : file_name_(win_path) {
  const bool create = (mode & fmCreate) == fmCreate;
  const uint32_t access = AccessOf(mode, create);
  const uint32_t share = ShareOf(mode);
  std::optional<std::filesystem::path> host = Machine::Current().Paths().ToHost(win_path);
  if (!host) Raise(create, win_path, GetLastError());

  // Check the share modes of this process's streams before touching the
  // file, so that a refused fmCreate does not truncate it.
  struct stat before {};
  if (::stat(host->c_str(), &before) == 0) {
    if (S_ISDIR(before.st_mode)) Raise(create, win_path, ERROR_ACCESS_DENIED);
    // Checked here and not left to open(): the super-user may write
    // anything, but Windows refuses a read-only file to everyone.
    if ((access & GENERIC_WRITE) && (before.st_mode & 0222) == 0) Raise(create, win_path, ERROR_ACCESS_DENIED);
    if (OpenFileTable::Conflicts(FileId{before.st_dev, before.st_ino}, access, share))
      Raise(create, win_path, ERROR_SHARING_VIOLATION);
  }

  int flags = O_CLOEXEC;
  if (create) flags |= O_RDWR | O_CREAT | O_TRUNC;
  else if (access == GENERIC_WRITE) flags |= O_WRONLY;
  else if (access & GENERIC_WRITE) flags |= O_RDWR;
  else flags |= O_RDONLY;
  fd_ = ::open(host->c_str(), flags, 0666);
  if (fd_ < 0) Raise(create, win_path, OpenError(errno, host->string()));

  struct stat st {};
  if (::fstat(fd_, &st) != 0) {
    const int err = errno;
    ::close(fd_);
    fd_ = -1;
    Raise(create, win_path, ErrorFromErrno(err));
  }
  open_id_ = OpenFileTable::Add(FileId{st.st_dev, st.st_ino}, access, share);
}

TFileStream::~TFileStream() {
  if (open_id_) OpenFileTable::Remove(open_id_);
  if (fd_ >= 0) ::close(fd_);  // never retried: see close(2) on EINTR
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  auto* out = static_cast<char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(fd_, out + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  const auto* in = static_cast<const char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(fd_, in + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n < 0) SetLastError(ErrorFromErrno(errno));
      break;
    }
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
  const off_t pos = ::lseek(fd_, static_cast<off_t>(offset), whence);
  if (pos < 0) {
    SetLastError(errno == EINVAL ? ERROR_NEGATIVE_SEEK : ErrorFromErrno(errno));
    return -1;
  }
  return pos;
}

int64_t TFileStream::Size() {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return -1;
  return st.st_size;
}

void TFileStream::SetSize(int64_t size) {
  const int64_t pos = Position();
  if (size < 0 || ::ftruncate(fd_, static_cast<off_t>(size)) != 0) throw EWriteError("Stream write error");
  if (pos > size) Seek(size, soBeginning);
}

}  // namespace wenmoor
