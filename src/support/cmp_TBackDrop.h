// TBackdrop: a panel that fills its parent with a colour gradient; the
// background of the setup program's main window.
#pragma once

#include <cstdint>

#include "platform/ui/canvas.h"
#include "platform/ui/extctrls.h"

namespace wenmoor {

// Where the colours go: bdUp has StartColor at the top and EndColor at the
// bottom, bdDown the reverse, bdLeft/bdRight the same across; the In and Out
// directions mirror the gradient about the middle (In: StartColor at the
// edges, EndColor in the middle; Out: the reverse).
enum TDirection : uint8_t { bdUp, bdDown, bdLeft, bdRight, bdHorzIn, bdHorzOut, bdVertIn, bdVertOut };
WENMOOR_ENUM(TDirection, bdUp, bdDown, bdLeft, bdRight, bdHorzIn, bdHorzOut, bdVertIn, bdVertOut)

// Fills `width` x `height` from (0, 0) with a gradient of 256 bands (128
// mirrored pairs when `mirrored`) from `from` to `to`: bands run from top to
// bottom, or from left to right when `across`.
void DrawGradient(TCanvas& canvas, int width, int height, TColor from, TColor to, bool across, bool mirrored);

class TBackdrop : public TCustomPanel {
  WENMOOR_CLASS(TBackdrop, TCustomPanel)
 public:
  // Align alClient, Direction bdUp, StartColor blue, EndColor black.
  explicit TBackdrop(TComponent* owner);
  ~TBackdrop() override;

  TDirection Direction() const { return direction_; }
  void SetDirection(TDirection d);
  TColor StartColor() const { return start_color_; }
  void SetStartColor(TColor c);
  TColor EndColor() const { return end_color_; }
  void SetEndColor(TColor c);

  // Tag -1 makes this backdrop the main one (MainBackdrop).
  void SetTag(int32_t v) override;
  // From another backdrop: Direction, EndColor, StartColor and Align.
  void Assign(const TPersistent& source) override;
  void Paint(TCanvas& canvas) override;

 private:
  TDirection direction_ = bdUp;
  TColor end_color_ = clBlack;
  TColor start_color_ = clBlue;
};

// The backdrop whose Tag is -1, or null.
TBackdrop* MainBackdrop();

}  // namespace wenmoor
