// Push buttons and bitmap buttons.
//
// Pressing a button (Click) first sets the modal result of the form it
// stands on (the outermost form, see GetParentForm) to the button's
// ModalResult, mrNone included, then raises OnClick. A modal form whose
// result is then set ends its modal loop, unless OnCloseQuery or OnClose
// refuses.
//
// A bitmap button's Kind gives it a standard caption, modal result and
// role: bkOK "OK" mrOk (default button), bkCancel "Cancel" mrCancel
// (cancel button), bkYes "&Yes" mrYes (default), bkNo "&No" mrNo (cancel),
// bkAbort "Abort" mrAbort, bkRetry "&Retry" mrRetry, bkIgnore "&Ignore"
// mrIgnore, bkAll "&All" mrAll, bkHelp "&Help", bkClose "&Close" (closes
// its form instead of raising OnClick), bkCustom none. While the button is
// being loaded a stored caption wins over the Kind's.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/rtl/picture.h"
#include "platform/ui/forms.h"
#include "platform/ui/win_control.h"

namespace wenmoor {

class TButton : public TWinControl {
  WENMOOR_CLASS(TButton, TWinControl)
 public:
  explicit TButton(TComponent* owner);

  // The button that Enter presses on its form.
  bool Default() const { return default_; }
  void SetDefault(bool v);
  // The button that Escape presses on its form.
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v);
  TModalResult ModalResult() const { return modal_result_; }
  void SetModalResult(TModalResult r);

  void Click() override;
  void Loaded() override;

  virtual bool IsDefaultStored() const { return default_; }
  virtual bool IsCancelStored() const { return cancel_; }
  virtual bool IsModalResultStored() const { return modal_result_ != mrNone; }

 protected:
  // Which of Default, Cancel and ModalResult the stored description set:
  // a bitmap button's Kind, read after them, leaves those alone.
  enum LoadedBit : uint8_t { kLoadedDefault = 1, kLoadedCancel = 2, kLoadedModalResult = 4 };
  bool SetWhileLoading(LoadedBit bit) const { return (loaded_set_ & bit) != 0; }

 private:
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modal_result_ = mrNone;
  uint8_t loaded_set_ = 0;
};

enum TBitBtnKind : uint8_t { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
WENMOOR_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll)

enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
WENMOOR_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)

// The standard caption and modal result of a kind.
const char* BitBtnKindCaption(TBitBtnKind kind);
TModalResult BitBtnKindModalResult(TBitBtnKind kind);

class TBitBtn : public TButton {
  WENMOOR_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* owner);

  TBitBtnKind Kind() const { return kind_; }
  // A kind other than bkCustom sets the caption (when not loading, or when
  // the loaded caption is empty), the modal result, Default (bkOK, bkYes)
  // and Cancel (bkCancel, bkNo); while loading, only those of the three
  // that the description did not set.
  void SetKind(TBitBtnKind kind);
  // The picture shown beside the caption (owned); NumGlyphs pictures side
  // by side for the up, disabled, down and held states.
  TPicture* Glyph() const { return glyph_.get(); }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout l);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);
  int Margin() const { return margin_; }
  void SetMargin(int v);
  int NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int v);

  void Click() override;

  bool IsCaptionStored() const;
  bool HasGlyph() const { return !glyph_->Empty(); }
  bool IsDefaultStored() const override;
  bool IsCancelStored() const override;
  bool IsModalResultStored() const override;

 private:
  TBitBtnKind kind_ = bkCustom;
  std::unique_ptr<TPicture> glyph_;
  TButtonLayout layout_ = blGlyphLeft;
  int spacing_ = 4;
  int margin_ = -1;
  int num_glyphs_ = 1;
};

}  // namespace wenmoor
