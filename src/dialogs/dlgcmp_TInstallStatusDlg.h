// The status dialog: shows the texts that script objects announce while
// they work (broadcast -974 with a TMessageParameter) in a small window, and
// the previous text again when the latest ends (-973); the window hides when
// no text is left. It has no manager.
#pragma once

#include <string>

#include "dialogs/dlgcmp_TBaseDlg.h"
#include "platform/rtl/strings.h"

namespace wenmoor {

class TInstallStatusDlg : public TCustomBaseInstallDlg {
  WENMOOR_CLASS(TInstallStatusDlg, TCustomBaseInstallDlg)
 public:
  explicit TInstallStatusDlg(TComponent* owner);

  const TClassInfo& FormClass() const override;
  void ReceiveInformation(TObject* sender, int code, TObject* po) override;
  // Each new text arrives in English: after translating, the form counts as
  // English again.
  void Translate() override;

  const std::string& CurrentMessage() const { return current_message_; }
  // The texts shown and not yet ended, the latest last.
  const TStrings& Messages() const { return messages_; }

 private:
  void ShowStatus();

  TStringList messages_;
  std::string current_message_;
};

}  // namespace wenmoor
