#include "platform/ui/edits.h"

#include "platform/rtl/sysutils.h"
#include "platform/ui/rtf.h"

namespace wenmoor {

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetDefaultSize(121, 21);
  SetDefaultColor(clWindow, false);
  SetDefaultTabStop(true);
}

void TCustomEdit::SetText(const std::string& s) {
  std::string text = s;
  if (char_case_ == ecUpperCase) text = UpperCase(text);
  else if (char_case_ == ecLowerCase) text = LowerCase(text);
  if (text == Text()) return;
  TWinControl::SetText(text);
  Change();
}

void TCustomEdit::Change() {
  if (!IsLoading()) OnChange(this);
}

void TCustomEdit::SetReadOnly(bool v) {
  if (v == read_only_) return;
  read_only_ = v;
  Changed(TControlChange::State);
}

void TCustomEdit::SetMaxLength(int v) {
  if (v < 0) v = 0;
  if (v == max_length_) return;
  max_length_ = v;
  Changed(TControlChange::State);
}

void TCustomEdit::SetBorderStyle(TBorderStyle s) {
  if (s != bsNone && s != bsSingle) throw EInvalidOperation("An edit box has no border style but bsNone and bsSingle");
  if (s == border_style_) return;
  border_style_ = s;
  Changed(TControlChange::Appearance);
}

void TCustomEdit::SetCharCase(TEditCharCase c) {
  if (c == char_case_) return;
  char_case_ = c;
  SetText(Text());
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<TStringList>()) {
  SetDefaultSize(185, 89);
  lines_->OnChange.Assign([this](TObject*) { LinesChanged(); });
}

void TCustomMemo::LinesChanged() {
  if (syncing_) return;
  syncing_ = true;
  try {
    // The text is the lines as the control would give them back: each
    // line but the last ends in CR LF.
    std::string text = lines_->Text();
    if (text.size() >= 2) text.resize(text.size() - 2);
    TWinControl::SetText(text);
  } catch (...) {
    syncing_ = false;
    throw;
  }
  syncing_ = false;
  Change();
}

void TCustomMemo::SetText(const std::string& s) {
  if (syncing_) return;
  lines_->SetText(s);
}

void TCustomMemo::SetScrollBars(TScrollStyle s) {
  if (s == scroll_bars_) return;
  scroll_bars_ = s;
  Changed(TControlChange::Appearance);
}

void TCustomMemo::SetWordWrap(bool v) {
  if (v == word_wrap_) return;
  word_wrap_ = v;
  Changed(TControlChange::Appearance);
}

void TCustomMemo::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Changed(TControlChange::Appearance);
}

TRichEdit::TRichEdit(TComponent* owner) : TCustomMemo(owner) {}

void TRichEdit::LinesChanged() {
  if (!plain_text_ && !converting_) {
    const std::string text = Lines()->Text();
    if (LooksLikeRtf(text)) {
      converting_ = true;
      try {
        Lines()->SetText(RtfToPlainText(text));
      } catch (...) {
        converting_ = false;
        throw;
      }
      converting_ = false;
      return;  // the conversion changed the lines again, which did the rest
    }
  }
  TCustomMemo::LinesChanged();
}

WENMOOR_REGISTER_CLASS(TCustomEdit) {}

WENMOOR_REGISTER_CLASS(TEdit) {
  c.Prop("AutoSelect", &T::AutoSelect, &T::SetAutoSelect).Default(true);
  c.Prop("BorderStyle", &T::BorderStyle, &T::SetBorderStyle).Default(bsSingle);
  c.Prop("CharCase", &T::CharCase, &T::SetCharCase).Default(ecNormal);
  c.Prop("MaxLength", &T::MaxLength, &T::SetMaxLength).Default(0);
  c.Prop("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Default(false);
  c.Prop("Text", &T::Text, &T::SetText);
  c.Event("OnChange", &T::OnChange);
}

WENMOOR_REGISTER_CLASS(TCustomMemo) {}

// A memo stores its Lines, not its Text.
template <class T>
void DescribeMemo(ClassBuilder<T>& c) {
  c.Prop("Alignment", &T::Alignment, &T::SetAlignment).Default(taLeftJustify);
  c.Prop("BorderStyle", &T::BorderStyle, &T::SetBorderStyle).Default(bsSingle);
  c.Object("Lines", &T::Lines);
  c.Prop("MaxLength", &T::MaxLength, &T::SetMaxLength).Default(0);
  c.Prop("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Default(false);
  c.Prop("ScrollBars", &T::ScrollBars, &T::SetScrollBars).Default(ssNone);
  c.Prop("WantReturns", &T::WantReturns, &T::SetWantReturns).Default(true);
  c.Prop("WantTabs", &T::WantTabs, &T::SetWantTabs).Default(false);
  c.Prop("WordWrap", &T::WordWrap, &T::SetWordWrap).Default(true);
  c.Event("OnChange", &T::OnChange);
}

WENMOOR_REGISTER_CLASS(TMemo) { DescribeMemo(c); }

WENMOOR_REGISTER_CLASS(TRichEdit) {
  DescribeMemo(c);
  c.Prop("PlainText", &T::PlainText, &T::SetPlainText).Default(false);
}

}  // namespace wenmoor
