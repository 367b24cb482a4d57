#include "archive/lzh_file_stats.h"

#include <algorithm>
#include <limits>

namespace wenmoor {

uint8_t Percent(int64_t x, int64_t y) {
  if (y == 0) return 0;
  // Sizes are int32, so x * 100 fits in int64 with room to spare; the
  // rounding is done on magnitudes and the sign put back afterwards.
  const bool negative = (x < 0) != (y < 0);
  const int64_t num = (x < 0 ? -x : x) * 100;
  const int64_t den = y < 0 ? -y : y;
  int64_t q = num / den;
  const int64_t twice_rest = 2 * (num % den);
  if (twice_rest > den || (twice_rest == den && (q % 2) != 0)) ++q;
  if (negative) return 0;
  return static_cast<uint8_t>(std::min<int64_t>(q, 255));
}

int32_t SaturateInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace wenmoor
