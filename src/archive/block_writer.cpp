#include "archive/block_writer.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/rtl/stream.h"

namespace wenmoor {

BlockWriter::BlockWriter(TStream& out, std::function<void()> on_short_write)
    : out_(out), on_short_write_(std::move(on_short_write)), buffer_(kBlock) {}

void BlockWriter::Write(const uint8_t* data, size_t count) {
  while (count > 0) {
    const size_t n = std::min(count, kBlock - used_);
    std::memcpy(buffer_.data() + used_, data, n);
    used_ += n;
    data += n;
    count -= n;
    if (used_ == kBlock) Flush();
  }
}

uint8_t* BlockWriter::Reserve(size_t count) {
  if (kBlock - used_ < count) Flush();
  return buffer_.data() + used_;
}

void BlockWriter::Flush() {
  if (used_ == 0) return;
  const auto want = static_cast<int64_t>(used_);
  used_ = 0;
  if (out_.Write(buffer_.data(), want) != want) on_short_write_();
}

}  // namespace wenmoor
