// The hook through which framework messages reach the translator.
//
// Every English message of the framework's own exceptions passes through
// LocalizeMessage before its %-values are filled in. Until a translator
// installs itself (SetMessageLocalizer), the text passes through unchanged.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace wenmoor {

using MessageLocalizer = std::function<std::string(std::string_view english)>;

std::string LocalizeMessage(std::string_view english);

// Installs (or, with an empty function, removes) the process-wide localizer.
// Returns the previous one so that a scope can restore it.
MessageLocalizer SetMessageLocalizer(MessageLocalizer localizer);

}  // namespace wenmoor
