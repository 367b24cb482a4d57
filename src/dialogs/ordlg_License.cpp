#include "dialogs/ordlg_License.h"

namespace wenmoor {

namespace {

const StandardPageLayout& Layout() {
  static const StandardPageLayout layout{
      "LicenseForm", "TLicenseForm", "Software license agreement", 470, true, 8,
      PageLabel("Label1", "Please read the following License Agreement.", 2, 14, 8) +
          PageLabel("Label5", "", 0, 6, 8) +
          PageLabel("Label2",
                    "By clicking on the Accept button below, you agree to all terms stated in the License "
                    "Agreement. You may cancel the installation by clicking on the Cancel button.",
                    3, 48, 8, "alBottom") +
          PageLabel("Label8", "", 0, 6, 8, "alBottom") + PageTextBox("Agreement", 8),
      PageButton("BackBtn", "< Previous", 4, 208, 75, "      OnClick = BackBtnClick\n") +
          PageButton("ProceedBtn", "Accept >", 88, 288, 75, "      OnClick = ProceedBtnClick\n") +
          PageButton("CancelBtn", "Cancel", 6, 368, 89, "      Cancel = True\n      OnClick = CancelBtnClick\n")};
  return layout;
}

[[maybe_unused]] const bool registered = (BareFormEntry<TLicenseForm>(BIFList()), true);

}  // namespace

TLicenseForm::TLicenseForm(TComponent* owner) : TStandardInstallForm(owner) {
  Build(Layout(), dmBeforeInstall, 20);
}

void TLicenseForm::PrepareForm() {
  TStandardInstallForm::PrepareForm();
  ShowBackUnlessFirst();
  FocusIfShown(ProceedBtn());
}

WENMOOR_REGISTER_CLASS(TLicenseForm) {}

}  // namespace wenmoor
