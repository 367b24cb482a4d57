#include "platform/ui/screen.h"

#include "platform/ui/application.h"

namespace wenmoor {

TScreenMetrics TScreen::Metrics() const { return TApplication::Instance().Backend().ScreenMetrics(); }

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

TScreenMetrics CurrentScreenMetrics() {
  UiBackend* backend = TApplication::Instance().ActiveBackend();
  return backend ? backend->ScreenMetrics() : TScreenMetrics{};
}

}  // namespace wenmoor
