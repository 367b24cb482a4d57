// TFileHeaderRec: one member header of an archive, 176 bytes on disk.
//
// Layout (all integers little-endian int32 unless noted; positions count
// from the start of the archive, or of the disk file for data on disk 2 and
// later of a spanned archive):
//
//   off size field
//     0    4 FileNumber      1-based position in the list it was added with
//     4    4 (reserved)
//     8    8 FileDate        IEEE double, a TDateTime in local time (DOS resolution)
//    16    1 LastDisk        uint8: disk file holding the last data byte (0 = unspanned)
//    17    3 (reserved)
//    20    4 LastBytePos     position of the last data byte (inclusive)
//    24  101 FileName        short string: length byte + up to 100 bytes
//   125    3 (reserved)
//   128    4 NextHeaderPos   position of the next member's header
//   132    4 FileSize        uncompressed size
//   136    4 FirstBytePos    position of the first data byte
//   140    4 CompressedSize  bytes of zlib data
//   144    1 FirstDisk       uint8: disk file of the first data byte (0 read as 1)
//   145    3 (reserved)
//   148    4 FileID          the caller's identifier
//   152   21 FileVersion     short string: length byte + up to 20 bytes
//   173    3 (reserved)
//
// Every archive starts with a 5-byte preamble: int32 FileCount, uint8 Spanned.
//
// Strings are kept as the bytes the program uses (UTF-8); a writer cuts them
// to the byte capacity without splitting a UTF-8 sequence, and a reader takes
// at most the capacity even when a damaged length byte claims more. Reserved
// bytes and the bytes behind a string's characters are written as zeros and
// never read.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace wenmoor {

struct TFileHeaderRec {
  static constexpr int kSize = 176;
  static constexpr int kPreambleSize = 5;
  static constexpr std::size_t kFileNameCapacity = 100;
  static constexpr std::size_t kFileVersionCapacity = 20;

  int32_t FileNumber = 0;
  double FileDate = 0;
  uint8_t LastDisk = 0;
  int32_t LastBytePos = 0;
  std::string FileName;
  int32_t NextHeaderPos = 0;
  int32_t FileSize = 0;
  int32_t FirstBytePos = 0;
  int32_t CompressedSize = 0;
  uint8_t FirstDisk = 0;
  int32_t FileID = 0;
  std::string FileVersion;

  using Bytes = std::array<uint8_t, kSize>;
  // The 176 bytes of this record. Strings longer than their capacity are cut.
  Bytes Encode() const;
  // The record held by `bytes`; never fails (any 176 bytes are a record).
  static TFileHeaderRec Decode(std::span<const uint8_t, kSize> bytes);

  bool operator==(const TFileHeaderRec&) const = default;
};

// `text` cut to at most `capacity` bytes, never inside a UTF-8 sequence.
std::string CutToCapacity(std::string_view text, std::size_t capacity);

// Little-endian helpers shared by the archive's readers and writers.
void PutInt32(uint8_t* at, int32_t value);
int32_t GetInt32(const uint8_t* at);

}  // namespace wenmoor
