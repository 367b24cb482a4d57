// The running program's own file, as a host path.
#pragma once

#include <filesystem>

namespace wenmoor::platform {

// The executable this process runs (symbolic links resolved).
std::filesystem::path OwnProgramFile();

}  // namespace wenmoor::platform
