#include "platform/ui/extctrls.h"

#include <algorithm>

namespace wenmoor {

TCustomPanel::TCustomPanel(TComponent* owner) : TWinControl(owner) {
  SetDefaultSize(185, 41);
  SetDefaultColor(clBtnFace, false);
  SetControlStyle({csAcceptsControls, csOpaque});
}

void TCustomPanel::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Changed(TControlChange::Appearance);
}

void TCustomPanel::SetBevelInner(TBevelCut b) {
  if (b == bevel_inner_) return;
  bevel_inner_ = b;
  Changed(TControlChange::Appearance);
  Realign();
}

void TCustomPanel::SetBevelOuter(TBevelCut b) {
  if (b == bevel_outer_) return;
  bevel_outer_ = b;
  Changed(TControlChange::Appearance);
  Realign();
}

void TCustomPanel::SetBevelWidth(int v) {
  v = std::max(v, 1);
  if (v == bevel_width_) return;
  bevel_width_ = v;
  Changed(TControlChange::Appearance);
  Realign();
}

void TCustomPanel::SetBorderStyle(TBorderStyle s) {
  if (s != bsNone && s != bsSingle) throw EInvalidOperation("A panel has no border style but bsNone and bsSingle");
  if (s == border_style_) return;
  border_style_ = s;
  Changed(TControlChange::Appearance);
  Realign();
}

TRect TCustomPanel::ClientRect() const {
  // A single border is drawn outside the client area, one pixel wide.
  const int b = border_style_ == bsSingle ? 1 : 0;
  return TRect{0, 0, std::max(0, Width() - 2 * b), std::max(0, Height() - 2 * b)};
}

TRect TCustomPanel::AlignRect() const {
  TRect r = TWinControl::AlignRect();
  int inset = 0;
  if (bevel_outer_ != bvNone) inset += bevel_width_;
  if (bevel_inner_ != bvNone) inset += bevel_width_;
  r.left += inset;
  r.top += inset;
  r.right -= inset;
  r.bottom -= inset;
  return r;
}

TBevel::TBevel(TComponent* owner) : TControl(owner) {
  SetDefaultSize(50, 50);
  SetDefaultColor(clBtnFace, true);
}

void TBevel::SetShape(TBevelShape s) {
  if (s == shape_) return;
  shape_ = s;
  Changed(TControlChange::Appearance);
}

void TBevel::SetStyle(TBevelStyle s) {
  if (s == style_) return;
  style_ = s;
  Changed(TControlChange::Appearance);
}

TImage::TImage(TComponent* owner) : TControl(owner), picture_(std::make_unique<TPicture>()) {
  SetDefaultSize(105, 105);
  SetDefaultColor(clBtnFace, true);
  picture_->OnChange.Assign([this](TObject*) {
    Changed(TControlChange::Appearance);
    AdjustSize();
  });
}

void TImage::SetStretch(bool v) {
  if (v == stretch_) return;
  stretch_ = v;
  Changed(TControlChange::Appearance);
}

void TImage::SetCenter(bool v) {
  if (v == center_) return;
  center_ = v;
  Changed(TControlChange::Appearance);
}

void TImage::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  Changed(TControlChange::Appearance);
}

void TImage::SetAutoSize(bool v) {
  if (v == auto_size_) return;
  auto_size_ = v;
  AdjustSize();
}

void TImage::AdjustSize() {
  if (!auto_size_ || IsLoading() || picture_->Empty()) return;
  SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
}

WENMOOR_REGISTER_CLASS(TCustomPanel) {}

WENMOOR_REGISTER_CLASS(TPanel) {
  c.Prop("Alignment", &T::Alignment, &T::SetAlignment).Default(taCenter);
  c.Prop("BevelInner", &T::BevelInner, &T::SetBevelInner).Default(bvNone);
  c.Prop("BevelOuter", &T::BevelOuter, &T::SetBevelOuter).Default(bvRaised);
  c.Prop("BevelWidth", &T::BevelWidth, &T::SetBevelWidth).Default(1);
  c.Prop("BorderStyle", &T::BorderStyle, &T::SetBorderStyle).Default(bsNone);
  c.Prop("Caption", &T::Caption, &T::SetCaption);
  c.Prop("FullRepaint", &T::FullRepaint, &T::SetFullRepaint).Default(true);
  c.Prop("Locked", &T::Locked, &T::SetLocked).Default(false);
}

WENMOOR_REGISTER_CLASS(TBevel) {
  c.Prop("Shape", &T::Shape, &T::SetShape).Default(bsBox);
  c.Prop("Style", &T::Style, &T::SetStyle).Default(bsLowered);
}

WENMOOR_REGISTER_CLASS(TImage) {
  c.Prop("AutoSize", &T::AutoSize, &T::SetAutoSize).Default(false);
  c.Prop("Center", &T::Center, &T::SetCenter).Default(false);
  c.Object("Picture", &T::Picture).Stored(&T::HasPicture);
  c.Prop("Stretch", &T::Stretch, &T::SetStretch).Default(false);
  c.Prop("Transparent", &T::Transparent, &T::SetTransparent).Default(false);
}

}  // namespace wenmoor
