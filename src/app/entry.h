// The program's start: the main form with the install script, then the
// product's wizard page forms. The message loop (the installation run on the
// main form's first activation) and the exit status are the framework's.
#pragma once

#include <string>
#include <string_view>

#include "platform/ui/forms.h"

namespace quarry {

// Creates TMainForm as the application's main form, reads `text` (the
// install script) into it, which runs the engine's start-up and then
// FormCreate, and creates the page forms. Raises what loading raises; the
// application then has no main form.
wenmoor::ComponentPtr<wenmoor::TForm> CreateMainForm(std::string_view text, const std::string& file_name);

}  // namespace quarry
