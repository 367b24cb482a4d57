// The page that reports setup complete.
#pragma once

#include "dialogs/ordlg_StandardPage.h"

namespace wenmoor {

class TGoodInstallForm : public TStandardInstallForm {
  WENMOOR_CLASS(TGoodInstallForm, TStandardInstallForm)
 public:
  explicit TGoodInstallForm(TComponent* owner);
  void PrepareForm() override;
};

}  // namespace wenmoor
