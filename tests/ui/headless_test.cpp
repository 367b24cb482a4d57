// The headless operator: default answers, answers from a file, message
// boxes, input boxes and folder browsers, the transcript, and giving up.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/rtl/format.h"
#include "platform/ui/buttons.h"
#include "platform/ui/choices.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edits.h"
#include "platform/ui/labels.h"
#include "ui_fixture.h"

namespace wenmoor {
namespace {

// A two-page wizard as the dialog framework builds one: page forms stacked
// in the wizard window, the current one in front, its caption on the
// window.
class Wizard {
 public:
  Wizard() : window_(CreateUnowned<TForm>()) {
    window_->SetName("Wizard");
    window_->SetBorderStyle(bsDialog);
    window_->SetClientWidth(470);
    window_->SetClientHeight(368);
    one_ = AddPage("PageOne", "Page one");
    two_ = AddPage("PageTwo", "Page two");

    intro_ = Add<TLabel>(one_, "Intro");
    intro_->SetCaption("Welcome to the &setup.");
    name_ = Add<TEdit>(one_, "NameEdit");
    name_->SetText("Quarry");
    agree_ = Add<TCheckBox>(one_, "AgreeCB");
    agree_->SetCaption("I agree");
    next1_ = AddButton(one_, "NextBtn", "Next >", true);
    next1_->OnClick.Assign([this](TObject*) { ShowPage(two_); });
    AddButton(one_, "CancelBtn", "Cancel", false)->OnClick.Assign([this](TObject*) {
      window_->SetModalResult(mrAbort);
    });

    choice_ = Add<TRadioGroup>(two_, "RG");
    choice_->Items()->SetText("Yes, reboot\nNo, do not reboot");
    choice_->SetItemIndex(0);
    notes_ = Add<TMemo>(two_, "Notes");
    notes_->Lines()->SetText("line one\nline two");
    AddButton(two_, "BackBtn", "< Previous", false)->OnClick.Assign([this](TObject*) { ShowPage(one_); });
    finish_ = AddButton(two_, "FinishBtn", "&Finish", true);
    finish_->OnClick.Assign([this](TObject*) { window_->SetModalResult(mrOk); });

    ShowPage(one_);
  }

  TForm* window() { return window_.get(); }

  TForm* one_;
  TForm* two_;
  TLabel* intro_;
  TEdit* name_;
  TCheckBox* agree_;
  TButton* next1_;
  TRadioGroup* choice_;
  TMemo* notes_;
  TButton* finish_;

 private:
  TForm* AddPage(const std::string& name, const std::string& caption) {
    auto* page = Create<TForm>(window_.get());
    page->SetName(name);
    page->SetCaption(caption);
    page->SetBorderStyle(bsNone);
    page->SetParent(window_.get());
    page->SetBounds(0, 0, 470, 368);
    page->Show();
    return page;
  }
  template <class T>
  T* Add(TForm* page, const std::string& name) {
    auto* c = Create<T>(page);
    c->SetName(name);
    c->SetParent(page);
    return c;
  }
  TButton* AddButton(TForm* page, const std::string& name, const std::string& caption, bool is_default) {
    auto* b = Add<TButton>(page, name);
    b->SetCaption(caption);
    b->SetDefault(is_default);
    return b;
  }
  void ShowPage(TForm* page) {
    page->BringToFront();
    window_->SetCaption(page->Caption());
  }

  ComponentPtr<TForm> window_;
};

class HeadlessTest : public UiFixture {};

TEST_F(HeadlessTest, DefaultAnswersPressTheDefaultButtonOfEachPage) {
  Wizard w;
  EXPECT_EQ(w.window()->ShowModal(), mrOk);
  const std::string t = TranscriptText();
  EXPECT_TRUE(TranscriptHas("=== form \"Page one\" (Wizard: TForm, page PageOne: TForm)")) << t;
  EXPECT_TRUE(TranscriptHas("-> press NextBtn [Next >] (default button)")) << t;
  EXPECT_TRUE(TranscriptHas("=== form \"Page two\" (Wizard: TForm, page PageTwo: TForm)")) << t;
  EXPECT_TRUE(TranscriptHas("-> press FinishBtn [Finish] (default button)")) << t;
  EXPECT_EQ(w.name_->Text(), "Quarry");
}

TEST_F(HeadlessTest, TheTranscriptShowsWhatThePageInFrontShows) {
  Wizard w;
  w.agree_->SetChecked(true);
  w.agree_->SetEnabled(false);
  w.next1_->OnClick.Assign([&](TObject*) { w.window()->SetModalResult(mrOk); });
  w.window()->ShowModal();
  const std::string t = TranscriptText();
  EXPECT_TRUE(TranscriptHas("  label Intro: \"Welcome to the setup.\"")) << t;
  EXPECT_TRUE(TranscriptHas("  edit NameEdit: \"Quarry\"")) << t;
  EXPECT_TRUE(TranscriptHas("  check AgreeCB: [x] I agree (disabled)")) << t;
  EXPECT_TRUE(TranscriptHas("  button NextBtn: [Next >] (default)")) << t;
  EXPECT_EQ(t.find("RG"), std::string::npos) << "the page behind is covered\n" << t;

  transcript_.str("");
  w.two_->BringToFront();
  w.window()->SetCaption("Page two");
  w.window()->ShowModal();
  EXPECT_TRUE(TranscriptHas("  radio RG: \"\"")) << TranscriptText();
  EXPECT_TRUE(TranscriptHas("    (*) 0: Yes, reboot")) << TranscriptText();
  EXPECT_TRUE(TranscriptHas("    ( ) 1: No, do not reboot")) << TranscriptText();
  EXPECT_TRUE(TranscriptHas("  memo Notes:")) << TranscriptText();
  EXPECT_TRUE(TranscriptHas("    | line two")) << TranscriptText();
}

TEST_F(HeadlessTest, AnAnswerFileSetsControlsAndPressesAButton) {
  UseAnswers(R"(# two pages
[form "Page one"]
set NameEdit = D:\Tools\Quarry
check AgreeCB = true
press "Next*"

[form "PageTwo"]
select RG = "No*"
set Notes = "a\nb"
press FinishBtn
)");
  Wizard w;
  int clicks = 0;
  w.choice_->OnClick.Assign([&](TObject*) { ++clicks; });
  EXPECT_EQ(w.window()->ShowModal(), mrOk);
  EXPECT_EQ(w.name_->Text(), "D:\\Tools\\Quarry");
  EXPECT_TRUE(w.agree_->Checked());
  EXPECT_EQ(w.choice_->ItemIndex(), 1);
  EXPECT_EQ(clicks, 1) << "a choice made by the operator is a click";
  EXPECT_EQ(w.notes_->Lines()->Lines(), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(TranscriptHas("-> set NameEdit = \"D:\\\\Tools\\\\Quarry\" (answers.txt:3)")) << TranscriptText();
  EXPECT_TRUE(TranscriptHas("-> press NextBtn [Next >] (answers.txt:5)")) << TranscriptText();
  EXPECT_TRUE(TranscriptHas("-> select RG = 1 (No, do not reboot) (answers.txt:8)")) << TranscriptText();
}

TEST_F(HeadlessTest, ASectionAnswersOneShowingUnlessItSaysEvery) {
  UseAnswers(R"([form "Page two"]
press BackBtn
[form "Page one"]
set NameEdit = first
[form "Page one"]
set NameEdit = second
)");
  Wizard w;
  EXPECT_EQ(w.window()->ShowModal(), mrOk);
  EXPECT_EQ(w.name_->Text(), "second") << "page one came twice; each section answered once";

  UseAnswers(R"([form "Page two"]
press BackBtn
[form "Page one" every]
set NameEdit = again
[form "Page two" every]
press FinishBtn
)");
  Wizard again;
  again.name_->OnChange.Assign([&](TObject*) { again.intro_->SetCaption(again.intro_->Caption() + "!"); });
  EXPECT_EQ(again.window()->ShowModal(), mrOk);
  EXPECT_EQ(again.intro_->Caption(), "Welcome to the &setup.!") << "the text changed once, later sets changed nothing";
}

TEST_F(HeadlessTest, AnswersThatDoNotFitTheFormAreErrorsWithTheirLine) {
  struct Row {
    const char* answers;
    int line;
    const char* reason_part;
  };
  const Row rows[] = {
      {"[form \"*\"]\nset Missing = x\n", 2, "shows no control named Missing"},
      {"[form \"*\"]\n\nset AgreeCB = x\n", 3, "not an edit"},
      {"[form \"*\"]\ncheck NameEdit = true\n", 2, "not a check box"},
      {"[form \"*\"]\nselect RG = 1\n", 2, "shows no control named RG"},  // RG is on the covered page
      {"[form \"*\"]\npress \"Install\"\n", 2, "no usable button captioned"},
      {"[form \"Page one\"]\npress NextBtn\n[form \"Page two\"]\nselect RG = 5\n", 4, "there is no item 5"},
      {"[form \"Page one\"]\npress NextBtn\n[form \"Page two\"]\nselect RG = \"Maybe*\"\n", 4, "no item that matches"},
  };
  for (const Row& r : rows) {
    UseAnswers(r.answers);
    Wizard w;
    try {
      w.window()->ShowModal();
      ADD_FAILURE() << "no error for:\n" << r.answers;
    } catch (const EAnswerFileError& e) {
      EXPECT_EQ(e.Line(), r.line) << r.answers;
      EXPECT_NE(e.Reason().find(r.reason_part), std::string::npos) << e.what();
    }
    EXPECT_FALSE(w.window()->Visible());
  }
}

TEST_F(HeadlessTest, AReadOnlyOrDisabledEditCannotBeTypedInto) {
  for (bool read_only : {true, false}) {
    UseAnswers("[form \"*\"]\nset NameEdit = x\n");
    Wizard w;
    if (read_only) w.name_->SetReadOnly(true);
    else w.name_->SetEnabled(false);
    EXPECT_THROW(w.window()->ShowModal(), EAnswerFileError);
    EXPECT_EQ(w.name_->Text(), "Quarry");
  }
}

TEST_F(HeadlessTest, AnEditTakesNoMoreThanItsMaxLength) {
  UseAnswers("[form \"*\"]\nset NameEdit = abcdefgh\n");
  Wizard w;
  w.name_->SetMaxLength(3);
  w.window()->ShowModal();
  EXPECT_EQ(w.name_->Text(), "abc");
}

TEST_F(HeadlessTest, AFormThatDoesNotMoveStopsTheOperatorWithANamedError) {
  Wizard w;
  w.next1_->OnClick.Assign([](TObject*) { MessageDlg("Nothing selected.", mtWarning, {mbOK}); });
  try {
    w.window()->ShowModal();
    FAIL() << "the operator went on";
  } catch (const EUiBackendError& e) {
    EXPECT_NE(std::string(e.what()).find("stuck on the form \"Page one\""), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("Next >"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(TranscriptHas("=== message \"Warning\" (warning)")) << TranscriptText();
  EXPECT_TRUE(TranscriptHas("  \"Nothing selected.\"")) << TranscriptText();
  EXPECT_TRUE(TranscriptHas("-> press OK (default button)")) << TranscriptText();
}

TEST_F(HeadlessTest, AFormWithoutAButtonToPressIsAnError) {
  Wizard w;
  w.next1_->SetEnabled(false);
  EXPECT_THROW(w.window()->ShowModal(), EUiBackendError) << "Cancel is never the operator's choice";
}

TEST_F(HeadlessTest, MessageBoxesTakeTheirDefaultOrTheFilesAnswer) {
  EXPECT_EQ(MessageDlg("Overwrite?", mtConfirmation, {mbYes, mbNo}), mrYes);
  EXPECT_EQ(TApplication::Instance().MessageBox("Retry?", "Disk", MB_RETRYCANCEL | MB_DEFBUTTON2), IDCANCEL);
  EXPECT_TRUE(TranscriptHas("  buttons: [Retry] [Cancel]*")) << TranscriptText();

  UseAnswers(R"([message "Overwrite*" every]
press No
[message "*Disk 2*"]
press "Cancel"
[message "Confirm"]
press default
)");
  EXPECT_EQ(MessageDlg("Overwrite C:\\a.txt?", mtConfirmation, {mbYes, mbNo}), mrNo);
  EXPECT_EQ(MessageDlg("Overwrite C:\\b.txt?", mtConfirmation, {mbYes, mbNo}), mrNo) << "every";
  EXPECT_EQ(TApplication::Instance().MessageBox("Insert Disk 2", "Setup", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(TApplication::Instance().MessageBox("Insert Disk 2", "Setup", MB_OKCANCEL), IDOK) << "used up";
  EXPECT_EQ(MessageDlg("Abort?", mtConfirmation, {mbYes, mbNo}, 0, mbNo), mrNo) << "matched by caption, default";
  EXPECT_TRUE(TranscriptHas("-> press No (answers.txt:2)")) << TranscriptText();

  UseAnswers("[message \"*\"]\npress Retry\n");
  try {
    MessageDlg("Continue?", mtConfirmation, {mbYes, mbNo});
    FAIL();
  } catch (const EAnswerFileError& e) {
    EXPECT_EQ(e.Line(), 2);
    EXPECT_NE(e.Reason().find("it has [Yes] [No]"), std::string::npos) << e.what();
  }
}

TEST_F(HeadlessTest, MessageBoxesAreMatchedByTheirIdentity) {
  UseAnswers("[message \"reboot-now\"]\npress No\n");
  MessageBoxRequest r = MessageDlgRequest("Restart Windows now?", mtConfirmation, {mbYes, mbNo});
  r.id = "reboot-now";
  EXPECT_EQ(ShowMessageBox(r), mrNo);
}

TEST_F(HeadlessTest, InputBoxesAndFolderBrowsersTakeTheOfferedValueOrTheFilesAnswer) {
  EXPECT_EQ(InputBox("Create folder", "Name of the new folder:", "New Folder"), "New Folder");
  EXPECT_EQ(BrowseForFolder("Browse", "C:\\Program Files"), std::optional<std::string>("C:\\Program Files"));
  EXPECT_EQ(BrowseForFolder("Browse", ""), std::nullopt) << "nothing to choose";

  UseAnswers(R"([input "Create folder"]
set text = Tools
[input "*"]
press Cancel
[folder "Browse"]
set path = D:\Disk2
[folder "*"]
press Cancel
)");
  std::string value = "x";
  EXPECT_TRUE(InputQuery("Create folder", "Name:", value));
  EXPECT_EQ(value, "Tools");
  EXPECT_FALSE(InputQuery("Other", "Name:", value));
  EXPECT_EQ(value, "Tools") << "a cancelled query leaves the value";
  EXPECT_EQ(BrowseForFolder("Browse", "C:\\"), std::optional<std::string>("D:\\Disk2"));
  EXPECT_EQ(BrowseForFolder("Browse", "C:\\"), std::nullopt);
  EXPECT_TRUE(TranscriptHas("=== folder \"Browse\"")) << TranscriptText();
  EXPECT_TRUE(TranscriptHas("-> press OK with \"D:\\\\Disk2\" (answers.txt:5)")) << TranscriptText();
}

TEST_F(HeadlessTest, UnusedSectionsAreNotedWhenTheRunEnds) {
  UseAnswers("[form \"Never shown\"]\npress OkBtn\n[message \"*\" every]\npress OK\n");
  UseAnswers("");
  EXPECT_TRUE(TranscriptHas("answer file answers.txt:1: the form section \"Never shown\" was never used"))
      << TranscriptText();
  EXPECT_EQ(TranscriptText().find("section \"*\""), std::string::npos) << "every-sections need not be used";
}

TEST_F(HeadlessTest, ErrorsOfHandlersReachTheApplicationWithoutStoppingTheOperator) {
  Wizard w;
  int clicks = 0;
  w.next1_->OnClick.Assign([&](TObject*) {
    if (++clicks == 1) throw EConvertError("'x' is not a valid integer value");
    w.window()->SetModalResult(mrOk);
  });
  EXPECT_EQ(w.window()->ShowModal(), mrOk);
  EXPECT_EQ(handled_, (std::vector<std::string>{"'x' is not a valid integer value"}));
}

TEST(BackendChoiceTest, TheEnvironmentChoosesWithAFallbackToHeadless) {
  struct Row {
    std::map<std::string, std::string> env;
    const char* notice_part;  // "" when no notice is expected
  };
  const Row rows[] = {
      {{}, ""},
      {{{"WENMOOR_UI", "headless"}}, ""},
      {{{"WENMOOR_UI", " HEADLESS "}}, ""},
      {{{"DISPLAY", ":0"}}, ""},  // no Qt in this program: headless without a word
      {{{"WENMOOR_UI", "qt"}, {"DISPLAY", ":0"}}, "WENMOOR_UI=qt names no user interface"},
      {{{"WENMOOR_UI", "curses"}}, "WENMOOR_UI=curses names no user interface"},
  };
  for (const Row& r : rows) {
    EnvLookup env = [&](const char* name) -> std::optional<std::string> {
      auto it = r.env.find(name);
      if (it == r.env.end()) return std::nullopt;
      return it->second;
    };
    std::vector<std::string> notices;
    auto backend = ChooseBackend(env, [&](const std::string& line) { notices.push_back(line); });
    ASSERT_NE(backend, nullptr);
    EXPECT_EQ(backend->Name(), "headless");
    if (*r.notice_part) {
      ASSERT_EQ(notices.size(), 1u);
      EXPECT_NE(notices[0].find(r.notice_part), std::string::npos) << notices[0];
    } else {
      EXPECT_TRUE(notices.empty()) << notices[0];
    }
  }
}

TEST(BackendChoiceTest, ABackendThatCannotStartFallsBackWithANotice) {
  RegisterBackend("broken-for-test", [](const EnvLookup&) -> std::unique_ptr<UiBackend> {
    throw EBackendUnavailable("no display");
  });
  std::vector<std::string> notices;
  auto backend = ChooseBackend([](const char* name) -> std::optional<std::string> {
    if (std::string(name) == "WENMOOR_UI") return "broken-for-test";
    return std::nullopt;
  }, [&](const std::string& line) { notices.push_back(line); });
  EXPECT_EQ(backend->Name(), "headless");
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find("no display"), std::string::npos) << notices[0];
}

TEST(BackendChoiceTest, ABadAnswerFileIsAnErrorNotAFallback) {
  const std::string path = ::testing::TempDir() + "/bad_answers.txt";
  {
    std::ofstream(path) << "[form \"x\"]\nwiggle Button1\n";
  }
  EnvLookup env = [&](const char* name) -> std::optional<std::string> {
    if (std::string(name) == "WENMOOR_ANSWERS") return path;
    return std::nullopt;
  };
  try {
    ChooseBackend(env);
    FAIL();
  } catch (const EAnswerFileError& e) {
    EXPECT_EQ(e.Line(), 2);
    EXPECT_EQ(e.File(), path);
  }
  EXPECT_TRUE(DisplayAvailable([](const char* n) -> std::optional<std::string> {
    return std::string(n) == "QT_QPA_PLATFORM" ? std::optional<std::string>("offscreen") : std::nullopt;
  }));
  EXPECT_FALSE(DisplayAvailable([](const char* n) -> std::optional<std::string> {
    return std::string(n) == "DISPLAY" ? std::optional<std::string>("") : std::nullopt;
  }));
}

TEST(BackendChoiceTest, TheTranscriptGoesToTheNamedFileAppended) {
  const std::string path = ::testing::TempDir() + "/transcript.txt";
  std::remove(path.c_str());
  EnvLookup env = [&](const char* name) -> std::optional<std::string> {
    if (std::string(name) == "WENMOOR_TRANSCRIPT") return path;
    return std::nullopt;
  };
  for (int i = 0; i < 2; ++i) {
    auto backend = HeadlessBackend::FromEnvironment(env);
    backend->ShowMessageBox(MessageDlgRequest(Format("Run %d", i), mtInformation, {mbOK}));
  }
  std::ifstream in(path);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_NE(content.str().find("\"Run 0\""), std::string::npos) << content.str();
  EXPECT_NE(content.str().find("\"Run 1\""), std::string::npos) << content.str();
}

}  // namespace
}  // namespace wenmoor
