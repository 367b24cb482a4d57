#include "support/cmp_Rotate3DLabel.h"

#include <cmath>
#include <vector>

#include "support/main_instance.h"

namespace wenmoor {

// ---------------------------------------------------------------------------
// TLabelStyle

void TLabelStyle::SetAStyle3D(T3DEffectShort v) {
  if (v == style_) return;
  style_ = v;
  OnChange(this);
}

void TLabelStyle::SetAngle(int v) {
  if (v == angle_) return;
  angle_ = (v < 0 || v >= 360) ? 0 : v;
  OnChange(this);
}

void TLabelStyle::SetAHShadeOffSet(int v) {
  if (v == h_offset_) return;
  h_offset_ = v;
  if (style_ == A3dShadowed) OnChange(this);
}

void TLabelStyle::SetAVShadeOffSet(int v) {
  if (v == v_offset_) return;
  v_offset_ = v;
  if (style_ == A3dShadowed) OnChange(this);
}

void TLabelStyle::SetAShadeRightBottom(TColor v) {
  if (v == shade_right_bottom_) return;
  shade_right_bottom_ = v;
  OnChange(this);
}

void TLabelStyle::SetAShadeLeftTop(TColor v) {
  if (shade_lt_set_ || v == shade_left_top_) return;
  shade_left_top_ = v;
  OnChange(this);
}

void TLabelStyle::SetAShadeLTSet(bool v) {
  if (v != shade_lt_set_) {
    shade_lt_set_ = v;
    if (v) {
      saved_left_top_ = shade_left_top_;
      shade_left_top_ = clWhite;
    } else {
      shade_left_top_ = saved_left_top_;
    }
  }
  if (shade_lt_set_ && (style_ == A3dResit || style_ == A3dRaised) && saved_left_top_ != clWhite) OnChange(this);
}

void TLabelStyle::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TLabelStyle*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  angle_ = other->angle_;
  style_ = other->style_;
  shade_right_bottom_ = other->shade_right_bottom_;
  shade_left_top_ = other->shade_left_top_;
  shade_lt_set_ = other->shade_lt_set_;
  saved_left_top_ = other->saved_left_top_;
  h_offset_ = other->h_offset_;
  v_offset_ = other->v_offset_;
  OnChange(this);
}

// ---------------------------------------------------------------------------
// TRotate3DLabel

namespace {

// The integer nearest to x, halves to even.
int Nearest(double x) { return static_cast<int>(std::nearbyint(x)); }

}  // namespace

TRotate3DLabel::TRotate3DLabel(TComponent* owner)
    : TCustomLabel(owner), style_(std::make_unique<TLabelStyle>()) {
  SetControlStyle(ControlStyle() + TControlStyle{csCustomPaint});
  SetTransparent(true);
  SetAutoSize(false);
  TFont font;
  font.Assign(*Font());
  font.SetName("Arial");
  font.SetStyle(TFontStyles{fsBold});
  SetFont(font);
  style_->OnChange.Assign([this](TObject*) { Invalidate(); });
  if (owner && owner->IsDesigning() && !MainRotate3DLabel()) SetTag(-1);
}

TRotate3DLabel::~TRotate3DLabel() { MainInstance<TRotate3DLabel>::Destroyed(this); }

void TRotate3DLabel::SetLabelStyle(const TLabelStyle& style) {
  style_->Assign(style);
  Invalidate();
}

void TRotate3DLabel::SetMyTransparent(bool v) {
  if (v == my_transparent_) return;
  my_transparent_ = v;
  if (!v) {
    const TColor color = Color();
    SetParentColor(true);
    SetColor(color);
  }
  Invalidate();
}

void TRotate3DLabel::SetTag(int32_t v) {
  MainInstance<TRotate3DLabel>::TagChanging(this, v);
  TCustomLabel::SetTag(v);
}

void TRotate3DLabel::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TRotate3DLabel*>(&source);
  if (!other) {
    TCustomLabel::Assign(source);
    return;
  }
  SetCaption(other->Caption());
  SetLabelStyle(*other->LabelStyle());
  SetFont(*other->Font());
  SetAlign(other->Align());
  SetBounds(other->Left(), other->Top(), other->Width(), other->Height());
  SetMyTransparent(other->MyTransparent());
}

void TRotate3DLabel::Paint(TCanvas& canvas) {
  const int angle = style_->Angle();
  cos_ = std::cos(angle * radians_per_degree_);
  sin_ = std::sin(angle * radians_per_degree_);
  const TColor font_color = Font()->Color();
  if (!my_transparent_) style_->SetAStyle3D(A3dNormal);

  int highlight = 0, shadow = 0;
  if (style_->AStyle3D() == A3dResit) {
    highlight = 1;
    shadow = -1;
  } else if (style_->AStyle3D() == A3dRaised) {
    highlight = -1;
    shadow = 1;
  }

  canvas.Font().Assign(*Font());
  canvas.Brush().style = bsClear;
  const std::string& text = Caption();
  const TSize extent = canvas.TextExtent(text);
  const int tw = extent.cx, th = extent.cy;
  const int cx = Width() / 2, cy = Height() / 2;

  int x = 0;
  switch (Alignment()) {
    case taLeftJustify: x = 0; break;
    case taRightJustify: x = Width() - tw; break;
    case taCenter: x = cx - Nearest(tw / 2.0 * cos_) - Nearest(th / 2.0 * sin_); break;
  }
  const int y = Nearest(tw / 2.0 * sin_) + cy - Nearest(th / 2.0 * cos_);

  if (!my_transparent_) {
    // The text's box, 10 wider and 7 higher, rotated about the centre.
    const double hw = (tw + 10) / 2.0, hh = (th + 7) / 2.0;
    const int wc = Nearest(hw * cos_), ws = Nearest(hw * sin_);
    const int hc = Nearest(hh * cos_), hs = Nearest(hh * sin_);
    canvas.Brush().style = bsSolid;
    canvas.Brush().color = Color();
    canvas.Pen().style = psSolid;
    canvas.Pen().color = Color();
    canvas.Polygon({{cx - wc - hs, ws + cy - hc},
                    {wc + cx - hs, cy - ws - hc},
                    {wc + cx + hs, cy + hc - ws},
                    {cx + hs - wc, ws + cy + hc}});
    canvas.Brush().style = bsClear;
  }

  const int previous_escapement = canvas.FontEscapement();
  canvas.SetFontEscapement(angle * 10);
  auto draw = [&](TColor color, int at_x, int at_y) {
    canvas.Font().SetColor(color);
    canvas.TextOut(at_x, at_y, text);
  };
  const T3DEffectShort effect = style_->AStyle3D();
  if (effect != A3dNormal) {
    if (effect != A3dShadowed) draw(style_->AShadeLeftTop(), x + highlight, y + highlight);
    if (effect == A3dShadowed)
      draw(style_->AShadeRightBottom(), x + style_->AHShadeOffSet(), y + style_->AVShadeOffSet());
    else
      draw(style_->AShadeRightBottom(), x + shadow, y + shadow);
  }
  draw(font_color, x, y);
  canvas.SetFontEscapement(previous_escapement);
}

TRotate3DLabel* MainRotate3DLabel() { return MainInstance<TRotate3DLabel>::Get(); }

WENMOOR_REGISTER_CLASS(TLabelStyle) {
  c.Prop("Angle", &T::Angle, &T::SetAngle).Default(0);
  c.Prop("AStyle3D", &T::AStyle3D, &T::SetAStyle3D).Default(A3dRaised);
  c.Prop("AShadeRightBottom", &T::AShadeRightBottom, &T::SetAShadeRightBottom).Idents(ColorIdents()).Default(clGray);
  c.Prop("AShadeLeftTop", &T::AShadeLeftTop, &T::SetAShadeLeftTop).Idents(ColorIdents()).Default(clWhite);
  // Stored whatever its value: a new style starts with false, so a true
  // left out of the script would be lost on loading.
  c.Prop("AShadeLTSet", &T::AShadeLTSet, &T::SetAShadeLTSet);
  c.Prop("AHShadeOffSet", &T::AHShadeOffSet, &T::SetAHShadeOffSet).Default(5);
  c.Prop("AVShadeOffSet", &T::AVShadeOffSet, &T::SetAVShadeOffSet).Default(-5);
  c.Event("OnChange", &T::OnChange);
}

WENMOOR_REGISTER_CLASS(TRotate3DLabel) {
  c.Prop("Alignment", &T::Alignment, &T::SetAlignment).Default(taLeftJustify);
  c.Prop("Caption", &T::Caption, &T::SetCaption);
  c.Prop("FocusControl", &T::FocusControl, &T::SetFocusControl);
  c.Object("LabelStyle", &T::LabelStyle);
  c.Prop("MyTransparent", &T::MyTransparent, &T::SetMyTransparent).Default(true);
  c.Prop("ShowAccelChar", &T::ShowAccelChar, &T::SetShowAccelChar).Default(true);
}

}  // namespace wenmoor
