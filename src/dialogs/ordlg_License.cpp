#include "dialogs/ordlg_License.h"

namespace wenmoor {

namespace {

const StandardPageLayout& Layout() {
  static const StandardPageLayout layout{
      "LicenseForm", "TLicenseForm", "Software license agreement", 470, true, 8,
      "    object Label1: TTranslateLabel\n"
      "      Left = 8\n"
      "      Top = 8\n"
      "      Width = 318\n"
      "      Height = 14\n"
      "      Align = alTop\n"
      "      AutoSize = False\n"
      "      Caption = 'Please read the following License Agreement.'\n"
      "      WordWrap = True\n"
      "      GLID = 2\n"
      "    end\n"
      "    object Label5: TTranslateLabel\n"
      "      Left = 8\n"
      "      Top = 22\n"
      "      Width = 318\n"
      "      Height = 6\n"
      "      Align = alTop\n"
      "      AutoSize = False\n"
      "    end\n"
      "    object Label2: TTranslateLabel\n"
      "      Left = 8\n"
      "      Top = 260\n"
      "      Width = 318\n"
      "      Height = 48\n"
      "      Align = alBottom\n"
      "      AutoSize = False\n"
      "      Caption = 'By clicking on the Accept button below, you agree to all terms stated in the License "
      "Agreement. You may cancel the installation by clicking on the Cancel button.'\n"
      "      WordWrap = True\n"
      "      GLID = 3\n"
      "    end\n"
      "    object Label8: TTranslateLabel\n"
      "      Left = 8\n"
      "      Top = 254\n"
      "      Width = 318\n"
      "      Height = 6\n"
      "      Align = alBottom\n"
      "      AutoSize = False\n"
      "    end\n"
      "    object Agreement: TRichEdit\n"
      "      Left = 8\n"
      "      Top = 28\n"
      "      Width = 318\n"
      "      Height = 226\n"
      "      Align = alClient\n"
      "      Color = clBtnFace\n"
      "      Lines.Strings = (\n"
      "        'Agreement')\n"
      "      ReadOnly = True\n"
      "      ScrollBars = ssVertical\n"
      "      TabOrder = 0\n"
      "    end\n",
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
