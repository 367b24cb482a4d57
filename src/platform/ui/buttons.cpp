#include "platform/ui/buttons.h"

#include <array>

namespace wenmoor {
namespace {

struct KindInfo {
  const char* caption;
  TModalResult result;
};

// In the order of TBitBtnKind.
constexpr std::array<KindInfo, 11> kKinds = {{
    {"", mrNone},
    {"OK", mrOk},
    {"Cancel", mrCancel},
    {"&Help", mrNone},
    {"&Yes", mrYes},
    {"&No", mrNo},
    {"&Close", mrNone},
    {"Abort", mrAbort},
    {"&Retry", mrRetry},
    {"&Ignore", mrIgnore},
    {"&All", mrAll},
}};

const KindInfo& InfoOf(TBitBtnKind kind) {
  auto i = static_cast<size_t>(kind);
  return kKinds[i < kKinds.size() ? i : 0];
}

}  // namespace

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  SetDefaultSize(75, 25);
  SetDefaultColor(clBtnFace, false);
  SetDefaultTabStop(true);
}

void TButton::SetDefault(bool v) {
  if (IsLoading()) loaded_set_ |= kLoadedDefault;
  if (v == default_) return;
  default_ = v;
  Changed(TControlChange::State);
}

void TButton::SetCancel(bool v) {
  if (IsLoading()) loaded_set_ |= kLoadedCancel;
  if (v == cancel_) return;
  cancel_ = v;
  Changed(TControlChange::State);
}

void TButton::SetModalResult(TModalResult r) {
  if (IsLoading()) loaded_set_ |= kLoadedModalResult;
  modal_result_ = r;
}

void TButton::Loaded() {
  TWinControl::Loaded();
  loaded_set_ = 0;
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(*this)) form->SetModalResult(modal_result_);
  TWinControl::Click();
}

const char* BitBtnKindCaption(TBitBtnKind kind) { return InfoOf(kind).caption; }

TModalResult BitBtnKindModalResult(TBitBtnKind kind) { return InfoOf(kind).result; }

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TPicture>()) {
  glyph_->OnChange.Assign([this](TObject*) { Changed(TControlChange::Appearance); });
}

void TBitBtn::SetKind(TBitBtnKind kind) {
  if (kind == kind_) return;
  kind_ = kind;
  if (kind != bkCustom) {
    // Through a copy of the flags: the setters below record themselves.
    const bool loading = IsLoading();
    const bool keep_default = loading && SetWhileLoading(kLoadedDefault);
    const bool keep_cancel = loading && SetWhileLoading(kLoadedCancel);
    const bool keep_result = loading && SetWhileLoading(kLoadedModalResult);
    if (!keep_default) SetDefault(kind == bkOK || kind == bkYes);
    if (!keep_cancel) SetCancel(kind == bkCancel || kind == bkNo);
    if (!loading || Caption().empty()) SetCaption(BitBtnKindCaption(kind));
    if (!keep_result) SetModalResult(BitBtnKindModalResult(kind));
  }
  Changed(TControlChange::Appearance);
}

void TBitBtn::SetLayout(TButtonLayout l) {
  if (l == layout_) return;
  layout_ = l;
  Changed(TControlChange::Appearance);
}

void TBitBtn::SetSpacing(int v) {
  if (v == spacing_) return;
  spacing_ = v;
  Changed(TControlChange::Appearance);
}

void TBitBtn::SetMargin(int v) {
  if (v == margin_) return;
  margin_ = v;
  Changed(TControlChange::Appearance);
}

void TBitBtn::SetNumGlyphs(int v) {
  // The component library keeps 1 to 4 images.
  if (v < 1) v = 1;
  if (v > 4) v = 4;
  if (v == num_glyphs_) return;
  num_glyphs_ = v;
  Changed(TControlChange::Appearance);
}

void TBitBtn::Click() {
  if (kind_ == bkClose) {
    if (TCustomForm* form = GetParentForm(*this)) return form->Close();
  }
  TButton::Click();
}

// A button of a standard kind stores only what differs from its kind.
bool TBitBtn::IsCaptionStored() const { return kind_ == bkCustom || Caption() != BitBtnKindCaption(kind_); }

bool TBitBtn::IsDefaultStored() const {
  return kind_ == bkCustom ? Default() : Default() != (kind_ == bkOK || kind_ == bkYes);
}

bool TBitBtn::IsCancelStored() const {
  return kind_ == bkCustom ? Cancel() : Cancel() != (kind_ == bkCancel || kind_ == bkNo);
}

bool TBitBtn::IsModalResultStored() const {
  return kind_ == bkCustom ? ModalResult() != mrNone : ModalResult() != BitBtnKindModalResult(kind_);
}

WENMOOR_REGISTER_CLASS(TButton) {
  c.Prop("Cancel", &T::Cancel, &T::SetCancel).Stored(&T::IsCancelStored);
  c.Prop("Caption", &T::Caption, &T::SetCaption);
  c.Prop("Default", &T::Default, &T::SetDefault).Stored(&T::IsDefaultStored);
  c.Prop("ModalResult", &T::ModalResult, &T::SetModalResult).Stored(&T::IsModalResultStored);
}

WENMOOR_REGISTER_CLASS(TBitBtn) {
  c.Prop("Caption", &T::Caption, &T::SetCaption).Stored(&T::IsCaptionStored);
  c.Object("Glyph", &T::Glyph).Stored(&T::HasGlyph);
  c.Prop("Kind", &T::Kind, &T::SetKind).Default(bkCustom);
  c.Prop("Layout", &T::Layout, &T::SetLayout).Default(blGlyphLeft);
  c.Prop("Margin", &T::Margin, &T::SetMargin).Default(-1);
  c.Prop("NumGlyphs", &T::NumGlyphs, &T::SetNumGlyphs).Default(1);
  c.Prop("Spacing", &T::Spacing, &T::SetSpacing).Default(4);
}

}  // namespace wenmoor
