#include "dialogs/ordlg_Readme.h"

namespace wenmoor {

namespace {

const StandardPageLayout& Layout() {
  static const StandardPageLayout layout{
      "ReadmeForm", "TReadmeForm", "Installation successful", 470, true, 8,
      PageLabel("Label1",
                "Installation is complete. The README file below contains information about this product that "
                "may not be in the help files.",
                8, 42, 8) +
          PageLabel("Label5", "", 0, 6, 8) + PageTextBox("Information", 8),
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
