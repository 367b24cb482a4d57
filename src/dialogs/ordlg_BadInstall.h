// The page that reports setup incomplete.
#pragma once

#include "dialogs/ordlg_StandardPage.h"

namespace wenmoor {

class TBadInstallForm : public TStandardInstallForm {
  WENMOOR_CLASS(TBadInstallForm, TStandardInstallForm)
 public:
  explicit TBadInstallForm(TComponent* owner);
  void PrepareForm() override;
};

}  // namespace wenmoor
