// The dialog of the question whether to restart Windows now: a TRebootForm page.
#pragma once

#include "dialogs/dlgcmp_TBaseDlg.h"

namespace wenmoor {

class TRebootDlg : public TBaseInstallDlg {
  WENMOOR_CLASS(TRebootDlg, TBaseInstallDlg)
 public:
  explicit TRebootDlg(TComponent* owner);

  const TClassInfo& FormClass() const override;
  void AssignDialogProperties() override;
  void ReceiveInformation(TObject* sender, int code, TObject* po) override;
};

}  // namespace wenmoor
