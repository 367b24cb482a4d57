// Bad form texts: each is refused with its place and reason, and leaves the
// form it was loaded into as it was.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/rtl/form_reader.h"
#include "rtl/form_test_classes.h"

namespace wenmoor {
namespace {

// A form with one widget W whose body is `props`: the first line of `props`
// is line 3 of the text, starting in column 5.
std::string WidgetText(const std::string& props) {
  return "object Form1: TFormTestForm\n  object W: TFormTestWidget\n    " + props + "\n  end\nend\n";
}

std::string Nested(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "object W" + std::to_string(i) + ": TFormTestWidget\n";
  for (int i = 0; i < depth; ++i) text += "end\n";
  return "object Form1: TFormTestForm\n" + text + "end\n";
}

struct BadCase {
  const char* name;
  std::string text;
  int line;
  int column;
  std::string reason;
};

// Loads `text` into a fresh TFormTestForm and checks the error and that the
// form is untouched.
void ExpectRefused(const BadCase& c) {
  SCOPED_TRACE(c.name);
  TFormTestForm form(nullptr);
  form.SetName("Original");
  auto* existing = Create<TFormTestWidget>(&form);
  existing->SetName("Existing");
  existing->SetCaption("before");
  FormTestLog().clear();
  try {
    ReadRootComponentFromText(c.text, "bad.dfm", form);
    ADD_FAILURE() << "loaded";
  } catch (const EFormError& e) {
    EXPECT_EQ(e.Reason(), c.reason);
    EXPECT_EQ(e.Line(), c.line);
    EXPECT_EQ(e.Column(), c.column);
    EXPECT_EQ(e.File(), "bad.dfm");
    EXPECT_EQ(std::string(e.what()),
              "bad.dfm, line " + std::to_string(c.line) + ", column " + std::to_string(c.column) + ": " + c.reason);
  }
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(form.Name(), "Original");
  EXPECT_EQ(form.Caption(), "");
  EXPECT_FALSE(form.IsLoading());
  EXPECT_EQ(existing->Caption(), "before");
}

TEST(FormReaderErrors, RefusesBadValuesWithPlaceAndReason) {
  const BadCase cases[] = {
      {"unknown property", WidgetText("Colour = 1"), 3, 5, "Property Colour does not exist in TFormTestWidget"},
      {"unknown sub-property", WidgetText("Font.Weight = 1"), 3, 10, "Property Weight does not exist in TFormTestFont"},
      {"path through a value", WidgetText("Count.X = 1"), 3, 5,
       "Property Count of TFormTestWidget has no properties of its own"},
      {"read-only", WidgetText("Serial = 3"), 3, 5, "Property Serial of TFormTestWidget is read-only"},
      {"string for an integer", WidgetText("Count = 'x'"), 3, 13,
       "Invalid value for Count: expected an integer but found a string"},
      {"float for an integer", WidgetText("Count = 1.5"), 3, 13,
       "Invalid value for Count: expected an integer but found a floating-point number"},
      {"above the byte", WidgetText("Small = 256"), 3, 13, "Value 256 is out of range for Small (0 to 255)"},
      {"above int32", WidgetText("Count = 2147483648"), 3, 13,
       "Value 2147483648 is out of range for Count (-2147483648 to 2147483647)"},
      {"unknown name for an integer", WidgetText("Shade = shPink"), 3, 13, "'shPink' is not a known value of Shade"},
      {"string for a named integer", WidgetText("Shade = 'x'"), 3, 13,
       "Invalid value for Shade: expected an integer or a named value but found a string"},
      {"not in the enumeration", WidgetText("Color = ftcPink"), 3, 13, "'ftcPink' is not a value of TFormTestColor"},
      {"not in the set's enumeration", WidgetText("Colors = [ftcRed, ftcPink]"), 3, 23,
       "Set element 'ftcPink' is not a value of TFormTestColor"},
      {"integer for a boolean", WidgetText("Enabled = 1"), 3, 15,
       "Invalid value for Enabled: expected True or False but found the integer 1"},
      {"identifier for a string", WidgetText("Caption = Hello"), 3, 15,
       "Invalid value for Caption: expected a string but found 'Hello'"},
      {"set for an enumeration", WidgetText("Color = [ftcRed]"), 3, 13,
       "Invalid value for Color: expected a value of TFormTestColor but found a set"},
      {"number in a string list", WidgetText("Lines.Strings = ( 'a' 12 )"), 3, 27,
       "Invalid item of Lines.Strings: expected a string but found the integer 12"},
      {"value for a sub-object", WidgetText("Font = <>"), 3, 12,
       "Invalid value for Font: expected no value (set its properties as Font.Name) but found a collection"},
      {"list for a collection", WidgetText("Items = ( 1 )"), 3, 13,
       "Invalid value for Items: expected a collection but found a list"},
      {"unknown property of an item", WidgetText("Items = < item Colour = 1 end >"), 3, 20,
       "Property Colour does not exist in TFormTestItem"},
      {"set twice", WidgetText("Count = 1\n    COUNT = 2"), 4, 5, "Property COUNT is set twice"},
      {"setter refuses", WidgetText("Caption = 'refuse'"), 3, 15, "Cannot set Caption: Caption refuse refused"},
      {"bad picture data", WidgetText("Picture.Data = { 00 }"), 3, 20,
       "Cannot set Picture.Data: Bitmap image is not valid"},
      {"missing component", WidgetText("Buddy = Nobody"), 3, 13, "Component Nobody not found"},
      {"missing component after a dot", WidgetText("Buddy = Form1.Nobody"), 3, 13, "Component Form1.Nobody not found"},
      {"component of another class", WidgetText("Buddy = Form1"), 3, 13,
       "Component Form1 is a TFormTestForm, but Buddy needs a TFormTestWidget"},
      {"missing handler", WidgetText("OnClick = NoSuchHandler"), 3, 15,
       "Event handler NoSuchHandler does not exist in TFormTestForm"},
      {"handler with other parameters", WidgetText("OnClick = ValueChanged"), 3, 15,
       "Event handler ValueChanged does not match the parameters of OnClick"},
      {"string for a handler", WidgetText("OnClick = 'ButtonClick'"), 3, 15,
       "Invalid value for OnClick: expected an event handler name but found a string"},
  };
  for (const BadCase& c : cases) ExpectRefused(c);
}

TEST(FormReaderErrors, RefusesBadObjectsWithPlaceAndReason) {
  const BadCase cases[] = {
      {"unknown class", "object Form1: TFormTestForm\n  object W: TNoSuchClass\n  end\nend\n", 2, 13,
       "Class TNoSuchClass not found"},
      {"not creatable", "object Form1: TFormTestForm\n  object A: TFormTestAbstract\n  end\nend\n", 2, 13,
       "Class TFormTestAbstract is not a component that can be created"},
      {"not a component", "object Form1: TFormTestForm\n  object F: TFormTestFont\n  end\nend\n", 2, 13,
       "Class TFormTestFont is not a component that can be created"},
      {"duplicate name", "object Form1: TFormTestForm\n  object W: TFormTestWidget\n  end\n  object w: TFormTestWidget\n"
                         "  end\nend\n",
       4, 10, "A component named w already exists"},
      {"name of an existing component", "object Form1: TFormTestForm\n  object Existing: TFormTestWidget\n  end\nend\n",
       2, 10, "A component named Existing already exists"},
      {"root of another class", "object Form1: TFormTestWidget\nend\n", 1, 15,
       "The root object is a TFormTestForm, not a TFormTestWidget"},
      {"no ancestor", "object Form1: TFormTestForm\n  inherited Ghost: TFormTestWidget\n  end\nend\n", 2, 13,
       "No existing component Ghost to inherit"},
      {"ancestor of another class", "object Form1: TFormTestForm\n  inherited Existing: TFormTestFrame\n  end\nend\n", 2,
       23, "Component Existing is a TFormTestWidget, not a TFormTestFrame"},
      {"constructor's helper, then a fault",
       "object Form1: TFormTestForm\n  object S: TFormTestSpawner\n  end\n  object X: TNoSuchClass\n  end\nend\n", 4, 13,
       "Class TNoSuchClass not found"},
  };
  for (const BadCase& c : cases) ExpectRefused(c);
}

TEST(FormReaderErrors, RefusesBadSyntaxWithPlaceAndReason) {
  const BadCase cases[] = {
      {"unterminated string", WidgetText("Caption = 'abc"), 3, 15, "Unterminated string"},
      {"missing end", "object Form1: TFormTestForm\n  object W: TFormTestWidget\n  end\n", 4, 1,
       "Missing 'end' of object Form1 opened at line 1"},
      {"bad number", WidgetText("Count = 12ab"), 3, 13, "Invalid number 12ab"},
      {"bad hex number", WidgetText("Count = $"), 3, 13, "Invalid number $"},
      {"number too large", WidgetText("Big = 99999999999999999999"), 3, 11, "Number 99999999999999999999 is out of range"},
      {"float too large", WidgetText("Ratio = 1e999"), 3, 13, "Number 1e999 is out of range"},
      {"missing '='", WidgetText("Count 1"), 3, 11, "Expected '=' but found '1'"},
      {"'+' before no string", WidgetText("Caption = 'a' + 1"), 3, 21, "Expected a string after '+' but found '1'"},
      {"unexpected character", WidgetText("Count = 1;"), 3, 14, "Unexpected character ';'"},
      {"odd hex digits", WidgetText("Picture.Data = { 0A0 }"), 3, 20, "Odd number of hex digits in binary data"},
      {"not hex", WidgetText("Picture.Data = { 0G }"), 3, 23,
       "Invalid character in binary data: only hex digits are allowed"},
      {"unterminated binary", "object Form1: TFormTestForm\n  Data = { 00\n", 2, 10,
       "Unterminated binary data: '}' is missing"},
      {"character code past Unicode", WidgetText("Caption = #1114112"), 3, 15, "Invalid character code #1114112"},
      {"surrogate character code", WidgetText("Caption = #$D800"), 3, 15, "Invalid character code #$D800"},
      {"missing set separator", WidgetText("Colors = [ftcRed ftcBlue]"), 3, 22,
       "Expected ',' or ']' but found 'ftcBlue'"},
      {"missing ')'", "object Form1: TFormTestForm\n  object W: TFormTestWidget\n    Lines.Strings = ( 'a'\n", 4, 1,
       "Missing ')' of the list opened at line 3"},
      {"collection without item", WidgetText("Items = < 1 >"), 3, 15, "Expected 'item' or '>' but found '1'"},
      {"property after children",
       "object Form1: TFormTestForm\n  object W: TFormTestWidget\n  end\n  Caption = 'x'\nend\n", 4, 3,
       "Property Caption follows child objects; properties come first"},
      {"text after the root", "object Form1: TFormTestForm\nend\nend\n", 3, 1,
       "Unexpected 'end' after the end of the root object"},
      {"no object", "Caption = 'x'\n", 1, 1, "Expected 'object' but found 'Caption'"},
      {"empty text", "", 1, 1, "Expected 'object' but found the end of the text"},
      {"nesting too deep", Nested(300), 257, 1, "Nesting deeper than 256 levels"},
  };
  for (const BadCase& c : cases) ExpectRefused(c);
}

TEST(FormReaderErrors, NestingUpToTheLimitIsFine) {
  TFormTestForm form(nullptr);
  ReadRootComponentFromText(Nested(255), "deep.dfm", form);
  EXPECT_EQ(form.ComponentCount(), 255);
}

// A failure after the root's properties, the existing components and
// references were all changed puts every one of them back, and nothing gets
// Loaded.
TEST(FormReaderErrors, FailureRestoresTheRootAndExistingComponents) {
  struct Case {
    const char* name;
    const char* fault;  // the last object of the text
    bool loaded_ran;
  };
  const Case cases[] = {
      {"property phase", "  object Z: TFormTestWidget\n    Count = 'x'\n  end\n", false},
      {"reference phase", "  object Z: TFormTestWidget\n    Buddy = Nobody\n  end\n", false},
      {"Loaded phase", "  object Z: TFormTestBadLoaded\n  end\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFormTestForm form(nullptr);
    auto* existing = Create<TFormTestWidget>(&form);
    existing->SetName("Existing");
    auto* keep = Create<TFormTestWidget>(&form);
    keep->SetName("Keep");
    existing->SetBuddy(keep);
    existing->Lines()->Add("old line");
    existing->Items()->Add()->SetCaption("old item");
    form.SetCaption("Old caption");
    form.Font()->SetName("Old font");
    bool old_handler_ran = false;
    form.OnCreate.Assign([&](TObject*) { old_handler_ran = true; }, "");
    FormTestLog().clear();

    std::string text =
        "object Form1: TFormTestForm\n"
        "  Caption = 'New caption'\n"
        "  Width = 300\n"
        "  Font.Name = 'New font'\n"
        "  OnCreate = ButtonClick\n"
        "  object A: TFormTestWidget\n"
        "    object S: TFormTestSpawner\n"
        "    end\n"
        "  end\n"
        "  inherited Existing: TFormTestWidget\n"
        "    Buddy = A\n"
        "    Lines.Strings = ( 'new' )\n"
        "    Items = < item Caption = 'new item' end >\n"
        "  end\n" +
        std::string(c.fault) + "end\n";
    // Refused at a place in the text, or as an object's Loaded raised it.
    EXPECT_THROW(ReadRootComponentFromText(text, "fail.dfm", form), Exception);

    ASSERT_EQ(form.ComponentCount(), 2);  // Existing and Keep; A, S, its helper and Z are gone
    EXPECT_EQ(form.Components(0), existing);
    EXPECT_EQ(form.Components(1), keep);
    EXPECT_EQ(form.Name(), "");
    EXPECT_EQ(form.Caption(), "Old caption");
    EXPECT_EQ(form.Width(), 100);
    EXPECT_EQ(form.Font()->Name(), "Old font");
    form.OnCreate(nullptr);
    EXPECT_TRUE(old_handler_ran) << "the handler assigned in code is back";
    EXPECT_EQ(form.clicks, 0);
    EXPECT_EQ(existing->Buddy(), keep);
    EXPECT_EQ(existing->Lines()->Lines(), std::vector<std::string>{"old line"});
    ASSERT_EQ(existing->Items()->Count(), 1);
    EXPECT_EQ(existing->Items()->Items(0)->Caption(), "old item");
    EXPECT_FALSE(form.IsLoading());
    EXPECT_FALSE(existing->IsLoading());
    bool any_loaded = std::any_of(FormTestLog().begin(), FormTestLog().end(),
                                  [](const std::string& s) { return s.rfind("loaded ", 0) == 0; });
    EXPECT_EQ(any_loaded, c.loaded_ran);
  }
}

TEST(FormReaderErrors, ALoadedFailurePassesOnAsTheObjectRaisedIt) {
  // An object's start-up in Loaded is not a fault of the text: its own
  // exception reaches the caller unchanged, and nothing of the load is left.
  try {
    ReadComponentFromText("object Form1: TFormTestForm\n  object B: TFormTestBadLoaded\n  end\nend\n", "bad.dfm");
    FAIL();
  } catch (const EFormError& e) {
    FAIL() << "wrapped: " << e.Message();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Loaded refused");
  }
}

TEST(FormReaderErrors, FailedNewRootLeavesNothing) {
  // The root is created by the reader: on failure it and all its objects are
  // freed (the sanitizer build checks that nothing leaks).
  EXPECT_THROW(ReadComponentFromText(WidgetText("Count = 'x'"), "new.dfm"), EFormError);
  EXPECT_THROW(ReadComponentFromText("object X: TNoSuchClass\nend\n", "new.dfm"), EFormError);
  EXPECT_THROW(ReadComponentFromText("object X: TFormTestFont\nend\n", "new.dfm"), EFormError);
}

}  // namespace
}  // namespace wenmoor
