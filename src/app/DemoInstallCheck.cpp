#include "app/DemoInstallCheck.h"

#include "app/frmMain.h"

namespace quarry {

using namespace wenmoor;

namespace {

std::string Content() {
  return PageLabel("Label1",
                  "The installation is about to commence. Check the following settings are correct and press "
                  "''Next''  to proceed or ''Previous'' to  change",
                  0, 44, 8) +
         "    object Memo1: TMemo\n"
         "      Left = 8\n"
         "      Top = 52\n"
         "      Width = 273\n"
         "      Height = 217\n"
         "      Color = clBtnFace\n"
         "      ReadOnly = True\n"
         "      ScrollBars = ssVertical\n"
         "      TabOrder = 0\n"
         "    end\n";
}

[[maybe_unused]] const bool registered = (BareFormEntry<TConfirmInstall>(BIFList()), true);

}  // namespace

TConfirmInstall::TConfirmInstall(TComponent* owner) : TQuarryPage(owner) {
  BuildPage({"ConfirmInstall", "TConfirmInstall", "Confirm install details", 8, Content()}, dmBeforeInstall, 60);
}

void TConfirmInstall::PrepareForm() {
  if (TMainForm* main = Main(); main && Memo1()) main->FillSettingsMemo(*Memo1()->Lines());
  TQuarryPage::PrepareForm();
}

WENMOOR_REGISTER_CLASS(TConfirmInstall) {}

}  // namespace quarry
