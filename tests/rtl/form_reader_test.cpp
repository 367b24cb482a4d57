#include "platform/rtl/form_reader.h"

#include <gtest/gtest.h>

#include <functional>

#include "rtl/form_test_classes.h"

namespace wenmoor {

// ---- The test classes of form_test_classes.h, registered once here. ----

std::vector<std::string>& FormTestLog() {
  static std::vector<std::string> log;
  return log;
}

namespace {
std::string Loading(const TComponent& c) { return c.IsLoading() ? " loading" : ""; }
}  // namespace

TFormTestWidget::TFormTestWidget(TComponent* owner) : TComponent(owner) {
  FormTestLog().push_back("construct TFormTestWidget");
}

void TFormTestWidget::SetCaption(const std::string& v) {
  if (v == "refuse") throw EComponentError("Caption %s refused", v);
  caption_ = v;
  FormTestLog().push_back("set " + Name() + ".Caption" + Loading(*this));
}

void TFormTestWidget::SetBuddy(TFormTestWidget* b) {
  buddy_ = b;
  if (b) b->FreeNotification(this);
  FormTestLog().push_back("ref " + Name() + ".Buddy=" + (b ? b->Name() : "nil") + Loading(*this));
}

void TFormTestWidget::Loaded() {
  TComponent::Loaded();
  FormTestLog().push_back("loaded " + Name());
}

void TFormTestWidget::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == buddy_) buddy_ = nullptr;
}

TFormTestForm::TFormTestForm(TComponent* owner) : TComponent(owner) {
  PublishMethod("ButtonClick", std::function<void(TObject*)>([this](TObject*) { ++clicks; }));
  PublishMethod("ValueChanged", std::function<void(TObject*, int)>([this](TObject*, int v) { last_change = v; }));
}

void TFormTestForm::SetCaption(const std::string& v) {
  caption_ = v;
  FormTestLog().push_back("set " + Name() + ".Caption" + Loading(*this));
}

void TFormTestForm::Loaded() {
  TComponent::Loaded();
  FormTestLog().push_back("loaded " + Name());
}

TFormTestFrame::TFormTestFrame(TComponent* owner) : TComponent(owner) {
  Create<TFormTestWidget>(this)->SetName("Inner");
}

TFormTestSpawner::TFormTestSpawner(TComponent* owner) : TComponent(owner) {
  if (owner && !owner->FindComponent("SpawnedHelper")) Create<TFormTestWidget>(owner)->SetName("SpawnedHelper");
}

void TFormTestBadLoaded::Loaded() {
  TComponent::Loaded();
  throw EComponentError("Loaded refused");
}

WENMOOR_REGISTER_CLASS(TFormTestFont) {
  c.Prop("Name", &T::Name, &T::SetName);
  c.Prop("Size", &T::Size, &T::SetSize).Default(8);
}

WENMOOR_REGISTER_CLASS(TFormTestItem) {
  c.Prop("Caption", &T::Caption, &T::SetCaption);
  c.Prop("Value", &T::Value, &T::SetValue).Default(0);
  c.Prop("Target", &T::Target, &T::SetTarget);
  c.Object("Children", &T::Children);
}

namespace {
const IntIdents& ShadeIdents() {
  static const IntIdents idents{{"shDark", 16}, {"shLight", 32}};
  return idents;
}
}  // namespace

WENMOOR_REGISTER_CLASS(TFormTestWidget) {
  c.Prop("Count", &T::Count, &T::SetCount).Default(0);
  c.Prop("Shade", &T::Shade, &T::SetShade).Default(0).Idents(ShadeIdents());
  c.Prop("Big", &T::Big, &T::SetBig).Default(0);
  c.Prop("Small", &T::Small, &T::SetSmall).Default(0);
  c.Prop("Enabled", &T::Enabled, &T::SetEnabled).Default(true);
  c.Prop("Color", &T::Color, &T::SetColor).Default(ftcRed);
  c.Prop("Colors", &T::Colors, &T::SetColors).Default(TFormTestColors{});
  c.Prop("Ratio", &T::Ratio, &T::SetRatio);
  c.Prop("Caption", &T::Caption, &T::SetCaption);
  c.Prop("Serial", &T::Serial);
  c.Object("Font", &T::Font);
  c.Object("Lines", &T::Lines);
  c.Object("Picture", &T::Picture);
  c.Object("Items", &T::Items);
  c.Prop("Buddy", &T::Buddy, &T::SetBuddy);
  c.Event("OnClick", &T::OnClick);
  c.Event("OnChange", &T::OnChange);
}

WENMOOR_REGISTER_CLASS(TFormTestForm) {
  c.Prop("Caption", &T::Caption, &T::SetCaption);
  c.Prop("Width", &T::Width, &T::SetWidth).Default(100);
  c.Object("Font", &T::Font);
  c.Event("OnCreate", &T::OnCreate);
}

WENMOOR_REGISTER_CLASS(TFormTestFrame) {}
WENMOOR_REGISTER_CLASS(TFormTestSpawner) {}
WENMOOR_REGISTER_CLASS(TFormTestBadLoaded) {}
WENMOOR_REGISTER_CLASS(TFormTestAbstract) {}

// ---- Tests of loading. ----

namespace {

// A form with one widget W whose body is `props` (one property a line).
std::string WidgetText(const std::string& props) {
  std::string body;
  size_t start = 0;
  while (start <= props.size()) {
    size_t nl = props.find('\n', start);
    if (nl == std::string::npos) nl = props.size();
    body += "    " + props.substr(start, nl - start) + "\n";
    start = nl + 1;
  }
  return "object Form1: TFormTestForm\n  object W: TFormTestWidget\n" + body + "  end\nend\n";
}

// A 2x3 bitmap as TPicture stores it: name length, "TBitmap", size, BMP file.
const char* kPictureHex =
    "07 54 42 69 74 6D 61 70 1A 00 00 00\n"
    "      42 4d 1A 00 00 00 00 00 00 00 1A 00 00 00 0c 00 00 00 02 00 03 00 01 00 18 00";

TEST(FormReader, SetsEveryKindOfValue) {
  struct Case {
    const char* name;
    std::string props;
    std::function<void(const TFormTestWidget&, const TFormTestForm&)> check;
  };
  using W = const TFormTestWidget&;
  using F = const TFormTestForm&;
  const Case cases[] = {
      {"decimal", "Count = 42", [](W w, F) { EXPECT_EQ(w.Count(), 42); }},
      {"negative", "Count = -7", [](W w, F) { EXPECT_EQ(w.Count(), -7); }},
      {"hex", "Count = $1f", [](W w, F) { EXPECT_EQ(w.Count(), 31); }},
      {"hex bit pattern of a 32-bit value", "Count = $80000005", [](W w, F) { EXPECT_EQ(w.Count(), -2147483643); }},
      {"int32 limits", "Count = -2147483648", [](W w, F) { EXPECT_EQ(w.Count(), INT32_MIN); }},
      {"64-bit", "Big = 9000000000", [](W w, F) { EXPECT_EQ(w.Big(), 9000000000); }},
      {"unsigned byte maximum", "Small = 255", [](W w, F) { EXPECT_EQ(w.Small(), 255); }},
      {"named integer", "Shade = SHLIGHT", [](W w, F) { EXPECT_EQ(w.Shade(), 32); }},
      {"number for a named integer", "Shade = 5", [](W w, F) { EXPECT_EQ(w.Shade(), 5); }},
      {"boolean, any case", "Enabled = fALSE", [](W w, F) { EXPECT_FALSE(w.Enabled()); }},
      {"enumeration, any case", "Color = FTCBLUE", [](W w, F) { EXPECT_EQ(w.Color(), ftcBlue); }},
      {"set", "Colors = [ftcRed, ftcBlue]",
       [](W w, F) { EXPECT_EQ(w.Colors(), (TFormTestColors{ftcRed, ftcBlue})); }},
      {"empty set", "Colors = []", [](W w, F) { EXPECT_TRUE(w.Colors().Empty()); }},
      {"float", "Ratio = 1.5", [](W w, F) { EXPECT_DOUBLE_EQ(w.Ratio(), 1.5); }},
      {"float exponent", "Ratio = 1.5E3", [](W w, F) { EXPECT_DOUBLE_EQ(w.Ratio(), 1500); }},
      {"negative float exponent", "Ratio = -2.5e-1", [](W w, F) { EXPECT_DOUBLE_EQ(w.Ratio(), -0.25); }},
      {"integer for a float", "Ratio = 3", [](W w, F) { EXPECT_DOUBLE_EQ(w.Ratio(), 3); }},
      {"doubled quote", "Caption = 'it''s'", [](W w, F) { EXPECT_EQ(w.Caption(), "it's"); }},
      {"control codes between parts", "Caption = 'a'#13#10'b'", [](W w, F) { EXPECT_EQ(w.Caption(), "a\r\nb"); }},
      {"codes alone", "Caption = #9", [](W w, F) { EXPECT_EQ(w.Caption(), "\t"); }},
      {"code points above 127", "Caption = #228#$263A", [](W w, F) { EXPECT_EQ(w.Caption(), "\xC3\xA4\xE2\x98\xBA"); }},
      {"UTF-8 kept", "Caption = 'Gr\xC3\xBC\xC3\x9F\x65'", [](W w, F) { EXPECT_EQ(w.Caption(), "Gr\xC3\xBC\xC3\x9F\x65"); }},
      {"joined across lines", "Caption = 'ab' +\n  'cd' +\n  #33",
       [](W w, F) { EXPECT_EQ(w.Caption(), "abcd!"); }},
      {"empty string", "Caption = ''", [](W w, F) { EXPECT_EQ(w.Caption(), ""); }},
      {"sub-object path", "Font.Name = 'Courier'\nFont.Size = 12",
       [](W w, F) {
         EXPECT_EQ(w.Font()->Name(), "Courier");
         EXPECT_EQ(w.Font()->Size(), 12);
       }},
      {"names without regard to case", "fONT.nAME = 'x'", [](W w, F) { EXPECT_EQ(w.Font()->Name(), "x"); }},
      {"string list", "Lines.Strings = (\n  'a'\n  ''\n  'c' + 'd')",
       [](W w, F) { EXPECT_EQ(w.Lines()->Lines(), (std::vector<std::string>{"a", "", "cd"})); }},
      {"binary over lines", std::string("Picture.Data = {\n  ") + kPictureHex + "}",
       [](W w, F) {
         EXPECT_EQ(w.Picture()->Width(), 2);
         EXPECT_EQ(w.Picture()->Height(), 3);
       }},
      {"collection with a nested collection",
       "Items = <\n  item\n    Caption = 'one'\n    Value = 1\n  end\n  item\n    Children = <\n      item\n"
       "        Value = 5\n      end>\n  end>",
       [](W w, F) {
         ASSERT_EQ(w.Items()->Count(), 2);
         EXPECT_EQ(w.Items()->Items(0)->Caption(), "one");
         EXPECT_EQ(w.Items()->Items(0)->Value(), 1);
         ASSERT_EQ(w.Items()->Items(1)->Children()->Count(), 1);
         EXPECT_EQ(w.Items()->Items(1)->Children()->Items(0)->Value(), 5);
       }},
      {"empty collection", "Items = <>", [](W w, F) { EXPECT_EQ(w.Items()->Count(), 0); }},
      {"component reference to itself", "Buddy = W", [](W w, F) { EXPECT_EQ(w.Buddy(), &w); }},
      {"nil reference", "Buddy = nil", [](W w, F) { EXPECT_EQ(w.Buddy(), nullptr); }},
      {"event handler", "OnClick = ButtonClick\nOnChange = valuechanged",
       [](W w, F f) {
         EXPECT_EQ(w.OnClick.Name(), "ButtonClick");
         w.OnClick(nullptr);
         w.OnChange(nullptr, 17);
         EXPECT_EQ(f.clicks, 1);
         EXPECT_EQ(f.last_change, 17);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ComponentPtr<> root = ReadComponentFromText(WidgetText(c.props), "case.dfm");
    auto* form = dynamic_cast<TFormTestForm*>(root.get());
    ASSERT_NE(form, nullptr);
    auto* w = dynamic_cast<TFormTestWidget*>(form->FindComponent("W"));
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->IsLoading());
    c.check(*w, *form);
  }
}

TEST(FormReader, LoadsInTheDocumentedOrder) {
  TFormTestForm form(nullptr);
  FormTestLog().clear();
  ReadRootComponentFromText(
      "object Form1: TFormTestForm\n"
      "  Caption = 'Main'\n"
      "  object A: TFormTestWidget\n"
      "    Caption = 'a'\n"
      "    Buddy = B\n"
      "    object C: TFormTestWidget\n"
      "      Caption = 'c'\n"
      "    end\n"
      "  end\n"
      "  object B: TFormTestWidget\n"
      "    Caption = 'b'\n"
      "    Buddy = A\n"
      "  end\n"
      "end\n",
      "order.dfm", form);
  const std::vector<std::string> want = {
      "set Form1.Caption loading",  // the root's name comes before its properties
      "construct TFormTestWidget", "set A.Caption loading",  //
      "construct TFormTestWidget", "set C.Caption loading",  //
      "construct TFormTestWidget", "set B.Caption loading",  //
      "ref A.Buddy=B loading",      "ref B.Buddy=A loading",  // after every object exists
      "loaded Form1",               "loaded A",
      "loaded C",                   "loaded B",  // creation order
  };
  EXPECT_EQ(FormTestLog(), want);

  // Everything is owned by the root; the nesting is the parent.
  ASSERT_EQ(form.ComponentCount(), 3);
  EXPECT_EQ(form.Components(0)->Name(), "A");
  EXPECT_EQ(form.Components(1)->Name(), "C");
  EXPECT_EQ(form.Components(2)->Name(), "B");
  EXPECT_EQ(form.FindComponent("C")->Owner(), &form);
  EXPECT_EQ(form.FindComponent("C")->GetParentComponent(), form.FindComponent("A"));
  EXPECT_EQ(form.FindComponent("A")->GetParentComponent(), &form);
  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_FALSE(form.IsLoading());
}

TEST(FormReader, ResolvesReferencesByName) {
  TFormTestForm form(nullptr);
  Create<TFormTestWidget>(&form)->SetName("Existing");
  ReadRootComponentFromText(
      "object Form1: TFormTestForm\n"
      "  OnCreate = ButtonClick\n"
      "  object A: TFormTestWidget\n"
      "    Buddy = LATER\n"  // forward, any case
      "    Items = <\n"
      "      item\n"
      "        Target = Form1.Later\n"  // through the root's name
      "      end>\n"
      "  end\n"
      "  object Frame1: TFormTestFrame\n"
      "  end\n"
      "  object Later: TFormTestWidget\n"
      "    Buddy = Frame1.Inner\n"  // a component that Frame1 owns
      "  end\n"
      "  inherited Existing: TFormTestWidget\n"  // an existing component, changed
      "    Caption = 'changed'\n"
      "    Buddy = A\n"
      "  end\n"
      "end\n",
      "refs.dfm", form);
  auto* a = dynamic_cast<TFormTestWidget*>(form.FindComponent("A"));
  auto* later = dynamic_cast<TFormTestWidget*>(form.FindComponent("Later"));
  auto* existing = dynamic_cast<TFormTestWidget*>(form.FindComponent("Existing"));
  ASSERT_TRUE(a && later && existing);
  EXPECT_EQ(a->Buddy(), later);
  EXPECT_EQ(a->Items()->Items(0)->Target(), later);
  EXPECT_EQ(later->Buddy(), form.FindComponent("Frame1")->FindComponent("Inner"));
  EXPECT_EQ(existing->Caption(), "changed");
  EXPECT_EQ(existing->Buddy(), a);
  EXPECT_EQ(form.ComponentCount(), 4) << "inherited reuses Existing";
  EXPECT_EQ(form.Components(0), existing);
  form.OnCreate(nullptr);
  EXPECT_EQ(form.clicks, 1);
}

TEST(FormReader, HeadersCreateOrReuse) {
  ComponentPtr<> root = ReadComponentFromText(
      "inherited Form1: TFormTestForm\n"
      "  object TFormTestWidget\n"
      "  end\n"
      "  inline Frame1: TFormTestFrame\n"
      "  end\n"
      "end\n",
      "headers.dfm");
  ASSERT_EQ(root->ComponentCount(), 2);
  EXPECT_EQ(root->Components(0)->Name(), "");
  EXPECT_EQ(root->Components(0)->ClassName(), "TFormTestWidget");
  EXPECT_EQ(root->Components(1)->ClassName(), "TFormTestFrame");
}

TEST(FormReader, LoadsFiveThousandObjects) {
  std::string text = "object Form1: TFormTestForm\n";
  const int n = 5000;
  for (int i = 0; i < n; ++i) {
    text += "  object W" + std::to_string(i) + ": TFormTestWidget\n    Count = " + std::to_string(i) +
            "\n    Buddy = W" + std::to_string((i + 1) % n) + "\n  end\n";
  }
  text += "end\n";
  ComponentPtr<> root = ReadComponentFromText(text, "big.dfm");
  ASSERT_EQ(root->ComponentCount(), n);
  auto* last = dynamic_cast<TFormTestWidget*>(root->Components(n - 1));
  EXPECT_EQ(last->Count(), n - 1);
  EXPECT_EQ(last->Buddy(), root->Components(0));
}

}  // namespace
}  // namespace wenmoor
