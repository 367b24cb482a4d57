// One hive kept in a Wine hive file plus its journal (reg_journal.h), as seen
// by one process: the tree in memory and how far it has read the files.
//
// Durability
// - A change is appended to the journal with one write(2) before Append
//   returns: a crash of the process after that loses nothing.
// - The hive file is only ever replaced whole: the new text goes to
//   "<hive>.tmp", is fsynced, renamed over the hive file, and the directory
//   is fsynced; only then is the journal emptied. A process killed at any
//   point leaves an old or a new hive file, never a partial one, plus a
//   journal whose replay (idempotent) gives the latest state.
// - The journal is folded into the hive file when it outgrows the hive file
//   (at least 1 MiB), so that the cost of rewriting a large hive is spread
//   over at least as many bytes of changes, and on Fold().
//
// Concurrency
// - Every call expects the caller to hold the prefix's lock (see
//   RegistryStore). CatchUp() then compares the hive file's identity (inode,
//   size, times) and the journal's length with what this process has read:
//   a replaced hive file is reloaded, new journal records are replayed.
// - A torn record at the end of the journal can only come from a writer
//   that died holding the lock; CatchUp() cuts it off so that the next
//   record is appended after the last valid one.
//
// Failure
// - A hive file that does not parse raises RegistryFormatError on every
//   CatchUp() until the file changes; it is never written.
// - I/O failures raise RegistryIoError; the tree and the files stay as they
//   were before the failed call.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win/reg_hive.h"
#include "platform/win/reg_journal.h"

namespace wenmoor::platform {

class HiveFile {
 public:
  // `header` holds the header lines written when the hive file is new
  // (";; All keys relative to ...", "#arch=win64").
  HiveFile(std::filesystem::path reg_path, std::vector<std::string> header);
  ~HiveFile();
  HiveFile(const HiveFile&) = delete;
  HiveFile& operator=(const HiveFile&) = delete;

  const std::filesystem::path& Path() const { return reg_path_; }
  const std::filesystem::path& JournalPath() const { return journal_path_; }

  // Brings the tree up to date with the files and returns it.
  RegHive& CatchUp();

  // Appends the record to the journal and applies it to the tree, which
  // must be caught up. May fold afterwards.
  void Append(const JournalRecord& record);

  // Writes the tree as the new hive file (fsynced) and empties the journal,
  // when the journal holds records. True when it wrote.
  bool Fold();

  // Bytes in the journal, as of the last CatchUp/Append (0: nothing pending).
  uint64_t JournalBytes() const { return journal_size_; }

  // Journal size beyond which Append folds.
  uint64_t FoldThreshold() const;

 private:
  struct FileId {
    bool exists = false;
    uint64_t dev = 0, ino = 0, size = 0;
    int64_t mtime_ns = 0, ctime_ns = 0;
    bool operator==(const FileId&) const = default;
  };
  static FileId Identify(const std::filesystem::path& path);

  void Load(const FileId& id);
  bool ReadJournal();  // false when the tree must be reloaded
  void OpenJournal(bool create);

  std::filesystem::path reg_path_;
  std::filesystem::path journal_path_;
  std::filesystem::path temp_path_;
  std::vector<std::string> default_header_;

  std::unique_ptr<RegHive> tree_;
  FileId reg_id_;
  std::optional<RegistryFormatError> broken_;  // the error of a hive file that does not parse
  FileId broken_id_;

  int journal_fd_ = -1;
  uint64_t journal_ino_ = 0;
  uint64_t journal_size_ = 0;  // bytes of the journal applied to tree_
};

}  // namespace wenmoor::platform
