#include "dialogs/dlgcmp_TRebootDlg.h"

#include "dialogs/ordlg_Reboot.h"

namespace wenmoor {

namespace {
[[maybe_unused]] const bool withdrawn = WithdrawBareFormEntry<TRebootForm>(BIFList());
}  // namespace

TRebootDlg::TRebootDlg(TComponent* owner)
    : TStandardPageDlg(owner, 10, dmReboot, kNotifyRestartNeeded) {
  RegisterFormClass(BIFList());
}

const TClassInfo& TRebootDlg::FormClass() const { return TRebootForm::StaticClass(); }

void TRebootDlg::AssignDialogProperties() {
  TStandardPageDlg::AssignDialogProperties();
  // The page's own preparation shows Back where it would stand in a wizard;
  // on its own the page has none.
  auto& page = dynamic_cast<TRebootForm&>(*Form());
  page.PrepareForm();
  page.BackBtn()->Hide();
}

WENMOOR_REGISTER_CLASS(TRebootDlg) {}

}  // namespace wenmoor
