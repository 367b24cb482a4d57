#include "dialogs/ordlg_InstallStatus.h"

#include "dialogs/dlgcmp_TBaseContainer.h"

namespace wenmoor {

namespace {

const std::string kText = R"(object InstallStatusForm: TInstallStatusForm
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  ClientHeight = 58
  ClientWidth = 428
)" + std::string(kDialogFormFont) + R"(  Position = poScreenCenter
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 428
    Height = 58
    Align = alClient
    BevelInner = bvLowered
    object Image1: TImage
      Left = 2
      Top = 2
      Width = 48
      Height = 54
      Align = alLeft
      Center = True
    end
    object Panel2: TPanel
      Left = 50
      Top = 2
      Width = 376
      Height = 54
      Align = alClient
      BevelOuter = bvNone
      BorderWidth = 5
      object lblMessage: TLabel
        Left = 5
        Top = 5
        Width = 366
        Height = 44
        Align = alClient
        AutoSize = False
        WordWrap = True
      end
    end
  end
end
)";

}  // namespace

TInstallStatusForm::TInstallStatusForm(TComponent* owner) : TForm(owner) {
  LoadFormDescription(*this, kText, "TInstallStatusForm.dfm");
}

WENMOOR_REGISTER_CLASS(TInstallStatusForm) {}

}  // namespace wenmoor
