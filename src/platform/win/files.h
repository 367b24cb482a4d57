// File services of the emulated machine, with Windows paths.
//
// Every function takes Windows paths (paths.h) and behaves as the kernel32
// call of the same name: it answers false, an empty optional or an invalid
// value on failure and leaves the Windows error code as the last error
// (win_error.h: GetLastError, FormatMessage). Nothing here throws for an
// ordinary failure; reading and writing file contents goes through
// TFileStream (file_stream.h), which raises the component library's errors.
//
// Mapping of Windows notions onto the host:
// - Last-write time is the file's mtime; TDateTime values are local time
//   (file_time.h has the conversions, DOS date-times included).
// - FILE_ATTRIBUTE_READONLY is the absence of every write permission bit.
//   Hidden, system, archive, temporary and offline are kept in the extended
//   attribute user.DOSATTRIB as Wine and Samba store it ("0x22"), where the
//   file system allows extended attributes; elsewhere those bits are
//   dropped silently, as on a file system that has no room for them. A
//   file without the attribute reads as FILE_ATTRIBUTE_ARCHIVE, as Wine has
//   it; a file without any bit as FILE_ATTRIBUTE_NORMAL.
// - A file is in use when another process of the machine holds it open or
//   mapped (/proc/<pid>/fd, /proc/<pid>/maps; only processes whose /proc
//   entries we may read are seen) or this process holds it in a TFileStream.
//   Deleting, replacing or moving a file in use fails with
//   ERROR_SHARING_VIOLATION, as Windows refuses it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/file_time.h"

namespace wenmoor::platform {

// Attribute bits, numbered as Windows numbers them.
inline constexpr uint32_t FILE_ATTRIBUTE_READONLY = 0x1;
inline constexpr uint32_t FILE_ATTRIBUTE_HIDDEN = 0x2;
inline constexpr uint32_t FILE_ATTRIBUTE_SYSTEM = 0x4;
inline constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr uint32_t FILE_ATTRIBUTE_TEMPORARY = 0x100;
inline constexpr uint32_t FILE_ATTRIBUTE_OFFLINE = 0x1000;
inline constexpr uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// ---- existence, size, attributes, dates -------------------------------

bool FileExists(std::string_view path);       // an existing file, not a directory
bool DirectoryExists(std::string_view path);  // an existing directory
// INVALID_FILE_ATTRIBUTES on failure.
uint32_t GetFileAttributes(std::string_view path);
// Sets exactly the given bits (FILE_ATTRIBUTE_DIRECTORY and NORMAL are
// ignored, as Windows ignores them).
bool SetFileAttributes(std::string_view path, uint32_t attributes);
std::optional<int64_t> GetFileSize(std::string_view path);
// The last-write time in local time.
std::optional<TDateTime> GetFileDate(std::string_view path);
bool SetFileDate(std::string_view path, TDateTime local_time);

// Whether a file is in use (see above). False for a missing file.
bool IsFileInUse(std::string_view path);

// ---- copy, delete, move -----------------------------------------------

enum class IfExists : uint8_t { Overwrite, Fail };

// Copies contents, last-write time and attributes. With IfExists::Fail an
// existing destination gives ERROR_FILE_EXISTS; a read-only destination
// ERROR_ACCESS_DENIED; one in use ERROR_SHARING_VIOLATION. The destination
// appears complete or not at all (written beside it, then renamed).
bool CopyFile(std::string_view source, std::string_view dest, IfExists if_exists);

// Refused with ERROR_ACCESS_DENIED for a read-only file or a directory,
// ERROR_SHARING_VIOLATION for a file in use, ERROR_FILE_NOT_FOUND or
// ERROR_PATH_NOT_FOUND when it is not there.
bool DeleteFile(std::string_view path);

// Renames a file or directory; fails with ERROR_ALREADY_EXISTS when the
// destination exists. Across host file systems a file is copied and then
// deleted.
bool MoveFile(std::string_view source, std::string_view dest);

inline constexpr uint32_t MOVEFILE_REPLACE_EXISTING = 0x1;
inline constexpr uint32_t MOVEFILE_COPY_ALLOWED = 0x2;
inline constexpr uint32_t MOVEFILE_DELAY_UNTIL_REBOOT = 0x4;
inline constexpr uint32_t MOVEFILE_WRITE_THROUGH = 0x8;
// MoveFileEx. An empty `dest` deletes `source` (only with
// MOVEFILE_DELAY_UNTIL_REBOOT, as on Windows). With
// MOVEFILE_DELAY_UNTIL_REBOOT nothing moves now: the operation is appended
// to PendingFileRenameOperations (pending_renames.h) and the restart of the
// machine carries it out. That fails with ERROR_CALL_NOT_IMPLEMENTED on the
// 9x family, where Windows has no such call, and with
// ERROR_INVALID_PARAMETER together with MOVEFILE_COPY_ALLOWED.
bool MoveFileEx(std::string_view source, std::string_view dest, uint32_t flags);

// ---- directories ------------------------------------------------------

// Fails with ERROR_ALREADY_EXISTS when it exists, ERROR_PATH_NOT_FOUND when
// the parent does not.
bool CreateDirectory(std::string_view path);
// Creates the directory and every missing parent; true when it exists
// afterwards (ForceDirectories).
bool ForceDirectories(std::string_view path);
// Removes an empty directory (ERROR_DIR_NOT_EMPTY otherwise).
bool RemoveDirectory(std::string_view path);

struct FindData {
  std::string name;        // as stored
  std::string short_name;  // the 8.3 name (the name itself when it is one)
  uint32_t attributes = 0;
  int64_t size = 0;
  TDateTime last_write = 0;  // local time
};
// FindFirstFile/FindNextFile over "dir\mask": the entries of dir whose
// names match mask without regard to case ("*" any run, "?" one character,
// "*.*" every name, a dot included or not), "." and ".." excluded, in the
// order of their upper-case names. An empty result with
// ERROR_FILE_NOT_FOUND when nothing matches, ERROR_PATH_NOT_FOUND when the
// directory is missing.
std::vector<FindData> FindFiles(std::string_view pattern);
// The wildcard rule above, on its own.
bool MatchesMask(std::string_view name, std::string_view mask);

// ---- temporary files, disks, the Windows directories -------------------

// GetTempPath: the TMP, then TEMP, variable of the emulated environment
// (machine.h), else the Windows directory's "temp"; with a trailing
// backslash. The directory is created when missing.
std::string GetTempPath();
// GetTempFileName: "<dir>\<up to 3 characters of prefix><hex>.tmp". With
// unique == 0 a free hex number is chosen and the file is created empty
// (so the name stays reserved); otherwise the name is formed with that
// number and nothing is created. nullopt with ERROR_DIRECTORY when dir is
// not a directory.
std::optional<std::string> GetTempFileName(std::string_view dir, std::string_view prefix, uint32_t unique);

struct DiskSpace {
  uint64_t free_to_caller = 0;
  uint64_t total = 0;
  uint64_t total_free = 0;
};
// GetDiskFreeSpaceEx for the volume holding `path` (any existing path).
std::optional<DiskSpace> GetDiskFreeSpaceEx(std::string_view path);

// SearchPath: finds `name` as Windows finds a program or library. A name
// with a directory is taken as it is; a bare name is sought in the
// program's directory, the current directory, the system directory, the
// Windows directory and the directories of PATH (the emulated one), in that
// order. `extension` (".exe") is appended when the name has none. The full
// Windows path of the file found, or nullopt with ERROR_FILE_NOT_FOUND.
std::optional<std::string> SearchPath(std::string_view name, std::string_view extension);

// "C:\windows" (from SystemRoot in the registry when the prefix says so).
std::string GetWindowsDirectory();
// "C:\windows\system32", or "C:\windows\system" when the machine is of the
// 9x family.
std::string GetSystemDirectory();

}  // namespace wenmoor::platform
