#include "dialogs/ordlg_Readme.h"

namespace wenmoor {

namespace {

const StandardPageLayout& Layout() {
  static const StandardPageLayout layout{
      "ReadmeForm", "TReadmeForm", "Installation successful", 470, true, 8,
      "    object Label1: TTranslateLabel\n"
      "      Left = 8\n"
      "      Top = 8\n"
      "      Width = 318\n"
      "      Height = 42\n"
      "      Align = alTop\n"
      "      AutoSize = False\n"
      "      Caption = 'Installation is complete. The README file below contains information about this "
      "product that may not be in the help files.'\n"
      "      WordWrap = True\n"
      "      GLID = 8\n"
      "    end\n"
      "    object Label5: TTranslateLabel\n"
      "      Left = 8\n"
      "      Top = 50\n"
      "      Width = 318\n"
      "      Height = 6\n"
      "      Align = alTop\n"
      "      AutoSize = False\n"
      "    end\n"
      "    object Information: TRichEdit\n"
      "      Left = 8\n"
      "      Top = 56\n"
      "      Width = 318\n"
      "      Height = 252\n"
      "      Align = alClient\n"
      "      Color = clBtnFace\n"
      "      Lines.Strings = (\n"
      "        'Information')\n"
      "      ReadOnly = True\n"
      "      ScrollBars = ssVertical\n"
      "      TabOrder = 0\n"
      "    end\n",
      PageButton("BackBtn", "< Previous", 4, 208, 75, "      OnClick = BackBtnClick\n") +
          PageButton("ProceedBtn", "Next >", 5, 288, 75, "      Default = True\n      OnClick = ProceedBtnClick\n") +
          PageButton("CancelBtn", "Cancel", 6, 368, 89, "      Cancel = True\n      OnClick = CancelBtnClick\n")};
  return layout;
}

[[maybe_unused]] const bool registered = (BareFormEntry<TReadmeForm>(BIFList()), true);

}  // namespace

TReadmeForm::TReadmeForm(TComponent* owner) : TStandardInstallForm(owner) {
  Build(Layout(), dmAfterGoodInstall, 0);
}

void TReadmeForm::PrepareForm() {
  TStandardInstallForm::PrepareForm();
  ShowBackUnlessFirst();
  FocusIfShown(ProceedBtn());
}

WENMOOR_REGISTER_CLASS(TReadmeForm) {}

}  // namespace wenmoor
