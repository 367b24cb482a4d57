// The standard dialogs as the user meets them: their texts, their buttons
// and what the answers do.
#include <gtest/gtest.h>

#include "archive/cmp_TWnmrCompress.h"
#include "dialog_fixture.h"
#include "dialogs/dlgcmp_TBadInstallationDlg.h"
#include "dialogs/dlgcmp_TChangeDiskDlg.h"
#include "dialogs/dlgcmp_TCopyFileDlg.h"
#include "dialogs/dlgcmp_TInstallStatusDlg.h"
#include "dialogs/dlgcmp_TLicenseDlg.h"
#include "dialogs/dlgcmp_TReadmeDlg.h"
#include "dialogs/dlgcmp_TRebootDlg.h"
#include "dialogs/ordlg_ChangeDisk.h"
#include "dialogs/ordlg_CopyFile.h"
#include "dialogs/ordlg_InstallStatus.h"
#include "dialogs/ordlg_StandardPage.h"
#include "net/cmp_TNetInstallLocation.h"
#include "platform/rtl/list.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/event_parameters.h"
#include "script/shared_archive.h"

namespace wenmoor::testing {
namespace {

using Log = std::vector<std::string>;

class StandardDialogsTest : public DialogFixture {
 protected:
  template <class D>
  D* AddDialog(const std::string& name) {
    auto* dialog = Create<D>(form());
    dialog->SetName(name);
    dialog->SetContainer(install());
    return dialog;
  }
  void Broadcast(int code, TObject* po = nullptr) { install()->NotifyHelpers(install(), code, po); }
  // The message of what Broadcast raised; "" for nothing.
  std::string BroadcastError(int code, TObject* po = nullptr) {
    try {
      Broadcast(code, po);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }
};

// ---------------------------------------------------------------------------
// Licence and read-me

TEST_F(StandardDialogsTest, LicenceThenReadMeInTheBeforeInstallWizard) {
  AddManager(dmBeforeInstall, "BeforeInstall");
  auto* licence = AddDialog<TLicenseDlg>("LicenseDlg");
  licence->LicenseAgreement()->SetText("You may use it.\nYou may not sell it.");
  auto* readme = AddDialog<TReadmeDlg>("ReadmeDlg1");
  readme->ReadmeText()->SetText("Read me first.");
  EXPECT_EQ(licence->Order(), 20);
  EXPECT_EQ(readme->Order(), 30);

  Broadcast(kNotifyBeforeInstallDialogs);

  const std::string t = TranscriptText();
  const size_t licence_at =
      t.find("=== form \"Software license agreement\" (BaseFormContainer: TBaseFormContainer, page LicenseForm: "
             "TLicenseForm)");
  const size_t readme_at = t.find("=== form \"Installation successful\"");
  ASSERT_NE(licence_at, std::string::npos) << t;
  ASSERT_NE(readme_at, std::string::npos) << t;
  const std::string licence_page = t.substr(licence_at, readme_at - licence_at);
  const std::string readme_page = t.substr(readme_at);
  for (const char* line : {"  label Label1: \"Please read the following License Agreement.\"",
                           "    | You may use it.", "    | You may not sell it.",
                           "  button ProceedBtn: [Accept >] (focused)", "  button CancelBtn: [Cancel] (cancel)"})
    EXPECT_NE(licence_page.find(line), std::string::npos) << line << "\n" << licence_page;
  EXPECT_EQ(licence_page.find("BackBtn"), std::string::npos) << "the first page has no Back button";
  EXPECT_EQ(licence_page.find("| Agreement"), std::string::npos) << "the form's own text is replaced";
  EXPECT_NE(readme_page.find("  button BackBtn: [< Previous]"), std::string::npos) << "the second page has one";
  EXPECT_NE(readme_page.find("    | Read me first."), std::string::npos) << readme_page;
  EXPECT_NE(readme_page.find("-> press ProceedBtn [Next >]"), std::string::npos) << readme_page;
}

TEST_F(StandardDialogsTest, AnEmptyAgreementShowsAnEmptyBox) {
  AddManager(dmBeforeInstall, "BeforeInstall");
  AddDialog<TLicenseDlg>("LicenseDlg");
  Broadcast(kNotifyBeforeInstallDialogs);
  const std::string t = TranscriptText();
  EXPECT_NE(t.find("  memo Agreement: (read-only)\n->"), std::string::npos) << "no line in the box\n" << t;
}

TEST_F(StandardDialogsTest, AnUnmanagedPageShowsItselfAndCancelAsksFirst) {
  struct Case {
    const char* answers;
    bool quit;  // the engine's answer to "abort?"
    bool aborted;
  };
  const Case cases[] = {
      {"", true, false},  // Accept > closes the page with OK
      {"[form \"*\"]\npress CancelBtn\n", true, true},
      {"[form \"*\"]\npress CancelBtn\n[form \"*\"]\npress ProceedBtn\n", false, false},
  };
  auto* licence = AddDialog<TLicenseDlg>("LicenseDlg");
  ASSERT_EQ(licence->DialogManager(), nullptr);
  Log calls;
  licence->OnBeforeExecute.Assign([&](TObject*) { calls.push_back("before"); });
  licence->OnAfterExecute.Assign([&](TObject*) { calls.push_back("after"); });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers);
    UseAnswers(c.answers);
    AnswerAbortQuestion(c.quit);
    calls.clear();
    const std::string error = BroadcastError(kNotifyLicence);
    EXPECT_EQ(error, c.aborted ? "Installation aborted by the user" : "");
    EXPECT_EQ(calls, c.aborted ? Log{"before"} : (Log{"before", "after"}));
    EXPECT_EQ(licence->Form(), nullptr) << "the page on its own is freed afterwards";
  }
  EXPECT_NE(TranscriptText().find("=== form \"Software license agreement\" (LicenseForm: TLicenseForm)"),
            std::string::npos);
}

TEST_F(StandardDialogsTest, APageOnItsOwnClosedOtherwiseThanWithOKIsAnAbort) {
  auto* bad = AddDialog<TBadInstallationDlg>("BadInstallationDlg");
  // The close box: a modal Close answers Cancel.
  class TClosingBackend : public HeadlessBackend {
   public:
    using HeadlessBackend::HeadlessBackend;
    void RunModal(TCustomForm& form) override {
      form.Close();
      ASSERT_TRUE(form.ModalDone());
    }
  };
  TApplication::Instance().SetBackend(
      std::make_unique<TClosingBackend>(std::nullopt, std::make_unique<Transcript>(transcript_)));
  EXPECT_THROW(bad->ShowDialog(), EAIUserAbort);
  UseAnswers("");
}

TEST_F(StandardDialogsTest, APageShowsItsDialogsThemePictureElseTheInstallations) {
  // A 2 × 1 picture, 24 bits per pixel.
  std::vector<uint8_t> bmp = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 1, 0,
                              0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                              0, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0};
  TPicture own;
  own.Bitmap().LoadFromBmp(bmp);
  // The window system's part: note the page's picture, then accept.
  class TLookingBackend : public HeadlessBackend {
   public:
    using HeadlessBackend::HeadlessBackend;
    void RunModal(TCustomForm& form) override {
      seen = dynamic_cast<TStandardInstallForm&>(form).ThemeImage()->Picture()->Width();
      form.SetModalResult(mrOk);
      ASSERT_TRUE(form.ModalDone());
    }
    int seen = -1;
  };
  auto backend = std::make_unique<TLookingBackend>(std::nullopt, std::make_unique<Transcript>(transcript_));
  TLookingBackend* looking = backend.get();
  TApplication::Instance().SetBackend(std::move(backend));
  auto* bad = AddDialog<TBadInstallationDlg>("BadInstallationDlg");
  EXPECT_TRUE(bad->ShowDialog());
  EXPECT_EQ(looking->seen, install()->DialogThemeBitmap()->Width()) << "the installation's picture";
  EXPECT_GT(looking->seen, 2);
  bad->SetThemeBitmap(own);
  EXPECT_TRUE(bad->ShowDialog());
  EXPECT_EQ(looking->seen, 2) << "the dialog's own picture";
  UseAnswers("");
}

// ---------------------------------------------------------------------------
// Reboot, success and failure

TEST_F(StandardDialogsTest, TheRebootPageOpensOnTheEnginesWishAndTheUserDecides) {
  struct Case {
    bool reboot;
    const char* answers;
    const char* opened_on;
    bool reboot_after;
  };
  const Case cases[] = {
      {true, "", "    (*) 0: Yes, I would like to reboot windows", true},
      {false, "", "    (*) 1: No, I would not like to reboot windows", false},
      {true, "[form \"Reboot windows\"]\nselect RG = \"No*\"\n", "    (*) 0: Yes", false},
      {false, "[form \"Reboot windows\"]\nselect RG = 0\n", "    (*) 1: No", true},
  };
  AddManager(dmReboot, "RebootManager");
  AddDialog<TRebootDlg>("RebootDlg");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers);
    UseAnswers(c.answers);
    transcript_.str("");
    install()->SetReboot(c.reboot);
    Broadcast(kNotifyRestartNeeded);
    const std::string t = TranscriptText();
    EXPECT_NE(t.find(c.opened_on), std::string::npos) << t;
    EXPECT_EQ(install()->Reboot(), c.reboot_after);
    EXPECT_NE(t.find("  button FinishBtn: [Finish]\n"), std::string::npos) << "the last page: Finish, not Next\n" << t;
    EXPECT_EQ(t.find("ProceedBtn"), std::string::npos) << t;
  }
}

TEST_F(StandardDialogsTest, FailurePageShowsFinishOnlyOnTheLastPage) {
  TDialogManager* manager = AddManager(dmAfterBadInstall, "AfterBad");
  AddDialog<TBadInstallationDlg>("BadInstallationDlg");
  Broadcast(kNotifyAfterBadInstallDialogs);
  std::string t = TranscriptText();
  EXPECT_NE(t.find("  label TopLabel: \"This software has not been properly installed and will not work correctly if "
                   "you try to use it.\""),
            std::string::npos)
      << t;
  EXPECT_NE(t.find("  button FinishBtn: [Finish] (focused)"), std::string::npos) << t;
  EXPECT_EQ(t.find("ProceedBtn"), std::string::npos) << t;

  // With a page after it, Next instead of Finish.
  auto* after = Create<TTestPageDlg>(form());
  after->SetName("After");
  after->SetDialogManager(manager);
  after->SetOrder(20);
  transcript_.str("");
  Broadcast(kNotifyAfterBadInstallDialogs);
  t = TranscriptText();
  const std::string bad_page = t.substr(0, t.find("page TestPage"));
  EXPECT_NE(bad_page.find("  button ProceedBtn: [Next >] (focused)"), std::string::npos) << t;
  EXPECT_EQ(bad_page.find("FinishBtn"), std::string::npos) << t;
}

TEST_F(StandardDialogsTest, TheFailureDialogWithoutManagerAnswersTheFailureNotice) {
  AddDialog<TBadInstallationDlg>("BadInstallationDlg");
  Broadcast(kNotifyAfterBadInstallDialogs);
  EXPECT_EQ(TranscriptText(), "") << "that event is for managers";
  Broadcast(kNotifyBadInstall);
  EXPECT_NE(TranscriptText().find("=== form \"Setup incomplete\" (BadInstallForm: TBadInstallForm)"),
            std::string::npos)
      << TranscriptText();
}

// ---------------------------------------------------------------------------
// The next disk

class ChangeDiskTest : public StandardDialogsTest {
 protected:
  ChangeDiskTest() {
    manager_ = AddManager(dmChangeDisk, "ChangeDiskManager");
    AddDialog<TChangeDiskDlg>("ChangeDiskDlg");
    file_ = Create<TInstallFile>(form());
    file_->SetName("File1");
    disk_.NewDisk = 3;
    disk_.Path = "C:\\Setup";
  }
  TDialogManager* manager_;
  TInstallFile* file_;
  TDiskParameter disk_;
  TList Request() { return TList{file_, &disk_}; }
};

TEST_F(ChangeDiskTest, AsksForTheDiskByNumberAndKeepsThePath) {
  TList request = Request();
  Broadcast(kNotifyNewDisk, &request);
  const std::string t = TranscriptText();
  EXPECT_NE(t.find("=== form \"Setup needs the next disk\" (ChangeDiskForm: TChangeDiskForm)"), std::string::npos) << t;
  EXPECT_NE(t.find("  label PromptDiskLabel: \"Please insert disk number 3\""), std::string::npos) << t;
  EXPECT_NE(t.find("  edit PathEdit: \"C:\\\\Setup\" (read-only)"), std::string::npos) << t;
  EXPECT_NE(t.find("-> press InstallBtn [Proceed]"), std::string::npos) << t;
  EXPECT_EQ(file_->Tag(), 1) << "the file learns that a dialog answered";
  EXPECT_EQ(disk_.Path, "C:\\Setup");
}

TEST_F(ChangeDiskTest, BrowsingChangesThePathUnlessCancelled) {
  struct Case {
    const char* folder_answer;
    const char* path_after;
    const char* edit_after;  // as the transcript quotes it
  };
  const Case cases[] = {
      {"set path = D:\\Disk3", "D:\\Disk3", "  edit PathEdit: \"D:\\\\Disk3\""},
      {"press Cancel", "C:\\Setup", "  edit PathEdit: \"C:\\\\Setup\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder_answer);
    disk_.Path = "C:\\Setup";
    UseAnswers(std::string("[form \"*\"]\npress BrowseBtn\n[folder \"*\"]\n") + c.folder_answer +
               "\n[form \"*\"]\npress InstallBtn\n");
    transcript_.str("");
    TList request = Request();
    Broadcast(kNotifyNewDisk, &request);
    EXPECT_EQ(disk_.Path, c.path_after);
    const std::string t = TranscriptText();
    EXPECT_NE(t.find(c.edit_after, t.rfind("=== form")), std::string::npos) << t;
  }
}

TEST_F(ChangeDiskTest, CancelAbortsOnlyWhenConfirmed) {
  UseAnswers("[form \"*\"]\npress CancelBtn\n[form \"*\"]\npress InstallBtn\n");
  AnswerAbortQuestion(false);
  TList request = Request();
  EXPECT_EQ(BroadcastError(kNotifyNewDisk, &request), "");
  UseAnswers("[form \"*\"]\npress CancelBtn\n");
  AnswerAbortQuestion(true);
  EXPECT_EQ(BroadcastError(kNotifyNewDisk, &request), "Installation aborted by the user");
  EXPECT_EQ(CurrentDialogManager(), nullptr);
}

TEST_F(ChangeDiskTest, AFormOfAnotherManagerIsNotShown) {
  // The form belongs to the first change-disk manager; a second one that
  // hears the request shows nothing, and the file falls back to its own
  // question.
  TDialogManager* second = Create<TDialogManager>(form());
  second->SetManagerType(dmChangeDisk);
  TList request = Request();
  second->ReceiveInformation(file_, kNotifyNewDisk, &request);
  EXPECT_EQ(TranscriptText(), "");
  EXPECT_EQ(file_->Tag(), 0);
}

TEST_F(ChangeDiskTest, ABadRequestIsRefused) {
  TDiskParameter other;
  TList empty;
  TList one{file_};
  TList wrong_first{&other, &disk_};
  TList wrong_second{file_, file_};
  struct Case {
    TObject* po;
    const char* message;
  };
  const Case cases[] = {
      {nullptr, "The ParameterObject is Nil in the TDialogManager. Cannot show the change disk form"},
      {&disk_, "TChangeDiskDlg--PO is not a TList object"},
      {&one, "TChangeDiskDlg--Not engouh parameters for status event"},
      {&empty, "TChangeDiskDlg--Not engouh parameters for status event"},
      {&wrong_first, "TChangeDiskDlg says bad first parameter"},
      {&wrong_second, "TChangeDiskDlg says bad second parameter"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BroadcastError(kNotifyNewDisk, c.po), c.message);
    EXPECT_EQ(CurrentDialogManager(), nullptr);
  }
  EXPECT_EQ(TranscriptText(), "") << "nothing was shown";
}

// ---------------------------------------------------------------------------
// Copy progress

class CopyProgressTest : public StandardDialogsTest {
 protected:
  CopyProgressTest() {
    manager_ = AddManager(dmDuringCopyFiles, "CopyManager");
    dialog_ = AddDialog<TCopyFileDlg>("CopyFileDlg");
  }
  ~CopyProgressTest() override {
    SharedArchive().SetAbort(false);
    SetDownloadAborted(false);
  }
  TCopyFileForm* Shown() const {
    return manager_->DuringCopyForms().empty() ? nullptr
                                               : dynamic_cast<TCopyFileForm*>(manager_->DuringCopyForms().front());
  }
  TDialogManager* manager_;
  TCopyFileDlg* dialog_;
};

TEST_F(CopyProgressTest, FileAndDownloadProgressReachTheForm) {
  TFileStatusParameter file;
  file.FileName = "quarry.dll";
  file.FilePercentDone = 40;
  file.TotalPercentDone = 75;
  Broadcast(kNotifyProgress, &file);
  TCopyFileForm* form = Shown();
  ASSERT_NE(form, nullptr) << "the first status opens the form";
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(form->FileProgress()->Position(), 40);
  EXPECT_EQ(form->TotalProgress()->Position(), 75);
  EXPECT_EQ(form->CopyingFile()->Caption(), "quarry.dll");
  EXPECT_FALSE(form->TransferBitmap()->Visible());
  EXPECT_EQ(form->BoundsRect(), (TRect{275, 574, 275 + 474, 574 + 146})) << "placed by the dialog's settings";
  EXPECT_NE(TranscriptText().find("=== show \"Copying installation files\" (CopyFileForm: TCopyFileForm)"),
            std::string::npos)
      << TranscriptText();

  TDownloadStatusParameter download;
  download.FileName = "files.1";
  download.PercentDone = 12;
  Broadcast(kNotifyDownloadProgress, &download);
  EXPECT_EQ(Shown(), form) << "further status reuses the form";
  EXPECT_TRUE(form->TransferBitmap()->Visible());
  EXPECT_EQ(form->FileProgress()->Position(), 12);
  EXPECT_EQ(form->TotalProgress()->Position(), 75);
  EXPECT_EQ(form->CopyingFile()->Caption(), "files.1");

  Broadcast(kNotifyOperationEnded);
  EXPECT_EQ(Shown(), nullptr);
  EXPECT_FALSE(form->Visible()) << "closed, but it stays with the application";
  Broadcast(kNotifyProgress, &file);
  ASSERT_NE(Shown(), nullptr);
  EXPECT_NE(Shown(), form) << "the next copy run opens a fresh form";
  EXPECT_EQ(Shown()->Name(), "CopyFileForm1");
}

TEST_F(CopyProgressTest, CancelStopsCopyingAndDownloadingWhenConfirmed) {
  TFileStatusParameter file;
  Broadcast(kNotifyProgress, &file);
  ASSERT_NE(Shown(), nullptr);
  AnswerAbortQuestion(false);
  Shown()->CancelBtn()->Click();
  EXPECT_FALSE(SharedArchive().Abort());
  EXPECT_FALSE(DownloadAborted());
  AnswerAbortQuestion(true);
  Shown()->CancelBtn()->Click();
  EXPECT_TRUE(SharedArchive().Abort());
  EXPECT_TRUE(DownloadAborted());
  EXPECT_TRUE(Shown()->Visible()) << "the form stays until the copying ends";
}

TEST_F(CopyProgressTest, AStatusWithoutTheRightParameterIsRefused) {
  TMessageParameter wrong;
  EXPECT_EQ(BroadcastError(kNotifyProgress), "CopyManager got a nil PO parameter");
  EXPECT_EQ(BroadcastError(kNotifyDownloadProgress), "CopyManager got a nil PO parameter");
  EXPECT_EQ(BroadcastError(kNotifyProgress, &wrong),
            "The PO object passed to CopyManager is not a TFileStatusParameter object");
  EXPECT_EQ(BroadcastError(kNotifyDownloadProgress, &wrong),
            "The PO object passed to CopyManager is not a TDownloadStatusParameter object");
}

// ---------------------------------------------------------------------------
// Status texts

TEST_F(StandardDialogsTest, StatusTextsNestAndTheWindowGoesWithTheLast) {
  auto* status = AddDialog<TInstallStatusDlg>("InstallStatusDlg");
  TMessageParameter a("Installing registry keys...");
  TMessageParameter b("Registering files...");
  const auto shown = [&]() -> std::string {
    auto* form = dynamic_cast<TInstallStatusForm*>(status->Form());
    if (!form || !form->Visible()) return "(hidden)";
    return form->Message()->Caption();
  };
  Broadcast(kNotifyStatusMessage, &a);
  EXPECT_EQ(shown(), "Installing registry keys...");
  Broadcast(kNotifyStatusMessage, &b);
  EXPECT_EQ(shown(), "Registering files...");
  Broadcast(kNotifyClearStatusMessage);
  EXPECT_EQ(shown(), "Installing registry keys...");
  Broadcast(kNotifyClearStatusMessage);
  EXPECT_EQ(shown(), "(hidden)");
  Broadcast(kNotifyClearStatusMessage);
  EXPECT_EQ(shown(), "(hidden)") << "an end without a text is harmless";
}

TEST_F(StandardDialogsTest, TheStatusWindowFitsItsTextAndStaysCentred) {
  auto* status = AddDialog<TInstallStatusDlg>("InstallStatusDlg");
  int previous_width = 0;
  for (const char* text : {"Short", "A much longer status text than the first one"}) {
    TMessageParameter m(text);
    Broadcast(kNotifyStatusMessage, &m);
    auto& form = dynamic_cast<TInstallStatusForm&>(*status->Form());
    const TLabel& label = *form.Message();
    const int text_width = TextExtent(*form.Font(), text).cx;
    EXPECT_EQ(label.Width(), text_width) << "the label takes the size of its text";
    EXPECT_EQ(form.Width(), text_width + form.OuterPanel()->Left() + form.MessagePanel()->Left() + label.Left() + 25);
    EXPECT_GT(form.Width(), previous_width);
    EXPECT_LE(std::abs(2 * form.Left() + form.Width() - 1024), 1) << "centred on the screen";
    EXPECT_LE(std::abs(2 * label.Top() + label.Height() - form.ClientHeight()), 1) << "centred in the window";
    previous_width = form.Width();
  }
}

TEST_F(StandardDialogsTest, AStatusWithoutItsTextIsRefused) {
  AddDialog<TInstallStatusDlg>("InstallStatusDlg");
  TDiskParameter wrong;
  EXPECT_EQ(BroadcastError(kNotifyStatusMessage), "InstallStatusDlg got a nil PO parameter");
  EXPECT_EQ(BroadcastError(kNotifyStatusMessage, &wrong),
            "The PO object passed to InstallStatusDlg is not a TMessageParameter object");
}

}  // namespace
}  // namespace wenmoor::testing
