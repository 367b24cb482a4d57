#include "dialogs/ordlg_ChangeDisk.h"

#include "dialogs/ordlg_StandardPage.h"
#include "script/event_parameters.h"
#include "support/cmp_TOpenFolderDialog.h"

namespace wenmoor {

namespace {

const std::string kText = R"(object ChangeDiskForm: TChangeDiskForm
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Setup needs the next disk'
  ClientHeight = 178
  ClientWidth = 413
)" + std::string(kDialogFormFont) + R"(  Position = poScreenCenter
  OnShow = FormShow
  object ThemeBitmap: TImage
    Left = 8
    Top = 8
    Width = 57
    Height = 113
    Center = True
  end
  object PromptDiskLabel: TTranslateLabel
    Left = 72
    Top = 8
    Width = 329
    Height = 17
    AutoSize = False
    Caption = 'Please insert disk number %d'
    WordWrap = True
    GLID = 45
  end
  object Label2: TTranslateLabel
    Left = 72
    Top = 32
    Width = 329
    Height = 41
    AutoSize = False
    Caption =
      'If the files on this disk can be found in another location, for ' +
      'example, in another drive, enter its full path or click the Browse ' +
      'button to select its path.'
    WordWrap = True
    GLID = 46
  end
  object Label4: TTranslateLabel
    Left = 72
    Top = 80
    Width = 25
    Height = 14
    Caption = 'Path:'
    GLID = 47
  end
  object PathEdit: TEdit
    Left = 72
    Top = 99
    Width = 241
    Height = 22
    ReadOnly = True
    TabOrder = 0
    OnChange = PathEditChange
  end
  object BrowseBtn: TTranslateBitBtn
    Left = 320
    Top = 96
    Width = 81
    Height = 25
    Caption = '&Browse...'
    TabOrder = 1
    OnClick = BrowseBtnClick
    GLID = 48
  end
  object Bevel1: TBevel
    Left = 8
    Top = 129
    Width = 397
    Height = 2
    Shape = bsTopLine
  end
  object InstallBtn: TTranslateBitBtn
    Left = 216
    Top = 144
    Width = 89
    Height = 25
    Caption = 'Proceed'
    ModalResult = 1
    TabOrder = 2
    GLID = 49
  end
  object CancelBtn: TTranslateBitBtn
    Left = 312
    Top = 144
    Width = 89
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    TabOrder = 3
    OnClick = CancelBtnClick
    GLID = 6
  end
end
)";

[[maybe_unused]] const bool registered = (BareFormEntry<TChangeDiskForm>(ChangeDiskList()), true);

}  // namespace

TChangeDiskForm::TChangeDiskForm(TComponent* owner) : TBaseChangeDiskForm(owner) {
  PublishMethod("FormShow", std::function<void(TObject*)>([this](TObject* s) { FormShow(s); }));
  PublishMethod("PathEditChange", std::function<void(TObject*)>([this](TObject* s) { PathEditChange(s); }));
  PublishMethod("BrowseBtnClick", std::function<void(TObject*)>([this](TObject* s) { BrowseBtnClick(s); }));
  PublishMethod("CancelBtnClick", std::function<void(TObject*)>([this](TObject*) { UserCancel(); }));
  SetDM(FindDialogManager(dmChangeDisk));
  LoadFormDescription(*this, kText, "TChangeDiskForm.dfm");
}

void TChangeDiskForm::ShowPath() {
  updating_ = true;
  if (TDiskParameter* disk = DiskParameter()) PathEdit()->SetText(disk->Path);
  updating_ = false;
}

void TChangeDiskForm::FormShow(TObject*) {
  updating_ = true;
  if (TDiskParameter* disk = DiskParameter()) {
    PromptDiskLabel()->SetCaption(Format(LocalizeMessage("Please insert disk number %d"), disk->NewDisk));
    PathEdit()->SetText(disk->Path);
  }
  SetActiveControl(InstallBtn());
  updating_ = false;
}

void TChangeDiskForm::PathEditChange(TObject*) {
  if (updating_) return;
  if (TDiskParameter* disk = DiskParameter()) disk->Path = PathEdit()->Text();
}

void TChangeDiskForm::BrowseBtnClick(TObject*) {
  TDiskParameter* disk = DiskParameter();
  if (!disk) return;
  TOpenFolderDialog browser(nullptr);
  browser.SetName("ChangeDiskBrowser");
  browser.SetShowCreateButton(false);
  browser.SetShowPathEdit(false);
  browser.SetDirectory(disk->Path);
  if (browser.Execute()) disk->Path = browser.Directory();
  ShowPath();
}

WENMOOR_REGISTER_CLASS(TChangeDiskForm) {}

}  // namespace wenmoor
