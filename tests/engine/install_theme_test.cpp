// The built-in theme picture: a valid 16-colour bitmap whose pixels are all
// shades of blue (a palette given in the wrong byte order turns it red).
#include "engine/install_theme.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/rtl/picture.h"

namespace wenmoor {
namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

TEST(InstallThemeTest, IsAValidBitmapInShadesOfBlue) {
  const std::vector<uint8_t> bmp = InstallThemeBitmap();
  TBitmap bitmap;
  ASSERT_NO_THROW(bitmap.LoadFromBmp(bmp));
  EXPECT_EQ(bitmap.Width(), 117);
  EXPECT_EQ(bitmap.Height(), 290);
  EXPECT_EQ(bitmap.BitsPerPixel(), 4);

  const size_t palette = 14 + Le32(bmp, 14);
  const size_t pixels = Le32(bmp, 10);
  bool seen[16] = {};
  for (size_t i = pixels; i < bmp.size(); ++i) {
    seen[bmp[i] >> 4] = true;
    seen[bmp[i] & 15] = true;
  }
  for (int index = 0; index < 16; ++index) {
    if (!seen[index]) continue;
    const uint8_t blue = bmp[palette + 4 * index], green = bmp[palette + 4 * index + 1],
                  red = bmp[palette + 4 * index + 2];
    EXPECT_GE(blue, red) << "palette entry " << index;
    EXPECT_GE(blue, green) << "palette entry " << index;
  }
}

}  // namespace
}  // namespace wenmoor
