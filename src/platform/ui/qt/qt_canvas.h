// A TCanvas over a QPainter: how the Qt backend lets csCustomPaint controls
// (the backdrop's gradient, the 3D label) draw on their widgets.
#pragma once

#include <QPainter>

#include "platform/ui/canvas.h"

namespace wenmoor::qt {

class QtCanvas : public TCanvas {
 public:
  // `painter` is active on the control's widget, its origin at the
  // control's top-left corner.
  explicit QtCanvas(QPainter& painter) : painter_(painter) {}

  void FillRect(const TRect& r) override;
  void Polygon(const std::vector<TPoint>& points) override;
  void TextOut(int x, int y, std::string_view text) override;
  TSize TextExtent(std::string_view text) override;

 protected:
  void DrawLine(TPoint from, TPoint to) override;

 private:
  QBrush CurrentBrush();
  QPen CurrentPen();

  QPainter& painter_;
};

}  // namespace wenmoor::qt
