// The product's wizard pages in the headless backend: which pages the
// wizards show, the choice of IDEs with its refusals and skipping rule, the
// destination typed or browsed for, the settings on the confirmation page
// and Finish on the completion page.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/DemoDelphiVer.h"
#include "app/DemoGoodInstall.h"
#include "app/DemoWelcomeDlg.h"
#include "app/app_fixture.h"
#include "app/demo_prefix.h"
#include "app/ordlg_SelectDestination.h"
#include "engine/cmp_TInstall.h"
#include "platform/win/files.h"
#include "script/cmp_TFileContainer.h"
#include "platform/ui/headless/transcript.h"
#include "script/script_types.h"

namespace quarry {
namespace {

using Lines = std::vector<std::string>;

class PagesTest : public test::MainFormFixture {
 protected:
  // Broadcasts a wizard's phase; the abort's message when the user aborted.
  std::string RunWizard(int code) {
    try {
      form().Install1()->NotifyHelpers(form().Install1(), code, nullptr);
    } catch (const wenmoor::EAIUserAbort& e) {
      return e.what();
    }
    return {};
  }
  // The transcript's lines of each showing of the page of class `cls`.
  std::vector<Lines> Showings(const std::string& cls) const {
    std::vector<Lines> shown;
    std::istringstream in(TranscriptText());
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("=== ", 0) == 0) {
        inside = line.find(": " + cls + ")") != std::string::npos;
        if (inside) shown.emplace_back();
      }
      if (inside) shown.back().push_back(line);
    }
    return shown;
  }
  static bool Has(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
};

TEST_F(PagesTest, WithDelphi4TheVersionPageIsSkippedAndEverythingIsConfirmed) {
  RegisterDemoIde(ideDelphi4, DefaultDemoIdeRoot(ideDelphi4));
  Create();
  EXPECT_EQ(RunWizard(wenmoor::kNotifyBeforeInstallDialogs), "");

  // Welcome, licence, destination, confirmation: the version page never shows.
  std::vector<std::string> pages;
  std::istringstream in(TranscriptText());
  for (std::string line; std::getline(in, line);)
    if (line.rfind("=== form ", 0) == 0) pages.push_back(line.substr(line.find(", page ") + 7));
  EXPECT_EQ(pages, (Lines{"WelcomeForm: TWelcomeForm)", "LicenseForm: TLicenseForm)",
                          "SelectDestinationForm: TSelectDestinationForm)", "ConfirmInstall: TConfirmInstall)"}));

  const Lines welcome = Showings("TWelcomeForm").at(0);
  EXPECT_TRUE(Has(welcome, "  label lblIntro: \"This program will install a copy of the Quarry evaluation version for "
                           "Delphi 4 onto your computer.\""));
  EXPECT_FALSE(Has(welcome, "  button BackBtn: [< Previous]"));  // the first page
  const Lines confirm = Showings("TConfirmInstall").at(0);
  const Lines memo{"  memo Memo1: (read-only)",       "    |  ",
                   "    | Quarry Database Engine V141", "    | Demonstration version",
                   "    |  ",                           "    | Product Versions to install:",
                   "    |      Delphi 4",               "    |  ",
                   "    | Installation directory:",     "    | C:\\Program Files\\Quarry"};
  auto at = std::find(confirm.begin(), confirm.end(), memo.front());
  ASSERT_NE(at, confirm.end());
  EXPECT_EQ(Lines(at, at + static_cast<std::ptrdiff_t>(memo.size())), memo);

  EXPECT_TRUE(form().IdeDirectory(ideDelphi4)->Include());
  EXPECT_TRUE(form().SelectedIDEs()[ideDelphi4]);
  const Lines& log = InstallLog().Lines();
  EXPECT_NE(std::find(log.begin(), log.end(), "Delphi Ver Dlg skip - True"), log.end());
}

TEST_F(PagesTest, WithoutASupportedIdeNextIsRefusedOnTheVersionPage) {
  UseAnswers(R"([form "Delphi version selection"]
press ProceedBtn
[message "No Delphi products are selected*"]
press OK
[form "Delphi version selection"]
press CancelBtn
)");
  RegisterDemoIde(ideDelphi5, DefaultDemoIdeRoot(ideDelphi5));  // installed, but the script has no files for it
  Create();
  EXPECT_EQ(RunWizard(wenmoor::kNotifyBeforeInstallDialogs), "Installation aborted by the user");
  const std::vector<Lines> shown = Showings("TBeforeInstallDialog1");
  ASSERT_EQ(shown.size(), 2u);  // shown again after the refusal
  const Lines boxes{"  check D3CB: [ ] Delphi 3 (disabled)", "  check D4CB: [ ] Delphi 4 (disabled)",
                    "  check D5CB: [x] Delphi 5 (disabled)", "  check D6CB: [ ] Delphi 6 (disabled)",
                    "  check B6CB: [ ] Builder 6 (disabled)", "  check D7CB: [ ] Delphi 7 (disabled)"};
  for (const std::string& box : boxes) EXPECT_TRUE(Has(shown[0], box)) << box;
  EXPECT_TRUE(TranscriptHas(
      "  \"No Delphi products are selected or the correct version of Delphi is not present on this system. "
      "Installation is unable to proceed.\""))
      << TranscriptText();
  const Lines& log = InstallLog().Lines();
  EXPECT_NE(std::find(log.begin(), log.end(), "Delphi Ver Dlg skip - False"), log.end());
}

TEST_F(PagesTest, VersionPageOffersOnlyInstalledIdesWithFilesAndNeedsATick) {
  RegisterDemoIde(ideDelphi4, DefaultDemoIdeRoot(ideDelphi4));
  RegisterDemoIde(ideDelphi7, DefaultDemoIdeRoot(ideDelphi7));
  Create();
  auto* page = wenmoor::Create<TBeforeInstallDialog1>(&form());
  const struct {
    int ide;
    bool checked, enabled;
  } expected[] = {{ideDelphi3, false, false}, {ideDelphi4, true, true},  {ideDelphi5, false, false},
                  {ideDelphi6, false, false}, {ideBuilder6, false, false}, {ideDelphi7, true, false}};
  for (const auto& e : expected) {
    EXPECT_EQ(page->IdeBox(e.ide)->Checked(), e.checked) << e.ide;
    EXPECT_EQ(page->IdeBox(e.ide)->Enabled(), e.enabled) << e.ide;
  }
  // Delphi 4 unticked: only Delphi 7 is ticked, and it cannot be served.
  page->IdeBox(ideDelphi4)->SetChecked(false);
  page->ProceedBtnClick(page);
  EXPECT_TRUE(TranscriptHas(
      "  \"Either no products are selected or present on this system. Installation is unable to proceed.\""))
      << TranscriptText();
  EXPECT_EQ(form().SelectedIDEs(), (std::array<bool, kIdeCount>{}));

  // Ticked again: the choice is taken.
  page->IdeBox(ideDelphi4)->SetChecked(true);
  page->ProceedBtnClick(page);
  EXPECT_EQ(form().SelectedIDEs(), (std::array<bool, kIdeCount>{false, true, false, false, false, true}));
  EXPECT_TRUE(form().IdeDirectory(ideDelphi4)->Include());
  EXPECT_FALSE(form().IdeDirectory(ideDelphi7)->Include());  // no files for it
}

TEST_F(PagesTest, TypedDestinationIsAbsolute) {
  Create();
  auto* page = wenmoor::Create<TSelectDestinationForm>(&form());
  page->PrepareForm();
  wenmoor::TCustomInstall& install = *form().Install1();
  EXPECT_EQ(page->DestDirEdit()->Text(), "C:\\Program Files\\Quarry");
  EXPECT_NE(install.DestDirType(), nullptr);  // showing the destination is no choice

  page->DestDirEdit()->SetText("D:\\Tools\\Quarry");
  EXPECT_EQ(install.DestDirType(), nullptr);
  EXPECT_EQ(install.DestDir(), "D:\\Tools\\Quarry");
  EXPECT_EQ(install.GetDestinationDir(), "D:\\Tools\\Quarry");
  EXPECT_EQ(dynamic_cast<wenmoor::TFileContainer*>(form().FindComponent("HelpDir"))->GetDestinationDir(),
            "D:\\Tools\\Quarry\\Help");

  page->DestDirEdit()->SetText("");
  EXPECT_EQ(install.DestDir(), "");
  page->PrepareForm();
  EXPECT_FALSE(page->DirectoryGroup()->Visible());
}

TEST_F(PagesTest, BrowsingKeepsTheLastComponentAndLeavesNoDirectoryBehind) {
  struct Case {
    const char* typed;      // the destination before browsing (nullptr: the script's)
    const char* answer;     // the folder browser's answer
    const char* initial;    // where the browser opened
    const char* result;     // the destination afterwards
  };
  const Case cases[] = {
      {nullptr, "[folder \"*\"]\nset path = C:\\Tools\n", "C:\\Program Files\\Quarry", "C:\\Tools\\Quarry"},
      {nullptr, "[folder \"*\"]\npress Cancel\n", "C:\\Program Files\\Quarry", "\\Quarry"},
      {"C:\\A\\B\\Quarry", "[folder \"*\"]\nset path = C:\\Program Files\n", "C:\\A\\B\\Quarry",
       "C:\\Program Files\\Quarry"},
      {"C:\\Flat", "[folder \"*\"]\nset path = C:\\Tools\n", "C:\\Flat", "C:\\Tools\\Flat"},
  };
  for (const Case& c : cases) {
    UseAnswers(c.answer);
    transcript_.str("");
    Create();
    auto* page = wenmoor::Create<TSelectDestinationForm>(&form());
    if (c.typed) page->DestDirEdit()->SetText(c.typed);
    page->BrowseBtnClick(page);
    EXPECT_TRUE(TranscriptHas(std::string("  initial: ") + wenmoor::Transcript::Quote(c.initial)))
        << TranscriptText();
    EXPECT_EQ(form().Install1()->DestDir(), c.result) << c.answer;
    if (std::string(c.result) != "\\Quarry") {
      EXPECT_EQ(page->DestDirEdit()->Text(), c.result);
    }
    EXPECT_FALSE(wenmoor::platform::DirectoryExists(c.initial)) << c.initial;
    if (c.typed && std::string(c.typed) == "C:\\A\\B\\Quarry") {
      EXPECT_FALSE(wenmoor::platform::DirectoryExists("C:\\A"));  // every level made for the browser
    }
    Destroy();
  }
}

TEST_F(PagesTest, CompletionPageOffersFinishWhenItIsLast) {
  Create();
  EXPECT_EQ(RunWizard(wenmoor::kNotifyAfterGoodInstallDialogs), "");
  const std::vector<Lines> shown = Showings("TAfterGoodInstallDlg");
  ASSERT_EQ(shown.size(), 1u) << TranscriptText();
  const Lines& page = shown[0];
  EXPECT_TRUE(Has(page, "  button BackBtn: [< Previous]"));  // after the read-me page
  EXPECT_TRUE(Has(page, "  button FinishBtn: [Finish] (focused)")) << TranscriptText();
  EXPECT_TRUE(std::none_of(page.begin(), page.end(),
                           [](const std::string& l) { return l.rfind("  button ProceedBtn", 0) == 0; }));
  EXPECT_TRUE(Has(page, "  label Label1: \"The software has been properly installed. The component/s should be "
                        "available when you next start your Borland product.\""));
}

}  // namespace
}  // namespace quarry
