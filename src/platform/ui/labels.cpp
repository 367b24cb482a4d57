#include "platform/ui/labels.h"

#include "platform/ui/backend.h"

namespace wenmoor {

TCustomLabel::TCustomLabel(TComponent* owner) : TControl(owner) {
  SetDefaultSize(65, 17);
  SetDefaultColor(clBtnFace, true);
}

void TCustomLabel::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Changed(TControlChange::Appearance);
}

void TCustomLabel::SetAutoSize(bool v) {
  if (v == auto_size_) return;
  auto_size_ = v;
  AdjustSize();
}

void TCustomLabel::SetWordWrap(bool v) {
  if (v == word_wrap_) return;
  word_wrap_ = v;
  Changed(TControlChange::Appearance);
  AdjustSize();
}

void TCustomLabel::SetLayout(TTextLayout l) {
  if (l == layout_) return;
  layout_ = l;
  Changed(TControlChange::Appearance);
}

void TCustomLabel::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  Changed(TControlChange::Appearance);
}

void TCustomLabel::SetShowAccelChar(bool v) {
  if (v == show_accel_char_) return;
  show_accel_char_ = v;
  Changed(TControlChange::Text);
  AdjustSize();
}

void TCustomLabel::SetFocusControl(TWinControl* c) {
  if (c == focus_control_) return;
  if (focus_control_) focus_control_->RemoveFreeNotification(this);
  focus_control_ = c;
  if (c) c->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* c, TOperation operation) {
  TControl::Notification(c, operation);
  if (operation == opRemove && c == focus_control_) focus_control_ = nullptr;
}

std::string TCustomLabel::DisplayText() const { return show_accel_char_ ? StripAccelerator(Caption()) : Caption(); }

void TCustomLabel::AdjustSize() {
  if (!auto_size_ || IsLoading() || IsDestroying()) return;
  // An empty caption still has the height of a line, as the component
  // library measures it with a blank.
  std::string text = DisplayText();
  if (text.empty()) text.push_back(' ');
  const TSize size = TextExtent(*Font(), text, word_wrap_ ? Width() : 0);
  const int width = word_wrap_ ? Width() : size.cx;
  const int left = alignment_ == taRightJustify ? Left() + Width() - width : Left();
  SetBounds(left, Top(), width, size.cy);
}

WENMOOR_REGISTER_CLASS(TCustomLabel) {}

WENMOOR_REGISTER_CLASS(TLabel) {
  c.Prop("Alignment", &T::Alignment, &T::SetAlignment).Default(taLeftJustify);
  c.Prop("AutoSize", &T::AutoSize, &T::SetAutoSize).Default(true);
  c.Prop("Caption", &T::Caption, &T::SetCaption);
  c.Prop("FocusControl", &T::FocusControl, &T::SetFocusControl);
  c.Prop("Layout", &T::Layout, &T::SetLayout).Default(tlTop);
  c.Prop("ShowAccelChar", &T::ShowAccelChar, &T::SetShowAccelChar).Default(true);
  c.Prop("Transparent", &T::Transparent, &T::SetTransparent).Default(false);
  c.Prop("WordWrap", &T::WordWrap, &T::SetWordWrap).Default(false);
}

}  // namespace wenmoor
