// The completion page closing the after-success wizard.
#pragma once

#include "app/quarry_page.h"

namespace quarry {

class TAfterGoodInstallDlg : public TQuarryPage {
  WENMOOR_CLASS(TAfterGoodInstallDlg, TQuarryPage)
 public:
  explicit TAfterGoodInstallDlg(wenmoor::TComponent* owner);
  // Back unless first, Next unless last, Finish in Next's stead; the
  // visible one of the two takes the focus.
  void PrepareForm() override;
};

}  // namespace quarry
