// TlzhFileStats: the statistics that every event of the archive component
// carries, and the percentage rule they use.
#pragma once

#include <cstdint>
#include <string>

#include "archive/file_header_rec.h"
#include "platform/rtl/events.h"

namespace wenmoor {

class TWnmrCompress;

struct TlzhFileStats {
  uint8_t FilePercent = 0;      // percent done of the current file
  int32_t FileBytesDone = 0;    // bytes of the current file processed so far
  std::string FileName;         // the member's stored source path
  int32_t CompressedSize = 0;   // compressed size (while compressing: written so far)
  uint8_t FileRatio = 0;        // CompressedSize as a percentage of FileSize
  int32_t FileSize = 0;         // uncompressed size
  TFileHeaderRec Header;        // copy of the member's header
  bool FileDone = false;        // the current file is finished, or was skipped
  uint8_t TotalPercent = 0;     // percent done of the whole operation
  int32_t TotalBytesDone = 0;   // bytes processed in the whole operation
  int32_t TotalCompressed = 0;  // sum of the members' compressed sizes
  uint8_t TotalRatio = 0;       // TotalCompressed as a percentage of TotalFileSize
  int32_t TotalFileSize = 0;    // sum of the members' file sizes
};

// x * 100 / y to the nearest integer, halves to the even neighbour; 0 when
// y is 0. The result is kept within a byte: below 0 gives 0, above 255 gives
// 255 (a ratio of a tiny file can exceed 255 %, which must not wrap round).
uint8_t Percent(int64_t x, int64_t y);

// An int64 count held in one of the record's Integer fields: beyond the
// int32 range it stays at the nearest limit instead of wrapping.
int32_t SaturateInt32(int64_t value);

using TlzhFileStatsEvent = TEvent<TWnmrCompress*, const TlzhFileStats&>;
// Path: the directory of the disk file, without trailing backslash; the
// handler may change it.
using TlzhNewDiskEvent = TEvent<TWnmrCompress*, int, std::string&>;

}  // namespace wenmoor
