// File attributes and directories.
#include "support/routines_FileSystem.h"

#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "platform/win/win_error.h"
#include "script/script_exceptions.h"

namespace wenmoor {

uint32_t AttributeBitsOf(TWnmrFileAttributesSet attributes) {
  struct Bit {
    TWnmrFileAttributes element;
    uint32_t bit;
  };
  static constexpr Bit kBits[] = {
      {wfaArchive, platform::FILE_ATTRIBUTE_ARCHIVE},     {wfaDirectory, platform::FILE_ATTRIBUTE_DIRECTORY},
      {wfaHidden, platform::FILE_ATTRIBUTE_HIDDEN},       {wfaNormal, platform::FILE_ATTRIBUTE_NORMAL},
      {wfaOffline, platform::FILE_ATTRIBUTE_OFFLINE},     {wfaReadOnly, platform::FILE_ATTRIBUTE_READONLY},
      {wfaSystem, platform::FILE_ATTRIBUTE_SYSTEM},       {wfaTemporary, platform::FILE_ATTRIBUTE_TEMPORARY},
  };
  uint32_t bits = 0;
  for (const Bit& b : kBits)
    if (attributes.Contains(b.element)) bits |= b.bit;
  return bits;
}

void SetFileAttributesFromSet(const std::string& path, TWnmrFileAttributesSet attributes) {
  if (!platform::SetFileAttributes(path, AttributeBitsOf(attributes)))
    throw IEfcSetAttributes("Cannot set file attributes. Error : %s", platform::FormatMessage(platform::GetLastError()));
}

void GetFileAttributeSet(const std::string& path, TWnmrFileAttributesSet& attributes) {
  try {
    TFileStream file(path, fmOpenRead | fmShareExclusive);
  } catch (const EStreamError&) {
    return;
  }
  const uint32_t bits = platform::GetFileAttributes(path);
  if (bits == platform::INVALID_FILE_ATTRIBUTES) return;
  attributes = (bits & platform::FILE_ATTRIBUTE_READONLY) ? TWnmrFileAttributesSet{wfaReadOnly}
                                                          : TWnmrFileAttributesSet{};
}

std::string NearestExistingDirectory(const std::string& path) {
  std::string p = path;
  for (;;) {
    if (p.find_first_not_of(" \t") == std::string::npos) return "";
    if (platform::DirectoryExists(p)) return p;
    const size_t sep = p.find_last_of('\\');
    if (sep == std::string::npos) return "";
    p.resize(sep);
  }
}

}  // namespace wenmoor
