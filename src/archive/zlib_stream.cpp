#include "archive/zlib_stream.h"

#include "archive/archive_errors.h"

namespace wenmoor {
namespace {
constexpr int kWindowBits = 15;
constexpr int kMemLevel = 8;
}  // namespace

int DeflateLevel(TCompressionLevel level) {
  switch (level) {
    case colNone: return 0;
    case colFastest: return 1;
    case colDefault: return Z_DEFAULT_COMPRESSION;
    case colMax: return 9;
  }
  return 9;
}

Deflater::Deflater(TCompressionLevel level) {
  if (deflateInit2(&z_, DeflateLevel(level), Z_DEFLATED, kWindowBits, kMemLevel, Z_DEFAULT_STRATEGY) != Z_OK)
    throw EWnmrCompress(archive_msg::kZlib);
}

Deflater::~Deflater() { deflateEnd(&z_); }

void Deflater::Reset() {
  if (deflateReset(&z_) != Z_OK) throw EWnmrCompress(archive_msg::kZlib);
}

int Deflater::Deflate(int flush) {
  int rc = deflate(&z_, flush);
  if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) throw EWnmrCompress(archive_msg::kZlib);
  return rc;
}

Inflater::Inflater() {
  if (inflateInit2(&z_, kWindowBits) != Z_OK) throw EWnmrCompress(archive_msg::kZlib);
}

Inflater::~Inflater() { inflateEnd(&z_); }

int Inflater::Inflate() {
  // After the end of the stream zlib would only repeat Z_STREAM_END; bytes
  // behind the stream are not part of it.
  if (ended_) return Z_STREAM_END;
  int rc = inflate(&z_, Z_NO_FLUSH);
  if (rc == Z_STREAM_END) ended_ = true;
  else if (rc != Z_OK && rc != Z_BUF_ERROR) throw EWnmrCompress(archive_msg::kZlib);
  return rc;
}

}  // namespace wenmoor
