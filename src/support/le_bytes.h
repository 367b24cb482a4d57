// Bounds-checked little-endian reads from a byte span, for the parsers of
// binary formats that come from outside (PE images, version resources).
//
// Contract: every read names an absolute offset into the span and returns
// nullopt when any byte of the value lies outside it. Offsets are 64-bit so
// that "offset + length" computed from 32-bit fields of a file never wraps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace wenmoor {

class LeBytes {
 public:
  explicit LeBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint64_t size() const { return bytes_.size(); }

  // True when [offset, offset + length) lies wholly inside the span.
  bool Contains(std::uint64_t offset, std::uint64_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }

  std::optional<std::uint16_t> U16(std::uint64_t offset) const {
    if (!Contains(offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
  }

  std::optional<std::uint32_t> U32(std::uint64_t offset) const {
    if (!Contains(offset, 4)) return std::nullopt;
    return static_cast<std::uint32_t>(bytes_[offset]) |
           static_cast<std::uint32_t>(bytes_[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes_[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes_[offset + 3]) << 24;
  }

  // The sub-span [offset, offset + length), or nullopt when it does not fit.
  std::optional<std::span<const std::uint8_t>> Slice(std::uint64_t offset,
                                                     std::uint64_t length) const {
    if (!Contains(offset, length)) return std::nullopt;
    return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace wenmoor
