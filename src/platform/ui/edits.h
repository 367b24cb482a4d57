// Edit boxes, memos and the read-only rich text box.
//
// An edit's text changes through SetText, whether code or the user (through
// the backend) changes it; a change raises OnChange once the edit is
// loaded. MaxLength limits what a user may type (0: no limit), not what
// code sets, as in Windows.
//
// A memo's text is its Lines: setting Text splits it into lines, changing
// Lines changes Text. A rich text box here shows plain text: lines that
// hold a rich text document ("{\rtf...") are turned into its plain text
// when they are set (rtf.h).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/rtl/strings.h"
#include "platform/ui/forms.h"
#include "platform/ui/win_control.h"

namespace wenmoor {

enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
WENMOOR_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)

enum TEditCharCase : uint8_t { ecNormal, ecUpperCase, ecLowerCase };
WENMOOR_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)

class TCustomEdit : public TWinControl {
  WENMOOR_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* owner);

  void SetText(const std::string& s) override;
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool v);
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int v);
  TBorderStyle BorderStyle() const { return border_style_; }
  // bsNone or bsSingle; raises EInvalidOperation for another style.
  void SetBorderStyle(TBorderStyle s);
  bool AutoSelect() const { return auto_select_; }
  void SetAutoSelect(bool v) { auto_select_ = v; }
  TEditCharCase CharCase() const { return char_case_; }
  void SetCharCase(TEditCharCase c);

  TNotifyEvent OnChange;

 protected:
  // Raises OnChange (not while loading).
  virtual void Change();

 private:
  bool read_only_ = false;
  int max_length_ = 0;
  TBorderStyle border_style_ = bsSingle;
  bool auto_select_ = true;
  TEditCharCase char_case_ = ecNormal;
};

class TEdit : public TCustomEdit {
  WENMOOR_CLASS(TEdit, TCustomEdit)
 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

class TCustomMemo : public TCustomEdit {
  WENMOOR_CLASS(TCustomMemo, TCustomEdit)
 public:
  explicit TCustomMemo(TComponent* owner);

  // The lines (owned); changing them changes Text and raises OnChange.
  TStrings* Lines() const { return lines_.get(); }
  void SetText(const std::string& s) override;
  TScrollStyle ScrollBars() const { return scroll_bars_; }
  void SetScrollBars(TScrollStyle s);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  bool WantReturns() const { return want_returns_; }
  void SetWantReturns(bool v) { want_returns_ = v; }
  bool WantTabs() const { return want_tabs_; }
  void SetWantTabs(bool v) { want_tabs_ = v; }

 protected:
  // The lines changed (code, the loader, the user).
  virtual void LinesChanged();

 private:
  std::unique_ptr<TStringList> lines_;
  TScrollStyle scroll_bars_ = ssNone;
  bool word_wrap_ = true;
  TAlignment alignment_ = taLeftJustify;
  bool want_returns_ = true;
  bool want_tabs_ = false;
  bool syncing_ = false;
};

class TMemo : public TCustomMemo {
  WENMOOR_CLASS(TMemo, TCustomMemo)
 public:
  explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

class TRichEdit : public TCustomMemo {
  WENMOOR_CLASS(TRichEdit, TCustomMemo)
 public:
  explicit TRichEdit(TComponent* owner);
  // Whether the lines are plain text even when they look like a rich
  // text document.
  bool PlainText() const { return plain_text_; }
  void SetPlainText(bool v) { plain_text_ = v; }

 protected:
  void LinesChanged() override;

 private:
  bool plain_text_ = false;
  bool converting_ = false;
};

}  // namespace wenmoor
