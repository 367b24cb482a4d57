// TFileHeader and TFileHeaders: the member headers of an archive in memory.
//
// An archive is a 5-byte preamble (FileCount, Spanned) and FileCount
// 176-byte headers (TFileHeaderRec, file_header_rec.h). Unspanned, each
// header sits right in front of its member's zlib data; spanned, all headers
// form one block behind the preamble of disk file 1. Either way the reader
// walks the chain of NextHeaderPos values from the position after the
// preamble, adding the offset at which the archive begins inside its file.
//
// Failures raise EWnmrCompress with the archive's messages (archive_errors.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "archive/file_header_rec.h"
#include "platform/rtl/persistent.h"

namespace wenmoor {

class TStream;
class TStrings;

class TFileHeader : public TObject {
 public:
  // True when read from an existing archive; false for a header made for a
  // file being added.
  bool FromArchive = false;
  TFileHeaderRec Rec;
  // The full path of the source file (LoadFromFile); FileName may hold only
  // its first 100 bytes. Empty for a header read from an archive.
  std::string SourcePath;

  // Fills the header for the source file named by `line` (the text before
  // its first ";"): FileName (cut to 100 bytes), FileDate (last-write time at
  // DOS resolution), FileSize and FileVersion (cut to 20 bytes). The file
  // read is the one the full path names, never another one that happens to
  // sit at the cut path. Fails with "Cannot open the file %s" (the stored
  // name) when it cannot be opened, and with "The file %s is too large for
  // the compressed file" beyond the format's 2 GB.
  void LoadFromFile(std::string_view line);
  // Reads 176 bytes at the stream's position; a short read fails with the
  // "corrupt" message and leaves the header unchanged.
  void ReadFromStream(TStream& stream);
  // Writes the 176 bytes at the stream's position; a short write fails with
  // "Could not write the file headers for the compressed file".
  void WriteToStream(TStream& stream) const;
};

// The path part of a FilesToProcess line: the text before its first ";".
std::string_view PathOfLine(std::string_view line);

class TFileHeaders : public TObject {
 public:
  TFileHeaders() = default;
  ~TFileHeaders() override;
  TFileHeaders(const TFileHeaders&) = delete;
  TFileHeaders& operator=(const TFileHeaders&) = delete;

  bool Spanned = false;

  int Count() const { return static_cast<int>(items_.size()); }
  // 0-based; outside 0..Count-1 fails with "%d is an invalid TFileHeader
  // index in TFileHeaders.GetFileHeaders". The list keeps ownership.
  TFileHeader& GetFileHeaders(int index) const;
  // Takes the header over. A header whose FileName is blank (only spaces and
  // control characters) is refused with "Tried to add an invalid file header".
  void Add(std::unique_ptr<TFileHeader> header);
  // Frees every header, the last first.
  void Clear();
  // Unless `append`, clears first; then adds one header per line of `files`
  // (LoadFromFile with the line, FileNumber = line index + 1).
  void AddFiles(const TStrings& files, bool append);
  // Index of the first member whose FileName equals PathOfLine(name), ASCII
  // letters compared without regard to case; -1 when there is none.
  int IndexOf(std::string_view name) const;

  // Replaces the list by the headers of the archive that begins at `offset`
  // in `stream`, and sets Spanned from the preamble. A short preamble fails
  // with "Could not read the file header count for the compressed file";
  // a short header, a blank name, or a chain that does not move forward by
  // at least one header (a loop or overlap that no writer produces) fails
  // with the "corrupt" message. The headers read before a failure stay.
  void ReadFromStream(TStream& stream, int64_t offset);
  // Writes the preamble at position 0 and, when Spanned, every header back
  // to back behind it, setting each NextHeaderPos to the position after it.
  void WriteToStream(TStream& stream);

 private:
  std::vector<std::unique_ptr<TFileHeader>> items_;
  // Upper-cased FileName -> first index with that name; built on the first
  // lookup and kept up to date by Add, so that finding each of n members
  // does not cost n^2 comparisons.
  mutable std::unordered_map<std::string, int> index_;
  mutable bool index_built_ = false;
};

}  // namespace wenmoor
