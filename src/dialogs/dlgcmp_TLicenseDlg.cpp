#include "dialogs/dlgcmp_TLicenseDlg.h"

#include "dialogs/ordlg_License.h"

namespace wenmoor {

namespace {
[[maybe_unused]] const bool withdrawn = WithdrawBareFormEntry<TLicenseForm>(BIFList());
}  // namespace

TLicenseDlg::TLicenseDlg(TComponent* owner) : TBaseInstallDlg(owner), text_(std::make_unique<TStringList>()) {
  SetDialogDefaults(20, dmBeforeInstall);
  RegisterFormClass(BIFList());
}

const TClassInfo& TLicenseDlg::FormClass() const { return TLicenseForm::StaticClass(); }

void TLicenseDlg::AssignDialogProperties() {
  TBaseInstallDlg::AssignDialogProperties();
  auto& page = dynamic_cast<TLicenseForm&>(*Form());
  page.TakeDialogSettings(*this);
  page.Agreement()->Lines()->Assign(*text_);
}

void TLicenseDlg::ReceiveInformation(TObject* sender, int code, TObject* po) {
  TBaseInstallDlg::ReceiveInformation(sender, code, po);
  ExecuteUnmanagedOn(code, kNotifyLicence);
}

WENMOOR_REGISTER_CLASS(TLicenseDlg) { c.Object("LicenseAgreement", &T::LicenseAgreement); }

}  // namespace wenmoor
