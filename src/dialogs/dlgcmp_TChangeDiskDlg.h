// The change-disk dialog: registers TChangeDiskForm for the change-disk
// manager, which shows it when the next disk is needed.
#pragma once

#include "dialogs/dlgcmp_TBaseDlg.h"

namespace wenmoor {

class TChangeDiskDlg : public TCustomBaseInstallDlg {
  WENMOOR_CLASS(TChangeDiskDlg, TCustomBaseInstallDlg)
 public:
  explicit TChangeDiskDlg(TComponent* owner);
  const TClassInfo& FormClass() const override;
};

}  // namespace wenmoor
