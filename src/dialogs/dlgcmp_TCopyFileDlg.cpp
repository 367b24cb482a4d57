#include "dialogs/dlgcmp_TCopyFileDlg.h"

#include "dialogs/ordlg_CopyFile.h"
#include "dialogs/ordlg_StandardPage.h"

namespace wenmoor {

namespace {
[[maybe_unused]] const bool withdrawn = WithdrawBareFormEntry<TCopyFileForm>(DCFList());
}  // namespace

TCopyFileDlg::TCopyFileDlg(TComponent* owner) : TCustomBaseInstallDlg(owner) {
  SetHeight(146);
  SetPosition(wdpBottomCenter);
  SetRelativeTopOffset(30);
  SetWidth(474);
  SetDialogManager(FindDialogManager(dmDuringCopyFiles));
  RegisterFormClass(DCFList());
}

const TClassInfo& TCopyFileDlg::FormClass() const { return TCopyFileForm::StaticClass(); }

WENMOOR_REGISTER_CLASS(TCopyFileDlg) {
  PublishDialogSettings(c, true);
  c.Prop("Height", &T::Height, &T::SetHeight).Default(146);
  c.Prop("Position", &T::Position, &T::SetPosition).Default(wdpBottomCenter);
  c.Prop("RelativeLeftOffset", &T::RelativeLeftOffset, &T::SetRelativeLeftOffset).Default(0);
  c.Prop("RelativeTopOffset", &T::RelativeTopOffset, &T::SetRelativeTopOffset).Default(30);
  c.Prop("Width", &T::Width, &T::SetWidth).Default(474);
}

}  // namespace wenmoor
