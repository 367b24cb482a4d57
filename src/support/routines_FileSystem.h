// File attributes as the framework's set, and the nearest existing
// directory of a path.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/typeinfo.h"

namespace wenmoor {

enum TWnmrFileAttributes : uint8_t {
  wfaArchive,
  wfaCompressed,
  wfaDirectory,
  wfaHidden,
  wfaNormal,
  wfaOffline,
  wfaReadOnly,
  wfaSystem,
  wfaTemporary,
};
WENMOOR_ENUM(TWnmrFileAttributes, wfaArchive, wfaCompressed, wfaDirectory, wfaHidden, wfaNormal, wfaOffline,
             wfaReadOnly, wfaSystem, wfaTemporary)
using TWnmrFileAttributesSet = TSet<TWnmrFileAttributes>;

// The Windows attribute bits of a set (wfaCompressed has none).
uint32_t AttributeBitsOf(TWnmrFileAttributesSet attributes);

// Gives the file exactly the bits of the set. When the system refuses,
// raises IEfcSetAttributes "Cannot set file attributes. Error : %s" with
// the system's text for the error.
void SetFileAttributesFromSet(const std::string& path, TWnmrFileAttributesSet attributes);

// Opens the file for reading without sharing; when that succeeds, sets
// `attributes` to [wfaReadOnly] for a read-only file and to [] otherwise.
// A file that cannot be opened leaves `attributes` as it was.
void GetFileAttributeSet(const std::string& path, TWnmrFileAttributesSet& attributes);

// The path itself when it is an existing directory, else the nearest
// existing directory above it (cut at each "\"); empty for an empty or
// blank path, or when none exists.
std::string NearestExistingDirectory(const std::string& path);

}  // namespace wenmoor
