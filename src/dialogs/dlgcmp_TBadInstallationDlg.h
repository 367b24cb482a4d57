// The dialog of the report of a failed installation: a TBadInstallForm page.
#pragma once

#include "dialogs/dlgcmp_TBaseDlg.h"

namespace wenmoor {

class TBadInstallationDlg : public TBaseInstallDlg {
  WENMOOR_CLASS(TBadInstallationDlg, TBaseInstallDlg)
 public:
  explicit TBadInstallationDlg(TComponent* owner);

  const TClassInfo& FormClass() const override;
  void AssignDialogProperties() override;
  void ReceiveInformation(TObject* sender, int code, TObject* po) override;
};

}  // namespace wenmoor
