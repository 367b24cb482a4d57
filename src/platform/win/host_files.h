// Helpers of the file services that work on host paths, shared by the
// units of the platform layer (not for code above it).
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>

namespace wenmoor::platform {

// The Windows attribute bits of a host file whose stat() is `st` (see
// files.h for the mapping).
uint32_t HostFileAttributes(const std::filesystem::path& host, const struct stat& st);

}  // namespace wenmoor::platform
