#include "dialogs/ordlg_StandardPage.h"

#include "platform/rtl/format.h"

namespace wenmoor {

std::string PageButton(const char* name, const char* caption, int glid, int left, int width,
                       const std::string& extra) {
  return Format(
      "    object %s: TTranslateBitBtn\n"
      "      Left = %d\n"
      "      Top = 15\n"
      "      Width = %d\n"
      "      Height = 33\n"
      "      Caption = '%s'\n"
      "%s"
      "      GLID = %d\n"
      "    end\n",
      name, left, width, caption, extra, glid);
}

std::string ReportPageButtons() {
  return PageButton("BackBtn", "< Previous", 4, 304, 75, "      OnClick = BackBtnClick\n") +
         PageButton("ProceedBtn", "Next >", 5, 384, 75, "      OnClick = ProceedBtnClick\n") +
         PageButton("FinishBtn", "Finish", 72, 384, 75, "      OnClick = ProceedBtnClick\n");
}

std::string PageLabel(const char* name, const char* caption, int glid, int height, int border, const char* align) {
  return Format(
      "    object %s: TTranslateLabel\n"
      "      Left = %d\n"
      "      Top = %d\n"
      "      Width = %d\n"
      "      Height = %d\n"
      "      Align = %s\n"
      "      AutoSize = False\n"
      "      Caption = '%s'\n"
      "      WordWrap = True\n"
      "      GLID = %d\n"
      "    end\n",
      name, border, border, 470 - 136 - 2 * border, height, align, caption, glid);
}

std::string PageTextBox(const char* name, int border) {
  return Format(
      "    object %s: TRichEdit\n"
      "      Left = %d\n"
      "      Top = %d\n"
      "      Width = %d\n"
      "      Height = 200\n"
      "      Align = alClient\n"
      "      Color = clBtnFace\n"
      "      Lines.Strings = (\n"
      "        '%s')\n"
      "      ReadOnly = True\n"
      "      ScrollBars = ssVertical\n"
      "      TabOrder = 0\n"
      "    end\n",
      name, border, border, 470 - 136 - 2 * border, name);
}

std::string StandardPageText(const StandardPageLayout& l) {
  const int content_height = 368 - 52;
  return Format(
      "object %s: %s\n"
      "  Left = 0\n"
      "  Top = 0\n"
      "  BorderIcons = [biSystemMenu]\n"
      "  BorderStyle = bsDialog\n"
      "  Caption = '%s'\n"
      "  ClientHeight = 368\n"
      "  ClientWidth = %d\n"
      "%s"
      "  FormStyle = %s\n"
      "  Position = poScreenCenter\n"
      "  OnCreate = FormCreate\n"
      "  object ButtonPanel: TPanel\n"
      "    Left = 0\n"
      "    Top = %d\n"
      "    Width = %d\n"
      "    Height = 52\n"
      "    Align = alBottom\n"
      "    BevelOuter = bvNone\n"
      "    object Bevel1: TBevel\n"
      "      Left = 0\n"
      "      Top = 0\n"
      "      Width = %d\n"
      "      Height = 2\n"
      "      Align = alTop\n"
      "      Shape = bsTopLine\n"
      "    end\n"
      "%s"
      "  end\n"
      "  object ThemePanel: TPanel\n"
      "    Left = 0\n"
      "    Top = 0\n"
      "    Width = 136\n"
      "    Height = %d\n"
      "    Align = alLeft\n"
      "    BevelOuter = bvNone\n"
      "    object ThemeBitmap: TImage\n"
      "      Left = 0\n"
      "      Top = 0\n"
      "      Width = 136\n"
      "      Height = %d\n"
      "      Align = alClient\n"
      "      Center = True\n"
      "    end\n"
      "  end\n"
      "  object ContentPanel: TPanel\n"
      "    Left = 136\n"
      "    Top = 0\n"
      "    Width = %d\n"
      "    Height = %d\n"
      "    Align = alClient\n"
      "    BevelOuter = bvNone\n"
      "    BorderWidth = %d\n"
      "%s"
      "  end\n"
      "end\n",
      l.name, l.class_name, l.caption, l.client_width, kDialogFormFont, l.stays_on_top ? "fsStayOnTop" : "fsNormal",
      content_height, l.client_width, l.client_width, l.buttons, content_height, content_height,
      l.client_width - 136, content_height, l.content_border, l.content);
}

TStandardInstallForm::TStandardInstallForm(TComponent* owner) : TBaseInstallForm(owner) {
  PublishMethod("FormCreate", std::function<void(TObject*)>([this](TObject* s) { FormCreate(s); }));
  PublishMethod("BackBtnClick", std::function<void(TObject*)>([this](TObject*) { PreviousPage(); }));
  // The Finish buttons share Next's handler.
  PublishMethod("ProceedBtnClick", std::function<void(TObject*)>([this](TObject*) { NextPage(); }));
  PublishMethod("CancelBtnClick", std::function<void(TObject*)>([this](TObject*) { UserCancel(); }));
}

void TStandardInstallForm::Build(const StandardPageLayout& layout, TManagerType type, int order) {
  SetPageDefaults(type, order);
  LoadFormDescription(*this, StandardPageText(layout), std::string(layout.class_name) + ".dfm");
}

void TStandardInstallForm::FormCreate(TObject*) {
  if (TImage* image = ThemeImage(); image && !image->HasPicture()) AssignThemeBitmap(image->Picture());
}

void TStandardInstallForm::TakeDialogSettings(const TCustomBaseInstallDlg& dialog) {
  if (TTranslateBitBtn* back = BackBtn()) back->Hide();
  if (TTranslateBitBtn* proceed = ProceedBtn()) proceed->SetModalResult(mrOk);
  if (TTranslateBitBtn* finish = FinishBtn()) finish->SetModalResult(mrOk);
  if (TImage* image = ThemeImage()) dialog.AssignThemeBitmap(image->Picture());
}

void TStandardInstallForm::ShowBackUnlessFirst() {
  if (TTranslateBitBtn* back = BackBtn()) back->SetVisible(!IsFirstPage());
}

void TStandardInstallForm::ShowNavigationButtons() {
  ShowBackUnlessFirst();
  TTranslateBitBtn* proceed = ProceedBtn();
  TTranslateBitBtn* finish = FinishBtn();
  if (proceed) proceed->SetVisible(!IsLastPage());
  if (finish) finish->SetVisible(!proceed || !proceed->Visible());
}

void TStandardInstallForm::PrepareReportPage(bool focus_finish) {
  ShowNavigationButtons();
  FocusIfShown(ProceedBtn());
  if (focus_finish) FocusIfShown(FinishBtn());
}

void TStandardInstallForm::FocusIfShown(TWinControl* button) {
  if (!button || !button->Visible() || !Visible()) return;
  TCustomForm* form = GetParentForm(*button);
  if (form && button->CanFocus()) form->SetActiveControl(button);
}

void TResultPageForm::PrepareForm() {
  TStandardInstallForm::PrepareForm();
  PrepareReportPage(true);
}

WENMOOR_REGISTER_CLASS(TStandardInstallForm) {}
WENMOOR_REGISTER_CLASS(TResultPageForm) {}

}  // namespace wenmoor
