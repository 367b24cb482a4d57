#include "dialogs/ordlg_CopyFile.h"

#include "dialogs/ordlg_StandardPage.h"
#include "script/event_parameters.h"

namespace wenmoor {

namespace {

const std::string kText = R"(object CopyFileForm: TCopyFileForm
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Copying installation files'
  ClientHeight = 119
  ClientWidth = 466
)" + std::string(kDialogFormFont) + R"(  object LeftPanel: TPanel
    Left = 0
    Top = 0
    Width = 56
    Height = 119
    Align = alLeft
    BevelOuter = bvNone
    BorderWidth = 10
    object UnZipImage: TImage
      Left = 10
      Top = 10
      Width = 36
      Height = 99
      Align = alClient
      Center = True
    end
    object TransferBitmap: TImage
      Left = 10
      Top = 10
      Width = 36
      Height = 99
      Align = alClient
      Center = True
      Visible = False
    end
  end
  object RightPanel: TPanel
    Left = 369
    Top = 0
    Width = 97
    Height = 119
    Align = alRight
    BevelOuter = bvNone
    object CancelBtn: TTranslateBitBtn
      Left = 4
      Top = 24
      Width = 89
      Height = 25
      Cancel = True
      Caption = 'Cancel'
      TabOrder = 0
      OnClick = CancelBtnClick
      GLID = 6
    end
  end
  object ContentPanel: TPanel
    Left = 56
    Top = 0
    Width = 313
    Height = 119
    Align = alClient
    BevelOuter = bvNone
    BorderWidth = 5
    object lblCopyFileHeader: TTranslateLabel
      Left = 5
      Top = 5
      Width = 303
      Height = 16
      Align = alTop
      AutoSize = False
      Caption = 'Processing'
      GLID = 14
    end
    object FileNameBox: TPanel
      Left = 5
      Top = 21
      Width = 303
      Height = 22
      Align = alTop
      BevelOuter = bvLowered
      object lblCopyingFile: TLabel
        Left = 4
        Top = 4
        Width = 295
        Height = 14
        AutoSize = False
        Caption = '---'
      end
    end
    object Label3: TLabel
      Left = 5
      Top = 43
      Width = 303
      Height = 12
      Align = alTop
      AutoSize = False
    end
    object FileRow: TPanel
      Left = 5
      Top = 55
      Width = 303
      Height = 22
      Align = alTop
      BevelOuter = bvNone
      object Label1: TTranslateLabel
        Left = 0
        Top = 4
        Width = 120
        Height = 14
        Alignment = taRightJustify
        AutoSize = False
        Caption = 'File progress'
        GLID = 15
      end
      object ProgressBar1: TProgressBar
        Left = 127
        Top = 3
        Width = 176
        Height = 16
        TabOrder = 0
      end
    end
    object Label4: TLabel
      Left = 5
      Top = 77
      Width = 303
      Height = 8
      Align = alTop
      AutoSize = False
    end
    object TotalRow: TPanel
      Left = 5
      Top = 85
      Width = 303
      Height = 22
      Align = alTop
      BevelOuter = bvNone
      object Label2: TTranslateLabel
        Left = 0
        Top = 4
        Width = 120
        Height = 14
        Alignment = taRightJustify
        AutoSize = False
        Caption = 'Total progress'
        GLID = 16
      end
      object ProgressBar2: TProgressBar
        Left = 127
        Top = 3
        Width = 176
        Height = 16
        TabOrder = 0
      end
    end
  end
end
)";

[[maybe_unused]] const bool registered = (BareFormEntry<TCopyFileForm>(DCFList()), true);

}  // namespace

TCopyFileForm::TCopyFileForm(TComponent* owner) : TBaseDuringCopyForm(owner) {
  PublishMethod("CancelBtnClick", std::function<void(TObject*)>([this](TObject*) { UserCancel(); }));
  SetDM(FindDialogManager(dmDuringCopyFiles));
  LoadFormDescription(*this, kText, "TCopyFileForm.dfm");
}

void TCopyFileForm::UpdateStatus(TFileStatusParameter* file_status, TDownloadStatusParameter* download_status) {
  if (file_status) {
    TransferBitmap()->Hide();
    TotalProgress()->SetPosition(file_status->TotalPercentDone);
    FileProgress()->SetPosition(file_status->FilePercentDone);
    CopyingFile()->SetCaption(file_status->FileName);
  } else if (download_status) {
    TransferBitmap()->Show();
    FileProgress()->SetPosition(download_status->PercentDone);
    CopyingFile()->SetCaption(download_status->FileName);
  }
  Repaint();
}

WENMOOR_REGISTER_CLASS(TCopyFileForm) {}

}  // namespace wenmoor
