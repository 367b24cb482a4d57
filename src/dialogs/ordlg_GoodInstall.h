// The page that reports a completed installation.
#pragma once

#include "dialogs/ordlg_StandardPage.h"

namespace wenmoor {

class TGoodInstallForm : public TResultPageForm {
  WENMOOR_CLASS(TGoodInstallForm, TResultPageForm)
 public:
  explicit TGoodInstallForm(TComponent* owner);
};

}  // namespace wenmoor
