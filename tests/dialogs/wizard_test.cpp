// The wizard of a dialog manager: which pages it shows, in which order,
// how Back, Next and Cancel move through them, and which broadcast starts
// which manager; the placement of its window.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>

#include "dialog_fixture.h"
#include "script/event_parameters.h"

namespace wenmoor::testing {
namespace {

using Log = std::vector<std::string>;

// A product's own page: no dialog component; it belongs to the manager of
// the after-good-install phase.
class TProductPage : public TTestPageForm {
  WENMOOR_CLASS(TProductPage, TTestPageForm)
 public:
  explicit TProductPage(TComponent* owner) : TTestPageForm(owner) { SetDM(FindDialogManager(dmAfterGoodInstall)); }
};
WENMOOR_REGISTER_CLASS(TProductPage) {}

class WizardTest : public DialogFixture {
 protected:
  TTestPageDlg* AddPage(TDialogManager* manager, const std::string& name, int order, bool skip = false) {
    auto* dialog = Create<TTestPageDlg>(form());
    dialog->SetName(name);
    dialog->SetContainer(install());
    dialog->SetDialogManager(manager);
    dialog->SetOrder(order);
    dialog->skip = skip;
    return dialog;
  }
  // One answer section per press, used in turn.
  void Press(const std::vector<std::string>& buttons) {
    std::ostringstream answers;
    for (const std::string& b : buttons) answers << "[form \"*\"]\npress " << b << "\n";
    UseAnswers(answers.str());
  }
  // Broadcasts the before-install event; the message of the exception
  // that came out, if any.
  std::optional<std::string> RunBeforeInstall() {
    try {
      install()->NotifyHelpers(install(), kNotifyBeforeInstallDialogs, nullptr);
    } catch (const EAIUserAbort& e) {
      return std::string(e.what());
    }
    return std::nullopt;
  }
  // Wizard windows still alive.
  int LiveContainers() {
    TComponent* owner = TApplication::Instance().FormOwner();
    int n = 0;
    for (int i = 0; i < owner->ComponentCount(); ++i)
      if (dynamic_cast<TBaseFormContainer*>(owner->Components(i))) ++n;
    return n;
  }
};

TEST_F(WizardTest, NavigationThroughPagesThatMayBeSkipped) {
  enum class Abort { NoHandler, AnswerNo, AnswerYes };
  struct Case {
    const char* what;
    std::vector<bool> skip;  // pages A, B, C
    Abort abort;
    std::vector<std::string> presses;
    Log shown;  // pages in the order they became current
    bool aborted;
  };
  const Case cases[] = {
      {"straight through", {false, false, false}, Abort::NoHandler, {"NextBtn", "NextBtn", "NextBtn"}, {"A", "B", "C"},
       false},
      {"back and forth",
       {false, false, false},
       Abort::NoHandler,
       {"NextBtn", "BackBtn", "NextBtn", "NextBtn", "NextBtn"},
       {"A", "B", "A", "B", "C"},
       false},
      {"Back on the first page stays there", {false, false, false}, Abort::NoHandler,
       {"BackBtn", "NextBtn", "NextBtn", "NextBtn"}, {"A", "B", "C"}, false},
      {"a skipped first page", {true, false, false}, Abort::NoHandler, {"BackBtn", "NextBtn", "NextBtn"},
       {"B", "B", "C"}, false},
      {"a skipped middle page", {false, true, false}, Abort::NoHandler,
       {"NextBtn", "BackBtn", "NextBtn", "NextBtn"}, {"A", "C", "A", "C"}, false},
      // Next on B finishes: only skipped pages follow it.
      {"a skipped last page", {false, false, true}, Abort::NoHandler, {"NextBtn", "NextBtn"}, {"A", "B", "B"}, false},
      {"Cancel refused by OnUserAbort", {false, false, false}, Abort::AnswerNo,
       {"CancelBtn", "NextBtn", "NextBtn", "NextBtn"}, {"A", "B", "C"}, false},
      {"Cancel confirmed by OnUserAbort", {false, false, false}, Abort::AnswerYes, {"NextBtn", "CancelBtn"},
       {"A", "B"}, true},
      {"Cancel without OnUserAbort", {false, false, false}, Abort::NoHandler, {"CancelBtn"}, {"A"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PageLog().clear();
    install()->OnUserAbort.Clear();
    if (c.abort != Abort::NoHandler) AnswerAbortQuestion(c.abort == Abort::AnswerYes);
    TDialogManager* manager = AddManager(dmBeforeInstall, "Wizard");
    TTestPageDlg* pages[] = {AddPage(manager, "A", 1, c.skip[0]), AddPage(manager, "B", 2, c.skip[1]),
                             AddPage(manager, "C", 3, c.skip[2])};
    Press(c.presses);

    const std::optional<std::string> aborted = RunBeforeInstall();

    EXPECT_EQ(PageLog(), c.shown);
    EXPECT_EQ(aborted.has_value(), c.aborted);
    EXPECT_EQ(aborted.value_or("Installation aborted by the user"), "Installation aborted by the user");
    EXPECT_EQ(CurrentDialogManager(), nullptr);
    EXPECT_EQ(LiveContainers(), 0) << "the wizard window goes when the wizard ends";
    for (TTestPageDlg* page : pages) {
      EXPECT_EQ(page->Form(), nullptr) << "a page's dialog forgets the page when it goes";
      page->Free();
    }
    manager->Free();
  }
}

TEST_F(WizardTest, FirstAndLastPageAsThePagesSeeThem) {
  TDialogManager* manager = AddManager(dmBeforeInstall, "Wizard");
  TTestPageDlg* a = AddPage(manager, "A", 1, true);
  TTestPageDlg* b = AddPage(manager, "B", 2);
  TTestPageDlg* c = AddPage(manager, "C", 3);
  TTestPageDlg* d = AddPage(manager, "D", 4, true);
  Press({"NextBtn", "NextBtn"});
  ASSERT_EQ(RunBeforeInstall(), std::nullopt);
  EXPECT_EQ(PageLog(), (Log{"B", "C", "C"}));
  EXPECT_TRUE(b->was_first) << "only skipped pages stand before B";
  EXPECT_FALSE(b->was_last);
  EXPECT_FALSE(c->was_first);
  EXPECT_FALSE(c->was_last) << "a skipped page after it still counts for IsLastPage";
  EXPECT_FALSE(a->was_first || d->was_last) << "skipped pages are never prepared";
}

TEST_F(WizardTest, PagesAreOrderedByAnExchangeSort) {
  // Orders (2, 2, 1) registered as A, B, C come out C, B, A.
  TDialogManager* manager = AddManager(dmBeforeInstall, "Wizard");
  AddPage(manager, "A", 2);
  AddPage(manager, "B", 2);
  AddPage(manager, "C", 1);
  Press({"NextBtn", "NextBtn", "NextBtn"});
  ASSERT_EQ(RunBeforeInstall(), std::nullopt);
  EXPECT_EQ(PageLog(), (Log{"C", "B", "A"}));
}

TEST_F(WizardTest, OnlyThePagesOfTheRunningManagerThatCanExecuteAreShown) {
  class TNeverPageDlg : public TTestPageDlg {
   public:
    using TTestPageDlg::TTestPageDlg;
    bool CanExecute() override { return false; }
  };
  TDialogManager* before = AddManager(dmBeforeInstall, "Before");
  TDialogManager* after = AddManager(dmAfterGoodInstall, "After");
  AddPage(before, "Mine", 1);
  AddPage(after, "Theirs", 1);
  auto* never = Create<TNeverPageDlg>(form());
  never->SetName("Never");
  never->SetDialogManager(before);
  Press({"NextBtn"});
  ASSERT_EQ(RunBeforeInstall(), std::nullopt);
  EXPECT_EQ(PageLog(), (Log{"Mine"}));
}

TEST_F(WizardTest, RegistrationDecidesWhichFormsAManagerMayShow) {
  // The standard forms stand in the registries only through their dialogs.
  for (TFormClassList* list : {&BIFList(), &DCFList(), &ChangeDiskList()})
    for (int i = 0; i < list->Count(); ++i)
      EXPECT_NE(list->Items(i)->Dialog(), nullptr) << list->Items(i)->FormClass().Name() << " is registered bare";

  // A product's page stays registered bare and shows under its own manager.
  AddManager(dmBeforeInstall, "Before");
  AddManager(dmAfterGoodInstall, "After");
  TBIFEntry* product = RegisterPageForm(TProductPage::StaticClass(), nullptr);
  Press({"NextBtn", "NextBtn"});
  install()->NotifyHelpers(install(), kNotifyAfterGoodInstallDialogs, nullptr);
  EXPECT_EQ(PageLog(), Log{"Test page"});
  PageLog().clear();
  EXPECT_EQ(RunBeforeInstall(), std::nullopt);
  EXPECT_TRUE(PageLog().empty()) << "not under another manager";
  UnregisterPageForm(product);

  // A dialog's entry lives as long as the dialog.
  const int entries = BIFList().Count();
  TTestPageDlg* page = AddPage(nullptr, "Page", 1);
  EXPECT_EQ(BIFList().Count(), entries + 1);
  page->Free();
  EXPECT_EQ(BIFList().Count(), entries);
}

TEST_F(WizardTest, AManagerWithoutPagesShowsAndReportsNothing) {
  AddManager(dmBeforeInstall, "Empty");
  EXPECT_EQ(RunBeforeInstall(), std::nullopt);
  EXPECT_EQ(TranscriptText(), "");
  EXPECT_EQ(LiveContainers(), 0);
}

TEST_F(WizardTest, EachBroadcastStartsTheManagerOfItsPhase) {
  struct Case {
    int code;
    const char* shown;  // the page of the manager that runs; "" for none
  };
  const Case cases[] = {
      {kNotifyBeforeInstallDialogs, "Before"}, {kNotifyAfterGoodInstallDialogs, "Good"},
      {kNotifyAfterBadInstallDialogs, "Bad"},  {kNotifyRestartNeeded, "Reboot"},
      {kNotifyRegistration, "Registration"},   {kNotifyGoodInstall, ""},
      {kNotifyLicence, ""},                    {kNotifyProcessStarting, ""},
  };
  const std::pair<TManagerType, const char*> phases[] = {
      {dmBeforeInstall, "Before"}, {dmAfterGoodInstall, "Good"}, {dmAfterBadInstall, "Bad"},
      {dmReboot, "Reboot"},        {dmRegistration, "Registration"}, {dmUninstall, "Uninstall"},
  };
  for (const auto& [type, name] : phases) AddPage(AddManager(type, std::string(name) + "Manager"), name, 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    PageLog().clear();
    Press({"NextBtn"});
    install()->NotifyHelpers(install(), c.code, nullptr);
    EXPECT_EQ(PageLog(), std::string(c.shown).empty() ? Log{} : Log{c.shown});
  }
}

TEST_F(WizardTest, TheWizardWindowClosesOnlyByFinishingOrAborting) {
  auto* window = Create<TBaseFormContainer>(TApplication::Instance().FormOwner());
  window->Show();
  window->Close();
  EXPECT_TRUE(window->Visible()) << "an ordinary close is refused";
  window->SetModalResult(mrAbort);
  window->Close();
  EXPECT_FALSE(window->Visible()) << "an abort closes it";
  window->Free();
}

TEST_F(WizardTest, PagesNeedARunningManager) {
  auto* window = Create<TBaseFormContainer>(TApplication::Instance().FormOwner());
  try {
    window->CreatePages();
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "The current dialog manager is not defined");
  }
  window->Free();
}

TEST_F(WizardTest, ADialogManagerRefusesANullDialog) {
  TDialogManager* manager = AddManager(dmBeforeInstall, "Phase1");
  try {
    manager->AddDialog(nullptr);
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Cannot add a NIL Dialog to the Dialog Manager Phase1");
  }
}

TEST_F(WizardTest, DialogsFollowTheirManager) {
  TDialogManager* first = AddManager(dmBeforeInstall, "First");
  TDialogManager* second = AddManager(dmBeforeInstall, "Second");
  TTestPageDlg* page = AddPage(first, "A", 1);
  EXPECT_EQ(first->Dialogs(), std::vector<TCustomBaseInstallDlg*>{page});
  page->SetDialogManager(second);
  EXPECT_TRUE(first->Dialogs().empty());
  EXPECT_EQ(second->Dialogs(), std::vector<TCustomBaseInstallDlg*>{page});
  second->Free();
  EXPECT_EQ(page->DialogManager(), nullptr) << "a freed manager leaves its dialogs unmanaged";
  page->Free();
  EXPECT_TRUE(first->Dialogs().empty());
}

TEST_F(WizardTest, FindDialogManagerTakesTheFirstOfThePhaseThatTheEngineContains) {
  TDialogManager* loose = Create<TDialogManager>(form());
  loose->SetManagerType(dmReboot);
  TDialogManager* first = AddManager(dmReboot, "First");
  AddManager(dmReboot, "Second");
  EXPECT_EQ(FindDialogManager(dmReboot), first);
  EXPECT_EQ(FindDialogManager(dmChangeDisk), nullptr);
  EXPECT_NE(FindDialogManager(dmReboot), loose);
}

// ---------------------------------------------------------------------------
// Placement

TEST(DialogPlacement, EveryPositionOnA1024By768Screen) {
  const TScreenMetrics screen;  // 1024 × 768, caption 18
  struct Case {
    TWenmoorDialogPosition position;
    int left_offset, top_offset;
    TPoint expected;
  };
  // A 478 × 395 window: centred left 273, centred top nearest(186.5) = 186.
  const Case cases[] = {
      {wdpCenterLeft, 0, 0, {0, 186}},      {wdpCenter, 0, 0, {273, 186}},
      {wdpCenterRight, 0, 0, {546, 186}},   {wdpBottomLeft, 0, 0, {0, 355}},
      {wdpBottomCenter, 0, 0, {273, 355}},  {wdpBottomRight, 0, 0, {546, 355}},
      {wdpTopLeft, 0, 0, {0, 0}},           {wdpTopCenter, 0, 0, {273, 0}},
      {wdpTopRight, 0, 0, {546, 0}},        {wdpCenterLeft, 10, 20, {10, 206}},
      {wdpCenter, 10, 20, {283, 206}},      {wdpCenterRight, 10, 20, {536, 206}},
      {wdpBottomLeft, 10, 20, {10, 335}},   {wdpBottomRight, 10, 20, {536, 335}},
      {wdpTopLeft, 10, 20, {10, 20}},       {wdpTopRight, -5, -7, {551, -7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(EnumInfoOf<TWenmoorDialogPosition>().Name(c.position) + " " + std::to_string(c.left_offset));
    EXPECT_EQ(DialogOrigin<float>(c.position, c.left_offset, c.top_offset, 478, 395, screen), c.expected);
    EXPECT_EQ(DialogOrigin<long double>(c.position, c.left_offset, c.top_offset, 478, 395, screen), c.expected);
  }
  // Halves go to the even neighbour both ways: 189.5 → 190, 186.5 → 186.
  EXPECT_EQ(DialogOrigin<float>(wdpCenter, 0, 0, 645, 389, screen), (TPoint{190, 190}));
  // The copy form's defaults: 474 × 146, bottom centre, 30 up.
  EXPECT_EQ(DialogOrigin<long double>(wdpBottomCenter, 0, 30, 474, 146, screen), (TPoint{275, 574}));
}

TEST_F(WizardTest, TheManagerPlacesItsWindow) {
  TDialogManager* manager = AddManager(dmBeforeInstall, "Wizard");
  manager->SetPosition(wdpBottomRight);
  manager->SetRelativeLeftOffset(6);
  manager->SetRelativeTopOffset(4);
  manager->SetWidth(500);
  TTestPageDlg* page = AddPage(manager, "A", 1);
  Press({"NextBtn"});
  ASSERT_EQ(RunBeforeInstall(), std::nullopt);
  EXPECT_EQ(page->window_at, (TPoint{1024 - 500 - 6, 768 - 18 - 395 - 4}));
}

}  // namespace
}  // namespace wenmoor::testing
