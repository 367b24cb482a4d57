#include "dialogs/dlgcmp_TBadInstallationDlg.h"

#include "dialogs/ordlg_BadInstall.h"

namespace wenmoor {

namespace {
[[maybe_unused]] const bool withdrawn = WithdrawBareFormEntry<TBadInstallForm>(BIFList());
}  // namespace

TBadInstallationDlg::TBadInstallationDlg(TComponent* owner)
    : TStandardPageDlg(owner, 10, dmAfterBadInstall, kNotifyBadInstall) {
  RegisterFormClass(BIFList());
}

const TClassInfo& TBadInstallationDlg::FormClass() const { return TBadInstallForm::StaticClass(); }

WENMOOR_REGISTER_CLASS(TBadInstallationDlg) {}

}  // namespace wenmoor
