// The window system's dialogs in the Qt backend: message boxes, the input
// box and the folder browser (which reads and creates folders of the
// emulated machine).
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "platform/ui/dialogs.h"
#include "platform/ui/qt/qt_folder_browser.h"
#include "platform/win/files.h"
#include "qt_fixture.h"
#include "support/temp_prefix.h"

namespace wenmoor {
namespace {

class QtDialogsTest : public QtFixture {
 protected:
  // Presses `button` in the next modal window.
  static void Press(const QString& button) {
    Later([button] {
      QPushButton* b = ButtonIn(ModalWindow(), button);
      ASSERT_NE(b, nullptr) << button.toStdString();
      b->click();
    });
  }
  static void Key(int key) {
    Later([key] { QTest::keyClick(ModalWindow(), static_cast<Qt::Key>(key)); });
  }
};

TEST_F(QtDialogsTest, MessageBoxesAnswerTheButtonChosen) {
  struct Case {
    const char* what;
    std::function<void()> user;
    unsigned flags;
    int expected;
  };
  const std::vector<Case> cases = {
      {"a button", [] { Press("No"); }, MB_YESNOCANCEL, IDNO},
      {"Enter presses the default", [] { Key(Qt::Key_Return); }, MB_YESNO | MB_DEFBUTTON2, IDNO},
      {"Escape answers Cancel", [] { Key(Qt::Key_Escape); }, MB_OKCANCEL, IDCANCEL},
  };
  for (const Case& c : cases) {
    c.user();
    EXPECT_EQ(TApplication::Instance().MessageBox("Text of the box", "Caption", c.flags), c.expected) << c.what;
  }
}

TEST_F(QtDialogsTest, AMessageBoxWithoutEscapeStaysUntilAButtonIsPressed) {
  MessageBoxRequest r;
  r.caption = "Caption";
  r.text = "First line\nsecond line";
  r.icon = TMessageIcon::Question;
  r.buttons = {{"&Yes", IDYES}, {"&No", IDNO}};
  Later([] {
    QWidget* box = ModalWindow();
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, Qt::Key_Escape);
    box->close();
    Later([box] {
      EXPECT_EQ(ModalWindow(), box) << "neither Escape nor the close box ends it";
      EXPECT_EQ(box->findChild<QLabel*>("text")->text(), "First line\nsecond line");
      ButtonIn(box, "Yes")->click();
    });
  });
  EXPECT_EQ(ShowMessageBox(r), IDYES);
}

TEST_F(QtDialogsTest, InputBoxAnswersTheTextOrNothing) {
  Later([] {
    auto* edit = ModalWindow()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "start");
    edit->clear();
    QTest::keyClicks(edit, "typed");
    ButtonIn(ModalWindow(), "OK")->click();
  });
  std::string value = "start";
  EXPECT_TRUE(InputQuery("Caption", "Prompt:", value));
  EXPECT_EQ(value, "typed");

  Press("Cancel");
  EXPECT_FALSE(InputQuery("Caption", "Prompt:", value));
  EXPECT_EQ(value, "typed") << "a cancelled box leaves the value";
}

class QtFolderBrowserTest : public QtDialogsTest {
 protected:
  QtFolderBrowserTest() { prefix_.WriteFile("C:\\Data\\Sub\\file.txt", "x"); }
  FolderBrowseRequest Request(bool create, bool edit) {
    FolderBrowseRequest r;
    r.caption = "Choose a folder";
    r.initial_directory = "C:\\Data";
    r.show_create_button = create;
    r.show_path_edit = edit;
    return r;
  }
  static qt::FolderBrowser* Browser() { return dynamic_cast<qt::FolderBrowser*>(ModalWindow()); }
  static QLineEdit* PathEdit() { return ModalWindow()->findChild<QLineEdit*>("path"); }

  test::TempPrefix prefix_;
};

TEST_F(QtFolderBrowserTest, ATypedPathThatDoesNotExistIsCreatedOnOk) {
  Later([] {
    ASSERT_NE(Browser(), nullptr);
    EXPECT_EQ(PathEdit()->text(), "C:\\Data") << "the edit shows the folder selected first";
    PathEdit()->clear();
    QTest::keyClicks(PathEdit(), "C:\\Data\\New Product\\bin");
    ButtonIn(ModalWindow(), "OK")->click();
  });
  const std::optional<std::string> chosen = BrowseForFolder(Request(false, true));
  ASSERT_TRUE(chosen);
  EXPECT_EQ(*chosen, "C:\\Data\\New Product\\bin");
  EXPECT_TRUE(platform::DirectoryExists("C:\\Data\\New Product\\bin")) << "created with its missing parent";
}

TEST_F(QtFolderBrowserTest, WithoutThePathEditTheSelectedFolderIsAnsweredAndNothingCreated) {
  FolderBrowseRequest r = Request(false, false);
  r.initial_directory = "C:\\Data\\Sub\\Missing\\Deeper";
  Later([] {
    ASSERT_NE(Browser(), nullptr);
    EXPECT_EQ(PathEdit(), nullptr);
    EXPECT_EQ(ButtonIn(ModalWindow(), "New Folder"), nullptr);
    EXPECT_EQ(Browser()->CurrentPath(), "C:\\Data\\Sub") << "the nearest existing folder is selected";
    ButtonIn(ModalWindow(), "OK")->click();
  });
  EXPECT_EQ(BrowseForFolder(r), std::optional<std::string>("C:\\Data\\Sub"));
  EXPECT_FALSE(platform::DirectoryExists("C:\\Data\\Sub\\Missing"));

  Press("Cancel");
  EXPECT_EQ(BrowseForFolder(r), std::nullopt);
}

TEST_F(QtFolderBrowserTest, TheCreateButtonMakesAFolderInTheSelectedOneUnlessRefused) {
  FolderBrowseRequest r = Request(true, false);
  bool allow = false;
  r.allow_create_folder = [&] { return allow; };
  Later([&] {
    ButtonIn(ModalWindow(), "New Folder")->click();  // refused: nothing asked, nothing made
    EXPECT_EQ(Browser()->CurrentPath(), "C:\\Data");
    allow = true;
    Later([] {
      QWidget* box = ModalWindow();
      ASSERT_EQ(Browser(), nullptr) << "the name is asked in a box of its own";
      QTest::keyClicks(box->findChild<QLineEdit*>(), "Made");
      ButtonIn(box, "OK")->click();
    });
    ButtonIn(ModalWindow(), "New Folder")->click();
    EXPECT_EQ(Browser()->CurrentPath(), "C:\\Data\\Made") << "the new folder is selected";
    ButtonIn(ModalWindow(), "OK")->click();
  });
  EXPECT_EQ(BrowseForFolder(r), std::optional<std::string>("C:\\Data\\Made"));
  EXPECT_TRUE(platform::DirectoryExists("C:\\Data\\Made"));
}

}  // namespace
}  // namespace wenmoor
