// The translator: lookups by wording and by GLID, the translation of a
// form, the main translator and the framework's messages, fonts, and the
// language of the user.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/form_reader.h"
#include "platform/rtl/localize.h"
#include "platform/ui/buttons.h"
#include "platform/ui/choices.h"
#include "platform/ui/edits.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/labels.h"
#include "platform/win/machine.h"
#include "platform/win/user_locale.h"
#include "support/temp_prefix.h"
#include "translation/cmp_TTranslateControls.h"
#include "translation/cmp_TTranslator.h"

namespace wenmoor {
namespace {

const std::vector<std::string> kEnglish = {
    "4;< Previous", "5;Next >", "6;Cancel", "38;The software has been properly installed.",
    "45;Please insert disk number %d", "90;File %s is missing from %s",
    "#7;", "Line one", "Line two", "#",
};
const std::vector<std::string> kGerman = {
    "5;Weiter >", "6;Abbrechen", "38;Die Software wurde installiert.",
    "45;Bitte Diskette %d einlegen", "90;%s fehlt in %s",
    "#7;", "Zeile eins", "Zeile zwei", "Zeile drei", "#",
};

// A form owning a translator with English and German lines, translating
// into German.
class TranslatorTest : public ::testing::Test {
 protected:
  TranslatorTest() : form_(CreateUnowned<TForm>()) {
    translator_ = Create<TTranslator>(form_.get());
    translator_->Lg<wlEnglish>()->Strings()->SetLines(kEnglish);
    translator_->Lg<wlGerman>()->Strings()->SetLines(kGerman);
    translator_->SetTranslateIntoLanguage(wlGerman);
  }

  template <class C>
  C* Add(const std::string& name, const std::string& caption, TWinControl* parent = nullptr) {
    C* c = Create<C>(form_.get());
    c->SetName(name);
    c->SetCaption(caption);
    c->SetParent(parent ? parent : form_.get());
    return c;
  }

  ComponentPtr<TForm> form_;
  TTranslator* translator_ = nullptr;
};

TEST_F(TranslatorTest, LanguagesAreTheTableInOrderWithTheirNames) {
  ASSERT_EQ(translator_->Languages().size(), 21u);
  EXPECT_EQ(translator_->Languages()[0]->LanguageIdent(), wlChineseSimplified);
  EXPECT_EQ(translator_->Languages()[19]->LanguageIdent(), wlSwedish);
  EXPECT_EQ(translator_->Languages()[20]->LanguageIdent(), wlVietnamese);
  const TLanguage* pt = translator_->LanguageByIdent(wlPortugese);
  EXPECT_EQ(pt->FileName(), "wnmiPortugese.txt");
  EXPECT_EQ(pt->ResourceName(), "BM_LANG_PORTUGESE");
  EXPECT_EQ(translator_->Lg<wlChineseSimplified>()->ResourceName(), "BM_LANG_SIMPCHINESE");
  EXPECT_EQ(translator_->LanguageByIdent(wlUser), nullptr);
  EXPECT_EQ(translator_->LanguageByIdent(static_cast<TWnmrLanguage>(40)), nullptr);
  for (const char* name : {"lgChineseSimplified", "lgEnglish", "lgVietnamese", "TranslateIntoLanguage"})
    EXPECT_NE(TTranslator::StaticClass().FindProperty(name), nullptr) << name;
  EXPECT_EQ(TTranslator::StaticClass().FindProperty("lgUser"), nullptr);
}

TEST_F(TranslatorTest, StringsAreFoundByWordingWithoutRegardToCaseAndThenByGlid) {
  const struct {
    std::string source;
    std::string expected;
  } cases[] = {
      {"Cancel", "Abbrechen"},
      {"CANCEL", "Abbrechen"},
      {"next >", "Weiter >"},
      {" Next >", " Next >"},       // a leading blank is part of the wording
      {"< Previous", "< Previous"},  // German lacks GLID 4
      {"Unknown text", "Unknown text"},
  };
  for (const auto& c : cases) EXPECT_EQ(translator_->TranslateString(wlEnglish, c.source), c.expected) << c.source;
  EXPECT_EQ(translator_->TranslateGLID(6, "whatever"), "Abbrechen");
  EXPECT_EQ(translator_->TranslateGLID(4, "kept"), "kept");
  // From German back into English.
  translator_->SetTranslateIntoLanguage(wlEnglish);
  EXPECT_EQ(translator_->TranslateString(wlGerman, "abbrechen"), "Cancel");
  // A source language without lines finds nothing.
  EXPECT_EQ(translator_->TranslateString(wlFrench, "Cancel"), "Cancel");
}

TEST_F(TranslatorTest, WordingComparesWithoutCaseBeyondAscii) {
  translator_->Lg<wlGerman>()->Strings()->SetLines({"1;Größe ändern", "2;ÜBER"});
  translator_->Lg<wlFrench>()->Strings()->SetLines({"1;Redimensionner", "2;À propos"});
  translator_->SetTranslateIntoLanguage(wlFrench);
  EXPECT_EQ(translator_->TranslateString(wlGerman, "GRÖSSE ÄNDERN"), "GRÖSSE ÄNDERN");  // ß is no SS
  EXPECT_EQ(translator_->TranslateString(wlGerman, "GRÖßE ÄNDERN"), "Redimensionner");
  EXPECT_EQ(translator_->TranslateString(wlGerman, "über"), "À propos");
  EXPECT_EQ(translator_->TranslateString(wlGerman, "ube"), "ube");
}

TEST_F(TranslatorTest, MemosAreFoundByTheirExactLines) {
  TStringList lines{"Line one", "Line two"};
  TStringList result{"old"};
  translator_->TranslateLines(wlEnglish, lines, result);
  EXPECT_EQ(result.Lines(), (std::vector<std::string>{"Zeile eins", "Zeile zwei", "Zeile drei"}));
  TStringList other_case{"line one", "Line two"};
  translator_->TranslateLines(wlEnglish, other_case, result);
  EXPECT_EQ(result.Lines(), other_case.Lines());
}

TEST_F(TranslatorTest, AFormIsTranslatedByGlidOrByWording) {
  auto* by_glid = Add<TTranslateLabel>("Label1", "The software has been properly installed. Start it now.");
  by_glid->SetGLID(38);
  auto* missing_glid = Add<TTranslateLabel>("Label2", "Previous page");
  missing_glid->SetGLID(4);
  auto* negative = Add<TTranslateLabel>("Label3", "Cancel");
  negative->SetGLID(-1);
  auto* zero = Add<TTranslateBitBtn>("CancelBtn", "CANCEL");
  zero->SetHint("Next >");
  auto* panel = Add<TPanel>("Panel1", "");
  auto* plain = Add<TLabel>("Cancel", "Next >", panel);
  auto* memo = Create<TMemo>(form_.get());
  memo->SetParent(panel);
  memo->Lines()->SetLines({"Line one", "Line two"});
  auto* group = Create<TRadioGroup>(form_.get());
  group->SetParent(panel);
  group->Items()->SetLines({"Cancel", "Other"});
  // A form owned by the form is translated on its own.
  auto* page = Create<TForm>(form_.get());
  page->SetCaption("Cancel");
  form_->SetCaption("Next >");

  EXPECT_EQ(translator_->TranslateComponent(wlEnglish, form_.get()), wlGerman);
  EXPECT_EQ(form_->Caption(), "Weiter >");
  EXPECT_EQ(by_glid->Caption(), "Die Software wurde installiert.");
  EXPECT_EQ(missing_glid->Caption(), "Previous page");
  EXPECT_EQ(negative->Caption(), "Cancel");
  EXPECT_EQ(zero->Caption(), "Abbrechen");
  EXPECT_EQ(zero->Hint(), "Weiter >");
  EXPECT_EQ(plain->Caption(), "Weiter >");
  EXPECT_EQ(plain->Name(), "Cancel") << "the name is never translated";
  EXPECT_EQ(memo->Lines()->Lines(), (std::vector<std::string>{"Zeile eins", "Zeile zwei", "Zeile drei"}));
  EXPECT_EQ(group->Items()->Lines(), (std::vector<std::string>{"Abbrechen", "Other"}));
  EXPECT_EQ(page->Caption(), "Cancel");

  // The GLID carriers skip the wording step: their hint stays.
  auto* glid_hint = Add<TTranslateBitBtn>("NextBtn", "Next >");
  glid_hint->SetGLID(-5);
  glid_hint->SetHint("Cancel");
  translator_->TranslateComponent(wlEnglish, glid_hint);
  EXPECT_EQ(glid_hint->Caption(), "Next >");
  EXPECT_EQ(glid_hint->Hint(), "Cancel");

  // Back into English from the language the form is in now.
  EXPECT_EQ(translator_->TranslateComponentInto(wlGerman, wlEnglish, form_.get()), wlEnglish);
  EXPECT_EQ(plain->Caption(), "Next >");
  EXPECT_EQ(form_->Caption(), "Next >");
  EXPECT_EQ(translator_->TranslateIntoLanguage(), wlGerman);
}

TEST_F(TranslatorTest, ATargetWithoutLinesKeepsEnglishAndReportsTheSource) {
  auto* label = Add<TLabel>("L", "Cancel");
  EXPECT_EQ(translator_->TranslateComponentInto(wlEnglish, wlFrench, form_.get()), wlEnglish);
  EXPECT_EQ(label->Caption(), "Cancel");
  EXPECT_EQ(translator_->TranslateComponent(wlEnglish, nullptr), wlEnglish);
}

TEST_F(TranslatorTest, AnAutoSizedLabelTakesTheSizeOfItsTranslatedCaption) {
  auto* label = Add<TLabel>("L", "Cancel");
  const int english_width = label->Width();
  translator_->TranslateComponent(wlEnglish, form_.get());
  EXPECT_TRUE(label->AutoSize());
  EXPECT_GT(label->Width(), english_width) << "\"Abbrechen\" is wider than \"Cancel\"";
  auto* fixed = Add<TLabel>("F", "Cancel");
  fixed->SetAutoSize(false);
  fixed->SetWidth(30);
  translator_->TranslateComponent(wlEnglish, fixed);
  EXPECT_FALSE(fixed->AutoSize());
  EXPECT_EQ(fixed->Width(), 30);
}

TEST_F(TranslatorTest, TranslatingIntoAnotherLanguageRestoresTheTargetWithoutNotifying) {
  int changes = 0;
  translator_->OnLanguageChange.Assign([&](TObject* sender) {
    EXPECT_EQ(sender, translator_);
    ++changes;
  });
  translator_->TranslateComponentInto(wlEnglish, wlFrench, form_.get());
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(translator_->TranslateIntoLanguage(), wlGerman);
  // Also when the translation fails.
  auto* edit = Create<TEdit>(form_.get());
  edit->SetText("Abbrechen");
  edit->OnChange.Assign([](TObject*) { throw EAbort(); });
  EXPECT_THROW(translator_->TranslateComponentInto(wlGerman, wlEnglish, form_.get()), EAbort);
  EXPECT_EQ(translator_->TranslateIntoLanguage(), wlGerman);
  translator_->SetTranslateIntoLanguage(wlDutch);
  EXPECT_EQ(changes, 1);
}

TEST_F(TranslatorTest, TheFirstTranslatorIsTheMainOneAndLocalizesExceptions) {
  ASSERT_EQ(MainTranslator(), translator_);
  auto second = CreateUnowned<TTranslator>();
  EXPECT_EQ(MainTranslator(), translator_);

  EXPECT_EQ(EAIUserAbort().Message(), "Installation aborted by the user");
  EXPECT_EQ(IException("Please insert disk number %d", 3).Message(), "Bitte Diskette 3 einlegen");
  EXPECT_EQ(IException("CANCEL").Message(), "Abbrechen");
  // The translation is made before the values are filled in: a value that
  // happens to be an English text stays as it is.
  EXPECT_EQ(IException("File %s is missing from %s", "Cancel", "C:\\x").Message(),
            "Cancel fehlt in C:\\x");
  // Plain exceptions of the platform are not translated.
  EXPECT_EQ(Exception("Cancel").Message(), "Cancel");

  form_.reset();
  EXPECT_EQ(MainTranslator(), nullptr) << "the second one does not take over";
  EXPECT_EQ(IException("Cancel").Message(), "Cancel");
  EXPECT_EQ(LocalizeMessage("Cancel"), "Cancel");
  EXPECT_EQ(TranslateForm(wlGerman, nullptr), wlGerman);
  second.reset();
  auto third = CreateUnowned<TTranslator>();
  EXPECT_EQ(MainTranslator(), third.get());
}

TEST_F(TranslatorTest, TheMainTranslatorOperationsWorkOnAForm) {
  auto* label = Add<TLabel>("L", "Cancel");
  EXPECT_EQ(TranslateForm(wlEnglish, form_.get()), wlGerman);
  EXPECT_EQ(label->Caption(), "Abbrechen");
  EXPECT_EQ(TranslateFormInto(wlGerman, wlEnglish, form_.get()), wlEnglish);
  EXPECT_EQ(label->Caption(), "Cancel");
  SetFormFontIn(wlJapanese, form_.get());
  EXPECT_EQ(label->Font()->CharSet(), ANSI_CHARSET) << "Japanese has no lines: English rules";
  translator_->Lg<wlJapanese>()->Strings()->SetLines({"6;x"});
  SetFormFontIn(wlJapanese, form_.get());
  EXPECT_EQ(label->Font()->CharSet(), SHIFTJIS_CHARSET);
  SetFormFont(form_.get());
  EXPECT_EQ(label->Font()->CharSet(), ANSI_CHARSET);
  EXPECT_EQ(label->Font()->Name(), "MS Sans Serif") << "German's face";
}

TEST_F(TranslatorTest, FontsFollowTheLanguageDownTheControls) {
  auto* panel = Add<TPanel>("P", "");
  auto* big = Add<TLabel>("Big", "x", panel);
  TFont f;
  f.Assign(*big->Font());
  f.SetSize(10);
  big->SetFont(f);
  auto* small = Add<TLabel>("Small", "y", panel);
  f.SetSize(7);
  small->SetFont(f);

  const TLanguage& japanese = *translator_->Lg<wlJapanese>();
  ApplyLanguageFont(form_.get(), japanese);
  EXPECT_EQ(big->Font()->Size(), 10);
  EXPECT_EQ(small->Font()->Size(), 9);
  EXPECT_EQ(small->Font()->CharSet(), SHIFTJIS_CHARSET);
  EXPECT_EQ(small->Font()->Name(), "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E");
  EXPECT_EQ(panel->Font()->Name(), small->Font()->Name());

  TLanguage& greek = *translator_->Lg<wlGreek>();
  greek.SetFontOverride(true);
  greek.Font()->SetName("Greek Face");
  greek.Font()->SetSize(12);
  greek.Font()->SetCharSet(GREEK_CHARSET);
  ApplyLanguageFont(form_.get(), greek);
  EXPECT_EQ(big->Font()->Name(), "Greek Face");
  EXPECT_EQ(big->Font()->Size(), 12);
  EXPECT_EQ(small->Font()->CharSet(), GREEK_CHARSET);

  // Nothing without a target language.
  translator_->SetTranslateIntoLanguage(static_cast<TWnmrLanguage>(30));
  translator_->SetControlFont(small, true);
  EXPECT_EQ(small->Font()->Name(), "Greek Face");
  translator_->SetControlFont(nullptr, true);
}

TEST(TranslatorTablesTest, CharsetsAndFontRules) {
  const struct {
    TWnmrLanguage language;
    TFontCharset charset;
    const char* face;
    int min_size;
  } cases[] = {
      {wlChineseSimplified, 134, "\xB7\x73\xB2\xD3\xA9\xFA\xC5", 9},
      {wlChineseTraditional, 136, "\xB7\x73\xB2\xD3\xA9\xFA\xC5", 9},
      {wlCzech, 238, "Arial", 8},
      {wlGerman, 0, "MS Sans Serif", 8},
      {wlGreek, 0, "SGreek", 8},
      {wlHebrew, 177, "Arial", 8},
      {wlKorean, 129, "\xB9\xD9\xC5\xC1", 9},
      {wlPortugese, 238, "Arial", 8},
      {wlRussian, 204, "Arial", 8},
      {wlVietnamese, 163, "Arial", 8},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CharsetOfLanguage(c.language), c.charset) << c.language;
    EXPECT_EQ(FontRuleOfLanguage(c.language).face, c.face) << c.language;
    EXPECT_EQ(FontRuleOfLanguage(c.language).min_size, c.min_size) << c.language;
  }
  for (TWnmrLanguage bad : {wlUser, static_cast<TWnmrLanguage>(22), static_cast<TWnmrLanguage>(255)}) {
    try {
      CharsetOfLanguage(bad);
      ADD_FAILURE() << "no error for " << static_cast<int>(bad);
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Unrecognized language");
    }
  }
}

TEST(TranslatorTablesTest, LanguageOfLangId) {
  const struct {
    uint16_t id;
    TWnmrLanguage language;
  } cases[] = {
      {0x0404, wlChineseTraditional}, {0x0804, wlChineseSimplified}, {0x0C04, wlChineseSimplified},
      {0x0405, wlCzech},              {0x0406, wlDanish},            {0x0407, wlGerman},
      {0x0C07, wlGerman},             {0x0408, wlGreek},             {0x0409, wlEnglish},
      {0x0C0A, wlSpanish},            {0x040C, wlFrench},            {0x040D, wlHebrew},
      {0x0410, wlItalian},            {0x0411, wlJapanese},          {0x0412, wlKorean},
      {0x0413, wlDutch},              {0x0414, wlNorwegianBokmal},   {0x0814, wlNorwegianNynorsk},
      {0x0415, wlPolish},             {0x0416, wlPortugese},         {0x0419, wlRussian},
      {0x041D, wlSwedish},            {0x042A, wlVietnamese},        {0x040B, wlEnglish},
      {0x0000, wlEnglish},            {0xFFFF, wlEnglish},
  };
  for (const auto& c : cases) EXPECT_EQ(LanguageOfLangID(c.id), c.language) << std::hex << c.id;
}

// Sets an environment variable for one scope.
class EnvScope {
 public:
  EnvScope(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) setenv(name, value, 1);
    else unsetenv(name);
  }
  ~EnvScope() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }
  EnvScope(const EnvScope&) = delete;
  EnvScope& operator=(const EnvScope&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(UserLanguageTest, ThePrefixSpeaksFirstThenTheEnvironment) {
  test::TempPrefix prefix;
  EnvScope all("LC_ALL", nullptr), messages("LC_MESSAGES", nullptr), lang("LANG", "de_AT.UTF-8");
  auto translator = CreateUnowned<TTranslator>();
  EXPECT_EQ(platform::GetUserDefaultLangID(), 0x0C07);
  EXPECT_EQ(translator->SystemLanguage()->LanguageIdent(), wlGerman);
  EXPECT_EQ(translator->TargetLanguage()->LanguageIdent(), wlGerman) << "wlUser is the default target";
  {
    EnvScope over("LC_MESSAGES", "C");
    EXPECT_EQ(platform::GetUserDefaultLangID(), 0x0409);
  }
  auto& reg = prefix.Machine().Registry();
  reg.SetValue(platform::RootKey::CurrentUser, "Control Panel\\International", "LocaleName",
               platform::RegValue::String("ja-JP"));
  EXPECT_EQ(translator->SystemLanguage()->LanguageIdent(), wlJapanese);
  reg.SetValue(platform::RootKey::CurrentUser, "Control Panel\\International", "Locale",
               platform::RegValue::String("00000c04"));
  EXPECT_EQ(translator->SystemLanguage()->LanguageIdent(), wlChineseSimplified) << "sublanguage 3";
  reg.SetValue(platform::RootKey::CurrentUser, "Control Panel\\International", "Locale",
               platform::RegValue::String("0000040b"));
  EXPECT_EQ(translator->SystemLanguage()->LanguageIdent(), wlEnglish) << "Finnish is not in the table";
  // wlUser as a source language is the system language too.
  translator->Lg<wlEnglish>()->Strings()->SetLines({"6;Cancel"});
  translator->Lg<wlGerman>()->Strings()->SetLines({"6;Abbrechen"});
  translator->SetTranslateIntoLanguage(wlEnglish);
  reg.SetValue(platform::RootKey::CurrentUser, "Control Panel\\International", "Locale",
               platform::RegValue::String("00000407"));
  EXPECT_EQ(translator->TranslateString(wlUser, "Abbrechen"), "Cancel");
}

TEST(UserLanguageTest, LocaleNames) {
  const struct {
    const char* name;
    std::optional<uint16_t> id;
  } cases[] = {
      {"de_DE.UTF-8", 0x0407}, {"de", 0x0407},         {"pt_BR", 0x0416},       {"pt_PT.ISO-8859-1", 0x0816},
      {"zh_TW.Big5", 0x0404},  {"zh_CN.GB2312", 0x0804}, {"zh-HK", 0x0C04},       {"nb_NO@euro", 0x0414},
      {"nn_NO", 0x0814},       {"EN_us", 0x0409},       {"C", std::nullopt},     {"POSIX", std::nullopt},
      {"", std::nullopt},      {"xx_YY", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::LangIdOfLocaleName(c.name), c.id) << c.name;
}

}  // namespace
}  // namespace wenmoor
