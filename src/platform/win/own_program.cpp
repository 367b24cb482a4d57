#include "platform/win/own_program.h"

namespace wenmoor::platform {

std::filesystem::path OwnProgramFile() { return std::filesystem::read_symlink("/proc/self/exe"); }

}  // namespace wenmoor::platform
