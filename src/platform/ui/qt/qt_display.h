// Starting Qt for the process: the one QApplication, on a platform that is
// there. Qt ends the process when its platform cannot start, so the display
// is looked for first and a missing one is an EBackendUnavailable that the
// backend choice turns into a headless run.
#pragma once

#include <string>

#include "platform/ui/backend.h"

namespace wenmoor::qt {

// The platform that `env` offers: QT_QPA_PLATFORM when set (and Qt has
// it), else "xcb" for a reachable DISPLAY, else "wayland" for a reachable
// WAYLAND_DISPLAY (when Qt has that plugin). Raises EBackendUnavailable,
// saying what is missing, when there is none.
std::string ChooseQtPlatform(const EnvLookup& env);

// Starts Qt on ChooseQtPlatform(env); does nothing when Qt runs already.
void StartQt(const EnvLookup& env);

}  // namespace wenmoor::qt
