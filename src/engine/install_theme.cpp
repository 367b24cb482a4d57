#include "engine/install_theme.h"

namespace wenmoor {
namespace {

void Put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> InstallThemeBitmap() {
  constexpr int kWidth = 117, kHeight = 290;
  constexpr int kRowBytes = ((kWidth * 4 + 31) / 32) * 4;
  constexpr uint32_t kPixelOffset = 14 + 40 + 16 * 4;
  constexpr uint32_t kFileSize = kPixelOffset + kRowBytes * kHeight;
  // The 16 colours of the Windows palette as red, green, blue (written to
  // the file as blue, green, red, reserved): 1 maroon, 4 navy, 6 teal, 12 blue.
  static const uint8_t kPalette[16][3] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                          {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                          {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
                                          {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
  std::vector<uint8_t> b;
  b.reserve(kFileSize);
  b.push_back('B');
  b.push_back('M');
  Put32(b, kFileSize);
  Put32(b, 0);
  Put32(b, kPixelOffset);
  Put32(b, 40);
  Put32(b, kWidth);
  Put32(b, kHeight);
  Put16(b, 1);
  Put16(b, 4);
  Put32(b, 0);
  Put32(b, kRowBytes * kHeight);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, 16);
  Put32(b, 16);
  for (const auto& c : kPalette) {
    b.push_back(c[2]);
    b.push_back(c[1]);
    b.push_back(c[0]);
    b.push_back(0);
  }
  // A dark-to-light blue band with a dithered edge: rows are stored bottom up.
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kRowBytes; ++x) {
      auto colour = [&](int px) -> uint8_t {
        if (px >= kWidth) return 0;
        int band = (kHeight - 1 - y) * 3 / kHeight;  // 0 top .. 2 bottom
        bool dither = ((px + y) & 1) != 0;
        if (band == 0) return dither ? 0 : 4;   // black / navy
        if (band == 1) return dither ? 4 : 12;  // navy / blue
        return dither ? 12 : 6;                 // blue / teal
      };
      int px = x * 2;
      b.push_back(static_cast<uint8_t>(colour(px) << 4 | colour(px + 1)));
    }
  }
  return b;
}

}  // namespace wenmoor
