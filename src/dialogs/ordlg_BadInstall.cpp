#include "dialogs/ordlg_BadInstall.h"

namespace wenmoor {

namespace {

const StandardPageLayout& Layout() {
  static const StandardPageLayout layout{"BadInstallForm", "TBadInstallForm", "Setup incomplete", 470, true, 5,
                                         PageLabel("TopLabel",
                                                   "This software has not been properly installed and"
                                                   " will not work correctly if you try to use it.",
                                                   60, 56),
                                         ReportPageButtons()};
  return layout;
}

[[maybe_unused]] const bool registered = (BareFormEntry<TBadInstallForm>(BIFList()), true);

}  // namespace

TBadInstallForm::TBadInstallForm(TComponent* owner) : TResultPageForm(owner) {
  Build(Layout(), dmAfterBadInstall, 10);
}

WENMOOR_REGISTER_CLASS(TBadInstallForm) {}

}  // namespace wenmoor

