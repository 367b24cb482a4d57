// Comparison of texts without regard to case in every script, as the
// system's locale-aware comparison (CompareString with case ignored) does it,
// for UTF-8 texts: "ÄNDERN" and "ändern" are the same text. The ASCII-only
// CompareText of sysutils.h stays the rule for identifiers and file names.
#pragma once

#include <string_view>

namespace wenmoor {

// Equal after the simple Unicode case mapping of each character; bytes that
// are no valid UTF-8 compare as they are.
bool AnsiSameText(std::string_view a, std::string_view b);

}  // namespace wenmoor
