// Labels: a caption on a form, drawn on the parent's background.
//
// With AutoSize (the default) a label takes the size of its caption in its
// font, measured by the backend: on one line, or, with WordWrap, within its
// current width (the height follows). A right-justified label keeps its
// right edge when it grows.
#pragma once

#include <cstdint>

#include "platform/ui/control.h"
#include "platform/ui/win_control.h"

namespace wenmoor {

enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };
WENMOOR_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)

class TCustomLabel : public TControl {
  WENMOOR_CLASS(TCustomLabel, TControl)
 public:
  explicit TCustomLabel(TComponent* owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool v);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout l);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool ShowAccelChar() const { return show_accel_char_; }
  void SetShowAccelChar(bool v);
  // The control that an accelerator of the caption focuses.
  TWinControl* FocusControl() const { return focus_control_; }
  void SetFocusControl(TWinControl* c);

  // The caption as drawn: without accelerator marks when ShowAccelChar.
  std::string DisplayText() const;
  void AdjustSize() override;

 protected:
  void Notification(TComponent* c, TOperation operation) override;

 private:
  TAlignment alignment_ = taLeftJustify;
  bool auto_size_ = true;
  bool word_wrap_ = false;
  TTextLayout layout_ = tlTop;
  bool transparent_ = false;
  bool show_accel_char_ = true;
  TWinControl* focus_control_ = nullptr;
};

class TLabel : public TCustomLabel {
  WENMOOR_CLASS(TLabel, TCustomLabel)
 public:
  explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

}  // namespace wenmoor
