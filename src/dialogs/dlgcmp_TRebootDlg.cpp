#include "dialogs/dlgcmp_TRebootDlg.h"

#include "dialogs/ordlg_Reboot.h"

namespace wenmoor {

namespace {
[[maybe_unused]] const bool withdrawn = WithdrawBareFormEntry<TRebootForm>(BIFList());
}  // namespace

TRebootDlg::TRebootDlg(TComponent* owner) : TBaseInstallDlg(owner) {
  SetDialogDefaults(10, dmReboot);
  RegisterFormClass(BIFList());
}

const TClassInfo& TRebootDlg::FormClass() const { return TRebootForm::StaticClass(); }

void TRebootDlg::AssignDialogProperties() {
  TBaseInstallDlg::AssignDialogProperties();
  auto& page = dynamic_cast<TRebootForm&>(*Form());
  page.TakeDialogSettings(*this);
  // The page's own preparation shows Back again where it would stand in a
  // wizard; on its own it has none.
  page.PrepareForm();
  page.BackBtn()->Hide();
}

void TRebootDlg::ReceiveInformation(TObject* sender, int code, TObject* po) {
  TBaseInstallDlg::ReceiveInformation(sender, code, po);
  ExecuteUnmanagedOn(code, kNotifyRestartNeeded);
}

WENMOOR_REGISTER_CLASS(TRebootDlg) {}

}  // namespace wenmoor
