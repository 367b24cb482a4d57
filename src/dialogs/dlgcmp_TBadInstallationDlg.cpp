#include "dialogs/dlgcmp_TBadInstallationDlg.h"

#include "dialogs/ordlg_BadInstall.h"

namespace wenmoor {

namespace {
[[maybe_unused]] const bool withdrawn = WithdrawBareFormEntry<TBadInstallForm>(BIFList());
}  // namespace

TBadInstallationDlg::TBadInstallationDlg(TComponent* owner) : TBaseInstallDlg(owner) {
  SetDialogDefaults(10, dmAfterBadInstall);
  RegisterFormClass(BIFList());
}

const TClassInfo& TBadInstallationDlg::FormClass() const { return TBadInstallForm::StaticClass(); }

void TBadInstallationDlg::AssignDialogProperties() {
  TBaseInstallDlg::AssignDialogProperties();
  auto& page = dynamic_cast<TBadInstallForm&>(*Form());
  page.TakeDialogSettings(*this);
}

void TBadInstallationDlg::ReceiveInformation(TObject* sender, int code, TObject* po) {
  TBaseInstallDlg::ReceiveInformation(sender, code, po);
  ExecuteUnmanagedOn(code, kNotifyBadInstall);
}

WENMOOR_REGISTER_CLASS(TBadInstallationDlg) {}

}  // namespace wenmoor
