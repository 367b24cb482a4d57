// What the dialogs of the standard wizard pages (licence, read-me, reboot,
// failure) share: their defaults, the event on which one without a manager
// shows itself, and the settings they give their page. The licence and
// read-me dialogs also carry a text of their own for the page's text box.
#pragma once

#include <memory>

#include "dialogs/dlgcmp_TBaseDlg.h"
#include "platform/rtl/strings.h"

namespace wenmoor {

class TRichEdit;

class TStandardPageDlg : public TBaseInstallDlg {
  WENMOOR_CLASS(TStandardPageDlg, TBaseInstallDlg)
 public:
  // The default Order, the phase whose manager is the default one, and the
  // event on which the dialog, without a manager, shows itself.
  TStandardPageDlg(TComponent* owner, int order, TManagerType phase, int unmanaged_event);

  // The base settings, then Back hidden, the forward buttons closing a page
  // shown on its own with OK, and the theme picture.
  void AssignDialogProperties() override;
  void ReceiveInformation(TObject* sender, int code, TObject* po) override;

 private:
  int unmanaged_event_;
};

class TTextPageDlg : public TStandardPageDlg {
  WENMOOR_CLASS(TTextPageDlg, TStandardPageDlg)
 public:
  TTextPageDlg(TComponent* owner, int order, TManagerType phase, int unmanaged_event);
  ~TTextPageDlg() override;

  // Then the page's text box shows a copy of the dialog's text (also when
  // it is empty: the form's own text never shows).
  void AssignDialogProperties() override;

 protected:
  TStrings* Text() const { return text_.get(); }
  virtual TRichEdit* TextBox(TCustomForm& page) const = 0;

 private:
  std::unique_ptr<TStringList> text_;
};

}  // namespace wenmoor
