// Small enumerations of the archive that script objects store as properties.
#pragma once

#include <cstdint>

#include "platform/rtl/typeinfo.h"

namespace wenmoor {

// Whether compressing starts a new archive file or appends to an existing one.
enum TlzhCommand : uint8_t { lzcOverwrite, lzcOnlyAdd };
WENMOOR_ENUM(TlzhCommand, lzcOverwrite, lzcOnlyAdd)

// Compression levels; deflate levels 0, 1, the library's default and 9.
enum TCompressionLevel : uint8_t { colNone, colFastest, colDefault, colMax };
WENMOOR_ENUM(TCompressionLevel, colNone, colFastest, colDefault, colMax)

}  // namespace wenmoor
