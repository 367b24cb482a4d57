#include "platform/ui/control.h"

#include <algorithm>

#include "platform/ui/application.h"
#include "platform/ui/backend.h"
#include "platform/ui/forms.h"
#include "platform/ui/win_control.h"

namespace wenmoor {

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  font_->OnChange.Assign([this](TObject*) { FontChanged(); });
}

TControl::~TControl() = default;

void TControl::Destroying() {
  Changed(TControlChange::Destroyed);
  if (parent_) parent_->RemoveControl(this);
  TComponent::Destroying();
}

void TControl::Changed(TControlChange what) {
  if (UiBackend* backend = TApplication::Instance().ActiveBackend()) backend->ControlChanged(*this, what);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent) {
    const TControl* up = parent;
    while (up && up != this) up = up->parent_;
    if (up == this) throw EInvalidOperation("A control cannot have itself or a child of its own as its parent");
  }
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent) {
  if (!parent) return SetParent(nullptr);
  auto* win = dynamic_cast<TWinControl*>(parent);
  if (!win) throw EInvalidOperation("%s is no windowed control and cannot hold %s", parent->Name(), Name());
  SetParent(win);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  int old_width = width_, old_height = height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed(TControlChange::Bounds);
  if (align_ != alNone) RequestAlign();
  if (width != old_width || height != old_height) BoundsChanged(old_width, old_height);
}

void TControl::BoundsChanged(int, int) {
  if (!IsLoading()) OnResize(this);
}

void TControl::SetClientWidth(int v) { SetWidth(v + width_ - ClientWidth()); }

void TControl::SetClientHeight(int v) { SetHeight(v + height_ - ClientHeight()); }

void TControl::RequestAlign() {
  if (parent_) parent_->Realign();
}

void TControl::SetAlign(TAlign a) {
  if (a == align_) return;
  TAlign old = align_;
  align_ = a;
  // A control that stops being aligned keeps its place; one that starts is
  // placed with the others.
  if (a != alNone || old != alNone) RequestAlign();
}

void TControl::SetAnchors(TAnchors a) { anchors_ = a; }

void TControl::SetText(const std::string& s) {
  if (s == text_) return;
  text_ = s;
  Changed(TControlChange::Text);
  AdjustSize();
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed(TControlChange::Visible);
  if (align_ != alNone) RequestAlign();
  if (!v) TellFormsRemoved(this);
}

void TControl::TellFormsRemoved(const TControl* c) const {
  for (const TControl* p = this; p; p = p->parent_)
    if (auto* form = dynamic_cast<const TCustomForm*>(p)) const_cast<TCustomForm*>(form)->ControlRemoved(c);
}

void TControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed(TControlChange::Enabled);
  // A disabled window cannot keep the focus.
  if (!v) TellFormsRemoved(this);
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetParentFont(bool v) {
  if (v == parent_font_) return;
  parent_font_ = v;
  if (v) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parent_font_ || !parent_) return;
  copying_parent_font_ = true;
  try {
    font_->Assign(*parent_->Font());
  } catch (...) {
    copying_parent_font_ = false;
    throw;
  }
  copying_parent_font_ = false;
}

void TControl::FontChanged() {
  // A copy of the parent's font keeps the link; any other change cuts it.
  if (!copying_parent_font_) parent_font_ = false;
  Changed(TControlChange::Font);
  AdjustSize();
}

void TControl::SetColor(TColor c) {
  if (c == color_ && !parent_color_) return;
  color_ = c;
  parent_color_ = false;
  ColorChanged();
}

void TControl::SetParentColor(bool v) {
  if (v == parent_color_) return;
  parent_color_ = v;
  if (v) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parent_color_ || !parent_) return;
  if (color_ == parent_->Color()) return;
  color_ = parent_->Color();
  ColorChanged();
}

void TControl::ColorChanged() { Changed(TControlChange::Color); }

void TControl::SetDefaultColor(TColor color, bool parent_color) {
  color_ = default_color_ = color;
  parent_color_ = default_parent_color_ = parent_color;
}

void TControl::BringToFront() {
  if (parent_) parent_->MoveControl(this, true);
  else Changed(TControlChange::ZOrder);
}

void TControl::SendToBack() {
  if (parent_) parent_->MoveControl(this, false);
}

void TControl::Paint(TCanvas&) {}

void TControl::Click() { OnClick(this); }

void TControl::Loaded() {
  TComponent::Loaded();
  AdjustSize();
}

std::string StripAccelerator(std::string_view caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    else if (caption[i] == '&') continue;
    out.push_back(caption[i]);
  }
  return out;
}

TCustomForm* GetParentForm(const TControl& control) {
  const TControl* c = &control;
  while (c->Parent()) c = c->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

WENMOOR_REGISTER_CLASS(TControl) {
  c.Prop("Left", &T::Left, &T::SetLeft);
  c.Prop("Top", &T::Top, &T::SetTop);
  c.Prop("Width", &T::Width, &T::SetWidth);
  c.Prop("Height", &T::Height, &T::SetHeight);
  c.Prop("Align", &T::Align, &T::SetAlign).Default(alNone);
  c.Prop("Anchors", &T::Anchors, &T::SetAnchors).Default(TAnchors{akLeft, akTop});
  c.Prop("Color", &T::Color, &T::SetColor).Idents(ColorIdents()).Stored(&T::IsColorStored);
  c.Prop("Cursor", &T::Cursor, &T::SetCursor).Idents(CursorIdents()).Default(crDefault);
  c.Prop("Enabled", &T::Enabled, &T::SetEnabled).Default(true);
  c.Object("Font", &T::Font).Stored(&T::IsFontStored);
  c.Prop("HelpContext", &T::HelpContext, &T::SetHelpContext).Default(0);
  c.Prop("Hint", &T::Hint, &T::SetHint);
  c.Prop("ParentColor", &T::ParentColor, &T::SetParentColor).Stored(&T::IsParentColorStored);
  c.Prop("ParentFont", &T::ParentFont, &T::SetParentFont).Default(true);
  c.Prop("ParentShowHint", &T::ParentShowHint, &T::SetParentShowHint).Default(true);
  c.Prop("ShowHint", &T::ShowHint, &T::SetShowHint).Default(false);
  c.Prop("Tag", &T::Tag, &T::SetTag).Default(0);
  c.Prop("Visible", &T::Visible, &T::SetVisible).Default(true);
  c.Event("OnClick", &T::OnClick);
  c.Event("OnDblClick", &T::OnDblClick);
  c.Event("OnResize", &T::OnResize);
}

}  // namespace wenmoor
