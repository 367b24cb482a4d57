// The self-extract block at the end of a setup.exe, as the loading program
// reads it from a file it cannot trust: any 56 bytes decode, encode back to
// themselves where the format keeps them, and a layout that fits lies
// wholly inside the file.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/self_extract_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wenmoor;
  if (size < SelfExtractInfo::kSize + 8) return 0;
  std::array<uint8_t, SelfExtractInfo::kSize> block{};
  std::memcpy(block.data(), data, block.size());
  int64_t file_size = 0;
  std::memcpy(&file_size, data + block.size(), sizeof file_size);

  const SelfExtractInfo info = SelfExtractInfo::Decode(block);
  const auto again = info.Encode();
  // The length byte, the marker and the four offsets survive a round trip.
  if (std::memcmp(again.data(), block.data(), 15) != 0 || std::memcmp(again.data() + 16, block.data() + 16, 16) != 0)
    std::abort();
  if (info.LayoutFits(file_size)) {
    const int64_t end = file_size - SelfExtractInfo::kSize;
    if (info.setup1_start <= 0 || info.setup1_end >= end) std::abort();
    if (info.HasFiles1() && (info.files1_start <= info.setup1_end || info.files1_end >= end)) std::abort();
  }
  return 0;
}
