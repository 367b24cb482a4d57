// The program's standard streams, as far as tools need to know them.
#pragma once

namespace wenmoor::platform {

// Whether standard error is a terminal (a person watching), so that a tool
// may draw progress there; false for a file or a pipe.
bool StandardErrorIsTerminal();

}  // namespace wenmoor::platform
