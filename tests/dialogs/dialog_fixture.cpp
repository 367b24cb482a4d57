#include "dialog_fixture.h"

namespace wenmoor::testing {

namespace {

constexpr const char* kTestPage = R"(object TestPage: TTestPageForm
  BorderStyle = bsDialog
  Caption = 'Test page'
  ClientHeight = 368
  ClientWidth = 470
  object BackBtn: TButton
    Left = 208
    Top = 330
    Width = 75
    Height = 33
    Caption = '< Previous'
    OnClick = BackBtnClick
  end
  object NextBtn: TButton
    Left = 288
    Top = 330
    Width = 75
    Height = 33
    Caption = 'Next >'
    Default = True
    OnClick = NextBtnClick
  end
  object CancelBtn: TButton
    Left = 368
    Top = 330
    Width = 89
    Height = 33
    Cancel = True
    Caption = 'Cancel'
    OnClick = CancelBtnClick
  end
end
)";

}  // namespace

DialogFixture::DialogFixture() : dir_(MakeTempDir()), machine_(dir_ / "prefix"), form_(CreateUnowned<TForm>()) {
  form_->SetName("MainForm");
  TApplication::Instance().SetParams({});
  install_ = Create<TInstall>(form_.get());
  install_->SetName("Install1");
  PageLog().clear();
}

DialogFixture::~DialogFixture() {
  TApplication::Instance().ReleaseForms();
  form_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

TDialogManager* DialogFixture::AddManager(TManagerType type, const std::string& name) {
  auto* manager = Create<TDialogManager>(form_.get());
  manager->SetName(name);
  manager->SetManagerType(type);
  manager->SetContainer(install_);
  return manager;
}

void DialogFixture::AnswerAbortQuestion(bool quit) {
  install_->OnUserAbort.Assign([this, quit](TCustomInstall*, bool& quit_out) {
    ++abort_questions_;
    quit_out = quit;
  });
}

std::vector<std::string>& PageLog() {
  static std::vector<std::string> log;
  return log;
}

TTestPageForm::TTestPageForm(TComponent* owner) : TBaseInstallForm(owner) {
  PublishMethod("BackBtnClick", std::function<void(TObject*)>([this](TObject*) { PreviousPage(); }));
  PublishMethod("NextBtnClick", std::function<void(TObject*)>([this](TObject*) { NextPage(); }));
  PublishMethod("CancelBtnClick", std::function<void(TObject*)>([this](TObject*) { UserCancel(); }));
  LoadFormDescription(*this, kTestPage, "TestPage.dfm");
}

bool TTestPageForm::SkipPage() {
  auto* dialog = dynamic_cast<TTestPageDlg*>(DC());
  return dialog && dialog->skip;
}

void TTestPageForm::PrepareForm() {
  PageLog().push_back(Caption());
  if (auto* dialog = dynamic_cast<TTestPageDlg*>(DC())) {
    dialog->was_first = IsFirstPage();
    dialog->was_last = IsLastPage();
    if (auto* window = dynamic_cast<TCustomForm*>(Owner())) dialog->window_at = TPoint{window->Left(), window->Top()};
  }
}

TTestPageDlg::TTestPageDlg(TComponent* owner) : TBaseInstallDlg(owner) { RegisterFormClass(BIFList()); }

const TClassInfo& TTestPageDlg::FormClass() const { return TTestPageForm::StaticClass(); }

void TTestPageDlg::AssignDialogProperties() {
  TBaseInstallDlg::AssignDialogProperties();
  Form()->SetCaption(Name());
}

WENMOOR_REGISTER_CLASS(TTestPageForm) {}
WENMOOR_REGISTER_CLASS(TTestPageDlg) {}

}  // namespace wenmoor::testing
