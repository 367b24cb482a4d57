#include "platform/rtl/form_parser.h"

#include <gtest/gtest.h>

namespace wenmoor {
namespace {

using K = FormValue::Kind;

TEST(FormParser, ReadsHeadersNestingAndPaths) {
  FormObject root = ParseFormText(
      "object MainForm: TForm\n"
      "  Information.CompanyName = 'x'\n"
      "  object TTimer\n"
      "  end\n"
      "  INHERITED Install1: TInstall\n"
      "    inline Frame1: TFrame\n"
      "    end\n"
      "  End\n"
      "end\n",
      "p.dfm");
  EXPECT_EQ(root.header, FormObject::Header::Object);
  EXPECT_EQ(root.name, "MainForm");
  EXPECT_EQ(root.class_name, "TForm");
  ASSERT_EQ(root.properties.size(), 1u);
  const FormProperty& p = root.properties[0];
  EXPECT_EQ(p.path, (std::vector<std::string>{"Information", "CompanyName"}));
  EXPECT_EQ(p.path_pos[1].column, 15);
  EXPECT_EQ(JoinPath(p.path), "Information.CompanyName");

  ASSERT_EQ(root.children.size(), 2u);
  EXPECT_EQ(root.children[0].name, "");
  EXPECT_EQ(root.children[0].class_name, "TTimer");
  EXPECT_EQ(root.children[1].header, FormObject::Header::Inherited);
  EXPECT_EQ(root.children[1].name, "Install1");
  EXPECT_EQ(root.children[1].pos.line, 5);
  EXPECT_EQ(root.children[1].class_pos.column, 23);
  ASSERT_EQ(root.children[1].children.size(), 1u);
  EXPECT_EQ(root.children[1].children[0].header, FormObject::Header::Inline);
}

TEST(FormParser, ReadsEveryKindOfValue) {
  FormObject root = ParseFormText(
      "object F: TForm\n"
      "  S = 'a'#13#10'b' +\n"
      "    'c'\n"
      "  I = -$1F\n"
      "  R = 1.5E3\n"
      "  Id = Form1.Button1\n"
      "  Set = [itFull, itDefault]\n"
      "  Empty = []\n"
      "  List = ( 'a' 12 x ( 1 ) )\n"
      "  Coll = <\n"
      "    item\n"
      "      A = 1\n"
      "    end\n"
      "    item\n"
      "    end>\n"
      "  Bin = {\n"
      "    0A0b\n"
      "    0C}\n"
      "end\n",
      "v.dfm");
  const auto& props = root.properties;
  ASSERT_EQ(props.size(), 9u);
  EXPECT_EQ(props[0].value.kind, K::String);
  EXPECT_EQ(props[0].value.text, "a\r\nbc");
  EXPECT_EQ(props[1].value.kind, K::Integer);
  EXPECT_EQ(props[1].value.integer, -31);
  EXPECT_TRUE(props[1].value.hex);
  EXPECT_EQ(props[2].value.kind, K::Float);
  EXPECT_DOUBLE_EQ(props[2].value.real, 1500);
  EXPECT_EQ(props[3].value.kind, K::Ident);
  EXPECT_EQ(props[3].value.text, "Form1.Button1");
  EXPECT_EQ(props[4].value.kind, K::Set);
  ASSERT_EQ(props[4].value.items.size(), 2u);
  EXPECT_EQ(props[4].value.items[1].text, "itDefault");
  EXPECT_EQ(props[4].value.items[1].pos.column, 18);
  EXPECT_EQ(props[5].value.kind, K::Set);
  EXPECT_TRUE(props[5].value.items.empty());
  const FormValue& list = props[6].value;
  ASSERT_EQ(list.kind, K::List);
  ASSERT_EQ(list.items.size(), 4u);
  EXPECT_EQ(list.items[1].integer, 12);
  EXPECT_EQ(list.items[2].kind, K::Ident);
  EXPECT_EQ(list.items[3].kind, K::List);
  const FormValue& coll = props[7].value;
  ASSERT_EQ(coll.kind, K::Collection);
  ASSERT_EQ(coll.collection.size(), 2u);
  ASSERT_EQ(coll.collection[0].properties.size(), 1u);
  EXPECT_EQ(coll.collection[0].properties[0].path[0], "A");
  EXPECT_TRUE(coll.collection[1].properties.empty());
  EXPECT_EQ(props[8].value.kind, K::Binary);
  EXPECT_EQ(props[8].value.bytes, (std::vector<uint8_t>{0x0A, 0x0B, 0x0C}));
}

TEST(FormParser, BoundsNesting) {
  auto lists = [](int depth) {
    return "object F: TForm\n  L = " + std::string(static_cast<size_t>(depth), '(') +
           std::string(static_cast<size_t>(depth), ')') + "\nend\n";
  };
  // The root is level 1 and its property's value level 2: 255 lists fit.
  EXPECT_NO_THROW(ParseFormText(lists(FormParser::kMaxDepth - 1), "n.dfm"));
  for (int depth : {FormParser::kMaxDepth, 100000}) {
    SCOPED_TRACE(depth);
    try {
      ParseFormText(lists(depth), "n.dfm");
      ADD_FAILURE() << "parsed";
    } catch (const EFormError& e) {
      EXPECT_EQ(e.Reason(), "Nesting deeper than 256 levels");
      EXPECT_EQ(e.Line(), 2);
      EXPECT_EQ(e.Column(), 6 + FormParser::kMaxDepth);  // the 256th '('
    }
  }
}

TEST(FormParser, RefusesBadSyntaxAtItsPlace) {
  struct Case {
    const char* text;
    int line, column;
    const char* reason;
  };
  const Case cases[] = {
      {"object : TForm\nend", 1, 8, "Expected a component name or class name but found ':'"},
      {"object F: 'x'\nend", 1, 11, "Expected a class name but found a string"},
      {"object F: TForm\n  12 = 3\nend", 2, 3, "Expected a property, an object or 'end' but found '12'"},
      {"object F: TForm\n  A. = 3\nend", 2, 6, "Expected a property name after '.' but found '='"},
      {"object F: TForm\n  A = \nend", 3, 1, "Expected a value but found 'end'"},
      {"object F: TForm\n  A = )\nend", 2, 7, "Expected a value but found ')'"},
      {"object F: TForm\n  A = [1]\nend", 2, 8, "Expected a set element but found '1'"},
      {"object F: TForm\n  A = x.'s'\nend", 2, 9, "Expected a name after '.' but found a string"},
      {"object F: TForm\n  A = < item B = 1\n", 3, 1, "Missing 'end' of the item opened at line 2"},
      {"object F: TForm\n  A = < item 1 end >\nend", 2, 14, "Expected a property or 'end' but found '1'"},
      {"object F: TForm\n  A = <\n", 3, 1, "Missing '>' of the collection opened at line 2"},
      {"object F: TForm\nend\nobject G: TForm\nend", 3, 1, "Unexpected 'object' after the end of the root object"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      ParseFormText(c.text, "s.dfm");
      ADD_FAILURE() << "parsed";
    } catch (const EFormError& e) {
      EXPECT_EQ(e.Line(), c.line);
      EXPECT_EQ(e.Column(), c.column);
      EXPECT_EQ(e.Reason(), c.reason);
    }
  }
}

}  // namespace
}  // namespace wenmoor
