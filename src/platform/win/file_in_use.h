// Who holds a file: the streams of this process (with the access and share
// modes Windows would check) and the other processes of the machine.
//
// Windows refuses to delete, replace or move a file that an open handle
// does not share for deletion, and refuses an open that contradicts the
// share mode of another handle. Here the handles of this process are the
// open TFileStreams, kept in a table; other processes are seen through
// /proc (their open descriptors and mapped files), which needs no
// cooperation from them. Processes of other users whose /proc entries we
// may not read are not seen.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>

namespace wenmoor::platform {

struct FileId {
  dev_t dev = 0;
  ino_t ino = 0;
  bool operator==(const FileId&) const = default;
};

// Access and share bits, as CreateFile takes them.
enum : uint32_t {
  GENERIC_READ = 0x80000000,
  GENERIC_WRITE = 0x40000000,
  FILE_SHARE_READ = 0x1,
  FILE_SHARE_WRITE = 0x2,
  FILE_SHARE_DELETE = 0x4,
};

// The open files of this process. Thread-safe.
class OpenFileTable {
 public:
  // Records an open handle; answers its ticket for Remove.
  static uint64_t Add(FileId file, uint32_t access, uint32_t share);
  static void Remove(uint64_t ticket) noexcept;
  // Whether opening `file` with this access and share would contradict a
  // handle that is open.
  static bool Conflicts(FileId file, uint32_t access, uint32_t share);
  // Whether a handle that does not share deletion holds `file`.
  static bool BlocksDelete(FileId file);
  // Forgets every entry: for a child made by fork(), which owns none of
  // its parent's handles once it has closed the inherited descriptors.
  static void ForgetAllAfterFork() noexcept;
};

// Whether a process other than this one holds `file` open or mapped.
// `host` is the file's path, compared with the names in /proc/<pid>/maps
// for file systems that report other device numbers there (overlays).
bool HeldByOtherProcess(FileId file, const std::filesystem::path& host);

// Either of the above: the file may not be deleted or replaced now.
bool FileInUse(FileId file, const std::filesystem::path& host);

}  // namespace wenmoor::platform
