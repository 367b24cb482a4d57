// Windows paths on the emulated machine, and the host paths behind them.
//
// Windows side: "C:\Program Files\Qry", "c:/program files/qry",
// "\\?\C:\x", "\dir" (root of the current drive), "dir\x" (relative to the
// current directory). Drive letters map through <prefix>/dosdevices/<x>:,
// symbolic links as Wine keeps them (c: -> ../drive_c, z: -> /); a prefix
// without dosdevices/ gets those two implicitly.
//
// Resolution (ToHost): "." and ".." are folded first, as GetFullPathName
// does. Then each component that exists on disk is taken with the case it
// has there, found without regard to case (as Windows and Wine do); a short
// (8.3) name such as PROGRA~1 is found too. The first component that does
// not exist, and everything after it, is kept with the case given, so that
// a new file or directory is created as the caller spelled it.
//
// Cost of a lookup. The whole path is first tried as spelled with one
// stat(); that is the common case and costs one system call. Otherwise the
// components are walked: an exact-case hit costs one lstat(); a miss looks
// the name up in a cached listing of the directory (a hash of the
// case-folded names), which costs one stat() of the directory to check its
// mtime while the cache is valid, and one readdir() scan of the directory
// when it changed. A listing taken within a second of its directory's
// last change is checked again on a miss (file systems stamp mtime with a
// coarse clock). bench/paths_bench.cpp measures a path 9 components deep
// in directories of 200 entries (time per lookup on the project's 2-core
// virtual machine):
//   spelled exactly                          ~5 us
//   every component in another case          ~39 us (about 4 us a component)
//   the same with no cached listings         ~0.9 ms (a readdir() of each)
//   a new file in an existing directory      ~34 us
//   GetShortPathName                         ~44 us
//   ToWindows                                ~25 us (resolves links)
// so tens of thousands of case-insensitive lookups a second.
//
// Host side (ToWindows): a host path under a mapped drive is seen through
// the drive with the longest matching root (so paths under drive_c are
// C:\..., not Z:\prefix\drive_c\...); one outside every drive through Z:\.
//
// Contract: no exceptions for bad input; an unusable path answers nullopt
// and leaves ERROR_PATH_NOT_FOUND (unmapped drive, UNC path) or
// ERROR_INVALID_NAME (a component with < > " | ? * or control characters)
// as the last error (win_error.h).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace wenmoor::platform {

// A Windows path taken apart: "C:\a\b" -> drive 'C', components {a, b}.
struct WinPath {
  char drive = 0;  // upper-case letter
  std::vector<std::string> components;

  // "C:\a\b"; the root is "C:\".
  std::string ToString() const;
};

class PathMap {
 public:
  explicit PathMap(std::filesystem::path prefix);
  ~PathMap();
  PathMap(const PathMap&) = delete;
  PathMap& operator=(const PathMap&) = delete;

  // The full form of `win_path` (drive, components, no "." or ".."),
  // relative paths taken against CurrentDirectory(). nullopt for paths that
  // name no drive location (UNC, empty, bad characters); see the contract.
  std::optional<WinPath> Parse(std::string_view win_path) const;
  // GetFullPathName: Parse(...)->ToString(), with case as given.
  std::optional<std::string> FullPath(std::string_view win_path) const;

  // The host path behind `win_path` (see Resolution above).
  std::optional<std::filesystem::path> ToHost(std::string_view win_path);
  // The Windows path of a host path (made absolute against the process's
  // working directory first).
  std::string ToWindows(const std::filesystem::path& host) const;

  // The host directory behind a drive letter (not resolved through links);
  // nullopt when the letter is not mapped.
  std::optional<std::filesystem::path> DriveRoot(char letter) const;
  // The mapped letters, upper-case, in order.
  std::string Drives() const;

  // The process's working directory, seen as a Windows path ("Z:\home\me");
  // SetCurrentDirectory changes it (false and the last error on failure).
  std::string CurrentDirectory() const;
  bool SetCurrentDirectory(std::string_view win_path);
  // The directory of the running program, as a Windows path, without a
  // trailing backslash.
  std::string ProgramDirectory() const;

  // GetShortPathName: the existing path with every component in its short
  // (8.3) form. A name that is already a valid 8.3 name stays as it is;
  // others get the first six usable characters, "~" and a number (then
  // five and a two-digit number, and so on), upper-case, and the first three
  // characters of the extension: "Program Files" -> "PROGRA~1". Numbers are
  // given among the directory's long names that share the same stem, in the
  // order of their upper-case names, skipping names that an 8.3 entry
  // already has. nullopt (ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND) when
  // the path does not exist.
  std::optional<std::string> ShortPathName(std::string_view win_path);
  // GetLongPathName: the existing path with every component as stored.
  std::optional<std::string> LongPathName(std::string_view win_path);

  // Forgets every cached directory listing (the cache notices changes by
  // itself; this is for tests and benchmarks).
  void ClearCache();

 private:
  struct Listing;
  // The entry of `dir` that `name` means (exact, case-folded or short
  // name), or nullopt when there is none.
  std::optional<std::string> FindEntry(const std::filesystem::path& dir, const std::string& name);
  // The listing of `dir`, read again when it changed or when forced;
  // `scanned` tells whether it was read by this call.
  Listing* CachedListing(const std::filesystem::path& dir, bool force_rescan, bool* scanned = nullptr);
  void LoadDrives() const;
  void ReadDosDevices() const;

  std::filesystem::path prefix_;
  // Drive letter -> host directory. Read once; re-read when a letter that
  // is not known is asked for, so drives added later are seen.
  mutable std::map<char, std::filesystem::path> drives_;
  mutable std::map<char, std::filesystem::path> resolved_roots_;  // drives_ with links resolved
  mutable bool drives_loaded_ = false;
  std::unordered_map<std::string, std::unique_ptr<Listing>> listings_;
};

}  // namespace wenmoor::platform
