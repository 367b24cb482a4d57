// The Qt backend's forms: controls become widgets in their places, model
// changes reach them, user input goes through the model, and modal loops
// (nested ones too) end as the model decides.
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

#include "platform/ui/buttons.h"
#include "platform/ui/choices.h"
#include "platform/ui/comctrls.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edits.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/labels.h"
#include "qt_fixture.h"

namespace wenmoor {
namespace {

class QtFormsTest : public QtFixture {
 protected:
  QtFormsTest() : form_(CreateUnowned<TForm>()) {
    form_->SetName("Dialog");
    form_->SetCaption("A dialog");
    form_->SetBorderStyle(bsDialog);
    form_->SetClientWidth(400);
    form_->SetClientHeight(300);
  }
  template <class T>
  T* Add(const std::string& name, int left, int top, int width, int height, TWinControl* parent = nullptr) {
    auto* c = Create<T>(form_.get());
    c->SetName(name);
    c->SetParent(parent ? parent : form_.get());
    c->SetBounds(left, top, width, height);
    return c;
  }
  TBitBtn* AddButton(const std::string& name, TBitBtnKind kind, int left) {
    auto* b = Add<TBitBtn>(name, left, 260, 75, 25);
    b->SetKind(kind);
    return b;
  }

  ComponentPtr<TForm> form_;
};

TEST_F(QtFormsTest, EveryControlIsAWidgetInItsPlace) {
  auto* label = Add<TLabel>("Label1", 8, 8, 0, 0);
  label->SetCaption("&Name:");
  auto* edit = Add<TEdit>("Edit1", 80, 8, 150, 21);
  edit->SetText("typed");
  auto* memo = Add<TMemo>("Memo1", 8, 40, 150, 60);
  memo->Lines()->SetText("one\r\ntwo\r\n");
  auto* rich = Add<TRichEdit>("Rich1", 170, 40, 150, 60);
  rich->Lines()->SetText("{\\rtf1 Hello {\\b rich} text}");
  rich->SetReadOnly(true);
  auto* check = Add<TCheckBox>("Check1", 8, 110, 120, 17);
  check->SetCaption("Check me");
  check->SetChecked(true);
  auto* radios = Add<TRadioGroup>("RG", 8, 130, 180, 70);
  radios->Items()->Add("First");
  radios->Items()->Add("Second");
  radios->SetItemIndex(1);
  auto* panel = Add<TPanel>("Panel1", 200, 110, 190, 90);
  panel->SetBorderStyle(bsSingle);
  auto* in_panel = Add<TLabel>("InPanel", 10, 10, 0, 0, panel);
  in_panel->SetCaption("inside");
  auto* group = Add<TGroupBox>("Group1", 200, 210, 190, 40);
  group->SetCaption("Group");
  auto* bar = Add<TProgressBar>("Bar", 8, 210, 180, 16);
  bar->SetPosition(40);
  auto* tabs = Add<TTabControl>("Tabs", 8, 230, 180, 24);
  tabs->Tabs()->Add("One");
  tabs->Tabs()->Add("Two");
  auto* bevel = Add<TBevel>("Line", 0, 255, 400, 2);
  bevel->SetShape(bsTopLine);
  auto* ok = AddButton("OkBtn", bkOK, 240);

  form_->Show();

  QWidget* window = WidgetOf(*form_);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->isWindow());
  EXPECT_EQ(window->windowTitle(), "A dialog");
  EXPECT_EQ(window->size(), QSize(400, 300)) << "the window's client area is the form's";

  struct Case {
    TControl* control;
    const char* qt_class;
  };
  for (const Case& c : std::vector<Case>{{label, "QWidget"},
                                         {edit, "QLineEdit"},
                                         {memo, "QPlainTextEdit"},
                                         {rich, "QPlainTextEdit"},
                                         {check, "QCheckBox"},
                                         {radios, "QGroupBox"},
                                         {group, "QGroupBox"},
                                         {bar, "QWidget"},
                                         {ok, "QPushButton"}}) {
    QWidget* w = WidgetOf(*c.control);
    ASSERT_NE(w, nullptr) << c.control->Name();
    EXPECT_STREQ(w->metaObject()->className(), c.qt_class) << c.control->Name();
    EXPECT_EQ(w->geometry(), QRect(c.control->Left(), c.control->Top(), c.control->Width(), c.control->Height()))
        << c.control->Name();
    EXPECT_TRUE(w->isVisible()) << c.control->Name();
  }
  EXPECT_EQ(WidgetOf(*in_panel)->parentWidget(), WidgetOf(*panel));
  EXPECT_EQ(WidgetOf(*in_panel)->pos(), QPoint(11, 11)) << "a single border puts the client area one pixel in";
  EXPECT_GT(label->Width(), 0) << "an auto-sized label is measured with the real font";

  EXPECT_EQ(As<QLineEdit>(*edit)->text(), "typed");
  EXPECT_EQ(As<QPlainTextEdit>(*memo)->toPlainText(), "one\ntwo");
  EXPECT_EQ(As<QPlainTextEdit>(*rich)->toPlainText(), "Hello rich text") << "rich text is shown as its plain text";
  EXPECT_TRUE(As<QPlainTextEdit>(*rich)->isReadOnly());
  EXPECT_TRUE(As<QCheckBox>(*check)->isChecked());
  EXPECT_EQ(As<QCheckBox>(*check)->text(), "Check me");
  const QList<QRadioButton*> buttons = WidgetOf(*radios)->findChildren<QRadioButton*>();
  ASSERT_EQ(buttons.size(), 2);
  EXPECT_FALSE(buttons[0]->isChecked());
  EXPECT_TRUE(buttons[1]->isChecked());
  EXPECT_LT(buttons[0]->y(), buttons[1]->y()) << "one column: the items stand one below the other";
  EXPECT_EQ(As<QGroupBox>(*group)->title(), "Group");
  EXPECT_NEAR(FilledShare(WidgetOf(*bar)), 0.4, 0.05);
  ASSERT_NE(WidgetOf(*tabs)->findChild<QTabBar*>(), nullptr);
  EXPECT_EQ(WidgetOf(*tabs)->findChild<QTabBar*>()->count(), 2);
  EXPECT_EQ(As<QPushButton>(*ok)->text(), "OK");
  EXPECT_TRUE(As<QPushButton>(*ok)->isDefault());
}

TEST_F(QtFormsTest, ModelChangesWaitForTheNextFlushAndThenShow) {
  auto* edit = Add<TEdit>("Edit1", 8, 8, 150, 21);
  auto* check = Add<TCheckBox>("Check1", 8, 60, 120, 17);
  auto* label = Add<TLabel>("Label1", 8, 80, 0, 0);
  form_->Show();
  backend_->Flush();
  const long flushes = backend_->FlushCount();

  edit->SetText("new text");
  check->SetChecked(true);
  label->SetVisible(false);
  edit->SetBounds(20, 8, 100, 21);
  form_->SetCaption("Changed");
  EXPECT_EQ(As<QLineEdit>(*edit)->text(), "") << "setting a property does no drawing work";
  EXPECT_EQ(backend_->FlushCount(), flushes);

  backend_->Flush();
  EXPECT_EQ(backend_->FlushCount(), flushes + 1) << "all changes go in one pass";
  EXPECT_EQ(As<QLineEdit>(*edit)->text(), "new text");
  EXPECT_EQ(As<QLineEdit>(*edit)->geometry(), QRect(20, 8, 100, 21));
  EXPECT_TRUE(As<QCheckBox>(*check)->isChecked());
  EXPECT_FALSE(WidgetOf(*label)->isVisible());
  EXPECT_EQ(WidgetOf(*form_)->windowTitle(), "Changed");
}

TEST_F(QtFormsTest, ADisabledControlIsDrawnGreyedInItsFontsColour) {
  auto* check = Add<TCheckBox>("Check1", 8, 60, 120, 17);
  check->Font()->SetColor(clNavy);
  check->SetEnabled(false);
  form_->Show();
  backend_->Flush();
  QWidget* w = As<QCheckBox>(*check);
  EXPECT_FALSE(w->isEnabled());
  EXPECT_EQ(w->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 128));
  EXPECT_NE(w->palette().color(QPalette::Disabled, QPalette::WindowText), QColor(0, 0, 128))
      << "the disabled look is the style's, not the font's colour";
}

TEST_F(QtFormsTest, ControlsAddedOrFreedWhileShownComeAndGo) {
  auto* panel = Add<TPanel>("Panel1", 8, 8, 200, 100);
  form_->Show();
  auto* late = Add<TButton>("Late", 10, 10, 75, 25, panel);
  late->SetCaption("Late");
  backend_->Flush();
  ASSERT_NE(As<QPushButton>(*late), nullptr) << "a control that appears under a shown parent gets a widget";
  EXPECT_EQ(WidgetOf(*late)->parentWidget(), WidgetOf(*panel));

  late->SetParent(form_.get());
  backend_->Flush();
  ASSERT_NE(WidgetOf(*late), nullptr);
  EXPECT_EQ(WidgetOf(*late)->parentWidget(), WidgetOf(*form_)) << "a control that moves takes its widget along";

  QPointer<QWidget> panel_widget = WidgetOf(*panel);
  panel->Free();
  EXPECT_EQ(backend_->WidgetOf(*form_)->findChild<QWidget*>("Panel1"), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(panel_widget.isNull()) << "the widget of a freed control goes";
}

TEST_F(QtFormsTest, UserInputGoesThroughTheModel) {
  auto* edit = Add<TEdit>("Edit1", 8, 8, 150, 21);
  edit->SetMaxLength(4);
  int edit_changes = 0;
  edit->OnChange.Assign([&](TObject*) { ++edit_changes; });
  auto* upper = Add<TEdit>("Upper", 8, 32, 150, 21);
  upper->SetCharCase(ecUpperCase);
  auto* memo = Add<TMemo>("Memo1", 8, 60, 150, 60);
  auto* check = Add<TCheckBox>("Check1", 8, 130, 120, 17);
  int check_clicks = 0;
  check->OnClick.Assign([&](TObject*) { ++check_clicks; });
  auto* radios = Add<TRadioGroup>("RG", 8, 150, 180, 70);
  radios->Items()->Add("First");
  radios->Items()->Add("Second");
  auto* tabs = Add<TTabControl>("Tabs", 200, 8, 180, 24);
  tabs->Tabs()->Add("One");
  tabs->Tabs()->Add("Two");
  tabs->Tabs()->Add("Three");
  bool refuse_tab = true;
  tabs->OnChanging.Assign([&](TObject*, bool& allow) { allow = !refuse_tab; });
  form_->Show();

  QTest::keyClicks(As<QLineEdit>(*edit), "abcdef");
  EXPECT_EQ(edit->Text(), "abcd") << "MaxLength limits what a user types";
  EXPECT_EQ(edit_changes, 4);
  QTest::keyClicks(As<QLineEdit>(*upper), "mixed");
  EXPECT_EQ(upper->Text(), "MIXED");
  EXPECT_EQ(As<QLineEdit>(*upper)->text(), "MIXED") << "the widget shows what the model made of the input";
  QTest::keyClicks(As<QPlainTextEdit>(*memo), "l1");
  QTest::keyClick(As<QPlainTextEdit>(*memo), Qt::Key_Return);
  QTest::keyClicks(As<QPlainTextEdit>(*memo), "l2");
  EXPECT_EQ(memo->Lines()->Lines(), (std::vector<std::string>{"l1", "l2"}));

  As<QCheckBox>(*check)->click();
  EXPECT_TRUE(check->Checked());
  EXPECT_EQ(check_clicks, 1);

  WidgetOf(*radios)->findChildren<QRadioButton*>()[1]->click();
  EXPECT_EQ(radios->ItemIndex(), 1);
  EXPECT_TRUE(WidgetOf(*radios)->findChildren<QRadioButton*>()[1]->isChecked());
  EXPECT_FALSE(WidgetOf(*radios)->findChildren<QRadioButton*>()[0]->isChecked());

  QTabBar* bar = WidgetOf(*tabs)->findChild<QTabBar*>();
  bar->setCurrentIndex(2);
  EXPECT_EQ(tabs->TabIndex(), 0) << "OnChanging refused";
  EXPECT_EQ(bar->currentIndex(), 0) << "a refused tab snaps back";
  refuse_tab = false;
  bar->setCurrentIndex(2);
  EXPECT_EQ(tabs->TabIndex(), 2);
}

TEST_F(QtFormsTest, ModalLoopEndsWithTheResultOfTheButtonPressed) {
  auto* ok = AddButton("OkBtn", bkOK, 200);
  AddButton("CancelBtn", bkCancel, 290);
  int queries = 0;
  form_->OnCloseQuery.Assign([&](TObject*, bool& can_close) { can_close = ++queries > 1; });
  Later([&] {
    ASSERT_EQ(ModalWindow(), WidgetOf(*form_)) << "the form is the modal window";
    As<QPushButton>(*ok)->click();  // refused by OnCloseQuery
    Later([&] {
      EXPECT_TRUE(WidgetOf(*form_)->isVisible()) << "a refused close leaves the form up";
      As<QPushButton>(*ok)->click();
    });
  });
  EXPECT_EQ(form_->ShowModal(), mrOk);
  EXPECT_EQ(queries, 2);
  EXPECT_FALSE(WidgetOf(*form_)->isVisible());
}

TEST_F(QtFormsTest, KeysAndTheCloseBoxEndTheModalLoop) {
  AddButton("OkBtn", bkOK, 200);
  AddButton("CancelBtn", bkCancel, 290);
  Add<TEdit>("Edit1", 8, 8, 150, 21);
  struct Case {
    const char* what;
    std::function<void(QWidget*)> act;
    TModalResult expected;
  };
  const std::vector<Case> cases = {
      {"Enter", [](QWidget* w) { QTest::keyClick(w->focusWidget() ? w->focusWidget() : w, Qt::Key_Return); }, mrOk},
      {"Escape", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, mrCancel},
      {"close box", [](QWidget* w) { w->close(); }, mrCancel},
  };
  for (const Case& c : cases) {
    Later([&] { c.act(WidgetOf(*form_)); });
    EXPECT_EQ(form_->ShowModal(), c.expected) << c.what;
  }
}

TEST_F(QtFormsTest, AMessageBoxInsideAModalFormRunsItsOwnLoop) {
  auto* ask = AddButton("AskBtn", bkCustom, 200);
  ask->SetCaption("Ask");
  std::vector<int> answers;
  ask->OnClick.Assign([&](TObject*) {
    const int answer = MessageDlg("Really close?", mtConfirmation, mbYesNoCancel);
    answers.push_back(answer);
    if (answer == mrYes) form_->SetModalResult(mrOk);
  });
  auto answer_box = [&](const QString& button) {
    Later([&, button] {
      QWidget* box = ModalWindow();
      ASSERT_NE(box, nullptr);
      ASSERT_NE(box, WidgetOf(*form_)) << "the box is modal over the form";
      EXPECT_EQ(box->windowTitle(), "Confirm");
      ASSERT_NE(ButtonIn(box, button), nullptr) << button.toStdString();
      ButtonIn(box, button)->click();
    });
  };
  Later([&] {
    answer_box("No");
    As<QPushButton>(*ask)->click();
    Later([&] {
      EXPECT_TRUE(WidgetOf(*form_)->isVisible()) << "answering No keeps the form";
      answer_box("Yes");
      As<QPushButton>(*ask)->click();
    });
  });
  EXPECT_EQ(form_->ShowModal(), mrOk);
  EXPECT_EQ(answers, (std::vector<int>{mrNo, mrYes}));
}

TEST_F(QtFormsTest, HandlerErrorsAreHandledAndBackendErrorsLeaveTheLoop) {
  auto* fail = AddButton("FailBtn", bkCustom, 100);
  fail->OnClick.Assign([](TObject*) { throw Exception("handler failed"); });
  auto* stuck = AddButton("StuckBtn", bkCustom, 200);
  stuck->OnClick.Assign([](TObject*) { throw EUiBackendError("backend gave up"); });
  Later([&] {
    As<QPushButton>(*fail)->click();
    Later([&] {
      EXPECT_TRUE(WidgetOf(*form_)->isVisible()) << "the loop goes on after a handler's error";
      As<QPushButton>(*stuck)->click();
    });
  });
  EXPECT_THROW(form_->ShowModal(), EUiBackendError);
  EXPECT_EQ(handled_, (std::vector<std::string>{"handler failed"}));
  EXPECT_FALSE(form_->Visible());
  EXPECT_FALSE(WidgetOf(*form_)->isVisible());
}

}  // namespace
}  // namespace wenmoor
