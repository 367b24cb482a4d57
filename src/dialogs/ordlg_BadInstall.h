// The page that reports a failed installation.
#pragma once

#include "dialogs/ordlg_StandardPage.h"

namespace wenmoor {

class TBadInstallForm : public TResultPageForm {
  WENMOOR_CLASS(TBadInstallForm, TResultPageForm)
 public:
  explicit TBadInstallForm(TComponent* owner);
};

}  // namespace wenmoor
