// Panels, bevels and images.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/rtl/picture.h"
#include "platform/ui/forms.h"
#include "platform/ui/win_control.h"

namespace wenmoor {

enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
WENMOOR_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)

// A panel: a rectangle that holds other controls, with a caption in its
// middle and optional outer and inner bevels. The aligned children share
// what is inside BorderWidth and the bevels.
class TCustomPanel : public TWinControl {
  WENMOOR_CLASS(TCustomPanel, TWinControl)
 public:
  explicit TCustomPanel(TComponent* owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  TBevelCut BevelInner() const { return bevel_inner_; }
  void SetBevelInner(TBevelCut b);
  TBevelCut BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TBevelCut b);
  int BevelWidth() const { return bevel_width_; }
  // At least 1.
  void SetBevelWidth(int v);
  TBorderStyle BorderStyle() const { return border_style_; }
  // bsNone or bsSingle; raises EInvalidOperation for another style.
  void SetBorderStyle(TBorderStyle s);
  bool Locked() const { return locked_; }
  void SetLocked(bool v) { locked_ = v; }
  bool FullRepaint() const { return full_repaint_; }
  void SetFullRepaint(bool v) { full_repaint_ = v; }

  TRect ClientRect() const override;
  TRect AlignRect() const override;

 private:
  TAlignment alignment_ = taCenter;
  TBevelCut bevel_inner_ = bvNone;
  TBevelCut bevel_outer_ = bvRaised;
  int bevel_width_ = 1;
  TBorderStyle border_style_ = bsNone;
  bool locked_ = false;
  bool full_repaint_ = true;
};

class TPanel : public TCustomPanel {
  WENMOOR_CLASS(TPanel, TCustomPanel)
 public:
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

enum TBevelShape : uint8_t { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
WENMOOR_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)

enum TBevelStyle : uint8_t { bsLowered, bsRaised };
WENMOOR_ENUM(TBevelStyle, bsLowered, bsRaised)

// A bevelled line or box (the separating line above a wizard's buttons).
class TBevel : public TControl {
  WENMOOR_CLASS(TBevel, TControl)
 public:
  explicit TBevel(TComponent* owner);
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape s);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle s);

 private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};

// A picture. With AutoSize the control takes the picture's size whenever
// the picture changes.
class TImage : public TControl {
  WENMOOR_CLASS(TImage, TControl)
 public:
  explicit TImage(TComponent* owner);

  // The picture (owned); assigning copies.
  TPicture* Picture() const { return picture_.get(); }
  void SetPicture(const TPicture& p) { picture_->Assign(p); }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v);
  bool HasPicture() const { return !picture_->Empty(); }

  void AdjustSize() override;

 private:
  std::unique_ptr<TPicture> picture_;
  bool stretch_ = false;
  bool center_ = false;
  bool transparent_ = false;
  bool auto_size_ = false;
};

}  // namespace wenmoor
