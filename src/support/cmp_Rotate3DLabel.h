// TRotate3DLabel: a caption drawn raised, recessed or with a shadow, and
// optionally rotated; the product title on the setup program's backdrop.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/rtl/events.h"
#include "platform/rtl/persistent.h"
#include "platform/ui/canvas.h"
#include "platform/ui/labels.h"

namespace wenmoor {

enum T3DEffectShort : uint8_t { A3dNormal, A3dResit, A3dRaised, A3dShadowed };
WENMOOR_ENUM(T3DEffectShort, A3dNormal, A3dResit, A3dRaised, A3dShadowed)

// How the label is drawn. Each setter calls OnChange only when the drawing
// changes: a shadow offset only matters for A3dShadowed, and while
// AShadeLTSet is on the highlight is white whatever AShadeLeftTop says.
class TLabelStyle : public TPersistent {
  WENMOOR_CLASS(TLabelStyle, TPersistent)
 public:
  TLabelStyle() = default;

  T3DEffectShort AStyle3D() const { return style_; }
  void SetAStyle3D(T3DEffectShort v);
  // Degrees, counter-clockwise; a value below 0 or from 360 up becomes 0.
  int Angle() const { return angle_; }
  void SetAngle(int v);
  int AHShadeOffSet() const { return h_offset_; }
  void SetAHShadeOffSet(int v);
  int AVShadeOffSet() const { return v_offset_; }
  void SetAVShadeOffSet(int v);
  TColor AShadeRightBottom() const { return shade_right_bottom_; }
  void SetAShadeRightBottom(TColor v);
  TColor AShadeLeftTop() const { return shade_left_top_; }
  // Ignored while AShadeLTSet is on.
  void SetAShadeLeftTop(TColor v);
  // On: the highlight is white (the colour set before is kept and comes
  // back when it is switched off).
  bool AShadeLTSet() const { return shade_lt_set_; }
  void SetAShadeLTSet(bool v);

  TNotifyEvent OnChange;

  // From another label style: the seven published values, then OnChange.
  void Assign(const TPersistent& source) override;

 private:
  T3DEffectShort style_ = A3dRaised;
  int angle_ = 0;
  int h_offset_ = 5;
  TColor saved_left_top_ = clWhite;
  TColor shade_right_bottom_ = clGray;
  TColor shade_left_top_ = clWhite;
  bool shade_lt_set_ = false;
  int v_offset_ = -5;
};

class TRotate3DLabel : public TCustomLabel {
  WENMOOR_CLASS(TRotate3DLabel, TCustomLabel)
 public:
  // Transparent, not sized to its caption, Arial bold, raised.
  explicit TRotate3DLabel(TComponent* owner);
  ~TRotate3DLabel() override;

  TLabelStyle* LabelStyle() const { return style_.get(); }
  void SetLabelStyle(const TLabelStyle& style);
  // Off: the label fills its (rotated) background with Color and is drawn
  // flat. Switching it off keeps the current colour as the label's own.
  bool MyTransparent() const { return my_transparent_; }
  void SetMyTransparent(bool v);

  // Tag -1 makes this label the main one (MainRotate3DLabel).
  void SetTag(int32_t v) override;
  // From another 3D label: Caption, LabelStyle, Font, Align, bounds and
  // MyTransparent.
  void Assign(const TPersistent& source) override;
  void Paint(TCanvas& canvas) override;

 private:
  double radians_per_degree_ = 0.017453292519943295;
  double cos_ = 1;
  double sin_ = 0;
  std::unique_ptr<TLabelStyle> style_;
  bool my_transparent_ = true;
};

// The 3D label whose Tag is -1, or null.
TRotate3DLabel* MainRotate3DLabel();

}  // namespace wenmoor
