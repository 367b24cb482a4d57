#include "dialogs/ordlg_GoodInstall.h"

namespace wenmoor {

namespace {

const StandardPageLayout& Layout() {
  static const StandardPageLayout layout{"GoodInstallForm", "TGoodInstallForm", "Setup complete", 470, true, 5,
                                         PageLabel("Label1",
                                                   "The software has been properly installed. You may"
                                                   " start the software by clicking on the icon.",
                                                   38, 56),
                                         ReportPageButtons()};
  return layout;
}

// No dialog component of the framework shows this page, so it takes no
// entry in the page registry: a program that wants it registers it itself
// (RegisterPageForm).

}  // namespace

TGoodInstallForm::TGoodInstallForm(TComponent* owner) : TResultPageForm(owner) {
  Build(Layout(), dmAfterGoodInstall, 10);
}

WENMOOR_REGISTER_CLASS(TGoodInstallForm) {}

}  // namespace wenmoor
