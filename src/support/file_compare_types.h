// The overwrite rule of a file and the answer of a file comparison, shared
// by the archive, the plain copy and the install files.
#pragma once

#include <cstdint>

#include "platform/rtl/typeinfo.h"

namespace wenmoor {

// What to do with an existing destination file.
enum TOverwriteType : uint8_t { owAlways, owNever, owVersion, owDate, owVersionDate, owAsk };
WENMOOR_ENUM(TOverwriteType, owAlways, owNever, owVersion, owDate, owVersionDate, owAsk)

// The answer of a comparison of a candidate file with an existing one.
enum TFileCompareResult : uint8_t {
  fcError,  // the comparison failed
  fcSame,   // equal in the compared respect: keep the existing file
  fcNewer,  // the candidate is newer, or the rule says replace
  fcOlder,  // the existing file is newer, or the rule says keep
  fcAsk,    // the rule says ask the user
};
WENMOOR_ENUM(TFileCompareResult, fcError, fcSame, fcNewer, fcOlder, fcAsk)

}  // namespace wenmoor
