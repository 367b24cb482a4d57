// The renames that wait for the next start of the machine, kept as Windows
// keeps them: the REG_MULTI_SZ value "PendingFileRenameOperations" under
// HKLM\System\CurrentControlSet\Control\Session Manager.
//
// Format: pairs of strings, source then target, each a full path in the
// NT form "\??\C:\dir\a.1". A target that replaces an existing file starts
// with "!" ("!\??\C:\dir\a.dll"); an empty target means "delete the
// source". The list ends with an empty string. Empty targets make the value
// hold empty strings in the middle, which the usual REG_MULTI_SZ readers
// take for the end; the functions here read and write the bytes
// themselves and keep every pair.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/registry_store.h"

namespace wenmoor::platform {

struct PendingRename {
  std::string source;  // Windows path, without "\??\"
  std::string target;  // Windows path, without "!" and "\??\"; empty: delete
  bool replace_existing = false;

  bool operator==(const PendingRename&) const = default;
};

inline constexpr const char* kSessionManagerKey = "System\\CurrentControlSet\\Control\\Session Manager";
inline constexpr const char* kPendingRenamesValue = "PendingFileRenameOperations";

// The value's strings, empty ones included, from and to its UTF-16 bytes.
std::vector<std::string> DecodeMultiSz(const std::vector<uint8_t>& data);
std::vector<uint8_t> EncodeMultiSz(const std::vector<std::string>& items);

// The pairs of a decoded value, and back. Decoding stops at the first empty
// source (the end of the list); a source without a target is dropped.
std::vector<PendingRename> ParsePendingRenames(const std::vector<std::string>& items);
std::vector<std::string> FormatPendingRenames(const std::vector<PendingRename>& renames);

// Reading and writing the value of a machine's registry. Add appends one
// operation after those recorded (order matters: Windows carries them out
// in order). Registry failures pass on (RegistryIoError).
std::vector<PendingRename> ReadPendingRenames(RegistryStore& registry);
void AddPendingRename(RegistryStore& registry, const PendingRename& rename);
// Removes the value (after the restart has carried the operations out).
void ClearPendingRenames(RegistryStore& registry);

}  // namespace wenmoor::platform
