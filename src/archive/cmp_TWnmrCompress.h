// TWnmrCompress: the component that writes, reads, lists and splits the
// archives of file_header.h, and copies single files under the same
// overwrite rules.
//
// Operations run on the caller's thread. Between blocks of work they call
// ProcessMessages (platform/ui/application.h), so that a progress form can
// repaint and a Cancel button can set Abort; Abort is tested between blocks.
//
// Failures raise EWnmrCompress (archive_errors.h). Compress, Extract and
// SplitToDisks share one policy: EwcAborted fires OnAborted and ends the
// operation quietly; in Compress and Extract EAbort also ends it quietly;
// anything else sets Abort and passes on. CopyFile lets everything pass.
//
// Soundness beyond the bare format, for damaged or hostile archives:
// - a member is inflated into a temporary file beside its target, which
//   replaces the target only when the data is complete and of the right
//   size, so a bad member never destroys the file it would have replaced;
// - inflating stops as soon as a member grows beyond its FileSize, and a
//   zlib stream that does not end is damage ("error");
// - only the file-name part of a stored path is used (".." and "/" included),
//   so nothing is written outside ExtractDirectory;
// - a Compress that fails or is aborted part-way leaves an archive that
//   holds the members completed so far, FileCount included.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "archive/archive_errors.h"
#include "archive/archive_types.h"
#include "archive/file_header.h"
#include "archive/lzh_file_stats.h"
#include "platform/rtl/component.h"
#include "platform/rtl/strings.h"
#include "support/file_compare_types.h"

namespace wenmoor {

class TStream;
class TFileStream;
class ArchiveCompressor;
class ArchiveExtractor;
class ArchiveSplitter;
class PlainFileCopier;
struct ArchiveAppendState;

class TWnmrCompress : public TComponent {
  WENMOOR_CLASS(TWnmrCompress, TComponent)
 public:
  static constexpr int kFileIDCount = 2000;  // FileIDs 0..1999 can be looked up

  explicit TWnmrCompress(TComponent* owner);
  ~TWnmrCompress() override;

  // ---- published properties --------------------------------------------
  bool Abort() const { return abort_; }
  void SetAbort(bool value) { abort_ = value; }
  // The archive's path; for a spanned archive any of its disk files.
  // Setting a name that differs (ASCII case ignored) from the current one
  // drops the loaded headers unless both name the same spanned archive
  // (equal once their extensions are ".1").
  const std::string& CompressedFile() const { return compressed_file_; }
  void SetCompressedFile(const std::string& value);
  TCompressionLevel CompressionLevel() const { return compression_level_; }
  void SetCompressionLevel(TCompressionLevel value) { compression_level_ = value; }
  const std::string& ExtractDirectory() const { return extract_directory_; }
  void SetExtractDirectory(const std::string& value) { extract_directory_ = value; }
  // Source paths to add, or members to extract; a line may carry further
  // fields after ";". Owned by the component.
  TStrings* FilesToProcess() const { return files_to_process_.get(); }
  // Deletes the blank lines of `list` (in place) and copies it.
  void SetFilesToProcess(TStrings& list);
  int Offset() const { return offset_; }
  void SetOffset(int value) { offset_ = value; }
  TOverwriteType Overwrite() const { return overwrite_; }
  void SetOverwrite(TOverwriteType value) { overwrite_ = value; }

  TNotifyEvent OnAborted;
  TlzhFileStatsEvent OnAfterAdding;
  TlzhFileStatsEvent OnBeforeAdding;
  // Fired after each member that Extract wrote or kept.
  TlzhFileStatsEvent OnAfterExtracting;
  TlzhFileStatsEvent OnBeforeExtracting;
  TNotifyEvent OnFullDisk;
  TlzhFileStatsEvent OnListing;
  TlzhNewDiskEvent OnNewDisk;
  TlzhFileStatsEvent OnReplace;
  TlzhFileStatsEvent OnStatus;

  // ---- public ------------------------------------------------------------
  // The name under which the next member is extracted (only its file-name
  // part counts); empty for the member's own name. Cleared after each member.
  const std::string& DestFileName() const { return dest_file_name_; }
  void SetDestFileName(const std::string& value) { dest_file_name_ = value; }

  // Adds every file of FilesToProcess, all with `file_id`. lzcOnlyAdd
  // appends to an existing archive; otherwise (or when there is none) a new
  // one is made. Clears FilesToProcess, also after a failure.
  void Compress(TlzhCommand command, int file_id);
  // Extracts the members named by FilesToProcess into ExtractDirectory.
  void Extract();
  // Fires OnListing for every member in archive order.
  void List();
  // Copies `source` to `dest` uncompressed, unless the Overwrite rule keeps
  // an existing `dest`.
  void CopyFile(const std::string& source, const std::string& dest);
  // Writes CompressedFile (read at Offset) as a spanned archive whose first
  // disk file is DiskFileName in DestDir.
  void SplitToDisks(const std::string& dest_dir, const std::string& disk_file_name);

  // Inflates member `index` without writing it anywhere, with the checks
  // of Extract (the size, a complete zlib stream, the disks it needs) and
  // its OnStatus reports; raises what Extract would raise for the member's
  // data. Not part of the script's interface: the tool's "test" uses it.
  void TestMember(int index);

  // Loads the header list from CompressedFile at Offset.
  void ReadHeaders();
  // The number of members; reads the headers first unless they are loaded
  // or a compression is in progress.
  int FileCount();
  // Statistics of member `index` with the archive's totals.
  void GetFileStats(int index, TlzhFileStats& stats);
  // The member index recorded for `file_id` (0 when no member carries an
  // ID in range); -1 outside 0..1999.
  int IndexOfFileID(int file_id);

  // Called when an output write comes up short during Extract or CopyFile:
  // fires OnFullDisk when assigned, else raises EwcDiskFull "The disk is full".
  virtual void DoFullDisk();

  bool HeadersLoaded() const { return headers_loaded_; }
  int CurrentDisk() const { return current_disk_; }
  const TFileHeaders& Headers() const { return *headers_; }
  // The statistics record as the operations last left it.
  const TlzhFileStats& Stats() const { return stats_; }

 protected:
  // Creates (or empties) an output file: a member's file, a disk file of a
  // split, the destination of a copy. Raises when it cannot (callers turn
  // that into "Cannot create the file %s"). Virtual so that tests can put a
  // disk of limited size behind it.
  virtual std::unique_ptr<TStream> CreateOutput(const std::string& path);

  // Progress of Compress after each block of compressed output: tests
  // Abort, processes messages, then updates and reports the statistics.
  // `file_bytes_read`: source bytes of this member read so far;
  // `compressed`: its compressed bytes written so far.
  void AddStatus(int64_t file_bytes_read, int64_t compressed);

 private:
  friend class ArchiveCompressor;
  friend class ArchiveExtractor;
  friend class ArchiveSplitter;
  friend class PlainFileCopier;

  enum class Operation : uint8_t { None, Compressing, Extracting };
  enum class QuietAbort : uint8_t { AbortedOnly, AbortedAndEAbort };

  // Runs `body` under the shared exception policy (see the header comment).
  void Guarded(QuietAbort quiet, const std::function<void()>& body);
  // Whether a reading operation may load the headers now: not while a
  // compression rewrites the list that it is walking.
  bool MayLoadHeaders() const { return operation_ != Operation::Compressing; }
  void LoadHeadersIfNeeded();

  // Statistics: the record's fields are filled from 64-bit counters.
  void FillStatsFromHeader(const TFileHeader& header);
  void ResetTotals();
  // The same with the sums over the header list already known.
  void ResetTotals(int64_t file_size_sum, int64_t compressed_sum);
  // FileBytesDone, TotalBytesDone and both percentages, the file's against
  // `file_whole` and the total against `total_whole`.
  void SetProgress(int64_t file_bytes_done, int64_t file_whole, int64_t total_whole);
  void FireStatus() { OnStatus(this, stats_); }

  // Opens disk `disk` of the archive `name` with `mode`: for a spanned
  // archive the name's extension becomes "." and the number. While the file
  // is missing OnNewDisk is asked for it (at most four times); `name` is
  // updated in place to the file opened.
  std::unique_ptr<TFileStream> OpenDiskFile(std::string& name, int disk, bool spanned, uint16_t mode);
  // The same for reading the archive itself: into input_, CompressedFile
  // updated.
  void OpenInputDisk(int disk);
  // "dir\name", or `name` alone when `dir` is empty.
  static std::string JoinPath(const std::string& dir, const std::string& name);

  bool abort_ = false;
  std::string compressed_file_;
  TCompressionLevel compression_level_ = colMax;
  std::string extract_directory_;
  std::unique_ptr<TStringList> files_to_process_;
  int offset_ = 0;
  TOverwriteType overwrite_ = owAlways;
  std::string dest_file_name_;

  std::unique_ptr<TFileHeaders> headers_;
  bool headers_loaded_ = false;
  Operation operation_ = Operation::None;
  int current_disk_ = 0;
  std::array<int, kFileIDCount> file_id_table_{};
  TlzhFileStats stats_;
  // 64-bit counters behind the record's Integer fields.
  int64_t file_bytes_done_ = 0;
  int64_t total_bytes_done_ = 0;
  int64_t total_file_size_ = 0;
  int64_t total_compressed_ = 0;
  std::unique_ptr<TFileStream> input_;
  TStream* dest_file_ = nullptr;

  // What Compress knows about the archive it last wrote, so that the next
  // lzcOnlyAdd to the same file need not read every header again.
  std::unique_ptr<ArchiveAppendState> append_state_;
};

}  // namespace wenmoor
