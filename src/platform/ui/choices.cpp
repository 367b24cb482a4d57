#include "platform/ui/choices.h"

#include <algorithm>

#include "platform/ui/backend.h"
#include "platform/ui/text_metrics.h"

namespace wenmoor {

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TWinControl(owner) {
  SetDefaultSize(185, 105);
  SetDefaultColor(clBtnFace, false);
  SetControlStyle({csAcceptsControls, csOpaque});
}

TRect TCustomGroupBox::AlignRect() const {
  // The caption line, then the frame's two pixels on every side. Measured
  // without asking the backend: loading a form must not start one.
  TRect r = TWinControl::AlignRect();
  r.top += ApproxLineHeight(*Font());
  r.left += 2;
  r.top += 2;
  r.right -= 2;
  r.bottom -= 2;
  return r;
}

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
  SetDefaultSize(97, 17);
  SetDefaultColor(clBtnFace, false);
  SetDefaultTabStop(true);
}

void TCheckBox::SetState(TCheckBoxState s) {
  if (s == state_) return;
  state_ = s;
  Changed(TControlChange::State);
  if (!IsLoading()) Click();
}

void TCheckBox::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Changed(TControlChange::Appearance);
}

void TCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked:
      SetState(cbChecked);
      break;
    case cbChecked:
      SetState(allow_grayed_ ? cbGrayed : cbUnchecked);
      break;
    case cbGrayed:
      SetState(cbUnchecked);
      break;
  }
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner)
    : TCustomGroupBox(owner), items_(std::make_unique<TStringList>()) {
  SetDefaultTabStop(true);
  items_->OnChange.Assign([this](TObject*) { ItemsChanged(); });
}

void TCustomRadioGroup::SetItemIndex(int v) {
  if (IsLoading()) {
    item_index_ = v;
    return;
  }
  v = std::clamp(v, -1, items_->Count() - 1);
  if (v == item_index_) return;
  item_index_ = v;
  Changed(TControlChange::State);
  if (v >= 0) Click();
}

void TCustomRadioGroup::ItemsChanged() {
  if (!IsLoading()) item_index_ = std::min(item_index_, items_->Count() - 1);
  Changed(TControlChange::Text);
}

void TCustomRadioGroup::SetColumns(int v) {
  v = std::clamp(v, 1, 16);
  if (v == columns_) return;
  columns_ = v;
  Changed(TControlChange::Appearance);
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  item_index_ = std::clamp(item_index_, -1, items_->Count() - 1);
}

WENMOOR_REGISTER_CLASS(TCustomGroupBox) {}

WENMOOR_REGISTER_CLASS(TGroupBox) { c.Prop("Caption", &T::Caption, &T::SetCaption); }

WENMOOR_REGISTER_CLASS(TCheckBox) {
  c.Prop("Alignment", &T::Alignment, &T::SetAlignment).Default(taRightJustify);
  c.Prop("AllowGrayed", &T::AllowGrayed, &T::SetAllowGrayed).Default(false);
  c.Prop("Caption", &T::Caption, &T::SetCaption);
  c.Prop("Checked", &T::Checked, &T::SetChecked).Stored(false);
  c.Prop("State", &T::State, &T::SetState).Default(cbUnchecked);
}

WENMOOR_REGISTER_CLASS(TCustomRadioGroup) {}

WENMOOR_REGISTER_CLASS(TRadioGroup) {
  c.Prop("Caption", &T::Caption, &T::SetCaption);
  c.Prop("Columns", &T::Columns, &T::SetColumns).Default(1);
  c.Prop("ItemIndex", &T::ItemIndex, &T::SetItemIndex).Default(-1);
  c.Object("Items", &T::Items);
}

}  // namespace wenmoor
