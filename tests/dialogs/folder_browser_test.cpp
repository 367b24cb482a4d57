// The folder browser: where it opens, what it answers, and a typed path
// that does not exist yet.
#include <gtest/gtest.h>

#include "common/script_fixture.h"
#include "platform/win/files.h"
#include "support/cmp_TOpenFolderDialog.h"
#include "ui/ui_fixture.h"

namespace wenmoor::testing {
namespace {

class FolderBrowserTest : public UiFixture {
 protected:
  FolderBrowserTest() : dir_(MakeTempDir()), machine_(dir_ / "prefix") {
    platform::ForceDirectories("C:\\Program Files\\Quarry");
    browser_.SetName("FolderBrowser");
  }
  ~FolderBrowserTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  std::filesystem::path dir_;
  platform::Machine::TestScope machine_;
  TOpenFolderDialog browser_{nullptr};
};

TEST_F(FolderBrowserTest, OpensOnTheNearestExistingFolder) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Program Files\\Quarry\\Bin\\Help", "C:\\Program Files\\Quarry"},
      {"C:\\Program Files\\Quarry\\", "C:\\Program Files\\Quarry"},
      {"c:\\program files\\quarry", "c:\\program files\\quarry"},
      {"C:\\Nowhere", "C:\\"},
      {"C:\\", "C:\\"},
      {"C:", "C:\\"},
      {"", ""},
  };
  for (const auto& [directory, opens_on] : cases) {
    EXPECT_EQ(TOpenFolderDialog::InitialSelection(directory), opens_on) << directory;
  }
  browser_.SetDirectory("C:\\Program Files\\Quarry\\Bin\\Help");
  UseAnswers("[folder \"*\"]\npress Cancel\n");
  browser_.Execute();
  EXPECT_TRUE(TranscriptHas("  initial: \"C:\\\\Program Files\\\\Quarry\"")) << TranscriptText();
}

TEST_F(FolderBrowserTest, ATypedPathIsCreatedWithItsParents) {
  browser_.SetDirectory("C:\\Program Files");
  UseAnswers("[folder \"*\"]\nset path = C:\\Tools\\Quarry\\Bin\n");
  ASSERT_TRUE(browser_.Execute());
  EXPECT_EQ(browser_.Directory(), "C:\\Tools\\Quarry\\Bin");
  EXPECT_TRUE(platform::DirectoryExists("C:\\Tools\\Quarry\\Bin"));
}

TEST_F(FolderBrowserTest, WithoutThePathEditTheChoiceIsTakenAsItIs) {
  browser_.SetShowPathEdit(false);
  UseAnswers("[folder \"*\"]\nset path = C:\\Not\\There\n");
  ASSERT_TRUE(browser_.Execute());
  EXPECT_EQ(browser_.Directory(), "C:\\Not\\There");
  EXPECT_FALSE(platform::DirectoryExists("C:\\Not")) << "nothing is created";
}

TEST_F(FolderBrowserTest, CancelKeepsTheDirectory) {
  browser_.SetDirectory("C:\\Program Files\\Quarry");
  UseAnswers("[folder \"*\"]\nset path = C:\\Other\npress Cancel\n");
  EXPECT_FALSE(browser_.Execute());
  EXPECT_EQ(browser_.Directory(), "C:\\Program Files\\Quarry");
  EXPECT_FALSE(platform::DirectoryExists("C:\\Other"));
}

TEST_F(FolderBrowserTest, APathThatCannotBeCreatedIsAnErrorNotAChoice) {
  const std::optional<std::string> file = platform::GetTempFileName("C:\\", "blk", 0);
  ASSERT_TRUE(file);
  browser_.SetDirectory("C:\\Program Files");
  UseAnswers("[folder \"*\"]\nset path = " + *file + "\\Sub\n");
  try {
    browser_.Execute();
    ADD_FAILURE() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_EQ(std::string(e.what()), "The folder \"" + *file + "\\Sub\" cannot be created");
  }
  EXPECT_EQ(browser_.Directory(), "C:\\Program Files");
}

TEST_F(FolderBrowserTest, TheRequestCarriesTheAdditionsAndTheirPermission) {
  int asked = 0;
  bool allow = false;
  browser_.OnCreateFolder.Assign([&](TObject* sender, bool& allowed) {
    EXPECT_EQ(sender, &browser_);
    ++asked;
    allowed = allow;
  });
  FolderBrowseRequest r = browser_.Request();
  EXPECT_TRUE(r.show_create_button);
  EXPECT_TRUE(r.show_path_edit);
  EXPECT_EQ(r.id, "FolderBrowser");
  EXPECT_EQ(r.caption, "Browse for Folder");
  ASSERT_TRUE(r.allow_create_folder);
  EXPECT_FALSE(r.allow_create_folder()) << "the handler forbids it";
  allow = true;
  EXPECT_TRUE(r.allow_create_folder());
  EXPECT_EQ(asked, 2);

  browser_.SetShowCreateButton(false);
  browser_.SetShowPathEdit(false);
  r = browser_.Request();
  EXPECT_FALSE(r.show_create_button || r.show_path_edit);
  EXPECT_FALSE(r.allow_create_folder);
}

}  // namespace
}  // namespace wenmoor::testing
