#include "platform/rtl/form_writer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/rtl/form_reader.h"
#include "rtl/form_test_classes.h"

namespace wenmoor {
namespace {

const std::vector<uint8_t> kPictureData = {
    0x07, 'T',  'B',  'i',  't',  'm',  'a',  'p',  0x1A, 0x00, 0x00, 0x00, 0x42, 0x4D, 0x1A, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x1A, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x02, 0x00, 0x03, 0x00, 0x01, 0x00, 0x18, 0x00};

// What a form built in code (BuildForm) is saved as.
const char* const kGolden =
    "object Form1: TFormTestForm\n"
    "  Caption = 'Setup ''Quarry'''\n"
    "  Width = 300\n"
    "  Font.Name = 'Tahoma'\n"
    "  OnCreate = ButtonClick\n"
    "  object A: TFormTestWidget\n"
    "    Count = 3\n"
    "    Shade = shDark\n"
    "    Enabled = False\n"
    "    Color = ftcGreen\n"
    "    Colors = [ftcRed, ftcBlue]\n"
    "    Ratio = 2.0\n"
    "    Caption = 'Line1'#13#10'Line2 \xC3\xA4'\n"
    "    Font.Name = 'Arial'\n"
    "    Font.Size = 12\n"
    "    Lines.Strings = (\n"
    "      'a'\n"
    "      'it''s')\n"
    "    Picture.Data = {\n"
    "      07544269746D61701A000000424D1A000000000000001A0000000C0000000200\n"
    "      030001001800}\n"
    "    Items = <\n"
    "      item\n"
    "        Caption = 'one'\n"
    "        Value = 1\n"
    "      end\n"
    "      item\n"
    "        Children = <\n"
    "          item\n"
    "            Value = 5\n"
    "          end>\n"
    "      end>\n"
    "    Buddy = B\n"
    "    OnClick = ButtonClick\n"
    "    object C: TFormTestWidget\n"
    "      Ratio = 0.1\n"
    "      Caption =\n"
    "        'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx' +\n"
    "        'yyyyyy'\n"
    "      Font.Name = 'Arial'\n"
    "    end\n"
    "  end\n"
    "  object B: TFormTestWidget\n"
    "    Shade = 5\n"
    "    Big = -9000000000\n"
    "    Font.Name = 'Arial'\n"
    "    Buddy = Frame1.Inner\n"
    "  end\n"
    "  object Frame1: TFormTestFrame\n"
    "  end\n"
    "  object TFormTestWidget\n"
    "    Font.Name = 'Arial'\n"
    "    OnChange = ValueChanged\n"
    "  end\n"
    "end\n";

// A form built in code with one of each kind of value: the counterpart of kGolden.
void BuildForm(TFormTestForm& form) {
  form.SetName("Form1");
  form.SetCaption("Setup 'Quarry'");
  form.SetWidth(300);
  form.Font()->SetName("Tahoma");
  form.OnCreate.Assign([](TObject*) {}, "ButtonClick");

  auto* a = Create<TFormTestWidget>(&form);
  a->SetName("A");
  a->SetCount(3);
  a->SetShade(16);
  a->SetEnabled(false);
  a->SetColor(ftcGreen);
  a->SetColors({ftcBlue, ftcRed});
  a->SetRatio(2.0);
  a->SetCaption("Line1\r\nLine2 \xC3\xA4");
  a->Font()->SetSize(12);
  a->Lines()->SetLines({"a", "it's"});
  a->Picture()->SetData(kPictureData);
  auto* one = a->Items()->Add();
  one->SetCaption("one");
  one->SetValue(1);
  a->Items()->Add()->Children()->Add()->SetValue(5);
  a->OnClick.Assign([](TObject*) {}, "ButtonClick");

  auto* c = Create<TFormTestWidget>(&form);
  c->SetName("C");
  c->SetParentComponent(a);
  c->SetRatio(0.1);
  c->SetCaption(std::string(64, 'x') + "yyyyyy");

  auto* b = Create<TFormTestWidget>(&form);
  b->SetName("B");
  b->SetShade(5);
  b->SetBig(-9000000000);
  a->SetBuddy(b);

  auto* frame = Create<TFormTestFrame>(&form);
  frame->SetName("Frame1");
  b->SetBuddy(dynamic_cast<TFormTestWidget*>(frame->FindComponent("Inner")));

  auto* unnamed = Create<TFormTestWidget>(&form);
  unnamed->OnChange.Assign([](TObject*, int) {}, "ValueChanged");
}

TEST(FormWriter, WritesTheLibraryLayout) {
  TFormTestForm form(nullptr);
  BuildForm(form);
  EXPECT_EQ(WriteComponentToText(form), kGolden);
}

TEST(FormWriter, LoadSaveLoadIsStable) {
  const std::string golden = kGolden;
  ComponentPtr<> first = ReadComponentFromText(golden, "golden.dfm");
  std::string once = WriteComponentToText(*first);
  EXPECT_EQ(once, golden);
  ComponentPtr<> second = ReadComponentFromText(once, "once.dfm");
  EXPECT_EQ(WriteComponentToText(*second), once);

  auto* a = dynamic_cast<TFormTestWidget*>(second->FindComponent("A"));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Picture()->Data(), kPictureData);
  EXPECT_EQ(second->FindComponent("C")->GetParentComponent(), a);
}

TEST(FormWriter, ReferenceToTheRootByItsName) {
  // A widget as the root, so that a widget property can name it.
  ComponentPtr<> root = ReadComponentFromText(
      "object Top: TFormTestWidget\n"
      "  Font.Name = 'Arial'\n"
      "  Buddy = Top\n"
      "  object Inner: TFormTestWidget\n"
      "    Font.Name = 'Arial'\n"
      "    Buddy = Top\n"
      "  end\n"
      "end\n",
      "top.dfm");
  auto* top = dynamic_cast<TFormTestWidget*>(root.get());
  EXPECT_EQ(top->Buddy(), top);
  EXPECT_EQ(WriteComponentToText(*root),
            "object Top: TFormTestWidget\n"
            "  Font.Name = 'Arial'\n"
            "  Buddy = Top\n"
            "  object Inner: TFormTestWidget\n"
            "    Font.Name = 'Arial'\n"
            "    Buddy = Top\n"
            "  end\n"
            "end\n");
}

TEST(FormWriter, StringsSurviveTheRoundTrip) {
  const std::string cases[] = {
      "",
      "'",
      "''",
      "a'b",
      "\r\n",
      "\x01\x7F",
      "tab\there",
      "#13 is text here",
      "a + b",
      " padded ",
      "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80",  // two-, three- and four-byte characters
      std::string(64, 'x'),                     // exactly one line
      std::string(65, '\''),                    // quotes across the split
      std::string(130, '\n'),                   // codes across the split
  };
  for (const std::string& s : cases) {
    SCOPED_TRACE(testing::PrintToString(s));
    TFormTestForm form(nullptr);
    auto* w = Create<TFormTestWidget>(&form);
    w->SetName("W");
    w->SetCaption(s);
    w->Lines()->SetLines({s, s});
    std::string text = WriteComponentToText(form);
    ComponentPtr<> back = ReadComponentFromText(text, "strings.dfm");
    auto* wb = dynamic_cast<TFormTestWidget*>(back->FindComponent("W"));
    ASSERT_NE(wb, nullptr);
    EXPECT_EQ(wb->Caption(), s);
    EXPECT_EQ(wb->Lines()->Lines(), (std::vector<std::string>{s, s}));
    EXPECT_EQ(WriteComponentToText(*back), text);
  }
}

TEST(FormWriter, SplitsLongStringsAtCharacters) {
  TFormTestForm form(nullptr);
  auto* w = Create<TFormTestWidget>(&form);
  w->SetName("W");
  std::string umlauts;
  for (int i = 0; i < 70; ++i) umlauts += "\xC3\xA4";
  w->SetCaption(umlauts);
  std::string text = WriteComponentToText(form);
  std::string first_piece, second_piece;
  for (int i = 0; i < 64; ++i) first_piece += "\xC3\xA4";
  for (int i = 0; i < 6; ++i) second_piece += "\xC3\xA4";
  EXPECT_NE(text.find("    Caption =\n      '" + first_piece + "' +\n      '" + second_piece + "'\n"),
            std::string::npos)
      << text;
}

TEST(FormWriter, NestsByParentEvenWhenParentsFormACycle) {
  TFormTestForm form(nullptr);
  form.SetName("Form1");
  auto* a = Create<TFormTestWidget>(&form);
  a->SetName("A");
  auto* b = Create<TFormTestWidget>(&form);
  b->SetName("B");
  a->SetParentComponent(b);
  b->SetParentComponent(a);
  std::string text = WriteComponentToText(form);
  EXPECT_EQ(text,
            "object Form1: TFormTestForm\n"
            "  Font.Name = 'Arial'\n"
            "  object A: TFormTestWidget\n"
            "    Font.Name = 'Arial'\n"
            "    object B: TFormTestWidget\n"
            "      Font.Name = 'Arial'\n"
            "    end\n"
            "  end\n"
            "end\n");
}

TEST(FormWriter, RefusesWhatTheTextCannotHold) {
  struct Case {
    const char* name;
    std::function<void(TFormTestForm&, TFormTestWidget&)> spoil;
    const char* message;
  };
  TFormTestForm elsewhere(nullptr);
  elsewhere.SetName("Other");
  auto* foreign = Create<TFormTestWidget>(&elsewhere);
  foreign->SetName("Foreign");
  const Case cases[] = {
      {"reference to an unnamed component",
       [](TFormTestForm& f, TFormTestWidget& w) { w.SetBuddy(Create<TFormTestWidget>(&f)); },
       "Property Buddy refers to a TFormTestWidget without a name"},
      {"reference outside the root", [&](TFormTestForm&, TFormTestWidget& w) { w.SetBuddy(foreign); },
       "Property Buddy refers to Foreign, which is outside Form1"},
      {"float that is not finite", [](TFormTestForm&, TFormTestWidget& w) { w.SetRatio(std::nan("")); },
       "Property Ratio has no finite value"},
      {"enumeration value outside its type",
       [](TFormTestForm&, TFormTestWidget& w) { w.SetColor(static_cast<TFormTestColor>(9)); },
       "Value 9 of Color is not a value of TFormTestColor"},
      {"set element outside its type",
       [](TFormTestForm&, TFormTestWidget& w) { w.SetColors(TFormTestColors::FromBits(1u << 5)); },
       "Value 5 of Colors is not a value of TFormTestColor"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFormTestForm form(nullptr);
    form.SetName("Form1");
    auto* w = Create<TFormTestWidget>(&form);
    w->SetName("W");
    c.spoil(form, *w);
    try {
      WriteComponentToText(form);
      ADD_FAILURE() << "written";
    } catch (const EWriteError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

}  // namespace
}  // namespace wenmoor
