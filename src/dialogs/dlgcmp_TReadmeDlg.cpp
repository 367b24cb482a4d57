#include "dialogs/dlgcmp_TReadmeDlg.h"

#include "dialogs/ordlg_Readme.h"

namespace wenmoor {

namespace {
[[maybe_unused]] const bool withdrawn = WithdrawBareFormEntry<TReadmeForm>(BIFList());
}  // namespace

TReadmeDlg::TReadmeDlg(TComponent* owner) : TBaseInstallDlg(owner), text_(std::make_unique<TStringList>()) {
  SetDialogDefaults(30, dmBeforeInstall);
  RegisterFormClass(BIFList());
}

const TClassInfo& TReadmeDlg::FormClass() const { return TReadmeForm::StaticClass(); }

void TReadmeDlg::AssignDialogProperties() {
  TBaseInstallDlg::AssignDialogProperties();
  auto& page = dynamic_cast<TReadmeForm&>(*Form());
  page.TakeDialogSettings(*this);
  page.Information()->Lines()->Assign(*text_);
}

void TReadmeDlg::ReceiveInformation(TObject* sender, int code, TObject* po) {
  TBaseInstallDlg::ReceiveInformation(sender, code, po);
  ExecuteUnmanagedOn(code, kNotifyReadMe);
}

WENMOOR_REGISTER_CLASS(TReadmeDlg) { c.Object("ReadmeText", &T::ReadmeText); }

}  // namespace wenmoor
