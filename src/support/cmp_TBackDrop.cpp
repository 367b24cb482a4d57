#include "support/cmp_TBackDrop.h"

#include "support/main_instance.h"

namespace wenmoor {
namespace {

struct Rgb {
  int r, g, b;
};

Rgb Split(TColor c) {
  const TColor rgb = ColorToRGB(c);
  return {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
}

// The colour `step` of `steps` steps from `from` by `delta`.
TColor Blend(Rgb from, Rgb delta, int step, int steps) {
  return RGB(static_cast<uint8_t>(from.r + MulDiv(step, delta.r, steps)),
             static_cast<uint8_t>(from.g + MulDiv(step, delta.g, steps)),
             static_cast<uint8_t>(from.b + MulDiv(step, delta.b, steps)));
}

}  // namespace

void DrawGradient(TCanvas& canvas, int width, int height, TColor from, TColor to, bool across, bool mirrored) {
  const Rgb start = Split(from);
  const Rgb end = Split(to);
  const Rgb delta{end.r - start.r, end.g - start.g, end.b - start.b};
  const int size = across ? width : height;
  canvas.Pen().style = psSolid;
  canvas.Brush().style = bsSolid;
  // Band [a, b) of the bands' axis, over the whole other axis.
  auto band = [&](int a, int b) {
    if (a >= b) return;
    canvas.FillRect(across ? TRect{a, 0, b, height} : TRect{0, a, width, b});
  };
  auto paint = [&](TColor c) {
    canvas.Pen().color = c;
    canvas.Brush().color = c;
  };
  if (!mirrored) {
    for (int n = 0; n <= 255; ++n) {
      paint(Blend(start, delta, n, 255));
      band(MulDiv(n, size, 256), MulDiv(n + 1, size, 256));
    }
  } else {
    for (int n = 0; n <= 127; ++n) {
      paint(Blend(start, delta, n, 127));
      band(MulDiv(n, size, 256), MulDiv(n + 1, size, 256));
      band(MulDiv(255 - n, size, 256), MulDiv(256 - n, size, 256));
    }
  }
}

TBackdrop::TBackdrop(TComponent* owner) : TCustomPanel(owner) {
  SetControlStyle(ControlStyle() + TControlStyle{csCustomPaint});
  SetAlign(alClient);
  if (owner && owner->IsDesigning() && !MainBackdrop()) SetTag(-1);
}

TBackdrop::~TBackdrop() { MainInstance<TBackdrop>::Destroyed(this); }

void TBackdrop::SetDirection(TDirection d) {
  if (d == direction_) return;
  direction_ = d;
  Invalidate();
}

void TBackdrop::SetStartColor(TColor c) {
  if (c == start_color_) return;
  start_color_ = c;
  Invalidate();
}

void TBackdrop::SetEndColor(TColor c) {
  if (c == end_color_) return;
  end_color_ = c;
  Invalidate();
}

void TBackdrop::SetTag(int32_t v) {
  MainInstance<TBackdrop>::TagChanging(this, v);
  TCustomPanel::SetTag(v);
}

void TBackdrop::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TBackdrop*>(&source);
  if (!other) {
    TCustomPanel::Assign(source);
    return;
  }
  direction_ = other->direction_;
  end_color_ = other->end_color_;
  start_color_ = other->start_color_;
  SetAlign(other->Align());
  Invalidate();
}

void TBackdrop::Paint(TCanvas& canvas) {
  const TRect r = ClientRect();
  const int w = r.Width(), h = r.Height();
  switch (direction_) {
    case bdUp: DrawGradient(canvas, w, h, start_color_, end_color_, false, false); break;
    case bdDown: DrawGradient(canvas, w, h, end_color_, start_color_, false, false); break;
    case bdLeft: DrawGradient(canvas, w, h, start_color_, end_color_, true, false); break;
    case bdRight: DrawGradient(canvas, w, h, end_color_, start_color_, true, false); break;
    case bdHorzIn: DrawGradient(canvas, w, h, start_color_, end_color_, false, true); break;
    case bdHorzOut: DrawGradient(canvas, w, h, end_color_, start_color_, false, true); break;
    case bdVertIn: DrawGradient(canvas, w, h, start_color_, end_color_, true, true); break;
    default: DrawGradient(canvas, w, h, end_color_, start_color_, true, true); break;
  }
}

TBackdrop* MainBackdrop() { return MainInstance<TBackdrop>::Get(); }

WENMOOR_REGISTER_CLASS(TBackdrop) {
  c.Prop("Align", &T::Align, &T::SetAlign).Default(alClient);
  c.Prop("BorderStyle", &T::BorderStyle, &T::SetBorderStyle).Default(bsNone);
  c.Prop("Direction", &T::Direction, &T::SetDirection).Default(bdUp);
  c.Prop("EndColor", &T::EndColor, &T::SetEndColor).Idents(ColorIdents()).Default(clBlack);
  c.Prop("Locked", &T::Locked, &T::SetLocked).Default(false);
  c.Prop("StartColor", &T::StartColor, &T::SetStartColor).Idents(ColorIdents()).Default(clBlue);
}

}  // namespace wenmoor
