// The dialog of the question whether to restart Windows now (TRebootForm).
#pragma once

#include "dialogs/dlgcmp_TStandardPageDlg.h"

namespace wenmoor {

class TRebootDlg : public TStandardPageDlg {
  WENMOOR_CLASS(TRebootDlg, TStandardPageDlg)
 public:
  explicit TRebootDlg(TComponent* owner);
  const TClassInfo& FormClass() const override;
  void AssignDialogProperties() override;
};

}  // namespace wenmoor
