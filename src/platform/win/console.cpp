#include "platform/win/console.h"

#include <unistd.h>

namespace wenmoor::platform {

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace wenmoor::platform
