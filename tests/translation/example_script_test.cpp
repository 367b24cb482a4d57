// The German example script: the framework's dialogs shown in German from
// the texts its translator carries.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/script_fixture.h"
#include "engine/cmp_TInstall.h"
#include "platform/rtl/form_reader.h"
#include "script/script_types.h"
#include "translation/cmp_TTranslator.h"
#include "ui/ui_fixture.h"

namespace wenmoor {
namespace {

class GermanExampleTest : public UiFixture {
 protected:
  GermanExampleTest() : dir_(testing::MakeTempDir()), machine_(dir_ / "prefix") {
    TApplication::Instance().SetParams({});
    std::ifstream in(std::string(WENMOOR_SOURCE_DIR) + "/examples/german/wenmoor-setup.dfm", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    script_ = ReadComponentFromText(text.str(), "wenmoor-setup.dfm");
  }
  ~GermanExampleTest() override {
    TApplication::Instance().ReleaseForms();
    script_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  std::filesystem::path dir_;
  platform::Machine::TestScope machine_;
  ComponentPtr<> script_;
};

TEST_F(GermanExampleTest, TheWizardSpeaksGerman) {
  ASSERT_EQ(MainTranslator(), script_->FindComponent("MainTranslator"));
  TCustomInstall* install = CurrentInstall();
  ASSERT_NE(install, nullptr);
  install->NotifyHelpers(install, kNotifyBeforeInstallDialogs, nullptr);
  install->NotifyHelpers(install, kNotifyAfterGoodInstallDialogs, nullptr);
  const std::string t = TranscriptText();
  for (const char* seen : {"=== form \"Lizenzvertrag\"", "Bitte lesen Sie den folgenden Lizenzvertrag.",
                           "[Annehmen >]", "[Abbrechen]", "=== form \"Installation erfolgreich\"",
                           "Die Installation ist abgeschlossen.", "[Weiter >]"})
    EXPECT_NE(t.find(seen), std::string::npos) << seen << "\n" << t;
  for (const char* english : {"Please read", "[Accept >]", "[Cancel]", "Software license agreement"})
    EXPECT_EQ(t.find(english), std::string::npos) << english << "\n" << t;
}

}  // namespace
}  // namespace wenmoor
