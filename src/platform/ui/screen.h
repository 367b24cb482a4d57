// The screen: its size and the height of a window caption, for placing
// windows (the dialog framework's PlaceForm, a form's Position).
#pragma once

#include "platform/ui/backend.h"

namespace wenmoor {

class TScreen {
 public:
  // The running backend's screen (asking chooses a backend if none runs
  // yet: the question is about the real screen).
  TScreenMetrics Metrics() const;
  int Width() const { return Metrics().width; }
  int Height() const { return Metrics().height; }
  // The height of a window caption (Windows' SM_CYCAPTION).
  int CaptionHeight() const { return Metrics().caption_height; }
  int PixelsPerInch() const { return 96; }
};

TScreen& Screen();

// The running backend's metrics, or the defaults of TScreenMetrics when no
// backend runs yet (never chooses one): for arithmetic that must not start
// a window system, such as the client area of a form being loaded.
TScreenMetrics CurrentScreenMetrics();

}  // namespace wenmoor
