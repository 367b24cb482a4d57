// Compress of TWnmrCompress: adds files to an archive as members, each a
// 176-byte header followed by one zlib stream of the file's bytes.
//
// The archive is written sequentially; the only bytes rewritten in place are
// the preamble's FileCount and the header of the member just written. An
// append (lzcOnlyAdd) starts where the last member's data ends.
//
// Appending one file per call must not cost a read of every header each
// time: the component keeps an ArchiveAppendState describing the archive as
// its last Compress left it, and the next append reuses the header list when
// the file still ends where it ended and still carries the same FileCount
// and last header. Anything else (another archive, a change by someone else,
// a ReadHeaders in between) reads the headers from the file as usual.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/archive_types.h"
#include "archive/file_header_rec.h"

namespace wenmoor {

class Deflater;
class TFileHeader;
class TFileStream;
class TWnmrCompress;

struct ArchiveAppendState {
  std::string path;               // the archive it describes
  int64_t end = 0;                // end of the last member = size of the file
  int32_t count = 0;              // FileCount
  int64_t last_header_at = 0;     // position of the last member's header
  TFileHeaderRec::Bytes last_header{};
  int64_t file_size_sum = 0;      // over all members, for the statistics
  int64_t compressed_sum = 0;
};

class ArchiveCompressor {
 public:
  explicit ArchiveCompressor(TWnmrCompress& owner);
  ~ArchiveCompressor();
  ArchiveCompressor(const ArchiveCompressor&) = delete;
  ArchiveCompressor& operator=(const ArchiveCompressor&) = delete;

  void Run(TlzhCommand command, int file_id);

 private:
  void OpenArchive(bool append);
  // Loads the existing members into the component's list (from the append
  // state when it still holds), sets the sums of their sizes and returns the
  // position where they end.
  int64_t LoadExistingMembers(std::unique_ptr<ArchiveAppendState> state);
  void CompressMember(int index, int file_id);
  // Deflates `source` into the archive; returns the compressed byte count.
  int64_t DeflateMember(TFileStream& source, int64_t& bytes_read);
  // The stream of this run, made once and reset for each member.
  Deflater& TheDeflater();
  void WriteArchive(const void* data, int64_t count);
  // After a failure: FileCount and size back to the members completed.
  void RollBack() noexcept;
  void RememberForAppend();

  TWnmrCompress& c_;
  std::unique_ptr<TFileStream> archive_;
  std::unique_ptr<Deflater> deflater_;
  std::vector<uint8_t> in_, out_;  // deflate input and output blocks
  int64_t file_size_sum_ = 0;      // over all members, old and new
  int64_t compressed_sum_ = 0;
  int64_t position_ = 0;           // the archive's write position
  bool preamble_written_ = false;
  int first_new_ = 0;              // index of the first member added by this run
  int complete_ = 0;               // members whose data and header are written
  int64_t complete_end_ = 0;       // where the last complete member ends
  int64_t last_header_at_ = 0;     // header position of the last complete member
};

}  // namespace wenmoor
