#include "platform/ui/comctrls.h"

#include <algorithm>

namespace wenmoor {

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  SetDefaultSize(150, 16);
  SetDefaultColor(clBtnFace, false);
}

void TProgressBar::SetMin(int v) {
  if (v == min_) return;
  min_ = v;
  max_ = std::max(max_, min_);
  position_ = std::clamp(position_, min_, max_);
  Changed(TControlChange::State);
}

void TProgressBar::SetMax(int v) {
  if (v == max_) return;
  max_ = v;
  min_ = std::min(min_, max_);
  position_ = std::clamp(position_, min_, max_);
  Changed(TControlChange::State);
}

void TProgressBar::SetPosition(int v) {
  // While loading the bounds may come later: clamp once they are there.
  if (!IsLoading()) v = std::clamp(v, min_, max_);
  if (v == position_) return;
  position_ = v;
  Changed(TControlChange::State);
}

void TProgressBar::SetOrientation(TProgressBarOrientation o) {
  if (o == orientation_) return;
  orientation_ = o;
  Changed(TControlChange::Appearance);
}

void TProgressBar::SetSmooth(bool v) {
  if (v == smooth_) return;
  smooth_ = v;
  Changed(TControlChange::Appearance);
}

int TProgressBar::Percent() const {
  if (max_ <= min_) return 0;
  return static_cast<int>((static_cast<int64_t>(position_) - min_) * 100 / (static_cast<int64_t>(max_) - min_));
}

TTabControl::TTabControl(TComponent* owner) : TWinControl(owner), tabs_(std::make_unique<TStringList>()) {
  SetDefaultSize(289, 193);
  SetDefaultColor(clBtnFace, false);
  SetDefaultTabStop(true);
  SetControlStyle({csAcceptsControls, csOpaque});
  tabs_->OnChange.Assign([this](TObject*) { TabsChanged(); });
}

void TTabControl::TabsChanged() {
  if (!IsLoading()) {
    if (tabs_->Count() == 0) tab_index_ = -1;
    else if (tab_index_ < 0) tab_index_ = 0;
    else tab_index_ = std::min(tab_index_, tabs_->Count() - 1);
  }
  Changed(TControlChange::Text);
}

void TTabControl::SetTabIndex(int v) {
  if (IsLoading()) {
    tab_index_ = v;
    return;
  }
  if (v < -1 || v >= tabs_->Count() || v == tab_index_) return;
  tab_index_ = v;
  Changed(TControlChange::State);
}

bool TTabControl::SelectTab(int index) {
  if (index < 0 || index >= tabs_->Count() || index == tab_index_) return false;
  bool allow = true;
  OnChanging(this, allow);
  if (!allow) return false;
  tab_index_ = index;
  Changed(TControlChange::State);
  OnChange(this);
  return true;
}

void TTabControl::SetTabPosition(TTabPosition p) {
  if (p == tab_position_) return;
  tab_position_ = p;
  Changed(TControlChange::Appearance);
}

void TTabControl::Loaded() {
  TWinControl::Loaded();
  if (tab_index_ >= tabs_->Count()) tab_index_ = tabs_->Count() - 1;
  if (tab_index_ < 0 && tabs_->Count() > 0) tab_index_ = 0;
}

WENMOOR_REGISTER_CLASS(TProgressBar) {
  c.Prop("Min", &T::Min, &T::SetMin).Default(0);
  c.Prop("Max", &T::Max, &T::SetMax).Default(100);
  c.Prop("Orientation", &T::Orientation, &T::SetOrientation).Default(pbHorizontal);
  c.Prop("Position", &T::Position, &T::SetPosition).Default(0);
  c.Prop("Smooth", &T::Smooth, &T::SetSmooth).Default(false);
  c.Prop("Step", &T::Step, &T::SetStep).Default(10);
}

WENMOOR_REGISTER_CLASS(TTabControl) {
  c.Prop("MultiLine", &T::MultiLine, &T::SetMultiLine).Default(false);
  c.Prop("TabIndex", &T::TabIndex, &T::SetTabIndex).Default(-1);
  c.Prop("TabPosition", &T::TabPosition, &T::SetTabPosition).Default(tpTop);
  c.Object("Tabs", &T::Tabs);
  c.Event("OnChange", &T::OnChange);
  c.Event("OnChanging", &T::OnChanging);
}

}  // namespace wenmoor
