#include "dialogs/dlgcmp_TReadmeDlg.h"

#include "dialogs/ordlg_Readme.h"

namespace wenmoor {

namespace {
[[maybe_unused]] const bool withdrawn = WithdrawBareFormEntry<TReadmeForm>(BIFList());
}  // namespace

TReadmeDlg::TReadmeDlg(TComponent* owner)
    : TTextPageDlg(owner, 30, dmBeforeInstall, kNotifyReadMe) {
  RegisterFormClass(BIFList());
}

const TClassInfo& TReadmeDlg::FormClass() const { return TReadmeForm::StaticClass(); }

TRichEdit* TReadmeDlg::TextBox(TCustomForm& page) const { return dynamic_cast<TReadmeForm&>(page).Information(); }

WENMOOR_REGISTER_CLASS(TReadmeDlg) { c.Object("ReadmeText", &T::ReadmeText); }

}  // namespace wenmoor
