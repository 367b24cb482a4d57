// Behaviour of the standard controls that forms rely on: choices that
// click, edits and memos that report changes, bounded progress, tab strips
// that ask before they change, and pictures.
#include <gtest/gtest.h>

#include "platform/ui/choices.h"
#include "platform/ui/comctrls.h"
#include "platform/ui/edits.h"
#include "platform/ui/extctrls.h"
#include "ui_fixture.h"

namespace wenmoor {
namespace {

class StdControlsTest : public UiFixture {
 protected:
  template <class T>
  T* Make() {
    return Create<T>(owner_.get());
  }
  ComponentPtr<TComponent> owner_ = CreateUnowned<TComponent>();
};

TEST_F(StdControlsTest, ARadioGroupClicksWhenItsChoiceChanges) {
  auto* rg = Make<TRadioGroup>();
  rg->Items()->SetText("Yes\nNo");
  std::vector<int> clicks;
  rg->OnClick.Assign([&](TObject*) { clicks.push_back(rg->ItemIndex()); });
  rg->SetItemIndex(1);
  rg->SetItemIndex(1);
  rg->SetItemIndex(0);
  rg->SetItemIndex(-1);
  EXPECT_EQ(clicks, (std::vector<int>{1, 0})) << "a change to an item clicks; none to nothing";
  rg->SetItemIndex(7);
  EXPECT_EQ(rg->ItemIndex(), 1) << "clamped to the last item";
  rg->Items()->Delete(1);
  EXPECT_EQ(rg->ItemIndex(), 0) << "the choice follows the items";
  rg->SetColumns(40);
  EXPECT_EQ(rg->Columns(), 16);
}

TEST_F(StdControlsTest, ACheckBoxClicksWhenItsStateChanges) {
  auto* cb = Make<TCheckBox>();
  int clicks = 0;
  cb->OnClick.Assign([&](TObject*) { ++clicks; });
  cb->SetChecked(true);
  cb->SetChecked(true);
  EXPECT_EQ(clicks, 1);
  cb->Toggle();
  EXPECT_EQ(cb->State(), cbUnchecked);
  cb->SetAllowGrayed(true);
  cb->Toggle();
  cb->Toggle();
  EXPECT_EQ(cb->State(), cbGrayed);
  EXPECT_FALSE(cb->Checked());
  EXPECT_EQ(clicks, 4);
}

TEST_F(StdControlsTest, EditsReportChangesOnceLoadedAndApplyTheirCase) {
  auto form = CreateUnowned<TForm>();
  int changes = 0;
  form->PublishMethod("EditChange", std::function<void(TObject*)>([&](TObject*) { ++changes; }));
  form->LoadFromText(
      "object F: TForm\n  object E: TEdit\n    CharCase = ecUpperCase\n    Text = 'stored'\n"
      "    OnChange = EditChange\n  end\nend\n",
      "e.dfm");
  auto* e = dynamic_cast<TEdit*>(form->FindComponent("E"));
  EXPECT_EQ(changes, 0) << "loading is no change";
  EXPECT_EQ(e->Text(), "STORED");
  e->SetText("typed");
  EXPECT_EQ(e->Text(), "TYPED");
  e->SetText("TYPED");
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(e->SetBorderStyle(bsDialog), EInvalidOperation);
}

TEST_F(StdControlsTest, AMemosTextIsItsLines) {
  auto* m = Make<TMemo>();
  int changes = 0;
  m->OnChange.Assign([&](TObject*) { ++changes; });
  m->SetText("one\r\ntwo\nthree");
  EXPECT_EQ(m->Lines()->Lines(), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(m->Text(), "one\r\ntwo\r\nthree");
  EXPECT_EQ(changes, 1) << "one change for the whole text";
  m->Lines()->Add("four");
  EXPECT_EQ(m->Text(), "one\r\ntwo\r\nthree\r\nfour");
  m->Lines()->Clear();
  EXPECT_EQ(m->Text(), "");
  EXPECT_EQ(changes, 3);
}

TEST_F(StdControlsTest, AProgressBarStaysWithinItsRange) {
  auto* p = Make<TProgressBar>();
  struct Row {
    int min, max, position;
    int expected_position, percent;
  };
  for (Row r : {Row{0, 100, 40, 40, 40}, Row{0, 100, 140, 100, 100}, Row{0, 100, -5, 0, 0},
                Row{10, 20, 15, 15, 50}, Row{0, 0, 5, 0, 0}, Row{0, 3, 2, 2, 66}}) {
    p->SetMin(r.min);
    p->SetMax(r.max);
    p->SetPosition(r.position);
    EXPECT_EQ(p->Position(), r.expected_position) << r.min << ".." << r.max << " @" << r.position;
    EXPECT_EQ(p->Percent(), r.percent) << r.min << ".." << r.max << " @" << r.position;
  }
  p->SetMin(0);
  p->SetMax(100);
  p->SetPosition(0);
  p->SetStep(30);
  for (int i = 0; i < 4; ++i) p->StepIt();
  EXPECT_EQ(p->Position(), 100);
  p->SetMin(200);
  EXPECT_EQ(p->Max(), 200) << "the range never turns over";
  EXPECT_EQ(p->Position(), 200);
}

TEST_F(StdControlsTest, ATabStripAsksBeforeAUserChangesTabs) {
  auto* t = Make<TTabControl>();
  t->Tabs()->Add("one");
  EXPECT_EQ(t->TabIndex(), 0) << "the first tab is selected";
  t->Tabs()->Add("two");
  t->Tabs()->Add("three");
  std::vector<std::string> events;
  bool allow = true;
  t->OnChanging.Assign([&](TObject*, bool& a) {
    events.push_back("changing");
    a = allow;
  });
  t->OnChange.Assign([&](TObject*) { events.push_back("change"); });
  t->SetTabIndex(2);
  EXPECT_EQ(t->TabIndex(), 2);
  EXPECT_TRUE(events.empty()) << "code changes tabs silently";
  t->SetTabIndex(5);
  EXPECT_EQ(t->TabIndex(), 2) << "an index outside the tabs is ignored";
  EXPECT_TRUE(t->SelectTab(0));
  allow = false;
  EXPECT_FALSE(t->SelectTab(1));
  EXPECT_EQ(t->TabIndex(), 0);
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change", "changing"}));
}

// A 2 × 1 BMP, 24 bits per pixel.
std::vector<uint8_t> TinyBmp() {
  std::vector<uint8_t> bmp;
  auto le = [&](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  bmp = {'B', 'M'};
  le(62, 4);  // file size
  le(0, 4);
  le(54, 4);  // offset of the pixels
  le(40, 4);  // BITMAPINFOHEADER
  le(2, 4);   // width
  le(1, 4);   // height
  le(1, 2);   // planes
  le(24, 2);  // bits per pixel
  le(0, 4);   // no compression
  le(8, 4);   // size of the pixels: one row of 6 bytes padded to 8
  for (int i = 0; i < 4; ++i) le(0, 4);
  for (uint8_t b : {255, 0, 0, 0, 255, 0, 0, 0}) bmp.push_back(b);
  return bmp;
}

TEST_F(StdControlsTest, AnAutoSizedImageTakesThePicturesSize) {
  auto* image = Make<TImage>();
  image->SetAutoSize(true);
  TPicture picture;
  picture.Bitmap().LoadFromBmp(TinyBmp());
  image->SetPicture(picture);
  EXPECT_EQ(image->Width(), 2);
  EXPECT_EQ(image->Height(), 1);
  EXPECT_TRUE(image->HasPicture());
}

TEST_F(StdControlsTest, APanelOnlyKnowsTheBordersItCanDraw) {
  auto* panel = Make<TPanel>();
  EXPECT_THROW(panel->SetBorderStyle(bsSizeable), EInvalidOperation);
  panel->SetBounds(0, 0, 100, 50);
  panel->SetBorderStyle(bsSingle);
  EXPECT_EQ(panel->ClientRect(), (TRect{0, 0, 98, 48}));
  EXPECT_EQ(panel->AlignRect(), (TRect{1, 1, 97, 47})) << "inside the raised outer bevel";
}

}  // namespace
}  // namespace wenmoor
