// Collects small writes into large ones. Inflating yields 4,096 bytes at a
// time; handing each piece to the file system on its own would cost a system
// call per piece, so they are gathered into blocks of 65,536 bytes.
//
// A write that the stream takes only in part (a full disk) is reported to
// `on_short_write` once per block; the bytes it did not take are dropped,
// as an unbuffered writer would drop them. Flush before looking at the
// stream's size; the destructor does not flush (a failed operation must not
// write on).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace wenmoor {

class TStream;

class BlockWriter {
 public:
  static constexpr size_t kBlock = 65536;

  BlockWriter(TStream& out, std::function<void()> on_short_write);
  void Write(const uint8_t* data, size_t count);
  // Room for `count` (at most kBlock) bytes inside the buffer, so that a
  // producer can put its output there directly; Commit says how much of it
  // was used.
  uint8_t* Reserve(size_t count);
  void Commit(size_t count) { used_ += count; }
  void Flush();

 private:
  TStream& out_;
  std::function<void()> on_short_write_;
  std::vector<uint8_t> buffer_;
  size_t used_ = 0;
};

}  // namespace wenmoor
