// The body shared by the setup programs: create the main form from its
// stored description, let the install component choose the mode, run the
// installation on the form's first activation, and turn the outcome into
// the exit status.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/forms.h"

namespace wenmoor {

// Creates the main form, makes it the application's and loads `text` into
// it; raises what loading raises. The default makes a plain TForm.
using MainFormFactory = std::function<ComponentPtr<TForm>(std::string_view text, const std::string& file_name)>;

// `script`: the main form's text; null to read "<program>.dfm" beside the
// program. `create_form`: a product's own main form (and whatever it creates
// with it); empty for a plain form. Returns the exit status.
int RunSetupProgram(const std::vector<std::string>& args, const std::string* script,
                    const MainFormFactory& create_form = {});

}  // namespace wenmoor
