// Group boxes, check boxes and radio groups.
//
// As in the component library, changing a choice from code behaves like a
// user's click: a check box whose state changes, and a radio group whose
// ItemIndex changes to an item, raise OnClick (not while loading). Forms
// that set a choice themselves guard their handlers with a flag.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/rtl/strings.h"
#include "platform/ui/win_control.h"

namespace wenmoor {

class TCustomGroupBox : public TWinControl {
  WENMOOR_CLASS(TCustomGroupBox, TWinControl)
 public:
  explicit TCustomGroupBox(TComponent* owner);
  // Below the caption line and inside the frame.
  TRect AlignRect() const override;
};

class TGroupBox : public TCustomGroupBox {
  WENMOOR_CLASS(TGroupBox, TCustomGroupBox)
 public:
  explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };
WENMOOR_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)

class TCheckBox : public TWinControl {
  WENMOOR_CLASS(TCheckBox, TWinControl)
 public:
  explicit TCheckBox(TComponent* owner);

  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  // A change raises OnClick (not while loading).
  void SetState(TCheckBoxState s);
  bool AllowGrayed() const { return allow_grayed_; }
  void SetAllowGrayed(bool v) { allow_grayed_ = v; }
  // The side of the box the caption stands on: taRightJustify (the
  // default) puts it right of the box.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  // What a user's click does: unchecked → checked → grayed (when allowed)
  // → unchecked.
  void Toggle();

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allow_grayed_ = false;
  TAlignment alignment_ = taRightJustify;
};

class TCustomRadioGroup : public TCustomGroupBox {
  WENMOOR_CLASS(TCustomRadioGroup, TCustomGroupBox)
 public:
  explicit TCustomRadioGroup(TComponent* owner);

  // The items (owned), one radio button each.
  TStrings* Items() const { return items_.get(); }
  int ItemIndex() const { return item_index_; }
  // Clamped to -1 .. Items.Count - 1 (kept as given while loading, since
  // the items may come later). A change to an item raises OnClick.
  void SetItemIndex(int v);
  int Columns() const { return columns_; }
  // 1 to 16.
  void SetColumns(int v);

  void Loaded() override;

 private:
  void ItemsChanged();

  std::unique_ptr<TStringList> items_;
  int item_index_ = -1;
  int columns_ = 1;
};

class TRadioGroup : public TCustomRadioGroup {
  WENMOOR_CLASS(TRadioGroup, TCustomRadioGroup)
 public:
  explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};

}  // namespace wenmoor
