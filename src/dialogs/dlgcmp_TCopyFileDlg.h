// The copy-progress dialog: registers TCopyFileForm for the during-copy
// manager and says where the form stands (by default centred at the bottom
// of the screen, 474 × 146 pixels).
#pragma once

#include "dialogs/dlgcmp_TBaseDlg.h"

namespace wenmoor {

class TCopyFileDlg : public TCustomBaseInstallDlg {
  WENMOOR_CLASS(TCopyFileDlg, TCustomBaseInstallDlg)
 public:
  explicit TCopyFileDlg(TComponent* owner);
  const TClassInfo& FormClass() const override;
};

}  // namespace wenmoor
