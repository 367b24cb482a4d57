// Controls and windowed controls: parent links, fonts and colours that
// follow the parent, alignment, anchors, z-order and focus.
#include <gtest/gtest.h>

#include "platform/ui/buttons.h"
#include "platform/ui/edits.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/labels.h"
#include "ui_fixture.h"

namespace wenmoor {
namespace {

class ControlTest : public UiFixture {
 protected:
  ControlTest() : form_(CreateUnowned<TForm>()) {
    form_->SetBorderStyle(bsNone);
    form_->SetBounds(0, 0, 400, 300);
  }
  template <class T>
  T* Make(TWinControl* parent, const std::string& name = "") {
    T* c = Create<T>(form_.get());
    if (!name.empty()) c->SetName(name);
    c->SetParent(parent);
    return c;
  }
  ComponentPtr<TForm> form_;
};

TEST(FontTest, SizeAndHeightAreOneValueAt96PixelsPerInch) {
  struct Row {
    int size;
    int height;
  };
  for (Row r : {Row{8, -11}, Row{10, -13}, Row{12, -16}, Row{9, -12}, Row{72, -96}}) {
    TFont f;
    f.SetSize(r.size);
    EXPECT_EQ(f.Height(), r.height) << "size " << r.size;
    f.SetHeight(r.height);
    EXPECT_EQ(f.Size(), r.size) << "height " << r.height;
  }
}

TEST(FontTest, AssignCopiesEverythingAndTellsOnce) {
  TFont a, b;
  a.SetName("Arial");
  a.SetHeight(-13);
  a.SetCharSet(EASTEUROPE_CHARSET);
  a.SetColor(clRed);
  a.SetStyle({fsBold, fsItalic});
  a.SetPitch(fpFixed);
  int changes = 0;
  b.OnChange.Assign([&](TObject*) { ++changes; });
  b.Assign(a);
  EXPECT_TRUE(b.SameAs(a));
  EXPECT_EQ(changes, 1);
  b.Assign(a);  // nothing differs: no change
  EXPECT_EQ(changes, 1);
}

TEST_F(ControlTest, ParentFontFollowsTheParentUntilTheControlsOwnFontChanges) {
  TPanel* panel = Make<TPanel>(form_.get(), "Panel1");
  TLabel* label = Make<TLabel>(panel, "Label1");
  TLabel* own = Make<TLabel>(panel, "Label2");
  own->Font()->SetStyle({fsBold});
  EXPECT_FALSE(own->ParentFont());

  form_->Font()->SetName("Arial");
  form_->Font()->SetHeight(-13);
  EXPECT_EQ(panel->Font()->Name(), "Arial");
  EXPECT_EQ(label->Font()->Name(), "Arial") << "a grandchild follows through its parent";
  EXPECT_EQ(label->Font()->Height(), -13);
  EXPECT_TRUE(label->ParentFont());
  EXPECT_EQ(own->Font()->Name(), "MS Sans Serif") << "a control with its own font keeps it";

  label->Font()->SetColor(clBlue);
  EXPECT_FALSE(label->ParentFont());
  form_->Font()->SetName("Tahoma");
  EXPECT_EQ(label->Font()->Name(), "Arial");

  label->SetParentFont(true);
  EXPECT_EQ(label->Font()->Name(), "Tahoma") << "taking the parent's font again copies it at once";
  EXPECT_EQ(label->Font()->Color(), form_->Font()->Color());
}

TEST_F(ControlTest, AControlPlacedOnAParentTakesItsFontAndColour) {
  form_->Font()->SetName("Arial");
  form_->SetColor(clYellow);
  auto* label = Create<TLabel>(form_.get());
  EXPECT_EQ(label->Font()->Name(), "MS Sans Serif");
  label->SetParent(form_.get());
  EXPECT_EQ(label->Font()->Name(), "Arial");
  EXPECT_EQ(label->Color(), clYellow) << "labels take the parent's colour";
  auto* edit = Make<TEdit>(form_.get());
  EXPECT_EQ(edit->Color(), clWindow) << "edits keep their own";
  form_->SetColor(clAqua);
  EXPECT_EQ(label->Color(), clAqua);
  label->SetColor(clRed);
  EXPECT_FALSE(label->ParentColor());
  form_->SetColor(clLime);
  EXPECT_EQ(label->Color(), clRed);
}

TEST_F(ControlTest, AlignedChildrenShareTheClientAreaInsideBorderAndBevels) {
  TPanel* panel = Make<TPanel>(form_.get(), "Outer");
  panel->SetBounds(0, 0, 200, 100);
  panel->SetBorderWidth(5);
  panel->SetBevelOuter(bvRaised);
  panel->SetBevelInner(bvLowered);
  panel->SetBevelWidth(2);  // inside: 5 + 2 + 2 = 9 on every side

  TPanel* top = Make<TPanel>(panel, "Top");
  top->SetHeight(10);
  top->SetAlign(alTop);
  TPanel* bottom = Make<TPanel>(panel, "Bottom");
  bottom->SetHeight(20);
  bottom->SetAlign(alBottom);
  TPanel* left = Make<TPanel>(panel, "Left");
  left->SetWidth(30);
  left->SetAlign(alLeft);
  TPanel* client = Make<TPanel>(panel, "Client");
  client->SetAlign(alClient);

  EXPECT_EQ(top->BoundsRect(), (TRect{9, 9, 191, 19}));
  EXPECT_EQ(bottom->BoundsRect(), (TRect{9, 71, 191, 91}));
  EXPECT_EQ(left->BoundsRect(), (TRect{9, 19, 39, 71}));
  EXPECT_EQ(client->BoundsRect(), (TRect{39, 19, 191, 71}));

  panel->SetBounds(0, 0, 300, 120);
  EXPECT_EQ(client->BoundsRect(), (TRect{39, 19, 291, 91})) << "a resize realigns";
  top->Hide();
  EXPECT_EQ(left->BoundsRect(), (TRect{9, 9, 39, 91})) << "hidden controls take no room";
}

TEST_F(ControlTest, AnchoredChildrenKeepTheirDistanceWhenTheParentIsResized) {
  TPanel* panel = Make<TPanel>(form_.get());
  panel->SetBounds(0, 0, 200, 100);
  struct Row {
    TAnchors anchors;
    TRect after;  // after the panel grows by 50 × 20
  };
  const Row rows[] = {
      {{akLeft, akTop}, {10, 10, 30, 30}},
      {{akRight, akBottom}, {60, 30, 80, 50}},
      {{akLeft, akTop, akRight, akBottom}, {10, 10, 80, 50}},
      {{}, {35, 20, 55, 40}},  // neither edge: stays centred
  };
  std::vector<TControl*> children;
  for (const Row& r : rows) {
    auto* c = Make<TButton>(panel);
    c->SetBounds(10, 10, 20, 20);
    c->SetAnchors(r.anchors);
    children.push_back(c);
  }
  panel->SetBounds(0, 0, 250, 120);
  for (size_t i = 0; i < children.size(); ++i) EXPECT_EQ(children[i]->BoundsRect(), rows[i].after) << "row " << i;
}

TEST_F(ControlTest, ParentLinksStayConsistentWhenEitherSideGoes) {
  TPanel* panel = Make<TPanel>(form_.get(), "Panel1");
  TButton* button = Make<TButton>(panel, "Button1");
  EXPECT_THROW(panel->SetParent(panel), EInvalidOperation);
  TPanel* inner = Make<TPanel>(panel, "Inner");
  EXPECT_THROW(panel->SetParent(inner), EInvalidOperation) << "a control cannot stand on its own child";

  button->Free();
  EXPECT_EQ(panel->ControlCount(), 1);
  panel->Free();  // its remaining child stays with its owner, parentless
  EXPECT_EQ(inner->Parent(), nullptr);
  EXPECT_EQ(form_->FindComponent("Inner"), inner);
}

TEST_F(ControlTest, ZOrderAndChildLookup) {
  TButton* a = Make<TButton>(form_.get(), "A");
  TButton* b = Make<TButton>(form_.get(), "B");
  TPanel* p = Make<TPanel>(form_.get(), "P");
  TButton* c = Make<TButton>(p, "C");
  EXPECT_EQ(form_->IndexOfControl(b), 1);
  a->BringToFront();
  EXPECT_EQ(form_->Controls(form_->ControlCount() - 1), a);
  a->SendToBack();
  EXPECT_EQ(form_->Controls(0), a);
  EXPECT_EQ(form_->FindChildControl("c"), c);
  EXPECT_TRUE(form_->ContainsControl(c));
  EXPECT_FALSE(p->ContainsControl(b));
  EXPECT_THROW(form_->Controls(9), EListError);
}

TEST_F(ControlTest, FocusNeedsAVisibleEnabledChainAndIsDroppedWithTheControl) {
  TPanel* panel = Make<TPanel>(form_.get(), "Panel1");
  TButton* button = Make<TButton>(panel, "Button1");
  button->SetFocus();
  EXPECT_EQ(form_->ActiveControl(), button);
  EXPECT_TRUE(button->Focused());

  panel->SetEnabled(false);
  EXPECT_EQ(form_->ActiveControl(), nullptr) << "disabling the parent takes the focus away";
  EXPECT_FALSE(button->CanFocus());
  EXPECT_THROW(button->SetFocus(), EInvalidOperation);
  panel->SetEnabled(true);

  panel->Hide();
  EXPECT_EQ(form_->ActiveControl(), nullptr) << "hiding the parent takes the focus away";
  panel->Show();
  button->SetFocus();
  button->Free();
  EXPECT_EQ(form_->ActiveControl(), nullptr);

  auto other = CreateUnowned<TForm>();
  auto* stranger = Create<TButton>(other.get());
  stranger->SetParent(other.get());
  EXPECT_THROW(form_->SetActiveControl(stranger), EInvalidOperation);
}

TEST_F(ControlTest, AutoSizedLabelsTakeTheSizeOfTheirCaption) {
  TLabel* label = Make<TLabel>(form_.get());
  label->SetBounds(100, 10, 65, 17);
  label->SetCaption("Hello");  // 5 characters of 5 pixels at 8 points; lines of 14
  EXPECT_EQ(label->BoundsRect(), (TRect{100, 10, 125, 24}));
  label->SetCaption("");
  EXPECT_EQ(label->Height(), 14) << "an empty caption keeps one line";

  label->SetAlignment(taRightJustify);
  label->SetCaption("&Path:");  // "Path:", the accelerator mark is not shown
  EXPECT_EQ(label->Width(), 25);
  EXPECT_EQ(label->Left() + label->Width(), 105) << "right-justified labels keep their right edge";

  TLabel* wrapped = Make<TLabel>(form_.get());
  wrapped->SetWordWrap(true);
  wrapped->SetWidth(50);  // 10 characters a line
  wrapped->SetCaption("one two three four five");
  EXPECT_EQ(wrapped->Width(), 50);
  EXPECT_EQ(wrapped->Height(), 3 * 14) << "\"one two\", \"three four\", \"five\"";

  label->SetAutoSize(false);
  label->SetCaption("a much longer caption");
  EXPECT_EQ(label->Width(), 25);
}

TEST(AcceleratorTest, MarksAreDroppedAndDoubledOnesShown) {
  EXPECT_EQ(StripAccelerator("&Browse..."), "Browse...");
  EXPECT_EQ(StripAccelerator("Fish && Chips"), "Fish & Chips");
  EXPECT_EQ(StripAccelerator("N&o to All"), "No to All");
  EXPECT_EQ(StripAccelerator("trailing&"), "trailing");
}

}  // namespace
}  // namespace wenmoor
