#include "archive/file_header_rec.h"

#include <bit>
#include <cstring>

namespace wenmoor {
namespace {

constexpr std::size_t kFileNumberAt = 0;
constexpr std::size_t kFileDateAt = 8;
constexpr std::size_t kLastDiskAt = 16;
constexpr std::size_t kLastBytePosAt = 20;
constexpr std::size_t kFileNameAt = 24;
constexpr std::size_t kNextHeaderPosAt = 128;
constexpr std::size_t kFileSizeAt = 132;
constexpr std::size_t kFirstBytePosAt = 136;
constexpr std::size_t kCompressedSizeAt = 140;
constexpr std::size_t kFirstDiskAt = 144;
constexpr std::size_t kFileIDAt = 148;
constexpr std::size_t kFileVersionAt = 152;

void PutShortString(uint8_t* at, std::string_view text, std::size_t capacity) {
  std::string cut = CutToCapacity(text, capacity);
  at[0] = static_cast<uint8_t>(cut.size());
  std::memcpy(at + 1, cut.data(), cut.size());
}

std::string GetShortString(const uint8_t* at, std::size_t capacity) {
  std::size_t length = std::min<std::size_t>(at[0], capacity);
  return std::string(reinterpret_cast<const char*>(at + 1), length);
}

void PutDouble(uint8_t* at, double value) {
  uint64_t bits = std::bit_cast<uint64_t>(value);
  for (int i = 0; i < 8; ++i) at[i] = static_cast<uint8_t>(bits >> (8 * i));
}

double GetDouble(const uint8_t* at) {
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(at[i]) << (8 * i);
  return std::bit_cast<double>(bits);
}

}  // namespace

void PutInt32(uint8_t* at, int32_t value) {
  auto u = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(u >> (8 * i));
}

int32_t GetInt32(const uint8_t* at) {
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(at[i]) << (8 * i);
  return static_cast<int32_t>(u);
}

std::string CutToCapacity(std::string_view text, std::size_t capacity) {
  if (text.size() <= capacity) return std::string(text);
  std::size_t n = capacity;
  // Step back over continuation bytes (10xxxxxx) so that the cut falls
  // before the lead byte of a sequence that would not fit whole.
  while (n > 0 && (static_cast<uint8_t>(text[n]) & 0xC0) == 0x80) --n;
  return std::string(text.substr(0, n));
}

TFileHeaderRec::Bytes TFileHeaderRec::Encode() const {
  Bytes b{};
  PutInt32(&b[kFileNumberAt], FileNumber);
  PutDouble(&b[kFileDateAt], FileDate);
  b[kLastDiskAt] = LastDisk;
  PutInt32(&b[kLastBytePosAt], LastBytePos);
  PutShortString(&b[kFileNameAt], FileName, kFileNameCapacity);
  PutInt32(&b[kNextHeaderPosAt], NextHeaderPos);
  PutInt32(&b[kFileSizeAt], FileSize);
  PutInt32(&b[kFirstBytePosAt], FirstBytePos);
  PutInt32(&b[kCompressedSizeAt], CompressedSize);
  b[kFirstDiskAt] = FirstDisk;
  PutInt32(&b[kFileIDAt], FileID);
  PutShortString(&b[kFileVersionAt], FileVersion, kFileVersionCapacity);
  return b;
}

TFileHeaderRec TFileHeaderRec::Decode(std::span<const uint8_t, kSize> bytes) {
  const uint8_t* b = bytes.data();
  TFileHeaderRec r;
  r.FileNumber = GetInt32(b + kFileNumberAt);
  r.FileDate = GetDouble(b + kFileDateAt);
  r.LastDisk = b[kLastDiskAt];
  r.LastBytePos = GetInt32(b + kLastBytePosAt);
  r.FileName = GetShortString(b + kFileNameAt, kFileNameCapacity);
  r.NextHeaderPos = GetInt32(b + kNextHeaderPosAt);
  r.FileSize = GetInt32(b + kFileSizeAt);
  r.FirstBytePos = GetInt32(b + kFirstBytePosAt);
  r.CompressedSize = GetInt32(b + kCompressedSizeAt);
  r.FirstDisk = b[kFirstDiskAt];
  r.FileID = GetInt32(b + kFileIDAt);
  r.FileVersion = GetShortString(b + kFileVersionAt, kFileVersionCapacity);
  return r;
}

}  // namespace wenmoor
