// Thin owners of one zlib stream each, with the archive's fixed parameters:
// method deflate, window bits 15 (a zlib header and Adler-32 trailer, RFC
// 1950), memory level 8, default strategy.
//
// Any error that zlib reports raises EWnmrCompress "error" (zlib's own texts
// are not used). The z_stream is exposed so that the loops that feed it,
// which differ between compressing and extracting, stay with their callers.
#pragma once

#include <zlib.h>

#include "archive/archive_types.h"

namespace wenmoor {

// The deflate level of a TCompressionLevel: 0, 1, zlib's default (-1, which
// zlib treats as 6) and 9.
int DeflateLevel(TCompressionLevel level);

class Deflater {
 public:
  explicit Deflater(TCompressionLevel level);
  ~Deflater();
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  z_stream& Z() { return z_; }
  // Ready for the next stream, with the same parameters.
  void Reset();
  // One call of deflate with `flush`; returns Z_OK, Z_STREAM_END or
  // Z_BUF_ERROR (no progress possible, not an error).
  int Deflate(int flush);

 private:
  z_stream z_{};
};

class Inflater {
 public:
  Inflater();
  ~Inflater();
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  z_stream& Z() { return z_; }
  // One call of inflate without flush; returns Z_OK, Z_STREAM_END or
  // Z_BUF_ERROR. Damaged data, a missing dictionary or a lack of memory
  // raise "error".
  int Inflate();
  bool Ended() const { return ended_; }

 private:
  z_stream z_{};
  bool ended_ = false;
};

}  // namespace wenmoor
