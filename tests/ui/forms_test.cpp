// Forms: showing, the modal loop and its refusals, closing, placement and
// the frame around the client area.
#include <gtest/gtest.h>

#include "platform/rtl/exceptions.h"
#include "platform/ui/buttons.h"
#include "platform/ui/screen.h"
#include "ui_fixture.h"

namespace wenmoor {
namespace {

class FormsTest : public UiFixture {
 protected:
  FormsTest() : form_(CreateUnowned<TForm>()) {
    form_->SetName("Dialog");
    form_->SetCaption("A dialog");
    ok_ = AddButton("OkBtn", bkOK);
    cancel_ = AddButton("CancelBtn", bkCancel);
    form_->OnShow.Assign([this](TObject*) { events_.push_back("show"); });
    form_->OnActivate.Assign([this](TObject*) { events_.push_back("activate"); });
    form_->OnDeactivate.Assign([this](TObject*) { events_.push_back("deactivate"); });
    form_->OnHide.Assign([this](TObject*) { events_.push_back("hide"); });
    form_->OnClose.Assign([this](TObject*, TCloseAction&) { events_.push_back("close"); });
  }
  TBitBtn* AddButton(const std::string& name, TBitBtnKind kind) {
    auto* b = Create<TBitBtn>(form_.get());
    b->SetName(name);
    b->SetParent(form_.get());
    b->SetKind(kind);
    return b;
  }
  ComponentPtr<TForm> form_;
  TBitBtn* ok_;
  TBitBtn* cancel_;
  std::vector<std::string> events_;
};

TEST_F(FormsTest, ShowModalEndsWithTheDefaultButtonsResult) {
  EXPECT_EQ(form_->ShowModal(), mrOk);
  EXPECT_EQ(events_, (std::vector<std::string>{"show", "activate", "close", "deactivate", "hide"}));
  EXPECT_FALSE(form_->Visible());
  EXPECT_FALSE(form_->IsModal());
  EXPECT_EQ(form_->ShowModal(), mrOk) << "a form can be shown modally again";
}

TEST_F(FormsTest, OnCloseQueryRefusalKeepsTheFormOpen) {
  int asked = 0;
  form_->OnCloseQuery.Assign([&](TObject*, bool& can_close) { can_close = ++asked >= 3; });
  EXPECT_EQ(form_->ShowModal(), mrOk);
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(std::count(events_.begin(), events_.end(), "close"), 1) << "OnClose only once the query agrees";
}

TEST_F(FormsTest, AFormThatNeverClosesStopsTheOperatorInsteadOfLoopingForEver) {
  form_->OnCloseQuery.Assign([](TObject*, bool& can_close) { can_close = false; });
  EXPECT_THROW(form_->ShowModal(), EUiBackendError);
  EXPECT_FALSE(form_->Visible()) << "the form is hidden on the way out";
  EXPECT_FALSE(form_->IsModal());
}

TEST_F(FormsTest, OnCloseWithCaNoneRefusesToo) {
  int closes = 0;
  form_->OnClose.Assign([&](TObject*, TCloseAction& action) {
    if (++closes < 2) action = caNone;
  });
  EXPECT_EQ(form_->ShowModal(), mrOk);
  EXPECT_EQ(closes, 2);
}

TEST_F(FormsTest, CloseOnAModalFormAnswersCancel) {
  ok_->SetKind(bkCustom);
  ok_->SetModalResult(mrNone);
  ok_->OnClick.Assign([this](TObject*) { form_->Close(); });
  EXPECT_EQ(form_->ShowModal(), mrCancel);
}

TEST_F(FormsTest, ExceptionsOfEventHandlersGoToTheApplicationAndTheLoopGoesOn) {
  ok_->SetModalResult(mrNone);
  int clicks = 0;
  ok_->OnClick.Assign([&](TObject*) {
    if (++clicks == 1) throw IException("Disk full");
    form_->SetModalResult(mrYes);
  });
  EXPECT_EQ(form_->ShowModal(), mrYes);
  EXPECT_EQ(handled_, (std::vector<std::string>{"Disk full"}));
}

TEST_F(FormsTest, ShowModalRefusesAVisibleOrDisabledForm) {
  form_->Show();
  EXPECT_THROW(form_->ShowModal(), EInvalidOperation);
  form_->Hide();
  form_->SetEnabled(false);
  EXPECT_THROW(form_->ShowModal(), EInvalidOperation);
}

TEST_F(FormsTest, AModalResultSetWhileShowingDoesNotCount) {
  form_->OnShow.Assign([this](TObject*) { form_->SetModalResult(mrAbort); });
  EXPECT_EQ(form_->ShowModal(), mrOk);
}

TEST_F(FormsTest, ScreenCentredFormsArePlacedWhenFirstShown) {
  form_->SetBounds(5, 5, 400, 300);
  form_->SetPosition(poScreenCenter);
  form_->Show();
  EXPECT_EQ(form_->Left(), (1024 - 400) / 2);
  EXPECT_EQ(form_->Top(), (768 - 300) / 2);
  form_->Hide();
  form_->SetLeft(7);
  form_->Show();
  EXPECT_EQ(form_->Left(), 7) << "only the first showing places the form";
  EXPECT_TRUE(TranscriptHas("=== show \"A dialog\" (Dialog: TForm)"));
}

TEST_F(FormsTest, TheFrameDependsOnTheBorderStyle) {
  struct Row {
    TFormBorderStyle style;
    int width, height;  // for a client area of 470 × 368
  };
  for (Row r : {Row{bsNone, 470, 368}, Row{bsDialog, 476, 392}, Row{bsSingle, 476, 392}, Row{bsSizeable, 478, 394},
                Row{bsToolWindow, 476, 389}}) {
    form_->SetBorderStyle(r.style);
    form_->SetClientWidth(470);
    form_->SetClientHeight(368);
    EXPECT_EQ(form_->Width(), r.width) << EnumInfoOf<TFormBorderStyle>().Name(r.style);
    EXPECT_EQ(form_->Height(), r.height) << EnumInfoOf<TFormBorderStyle>().Name(r.style);
    EXPECT_EQ(form_->ClientWidth(), 470);
  }
  EXPECT_EQ(Screen().CaptionHeight(), 18);
}

TEST_F(FormsTest, ButtonsOnAnEmbeddedFormSetTheOuterFormsModalResult) {
  auto* page = Create<TForm>(form_.get());
  page->SetBorderStyle(bsSingle);
  page->SetParent(form_.get());
  page->SetBounds(0, 0, 100, 100);
  EXPECT_EQ(page->ClientRect(), (TRect{0, 0, 100, 100})) << "an embedded form has no frame";
  auto* next = Create<TButton>(page);
  next->SetParent(page);
  next->SetModalResult(mrRetry);
  EXPECT_EQ(GetParentForm(*next), form_.get());
  next->Click();
  EXPECT_EQ(form_->ModalResult(), mrRetry);
  EXPECT_EQ(page->ModalResult(), mrNone);
}

TEST_F(FormsTest, AReleasedOwnedFormGoesAtTheNextProcessMessages) {
  auto* owned = Create<TForm>(TApplication::Instance().FormOwner());
  owned->SetName("Released");
  owned->OnClose.Assign([](TObject*, TCloseAction& action) { action = caFree; });
  owned->Show();
  owned->Close();
  EXPECT_FALSE(owned->Visible());
  EXPECT_NE(TApplication::Instance().FormOwner()->FindComponent("Released"), nullptr);
  ProcessMessages();
  EXPECT_EQ(TApplication::Instance().FormOwner()->FindComponent("Released"), nullptr);
}

TEST_F(FormsTest, ProcessMessagesReachesTheRunningBackendAndTheHook) {
  int hooked = 0;
  auto previous = SetProcessMessagesHook([&] { ++hooked; });
  const long before = backend_->ProcessMessagesCalls();
  ProcessMessages();
  ProcessMessages();
  SetProcessMessagesHook(previous);
  EXPECT_EQ(hooked, 2);
  EXPECT_EQ(backend_->ProcessMessagesCalls() - before, 2);
}

}  // namespace
}  // namespace wenmoor
