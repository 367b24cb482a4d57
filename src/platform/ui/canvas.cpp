#include "platform/ui/canvas.h"

namespace wenmoor {

void TCanvas::LineTo(int x, int y) {
  if (pen_.style != psClear) DrawLine(pen_pos_, {x, y});
  pen_pos_ = {x, y};
}

void TCanvas::Rectangle(const TRect& r) {
  // Windows draws the outline inside the rectangle and fills what is inside
  // the outline; a 1-pixel pen therefore covers the outermost ring.
  if (brush_.style != bsClear) FillRect(r);
  if (pen_.style == psClear || r.Empty()) return;
  TPoint saved = pen_pos_;
  MoveTo(r.left, r.top);
  LineTo(r.right - 1, r.top);
  LineTo(r.right - 1, r.bottom - 1);
  LineTo(r.left, r.bottom - 1);
  LineTo(r.left, r.top);
  pen_pos_ = saved;
}

}  // namespace wenmoor
