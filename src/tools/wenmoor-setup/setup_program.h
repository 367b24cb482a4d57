// The body shared by the setup programs: create the main form from its
// stored description, let the install component choose the mode, run the
// installation on the form's first activation, and turn the outcome into
// the exit status.
#pragma once

#include <string>
#include <vector>

namespace wenmoor {

// `script`: the main form's text; null to read "<program>.dfm" beside the
// program. Returns the exit status.
int RunSetupProgram(const std::vector<std::string>& args, const std::string* script);

}  // namespace wenmoor
