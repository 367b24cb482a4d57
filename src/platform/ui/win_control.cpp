#include "platform/ui/win_control.h"

#include <algorithm>

#include "platform/rtl/typeinfo.h"
#include "platform/ui/forms.h"

namespace wenmoor {

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

void TWinControl::Destroying() {
  // The children stay with their owner; they only lose this parent.
  for (TControl* c : controls_) c->parent_ = nullptr;
  controls_.clear();
  TControl::Destroying();
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) throw EListError("List index out of bounds (%d)", index);
  return controls_[static_cast<size_t>(index)];
}

int TWinControl::IndexOfControl(const TControl* c) const {
  auto it = std::find(controls_.begin(), controls_.end(), c);
  return it == controls_.end() ? -1 : static_cast<int>(it - controls_.begin());
}

bool TWinControl::ContainsControl(const TControl* c) const {
  for (; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::FindChildControl(std::string_view name) const {
  for (TControl* c : controls_) {
    if (SameText(c->Name(), name)) return c;
    if (auto* w = dynamic_cast<TWinControl*>(c))
      if (TControl* found = w->FindChildControl(name)) return found;
  }
  return nullptr;
}

void TWinControl::InsertControl(TControl* c) {
  controls_.push_back(c);
  c->parent_ = this;
  c->ParentFontChanged();
  c->ParentColorChanged();
  Changed(TControlChange::Children);
  if (c->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* c) {
  auto it = std::find(controls_.begin(), controls_.end(), c);
  if (it == controls_.end()) return;
  TellFormsRemoved(c);
  controls_.erase(it);
  c->parent_ = nullptr;
  Changed(TControlChange::Children);
  if (c->Align() != alNone) Realign();
}

void TWinControl::MoveControl(TControl* c, bool to_front) {
  auto it = std::find(controls_.begin(), controls_.end(), c);
  if (it == controls_.end()) return;
  controls_.erase(it);
  if (to_front) controls_.push_back(c);
  else controls_.insert(controls_.begin(), c);
  Changed(TControlChange::ZOrder);
  Realign();
}

void TWinControl::SetTabStop(bool v) {
  if (v == tab_stop_) return;
  tab_stop_ = v;
  Changed(TControlChange::State);
}

void TWinControl::SetBorderWidth(int v) {
  v = std::max(v, 0);
  if (v == border_width_) return;
  border_width_ = v;
  Changed(TControlChange::Appearance);
  Realign();
}

TRect TWinControl::AlignRect() const {
  TRect r = ClientRect();
  r.left += border_width_;
  r.top += border_width_;
  r.right -= border_width_;
  r.bottom -= border_width_;
  return r;
}

void TWinControl::EnableAlign() {
  if (align_disabled_ > 0 && --align_disabled_ == 0) Realign();
}

void TWinControl::Realign() {
  if (IsLoading() || align_disabled_ > 0 || aligning_) return;
  aligning_ = true;
  try {
    AlignControls(AlignRect());
  } catch (...) {
    aligning_ = false;
    throw;
  }
  aligning_ = false;
}

void TWinControl::AlignControls(TRect rect) {
  // Each side in turn, as the component library does it: the controls of
  // one kind in the order of their position (top ones by Top, bottom ones
  // by their bottom edge, lowest first, ...), ties by z-order.
  for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
      if (c->Align() == kind && c->Visible()) list.push_back(c);
    auto key = [kind](const TControl* c) {
      switch (kind) {
        case alTop:
          return c->Top();
        case alBottom:
          return -(c->Top() + c->Height());
        case alLeft:
          return c->Left();
        case alRight:
          return -(c->Left() + c->Width());
        default:
          return 0;
      }
    };
    std::stable_sort(list.begin(), list.end(), [&](const TControl* a, const TControl* b) { return key(a) < key(b); });
    for (TControl* c : list) {
      const int w = std::max(rect.Width(), 0), h = std::max(rect.Height(), 0);
      switch (kind) {
        case alTop:
          c->SetBounds(rect.left, rect.top, w, c->Height());
          rect.top += c->Height();
          break;
        case alBottom:
          c->SetBounds(rect.left, rect.bottom - c->Height(), w, c->Height());
          rect.bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(rect.left, rect.top, c->Width(), h);
          rect.left += c->Width();
          break;
        case alRight:
          c->SetBounds(rect.right - c->Width(), rect.top, c->Width(), h);
          rect.right -= c->Width();
          break;
        default:
          c->SetBounds(rect.left, rect.top, w, h);
          break;
      }
    }
  }
}

void TWinControl::BoundsChanged(int old_width, int old_height) {
  if (!IsLoading()) {
    // Anchored children keep their distance to the anchored edges; a
    // control anchored to neither edge of an axis stays centred on it.
    const int dw = Width() - old_width, dh = Height() - old_height;
    for (TControl* c : controls_) {
      if (c->Align() != alNone || c->IsLoading()) continue;
      const TAnchors a = c->Anchors();
      int left = c->Left(), top = c->Top(), width = c->Width(), height = c->Height();
      if (a.Contains(akRight)) {
        if (a.Contains(akLeft)) width += dw;
        else left += dw;
      } else if (!a.Contains(akLeft)) {
        left += dw / 2;
      }
      if (a.Contains(akBottom)) {
        if (a.Contains(akTop)) height += dh;
        else top += dh;
      } else if (!a.Contains(akTop)) {
        top += dh / 2;
      }
      c->SetBounds(left, top, width, height);
    }
  }
  Realign();
  TControl::BoundsChanged(old_width, old_height);
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* c : controls_) c->ParentFontChanged();
}

void TWinControl::ColorChanged() {
  TControl::ColorChanged();
  for (TControl* c : controls_) c->ParentColorChanged();
}

bool TWinControl::CanFocus() const {
  TCustomForm* form = GetParentForm(*this);
  if (!form) return false;
  for (const TControl* c = this; c && c != form; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const {
  TCustomForm* form = GetParentForm(*this);
  return form && form->ActiveControl() == this;
}

void TWinControl::SetFocus() {
  TCustomForm* form = GetParentForm(*this);
  if (!form || form == this) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  form->FocusControl(this);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

WENMOOR_REGISTER_CLASS(TWinControl) {
  c.Prop("BorderWidth", &T::BorderWidth, &T::SetBorderWidth).Default(0);
  c.Prop("TabOrder", &T::TabOrder, &T::SetTabOrder).Default(-1);
  c.Prop("TabStop", &T::TabStop, &T::SetTabStop).Stored(&T::IsTabStopStored);
}

}  // namespace wenmoor
