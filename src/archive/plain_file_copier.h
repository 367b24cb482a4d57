// CopyFile of TWnmrCompress: copies one file uncompressed, under the
// Overwrite rule and with the progress reports of an extraction.
//
// The copy moves blocks of 8,192 bytes. Abort stops it between blocks,
// quietly, leaving the destination with what was written so far. Failures
// pass on to the caller unchanged.
#pragma once

#include <string>

namespace wenmoor {

class TWnmrCompress;

class PlainFileCopier {
 public:
  explicit PlainFileCopier(TWnmrCompress& owner);
  void Run(const std::string& source, const std::string& dest);

 private:
  // Whether an existing `dest` is to be replaced (fires OnReplace, after
  // which `dest` is formed again from ExtractDirectory and DestFileName).
  bool MayReplace(const std::string& source, std::string& dest);
  void Copy(const std::string& source, const std::string& dest);

  TWnmrCompress& c_;
};

}  // namespace wenmoor
