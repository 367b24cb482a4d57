// TWinControl: a control that other controls can stand on (a form, a panel,
// a group box) and that can take the keyboard focus (edits, buttons).
//
// Child controls are kept in z-order, bottom first: a control placed later
// (or brought to the front) covers the ones before it. The list holds
// observer pointers; a child leaves it when it is destroyed or moves to
// another parent, and a windowed control that is destroyed first takes its
// children off itself (they stay alive with their owner, parentless).
//
// Alignment. Children with Align other than alNone share the client area
// less the border (AlignRect): top ones from the top down, then bottom,
// left, right, and alClient takes what is left, as the component library
// does. Children with Align alNone follow their Anchors when this control
// is resized. Nothing is realigned while the control is being loaded; it is
// realigned once in Loaded.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/ui/control.h"

namespace wenmoor {

class TWinControl : public TControl {
  WENMOOR_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* owner);

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  // Index checked: EListError "List index out of bounds (%d)".
  TControl* Controls(int index) const;
  // Position in the z-order (0 = bottom); -1 when not a child.
  int IndexOfControl(const TControl* c) const;
  // Whether `c` stands on this control, directly or further down.
  bool ContainsControl(const TControl* c) const;
  // The child control, or one further down, with that name (case-insensitive).
  TControl* FindChildControl(std::string_view name) const;

  int16_t TabOrder() const { return tab_order_; }
  void SetTabOrder(int16_t v) { tab_order_ = v; }
  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool v);
  int BorderWidth() const { return border_width_; }
  void SetBorderWidth(int v);

  // The area that aligned children share, in this control's coordinates:
  // the client area less BorderWidth (and whatever a subclass draws there).
  virtual TRect AlignRect() const;
  // Places the aligned children again (nothing while loading or while
  // alignment is disabled).
  void Realign();
  void DisableAlign() { ++align_disabled_; }
  // Realigns when the last DisableAlign is undone.
  void EnableAlign();

  // Focus. CanFocus: this control and every parent up to its form are
  // visible and enabled. SetFocus makes it the form's active control and
  // raises EInvalidOperation "Cannot focus a disabled or invisible window"
  // when it cannot take the focus.
  bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();

  void Loaded() override;
  bool IsTabStopStored() const { return tab_stop_ != default_tab_stop_; }

 protected:
  // The class's default of TabStop (buttons and edits stop, panels do not).
  void SetDefaultTabStop(bool v) { tab_stop_ = default_tab_stop_ = v; }
  void Destroying() override;
  void FontChanged() override;
  void ColorChanged() override;
  void BoundsChanged(int old_width, int old_height) override;
  // Places the aligned children inside `rect`.
  virtual void AlignControls(TRect rect);

 private:
  friend class TControl;
  // Used by TControl::SetParent.
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  void MoveControl(TControl* c, bool to_front);

  std::vector<TControl*> controls_;
  int16_t tab_order_ = -1;
  bool tab_stop_ = false;
  bool default_tab_stop_ = false;
  int border_width_ = 0;
  int align_disabled_ = 0;
  bool aligning_ = false;
};

}  // namespace wenmoor
