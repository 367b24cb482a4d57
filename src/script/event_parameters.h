// Parameter objects that travel with reports and broadcasts along the tree.
// The sender creates one around a single synchronous call; a receiver may
// read it (and change what is documented as changeable) during the call and
// must not keep it.
#pragma once

#include <string>

#include "archive/lzh_file_stats.h"
#include "platform/rtl/persistent.h"

namespace wenmoor {

// A status text to show (broadcast -974).
class TMessageParameter : public TObject {
 public:
  explicit TMessageParameter(std::string text = {}) : Text(std::move(text)) {}
  std::string Text;
};

// The archive disk that is needed next; receivers may change Path to where
// the user put the disk.
class TDiskParameter : public TObject {
 public:
  int NewDisk = 0;
  std::string Path;
};

// Progress of one file and of the whole operation. The totals are those of
// the level that last handled the report: each file container on the way up
// recomputes them with its own.
class TFileStatusParameter : public TObject {
 public:
  int BytesDone = 0;
  int FilePercentDone = 0;
  std::string FileName;
  TlzhFileStats FileStats;
  int TotalBytesDone = 0;
  int TotalPercentDone = 0;
};

// Progress of one download.
class TDownloadStatusParameter : public TObject {
 public:
  int Bytes = 0;
  std::string FileName;
  int FileSize = 0;
  int TotalBytes = 0;
  int PercentDone = 0;
};

}  // namespace wenmoor
