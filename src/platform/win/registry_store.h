// The emulated machine's registry: keys and values kept in the prefix's
// Wine-format hive files (system.reg, user.reg, userdef.reg).
//
// Contract
// - Paths are Windows key paths below a root, without a leading backslash,
//   compared without regard to case ("Software\\Microsoft\\Windows").
//   A leading backslash is tolerated and ignored.
// - A change is durable once the call that made it has returned: its bytes
//   are with the kernel (a crash of this process right after loses nothing).
//   Sync() additionally makes everything survive power loss (fsync).
// - The hive files are replaced atomically and are loadable at every instant;
//   keys and values this code never touched survive a rewrite unchanged.
// - Two processes sharing a prefix never lose each other's changes (a lock
//   around every operation, and each process catches up with the other's
//   changes before it reads or writes).
// - A hive that cannot be parsed raises RegistryFormatError naming the file
//   and line; such a hive is never overwritten.
// - Failures of the machine (disk full, permissions) raise RegistryIoError.
//   Ordinary misses (no such key or value) are reported through results.
//
// How (details in reg_hive_file.h and reg_journal.h)
// - Each hive file "X.reg" has a journal "X.reg.journal" beside it: a change
//   is one checksummed record appended with write(2). The journal is folded
//   into the hive file (new file, fsync, rename, fsync of the directory, then
//   the journal is emptied) when it outgrows the hive file, on Sync() and
//   when the store is destroyed. Loading replays the journal after the hive
//   file; a record torn by a crash is ignored and cut off.
// - Every operation holds an flock on "<prefix>/.wenmoor-registry.lock" and
//   first catches up: a hive file replaced by another process is reloaded,
//   journal records appended by another process are replayed.
// - Wine itself reads only the hive files: a prefix is complete for Wine
//   once the last store on it has been destroyed or synced.
// - Symbolic-link keys ("#link") are kept and written back, but not followed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace wenmoor::platform {

// The predefined keys. ClassesRoot, CurrentConfig and Users are views onto
// parts of the stored hives, as Windows maps them; DynData is volatile
// (kept in memory, never written).
enum class RootKey : uint8_t {
  ClassesRoot,     // HKLM\Software\Classes (HKCU\Software\Classes wins on read)
  CurrentUser,     // user.reg
  LocalMachine,    // system.reg
  Users,           // ".Default" -> userdef.reg, "S-1-5-21-0-0-0-1000" -> user.reg
  CurrentConfig,   // HKLM\System\CurrentControlSet\Hardware Profiles\Current
  DynData,         // volatile
};

// Value kinds, numbered as Windows numbers them.
enum RegType : uint32_t {
  REG_NONE = 0,
  REG_SZ = 1,
  REG_EXPAND_SZ = 2,
  REG_BINARY = 3,
  REG_DWORD = 4,
  REG_DWORD_BIG_ENDIAN = 5,
  REG_LINK = 6,
  REG_MULTI_SZ = 7,
  REG_QWORD = 11,
};

// A value as Windows holds it: its kind and its bytes. String kinds hold
// UTF-16LE text with the terminating NUL, exactly as the API returns them,
// so values of any kind round-trip byte for byte.
struct RegValue {
  uint32_t type = REG_NONE;
  std::vector<uint8_t> data;

  static RegValue String(std::string_view utf8, uint32_t type = REG_SZ);
  static RegValue DWord(uint32_t v);
  static RegValue Binary(std::vector<uint8_t> bytes, uint32_t type = REG_BINARY);
  static RegValue MultiString(const std::vector<std::string>& utf8);

  // The text of a REG_SZ / REG_EXPAND_SZ value (UTF-8, up to the first NUL);
  // nullopt for other kinds.
  std::optional<std::string> AsString() const;
  // The number of a REG_DWORD value (or a 4-byte REG_BINARY); nullopt otherwise.
  std::optional<uint32_t> AsDWord() const;
  std::optional<std::vector<std::string>> AsMultiString() const;

  bool operator==(const RegValue&) const = default;
};

class RegistryFormatError : public std::runtime_error {
 public:
  RegistryFormatError(std::string file, int line, std::string reason);
  const std::string& File() const { return file_; }
  int Line() const { return line_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string file_;
  int line_;
  std::string reason_;
};

class RegistryIoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class RegistryStore {
 public:
  // Opens the hives of the prefix directory (files that do not exist yet are
  // empty hives, created on the first write). A hive is parsed on the first
  // operation that needs it; a parse failure raises RegistryFormatError then,
  // and again on every later operation on that hive until the file changes.
  explicit RegistryStore(std::filesystem::path prefix);
  // Folds pending journals into the hive files; never throws (a journal it
  // could not fold is replayed by the next store on the prefix).
  ~RegistryStore();
  RegistryStore(const RegistryStore&) = delete;
  RegistryStore& operator=(const RegistryStore&) = delete;

  const std::filesystem::path& Prefix() const;

  bool KeyExists(RootKey root, std::string_view path);
  // Creates the key and its missing parents; true when the key exists afterwards.
  bool CreateKey(RootKey root, std::string_view path);
  // Deletes a key that has no subkeys, with its values (as RegDeleteKey on
  // the NT family); false when it does not exist or still has subkeys.
  bool DeleteKey(RootKey root, std::string_view path);
  // Deletes a key with everything below it; false when it does not exist.
  bool DeleteTree(RootKey root, std::string_view path);

  // Names as stored (original case), in stored order; empty when the key is missing.
  std::vector<std::string> SubKeyNames(RootKey root, std::string_view path);
  std::vector<std::string> ValueNames(RootKey root, std::string_view path);

  // The empty name is the key's default value ("@" in the files).
  std::optional<RegValue> QueryValue(RootKey root, std::string_view path, std::string_view name);
  // Creates the key when missing; false only when the key cannot exist
  // (a volatile root aside, that is never for a valid path).
  bool SetValue(RootKey root, std::string_view path, std::string_view name, const RegValue& value);
  bool DeleteValue(RootKey root, std::string_view path, std::string_view name);

  // Flushes everything to the hive files and fsyncs them: after Sync
  // returns, the state survives power loss. Called at the moments that must
  // survive a crash of the machine (a RunOnce registration, the end of a run).
  // A hive file that does not parse has nothing pending and is skipped;
  // RegistryIoError when a hive file cannot be written.
  void Sync();

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace wenmoor::platform
