#include "app/DemoGoodInstall.h"

namespace quarry {

using namespace wenmoor;

namespace {

[[maybe_unused]] const bool registered = (BareFormEntry<TAfterGoodInstallDlg>(BIFList()), true);

}  // namespace

TAfterGoodInstallDlg::TAfterGoodInstallDlg(TComponent* owner) : TQuarryPage(owner) {
  BuildPage({"AfterGoodInstallDlg", "TAfterGoodInstallDlg", "Installation complete", 8,
             PageLabel("Label1",
                      "The software has been properly installed. The component/s should be available when you next "
                      "start your Borland product.",
                      38, 58, 8),
             true},
            dmAfterGoodInstall, 20);
}

void TAfterGoodInstallDlg::PrepareForm() {
  TStandardInstallForm::PrepareForm();
  ShowNavigationButtons();
  FocusIfShown(ProceedBtn()->Visible() ? ProceedBtn() : FinishBtn());
}

WENMOOR_REGISTER_CLASS(TAfterGoodInstallDlg) {}

}  // namespace quarry
