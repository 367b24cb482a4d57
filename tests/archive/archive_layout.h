// An independent reader of the archive's bytes for the tests, written from
// the layout alone (offsets and sizes of the preamble and the 176-byte
// header), so that a fault shared by the library's writer and reader cannot
// hide. It reads plain byte vectors and knows nothing of the library.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace wenmoor::test {

inline int32_t LeInt32(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<int32_t>(uint32_t{b.at(at)} | uint32_t{b.at(at + 1)} << 8 | uint32_t{b.at(at + 2)} << 16 |
                              uint32_t{b.at(at + 3)} << 24);
}

inline double LeDouble(const std::vector<uint8_t>& b, size_t at) {
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | b.at(at + static_cast<size_t>(i));
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

inline std::string ShortString(const std::vector<uint8_t>& b, size_t at) {
  size_t n = b.at(at);
  return std::string(reinterpret_cast<const char*>(b.data()) + at + 1, n);
}

struct RawHeader {
  int32_t file_number, last_byte_pos, next_header_pos, file_size, first_byte_pos, compressed_size, file_id;
  double file_date;
  uint8_t last_disk, first_disk;
  std::string file_name, file_version;
  bool reserved_zero;  // reserved bytes and bytes behind the strings are 0
};

inline RawHeader ParseRawHeader(const std::vector<uint8_t>& b, size_t at) {
  RawHeader h{};
  h.file_number = LeInt32(b, at + 0);
  h.file_date = LeDouble(b, at + 8);
  h.last_disk = b.at(at + 16);
  h.last_byte_pos = LeInt32(b, at + 20);
  h.file_name = ShortString(b, at + 24);
  h.next_header_pos = LeInt32(b, at + 128);
  h.file_size = LeInt32(b, at + 132);
  h.first_byte_pos = LeInt32(b, at + 136);
  h.compressed_size = LeInt32(b, at + 140);
  h.first_disk = b.at(at + 144);
  h.file_id = LeInt32(b, at + 148);
  h.file_version = ShortString(b, at + 152);
  h.reserved_zero = true;
  auto zero = [&](size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
      if (b.at(at + i) != 0) h.reserved_zero = false;
  };
  zero(4, 8);
  zero(17, 20);
  zero(25 + h.file_name.size(), 128);
  zero(145, 148);
  zero(153 + h.file_version.size(), 176);
  return h;
}

struct RawArchive {
  int32_t file_count = 0;
  uint8_t spanned = 0;
  std::vector<size_t> header_at;  // where each header starts in the bytes
  std::vector<RawHeader> headers;
};

// Walks the chain of an archive that starts at `offset` in `bytes`.
inline RawArchive ParseRawArchive(const std::vector<uint8_t>& bytes, size_t offset = 0) {
  RawArchive a;
  a.file_count = LeInt32(bytes, offset);
  a.spanned = bytes.at(offset + 4);
  size_t at = offset + 5;
  for (int32_t i = 0; i < a.file_count; ++i) {
    a.header_at.push_back(at);
    a.headers.push_back(ParseRawHeader(bytes, at));
    at = offset + static_cast<size_t>(a.headers.back().next_header_pos);
  }
  return a;
}

}  // namespace wenmoor::test
