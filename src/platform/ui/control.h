// TControl: the base of everything placed on a form.
//
// A control is a component (owned by its owner, usually the form) with a
// separate *parent*: the windowed control (TWinControl) it stands on, which
// lists it among its child controls. Ownership and parenthood are
// independent, as in the component library: the owner frees the control;
// the parent link is an observer that either side clears when it goes.
// When a control is read from form text, the object it is nested in becomes
// its parent (SetParentComponent).
//
// Properties. Setters store the value and tell the user-interface backend
// what changed (ControlChanged); they never draw, so that code that updates a
// control in a tight loop (a progress bar per block of a file) stays cheap:
// the backend repaints at its own pace.
//
// Fonts and colours follow the parent: while ParentFont is set, the
// control's font is a copy of its parent's and changes with it; changing
// the control's own font clears ParentFont. ParentColor works the same way
// for Color.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/rtl/component.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/font.h"
#include "platform/ui/graphics.h"

namespace wenmoor {

class TCanvas;
class TCustomForm;
class TWinControl;

WENMOOR_EXCEPTION(EInvalidOperation, Exception);

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
WENMOOR_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)

enum TAnchorKind : uint8_t { akLeft, akTop, akRight, akBottom };
WENMOOR_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom)
using TAnchors = TSet<TAnchorKind>;

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
WENMOOR_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)

// Traits of a control class that a backend needs to know.
enum TControlStyleFlag : uint8_t {
  csAcceptsControls,  // other controls may be placed on it (panels, group boxes, forms)
  csOpaque,           // it hides what lies behind it
  csCustomPaint,      // it draws itself through Paint(TCanvas&) instead of a native widget
};
WENMOOR_ENUM(TControlStyleFlag, csAcceptsControls, csOpaque, csCustomPaint)
using TControlStyle = TSet<TControlStyleFlag>;

// What changed about a control, as the backend is told.
enum class TControlChange : uint8_t {
  Bounds,       // Left, Top, Width, Height
  Text,         // Caption / Text, lines of a memo, items of a list
  Visible,
  Enabled,
  Font,
  Color,
  State,        // checked, item index, position, tab index, read-only, ...
  Appearance,   // other presentation properties (alignment, bevels, glyph, border)
  Children,     // a child control was added or removed
  ZOrder,       // a child control moved in the z-order
  Focus,        // the form's active control
  ModalResult,  // a form's modal result was set
  Invalidate,   // repaint when convenient
  RepaintNow,   // repaint before returning
  Destroyed,    // the control is going away: drop every reference to it
};

class TControl : public TComponent {
  WENMOOR_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // --- Parent ---------------------------------------------------------------
  TWinControl* Parent() const { return parent_; }
  // Moves the control onto `parent` (at the top of its z-order), or takes it
  // off its parent with null. Raises EInvalidOperation when `parent` is the
  // control itself or one of its children.
  virtual void SetParent(TWinControl* parent);
  // The parent is the parent component: the form text nests a control in
  // its parent. Raises EInvalidOperation when `parent` is no windowed
  // control (a control can only stand on one).
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

  // --- Geometry -------------------------------------------------------------
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  // Negative sizes are taken as 0. A change realigns the parent (for an
  // aligned control) and, for a windowed control, its children.
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  // The area inside the control's frame, in its own coordinates.
  virtual TRect ClientRect() const { return TRect{0, 0, width_, height_}; }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  virtual void SetClientWidth(int v);
  virtual void SetClientHeight(int v);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign a);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors a);
  // Sizes the control to its content when it sizes itself (an auto-sized
  // label or image); nothing otherwise.
  virtual void AdjustSize() {}

  // --- Text -----------------------------------------------------------------
  // Caption and Text are one value under two names; a class publishes the
  // one its kind uses (labels and buttons Caption, edits Text).
  const std::string& Caption() const { return text_; }
  void SetCaption(const std::string& s) { SetText(s); }
  const std::string& Text() const { return text_; }
  virtual void SetText(const std::string& s);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& s) { hint_ = s; }
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool v) { show_hint_ = v; }
  bool ParentShowHint() const { return parent_show_hint_; }
  void SetParentShowHint(bool v) { parent_show_hint_ = v; }

  // --- State ----------------------------------------------------------------
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool v);
  // Visible itself and on a parent chain that ends in a showing form.
  virtual bool Showing() const;
  int32_t Tag() const { return tag_; }
  virtual void SetTag(int32_t v) { tag_ = v; }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c) { cursor_ = c; }
  int32_t HelpContext() const { return help_context_; }
  void SetHelpContext(int32_t v) { help_context_ = v; }
  const TControlStyle& ControlStyle() const { return control_style_; }

  // --- Font and colour ------------------------------------------------------
  // The control's own font object (never null); assigning to it, or
  // changing it, clears ParentFont.
  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont& f) { font_->Assign(f); }
  bool ParentFont() const { return parent_font_; }
  // Setting it copies the parent's font at once.
  void SetParentFont(bool v);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  bool ParentColor() const { return parent_color_; }
  void SetParentColor(bool v);

  // --- Z-order and painting -------------------------------------------------
  void BringToFront();
  void SendToBack();
  // Asks for a repaint when the backend next gets to it.
  void Invalidate() { Changed(TControlChange::Invalidate); }
  // Repaints before returning (where a window exists).
  virtual void Repaint() { Changed(TControlChange::RepaintNow); }
  // Draws a csCustomPaint control; `canvas` covers the client area.
  virtual void Paint(TCanvas& canvas);

  // --- Events ---------------------------------------------------------------
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  // What a user's click does: raises OnClick. Buttons and check boxes
  // extend it (a button sets its form's modal result first).
  virtual void Click();

  void Loaded() override;

 protected:
  // Tells the backend, if one is running, that something changed.
  void Changed(TControlChange what);
  void SetControlStyle(TControlStyle s) { control_style_ = s; }
  // Class defaults, for what is written to form text.
  void SetDefaultColor(TColor color, bool parent_color);
  void SetDefaultVisible(bool v) { visible_ = v; }
  void SetDefaultSize(int width, int height) {
    width_ = width;
    height_ = height;
  }
  // Tells every form from this control's parent upwards that `c` is going
  // (hidden, removed or destroyed): a form's active control must not stay
  // on it.
  void TellFormsRemoved(const TControl* c) const;
  void Destroying() override;
  // The control's font changed (its own, or a copy of its parent's).
  virtual void FontChanged();
  virtual void ColorChanged();
  // The bounds changed; windowed controls realign their children.
  virtual void BoundsChanged(int old_width, int old_height);
  // Called when the parent's font or colour changed.
  void ParentFontChanged();
  void ParentColorChanged();

 public:
  // What the form text stores: the font only when it is the control's own,
  // the colour only when it is the control's own and not the class default.
  bool IsFontStored() const { return !parent_font_; }
  bool IsColorStored() const { return !parent_color_ && color_ != default_color_; }
  bool IsParentColorStored() const { return parent_color_ != default_parent_color_; }

 private:
  friend class TWinControl;
  void RequestAlign();

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  TAnchors anchors_{akLeft, akTop};
  std::string text_;
  std::string hint_;
  bool show_hint_ = false;
  bool parent_show_hint_ = true;
  bool visible_ = true;
  bool enabled_ = true;
  int32_t tag_ = 0;
  TCursor cursor_ = crDefault;
  int32_t help_context_ = 0;
  TControlStyle control_style_;
  std::unique_ptr<TFont> font_;
  bool parent_font_ = true;
  bool copying_parent_font_ = false;
  TColor color_ = clWindow;
  bool parent_color_ = false;
  TColor default_color_ = clWindow;
  bool default_parent_color_ = false;
};

// A caption as it is shown: "&" marks the next character as the
// accelerator and is dropped, "&&" shows one "&".
std::string StripAccelerator(std::string_view caption);

// The form a control stands on: the outermost parent, when it is a form
// (a page form embedded in a wizard window answers the wizard window).
// Null for a control not (yet) on a form.
TCustomForm* GetParentForm(const TControl& control);

}  // namespace wenmoor
