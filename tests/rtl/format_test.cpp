#include "platform/rtl/format.h"

#include <gtest/gtest.h>

#include "platform/rtl/exceptions.h"

namespace wenmoor {
namespace {

struct FormatCase {
  const char* name;
  std::string got;
  std::string want;
};

TEST(Format, RendersDelphiSpecifiers) {
  const FormatCase cases[] = {
      {"string", Format("Key: %s Ident: %s", "A\\B", "N"), "Key: A\\B Ident: N"},
      {"decimal", Format("Index: %d", -12), "Index: -12"},
      {"hex upper", Format("%x", 255), "FF"},
      {"negative hex is 32-bit", Format("%x", -1), "FFFFFFFF"},
      {"percent", Format("100%% of %d", 3), "100% of 3"},
      {"width right", Format("[%5d]", 42), "[   42]"},
      {"width left", Format("[%-5s]", "ab"), "[ab   ]"},
      {"precision digits", Format("%.3d", 7), "007"},
      {"float", Format("%.2f", 1.005), "1.00"},
      {"float default", Format("%f", 2.5), "2.50"},
      {"thousands", Format("%n", 1234567.0), "1,234,567.00"},
      {"indexed", Format("%1:s %0:s", "a", "b"), "b a"},
      {"string truncation", Format("%.2s", "abcdef"), "ab"},
      {"unsigned", Format("%u", 4000000000u), "4000000000"},
      {"char", Format("<%s>", 'x'), "<x>"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.name;
}

TEST(Format, MismatchesAndMissingArgumentsNeverFail) {
  const FormatCase cases[] = {
      {"string under %d", Format("%d", "abc"), "abc"},
      {"number under %s", Format("%s", 12), "12"},
      {"missing argument kept", Format("a %s b %d", "x"), "a x b %d"},
      {"unknown conversion kept", Format("%q %s", "x"), "%q x"},
      {"trailing percent", Format("50%", 1), "50%"},
      {"huge width is capped", Format("%999999999d", 1).substr(0, 3), "   "},
      {"data is never a format", Format("%s", "%s %d %n"), "%s %d %n"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.name;
  EXPECT_LE(Format("%999999999d", 1).size(), 4096u);
}

TEST(Exceptions, IExceptionLocalizesTheTemplateBeforeFillingIn) {
  auto previous = SetMessageLocalizer([](std::string_view english) {
    return english == "Circular reference %s" ? std::string("Zirkelbezug %s") : std::string(english);
  });
  IException e("Circular reference %s", "A%sB");
  EXPECT_EQ(e.Message(), "Zirkelbezug A%sB");
  IException plain("Circular reference %s");  // no arguments: the text as is
  EXPECT_EQ(plain.Message(), "Zirkelbezug %s");
  SetMessageLocalizer(previous);
  EXPECT_EQ(EAIUserAbort().Message(), "Installation aborted by the user");
}

TEST(Exceptions, HierarchyCatchesAsDocumented) {
  try {
    throw EAIUserAbort();
  } catch (const IException& e) {
    EXPECT_NE(dynamic_cast<const EAI*>(&e), nullptr);
  }
  EXPECT_THROW(throw EWenmoorAbnormal("x"), ECustomWenmoorAbnormal);
  EXPECT_THROW(throw EAbort(), Exception);
}

}  // namespace
}  // namespace wenmoor
