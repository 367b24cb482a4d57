// The reboot page: whether to restart Windows now. The choice decides the
// engine's Reboot property.
#pragma once

#include "dialogs/ordlg_StandardPage.h"
#include "platform/ui/choices.h"

namespace wenmoor {

class TRebootForm : public TStandardInstallForm {
  WENMOOR_CLASS(TRebootForm, TStandardInstallForm)
 public:
  explicit TRebootForm(TComponent* owner);
  TRadioGroup* RG() const { return FindControl<TRadioGroup>(*this, "RG"); }
  // The buttons, then the choice that matches the engine's Reboot.
  void PrepareForm() override;

 private:
  void RGClick(TObject* sender);
  bool updating_ = false;
};

}  // namespace wenmoor
