// Rich text to plain text, and the rich text box that shows it.
#include <gtest/gtest.h>

#include "platform/ui/edits.h"
#include "platform/ui/rtf.h"
#include "ui_fixture.h"

namespace wenmoor {
namespace {

TEST(RtfTest, TheBodyTextIsKeptAndEverythingElseDropped) {
  struct Row {
    const char* rtf;
    const char* text;
  };
  const Row rows[] = {
      {R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}}{\colortbl;\red0\green0\blue0;}\f0\fs16 Hello\par World\par})",
       "Hello\r\nWorld"},
      {R"({\rtf1 a\tab b\line c})", "a\tb\r\nc"},
      {R"({\rtf1 \{braces\} and \\ backslash})", "{braces} and \\ backslash"},
      {R"({\rtf1 caf\'e9 \'80})", "caf\xC3\xA9 \xE2\x82\xAC"},
      {R"({\rtf1 \u8364? and \uc2\u8212 xx done})", "\xE2\x82\xAC and \xE2\x80\x94 done"},
      {R"({\rtf1 \u-4064?})", "\xEF\x80\xA0"},  // 65536 - 4064 = U+F020
      {R"({\rtf1 {\*\generator Msftedit;}{\info{\title T}}{\pict 0a0b}visible})", "visible"},
      {R"({\rtf1 {\field{\*\fldinst HYPERLINK x}{\fldrslt link}}})", "link"},
      {R"({\rtf1 \lquote q\rquote  \ldblquote d\rdblquote \bullet \endash})",
       "\xE2\x80\x98q\xE2\x80\x99 \xE2\x80\x9C" "d\xE2\x80\x9D\xE2\x80\xA2\xE2\x80\x93"},  // delimiters go
      {"{\\rtf1 one\\\r\ntwo}", "one\r\ntwo"},
      {R"({\rtf1 unbalanced {group)", "unbalanced group"},
      {R"({\rtf1 cut \)", "cut "},
      {R"({\rtf1 bad hex \'zz!})", "bad hex zz!"},
      {R"(}}}{\rtf1 x})", "x"},
  };
  for (const Row& r : rows) EXPECT_EQ(RtfToPlainText(r.rtf), r.text) << r.rtf;
}

TEST(RtfTest, OnlyDocumentsThatStartLikeRtfAreTakenForRtf) {
  EXPECT_TRUE(LooksLikeRtf("  \r\n{\\rtf1 x}"));
  EXPECT_FALSE(LooksLikeRtf("{\\rt"));
  EXPECT_FALSE(LooksLikeRtf("Plain {\\rtf1} text"));
}

TEST(RtfTest, DeepNestingNeedsNoStack) {
  std::string deep = "{\\rtf1 ";
  deep += std::string(200000, '{') + "deep" + std::string(200000, '}') + "}";
  EXPECT_EQ(RtfToPlainText(deep), "deep");
}

class RichEditTest : public UiFixture {};

TEST_F(RichEditTest, RichTextLinesAreShownAsTheirPlainText) {
  auto owner = CreateUnowned<TComponent>();
  auto* rich = Create<TRichEdit>(owner.get());
  int changes = 0;
  rich->OnChange.Assign([&](TObject*) { ++changes; });
  TStringList licence;
  licence.SetText("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\r\nLicence\\par\r\nTerms\\par\r\n}");
  rich->Lines()->Assign(licence);
  EXPECT_EQ(rich->Lines()->Lines(), (std::vector<std::string>{"Licence", "Terms"}));
  EXPECT_EQ(rich->Text(), "Licence\r\nTerms");
  EXPECT_EQ(changes, 1);

  rich->Lines()->SetText("plain {\\rtf1 stays}");
  EXPECT_EQ(rich->Lines()->Strings(0), "plain {\\rtf1 stays}");
  rich->SetPlainText(true);
  rich->Lines()->SetText("{\\rtf1 kept as it is}");
  EXPECT_EQ(rich->Lines()->Strings(0), "{\\rtf1 kept as it is}");
}

}  // namespace
}  // namespace wenmoor
