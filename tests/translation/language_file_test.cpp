// Language lines as a script stores them and as files hold them: parsing on
// every change, loading, and the German texts shipped with the framework.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/form_error.h"
#include "platform/rtl/form_reader.h"
#include "platform/rtl/form_writer.h"
#include "platform/rtl/stream.h"
#include "platform/ui/buttons.h"
#include "platform/ui/forms.h"
#include "support/temp_prefix.h"
#include "translation/cmp_TTranslateControls.h"
#include "translation/cmp_TTranslator.h"

namespace wenmoor {
namespace {

std::vector<int32_t> Glids(const TLanguage& l) {
  std::vector<int32_t> out;
  for (const auto& e : l.Elements()) out.push_back(e->GLID());
  return out;
}

TEST(LanguageLinesTest, ElementsFollowEveryChangeOfTheLines) {
  auto translator = CreateUnowned<TTranslator>();
  TLanguage& l = *translator->Lg<wlGerman>();
  TLangFormatStrings& s = *l.Strings();
  s.Add("1;eins");
  s.Add("#9;");
  EXPECT_EQ(Glids(l), (std::vector<int32_t>{1}));
  EXPECT_TRUE(l.Memos().empty()) << "an open memo is not there yet";
  s.Add("Zeile");
  s.Add("#");
  ASSERT_EQ(l.Memos().size(), 1u);
  EXPECT_EQ(l.FindMemoByGLID(9)->Lines()->Lines(), std::vector<std::string>{"Zeile"});
  s.Insert(0, "2;zwei");
  EXPECT_EQ(Glids(l), (std::vector<int32_t>{2, 1}));
  EXPECT_EQ(l.FindStringByGLID(1)->Line(), 1);
  // A deleted text is gone at once, and the lines after it move up.
  s.Delete(0);
  EXPECT_EQ(l.FindStringByText("zwei"), nullptr);
  EXPECT_EQ(l.FindStringByGLID(1)->Line(), 0);
  EXPECT_EQ(l.FindMemoByGLID(9)->Line(), 1);
  // So is a text replaced in place.
  s.Put(0, "1;Eins");
  EXPECT_EQ(l.FindStringByGLID(1)->Text(), "Eins");
  EXPECT_EQ(l.FindStringByGLID(1)->Language(), &l);
  s.Move(0, 3);
  EXPECT_EQ(l.FindStringByGLID(1)->Line(), 3);
  EXPECT_THROW(s.Move(0, 4), EListError);
  EXPECT_EQ(s.Count(), 4);
  s.AddStrings(TStringList{"#8", "acht", "#"});
  EXPECT_EQ(l.FindMemoByGLID(8)->Line(), 4);
  s.Clear();
  EXPECT_TRUE(l.Elements().empty());
  EXPECT_TRUE(l.Memos().empty());

  // While AutoParse is off nothing is parsed; Parse then does it.
  l.SetAutoParse(false);
  s.Add("5;fünf");
  EXPECT_TRUE(l.Elements().empty());
  l.SetAutoParse(true);
  l.Parse();
  EXPECT_EQ(Glids(l), (std::vector<int32_t>{5}));
}

TEST(LanguageLinesTest, ABadLineEmptiesTheLanguageButKeepsItsLines) {
  auto translator = CreateUnowned<TTranslator>();
  TLanguage& l = *translator->Lg<wlGerman>();
  l.Strings()->SetLines({"1;eins", "#3;", "x", "#"});
  ASSERT_EQ(l.Elements().size(), 1u);
  try {
    l.Strings()->Add("zwei");
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "The 4'th string (zwei) does not have the proper format of GLID;Text or .GLID;");
  }
  EXPECT_EQ(l.Strings()->Count(), 5);
  EXPECT_TRUE(l.Elements().empty());
  EXPECT_TRUE(l.Memos().empty());

  // A failed bulk change leaves AutoParse on; the next change parses again.
  TStringList bad{"#"};
  EXPECT_THROW(l.Strings()->Assign(bad), Exception);
  EXPECT_TRUE(l.AutoParse());
  l.Strings()->SetLines({"7;sieben"});
  EXPECT_EQ(Glids(l), (std::vector<int32_t>{7}));
}

TEST(LanguageLinesTest, LoadedFromFilesWithTheFileNamedInErrors) {
  test::TempPrefix prefix;
  prefix.WriteFile("C:\\lang\\wnmiGerman.txt", "\xEF\xBB\xBF* Deutsch\r\n6;Abbrechen\r\n#2\r\nZeile\r\n#\r\n");
  prefix.WriteFile("C:\\lang\\bad.txt", "6;Abbrechen\n#\n");
  auto translator = CreateUnowned<TTranslator>();
  TLanguage& l = *translator->Lg<wlGerman>();
  l.Strings()->LoadFromFile("C:\\lang\\" + l.FileName());
  EXPECT_EQ(l.Strings()->Strings(0), "* Deutsch") << "the byte order mark is no text";
  EXPECT_EQ(l.FindStringByGLID(6)->Text(), "Abbrechen");
  EXPECT_NE(l.FindMemoByGLID(2), nullptr);
  try {
    l.Strings()->LoadFromFile("C:\\lang\\bad.txt");
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "C:\\lang\\bad.txt: Found the end of memo marker # at line 1. Was not in a memo however");
  }
  EXPECT_THROW(l.Strings()->LoadFromFile("C:\\lang\\missing.txt"), EFOpenError);
}

constexpr const char* kScript = R"(object MainForm: TForm
  Caption = 'Setup'
  object MainTranslator: TTranslator
    lgEnglish.Strings.Strings = (
      '5;Next >'
      '6;Cancel')
    lgGerman.Font.Name = 'Tahoma'
    lgGerman.FontOverride = True
    lgGerman.Strings.Strings = (
      '* Deutsch'
      '5;Weiter >'
      '6;Abbrechen')
    TranslateIntoLanguage = wlGerman
  end
  object CancelBtn: TTranslateBitBtn
    Caption = 'Cancel'
    GLID = 6
  end
end
)";

TEST(LanguageLinesTest, AScriptCarriesTheLanguagesAndIsWrittenBackTheSame) {
  ComponentPtr<> form = ReadComponentFromText(kScript, "main.dfm");
  auto* translator = dynamic_cast<TTranslator*>(form->FindComponent("MainTranslator"));
  ASSERT_NE(translator, nullptr);
  EXPECT_EQ(MainTranslator(), translator);
  EXPECT_EQ(translator->TranslateIntoLanguage(), wlGerman);
  const TLanguage& german = *translator->Lg<wlGerman>();
  EXPECT_EQ(Glids(german), (std::vector<int32_t>{5, 6})) << "parsed as the lines were read";
  EXPECT_TRUE(german.FontOverride());
  EXPECT_EQ(german.Font()->Name(), "Tahoma");
  EXPECT_EQ(TranslateForm(wlEnglish, form.get()), wlGerman);
  EXPECT_EQ(static_cast<TControl*>(form->FindComponent("CancelBtn"))->Caption(), "Abbrechen");

  const std::string written = WriteComponentToText(*ReadComponentFromText(kScript, "main.dfm"));
  EXPECT_NE(written.find("lgGerman.Strings.Strings = ("), std::string::npos) << written;
  EXPECT_EQ(written.find("LanguageIdent"), std::string::npos) << "read-only";
  EXPECT_EQ(written.find("lgFrench.Strings"), std::string::npos) << "a language without lines has none written";
  ComponentPtr<> again = ReadComponentFromText(written, "again.dfm");
  auto* t2 = dynamic_cast<TTranslator*>(again->FindComponent("MainTranslator"));
  EXPECT_EQ(t2->Lg<wlGerman>()->Strings()->Lines(), german.Strings()->Lines());
  EXPECT_EQ(t2->TranslateIntoLanguage(), wlGerman);
}

TEST(LanguageLinesTest, ABadLineInAScriptNamesTheFileAndLine) {
  std::string text = kScript;
  text.replace(text.find("'6;Abbrechen'"), 13, "'Abbrechen'");
  try {
    ReadComponentFromText(text, "main.dfm");
    FAIL() << "no error";
  } catch (const EFormError& e) {
    EXPECT_NE(std::string(e.what()).find("main.dfm"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("The 2'th string (Abbrechen)"), std::string::npos) << e.what();
    EXPECT_GT(e.Line(), 0);
  }
}

// The language texts shipped with the framework.
std::vector<std::string> ShippedLines(const std::string& file) {
  std::ifstream in(std::string(WENMOOR_SOURCE_DIR) + "/src/translation/lang/" + file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  TStringList lines;
  lines.SetText(s.str());
  return lines.Lines();
}

TEST(ShippedLanguagesTest, GermanCoversEveryEnglishTextAndTranslatesAWizardPage) {
  auto translator = CreateUnowned<TTranslator>();
  TLanguage& english = *translator->Lg<wlEnglish>();
  TLanguage& german = *translator->Lg<wlGerman>();
  english.Strings()->SetLines(ShippedLines(english.FileName()));
  german.Strings()->SetLines(ShippedLines(german.FileName()));
  // The texts of the standard dialogs' controls.
  for (int32_t glid : {2, 3, 4, 5, 6, 8, 10, 11, 12, 14, 15, 16, 26, 38, 45, 46, 47, 48, 49, 52, 60, 72, 85, 86, 87, 88})
    EXPECT_NE(english.FindStringByGLID(glid), nullptr) << glid;
  for (const auto& e : english.Elements()) {
    const TLanguageString* de = german.FindStringByGLID(e->GLID());
    ASSERT_NE(de, nullptr) << e->GLID();
    EXPECT_NE(de->Text(), e->Text()) << e->GLID();
    // Placeholders survive the translation in number and kind.
    auto marks = [](const std::string& s) {
      std::string m;
      for (size_t i = 0; i + 1 < s.size(); ++i)
        if (s[i] == '%') m += s[++i];
      return m;
    };
    EXPECT_EQ(marks(de->Text()), marks(e->Text())) << e->GLID();
  }
  EXPECT_EQ(english.Elements().size(), german.Elements().size());

  auto page = CreateUnowned<TForm>();
  page->SetCaption("Choose Destination Location");
  auto* label = Create<TTranslateLabel>(page.get());
  label->SetCaption("Which directory do you want to install this program into?");
  label->SetGLID(85);
  auto* next = Create<TTranslateBitBtn>(page.get());
  next->SetCaption("Next >");
  next->SetGLID(5);
  auto* browse = Create<TBitBtn>(page.get());
  browse->SetCaption("&Browse");
  translator->SetTranslateIntoLanguage(wlGerman);
  EXPECT_EQ(translator->TranslateComponent(wlEnglish, page.get()), wlGerman);
  EXPECT_EQ(page->Caption(), "Zielverzeichnis wählen");
  EXPECT_EQ(label->Caption(), "In welches Verzeichnis soll dieses Programm installiert werden?");
  EXPECT_EQ(next->Caption(), "Weiter >");
  EXPECT_EQ(browse->Caption(), "&Durchsuchen");
  EXPECT_EQ(IException("Please insert disk #%d", 2).Message(), "Bitte legen Sie Diskette Nr. 2 ein");
  EXPECT_EQ(EAIUserAbort().Message(), "Die Installation wurde vom Benutzer abgebrochen");
}

}  // namespace
}  // namespace wenmoor
