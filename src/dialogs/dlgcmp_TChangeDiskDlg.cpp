#include "dialogs/dlgcmp_TChangeDiskDlg.h"

#include "dialogs/ordlg_ChangeDisk.h"
#include "dialogs/ordlg_StandardPage.h"

namespace wenmoor {

namespace {
[[maybe_unused]] const bool withdrawn = WithdrawBareFormEntry<TChangeDiskForm>(ChangeDiskList());
}  // namespace

TChangeDiskDlg::TChangeDiskDlg(TComponent* owner) : TCustomBaseInstallDlg(owner) {
  SetDialogManager(FindDialogManager(dmChangeDisk));
  RegisterFormClass(ChangeDiskList());
}

const TClassInfo& TChangeDiskDlg::FormClass() const { return TChangeDiskForm::StaticClass(); }

WENMOOR_REGISTER_CLASS(TChangeDiskDlg) { PublishDialogSettings(c, true); }

}  // namespace wenmoor
