// The dialog of the report of a failed installation (TBadInstallForm).
#pragma once

#include "dialogs/dlgcmp_TStandardPageDlg.h"

namespace wenmoor {

class TBadInstallationDlg : public TStandardPageDlg {
  WENMOOR_CLASS(TBadInstallationDlg, TStandardPageDlg)
 public:
  explicit TBadInstallationDlg(TComponent* owner);
  const TClassInfo& FormClass() const override;
};

}  // namespace wenmoor
