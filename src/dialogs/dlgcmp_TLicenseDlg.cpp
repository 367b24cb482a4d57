#include "dialogs/dlgcmp_TLicenseDlg.h"

#include "dialogs/ordlg_License.h"

namespace wenmoor {

namespace {
[[maybe_unused]] const bool withdrawn = WithdrawBareFormEntry<TLicenseForm>(BIFList());
}  // namespace

TLicenseDlg::TLicenseDlg(TComponent* owner)
    : TTextPageDlg(owner, 20, dmBeforeInstall, kNotifyLicence) {
  RegisterFormClass(BIFList());
}

const TClassInfo& TLicenseDlg::FormClass() const { return TLicenseForm::StaticClass(); }

TRichEdit* TLicenseDlg::TextBox(TCustomForm& page) const { return dynamic_cast<TLicenseForm&>(page).Agreement(); }

WENMOOR_REGISTER_CLASS(TLicenseDlg) { c.Object("LicenseAgreement", &T::LicenseAgreement); }

}  // namespace wenmoor
