// Letting pending user-interface work run in the middle of a long operation.
//
// Every long operation (compressing, extracting, copying, splitting,
// downloading) calls ProcessMessages between blocks of work, on the one
// thread there is, so that progress forms repaint and a Cancel button can set
// the operation's abort flag. A user-interface backend installs its message
// pump with SetProcessMessagesHook; without one (headless runs, tools, tests)
// ProcessMessages does nothing.
#pragma once

#include <functional>

namespace wenmoor {

// Runs the installed hook once, if any. Exceptions of the hook pass on.
void ProcessMessages();

// Installs (or, with an empty function, removes) the process-wide hook.
// Returns the previous one so that a scope can restore it.
std::function<void()> SetProcessMessagesHook(std::function<void()> hook);

}  // namespace wenmoor
