// The default picture of wizard pages that have no picture of their own:
// 117 x 290 pixels, 16 colours.
#pragma once

#include <cstdint>
#include <vector>

namespace wenmoor {

// A Windows BMP file (4 bits per pixel, the standard 16-colour palette).
std::vector<uint8_t> InstallThemeBitmap();

}  // namespace wenmoor
