// The self-extract information block: 56 bytes at the very end of a
// distribution's setup.exe that tell the loading program (and the install
// program started with -e) where setup.1 and files.1 lie.
//
//   offset 0   marker length, always 14
//          1   marker text, "SELFEXTRACTING" or "NOTSELFEXTRACT"
//         15   0
//         16   Setup1Start   first byte of setup.1 inside setup.exe
//         20   Setup1End     last byte of setup.1 (inclusive)
//         24   Files1Start   first byte of files.1
//         28   Files1End     last byte of files.1 (inclusive)
//         32   24 bytes of 0
// Integers are 32-bit little-endian. A "NOTSELFEXTRACT" block has every
// offset 0 (setup.1 and files.1 are separate files beside setup.exe); a
// self-extracting one without files.1 has the two files.1 fields 0.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace wenmoor {

inline constexpr const char* kSelfExtractingMarker = "SELFEXTRACTING";
inline constexpr const char* kNotSelfExtractMarker = "NOTSELFEXTRACT";

struct SelfExtractInfo {
  static constexpr int kSize = 56;

  uint8_t marker_length = 14;
  std::string marker;  // the 14 characters after the length byte, as stored
  int32_t setup1_start = 0;
  int32_t setup1_end = 0;
  int32_t files1_start = 0;
  int32_t files1_end = 0;

  // A zeroed block with the given marker.
  static SelfExtractInfo WithMarker(const char* marker);
  std::array<uint8_t, kSize> Encode() const;
  static SelfExtractInfo Decode(const std::array<uint8_t, kSize>& bytes);

  bool SelfExtracting() const { return marker_length == 14 && marker == kSelfExtractingMarker; }
  bool NotSelfExtract() const { return marker_length == 14 && marker == kNotSelfExtractMarker; }
  bool HasFiles1() const { return files1_start != 0 || files1_end != 0; }
  // For a self-extracting block at the end of a file of `file_size` bytes:
  // setup.1 (and files.1, when there is one) lie after the loading program,
  // in that order, wholly before the block.
  bool LayoutFits(int64_t file_size) const;
};

// The last 56 bytes of the file at `win_path`, opened for reading with
// others allowed to read and write. IEInstall "Could not read the extraction
// info from the archive file %s when trying to find the correct offset into
// the self extracting file" when the file cannot be opened or is shorter.
// Like the install program's reader it does not check the marker.
SelfExtractInfo ReadSelfExtractInfo(const std::string& win_path);

}  // namespace wenmoor
