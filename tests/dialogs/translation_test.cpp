// The dialogs in the user's language: the main translator's target, or the
// dialog's own language when it overrides the translator.
#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "dialogs/dlgcmp_TLicenseDlg.h"
#include "translation/cmp_TTranslator.h"

namespace wenmoor::testing {
namespace {

class DialogTranslationTest : public DialogFixture {
 protected:
  DialogTranslationTest() {
    translator_ = Create<TTranslator>(form());
    translator_->SetName("MainTranslator");
    translator_->LanguageByIdent(wlEnglish)->Strings()->SetText("2;Please read the following License Agreement.\n"
                                                              "6;Cancel\n88;Accept >\n");
    translator_->LanguageByIdent(wlGerman)->Strings()->SetText("2;Bitte lesen Sie den folgenden Lizenzvertrag.\n"
                                                             "6;Abbrechen\n88;Annehmen >\n");
    translator_->SetTranslateIntoLanguage(wlGerman);
    AddManager(dmBeforeInstall, "BeforeInstall");
    licence_ = Create<TLicenseDlg>(form());
    licence_->SetName("LicenseDlg");
  }
  TTranslator* translator_;
  TLicenseDlg* licence_;
};

TEST_F(DialogTranslationTest, PagesAreShownInTheTargetLanguage) {
  struct Case {
    bool override_translator;
    TWnmrLanguage own_language;
    const char* label;
    const char* button;
    TWnmrLanguage dialog_language_after;
  };
  const Case cases[] = {
      {false, wlUser, "  label Label1: \"Bitte lesen Sie den folgenden Lizenzvertrag.\"",
       "  button ProceedBtn: [Annehmen >] (focused)", wlGerman},
      {true, wlEnglish, "  label Label1: \"Please read the following License Agreement.\"",
       "  button ProceedBtn: [Accept >] (focused)", wlEnglish},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    transcript_.str("");
    licence_->SetCurrentLanguage(wlEnglish);
    licence_->SetOverrideMainTranslator(c.override_translator);
    licence_->SetTranslateIntoLanguage(c.own_language);
    install()->NotifyHelpers(install(), kNotifyBeforeInstallDialogs, nullptr);
    const std::string t = TranscriptText();
    EXPECT_NE(t.find(c.label), std::string::npos) << t;
    EXPECT_NE(t.find(c.button), std::string::npos) << t;
    EXPECT_EQ(licence_->CurrentLanguage(), c.dialog_language_after);
    EXPECT_EQ(translator_->TranslateIntoLanguage(), wlGerman) << "the translator's own language is kept";
  }
}

TEST_F(DialogTranslationTest, WithoutTranslationSwitchesTheFormKeepsItsTexts) {
  licence_->SetAutoTranslate(false);
  install()->NotifyHelpers(install(), kNotifyBeforeInstallDialogs, nullptr);
  EXPECT_TRUE(TranscriptHas("  label Label1: \"Please read the following License Agreement.\"")) << TranscriptText();
  EXPECT_EQ(licence_->CurrentLanguage(), wlEnglish);
}

}  // namespace
}  // namespace wenmoor::testing
