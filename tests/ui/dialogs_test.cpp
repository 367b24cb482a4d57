// What MessageDlg and Application.MessageBox put on a box: caption, icon,
// buttons in order with their results, the default and the Escape answer.
#include <gtest/gtest.h>

#include "platform/ui/dialogs.h"
#include "platform/ui/forms.h"

namespace wenmoor {
namespace {

std::string Buttons(const MessageBoxRequest& r) {
  std::string s;
  for (size_t i = 0; i < r.buttons.size(); ++i) {
    s += (i ? " " : "") + r.buttons[i].caption + "=" + std::to_string(r.buttons[i].result);
    if (i == r.default_button) s += "*";
  }
  return s;
}

TEST(MessageDlgTest, CaptionsButtonsDefaultsAndEscape) {
  struct Row {
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    std::optional<TMsgDlgBtn> default_button;
    const char* caption;
    TMessageIcon icon;
    const char* expected;
    int escape;
  };
  const Row rows[] = {
      {mtWarning, {mbOK}, {}, "Warning", TMessageIcon::Warning, "OK=1*", mrOk},
      {mtError, {mbOK, mbCancel}, {}, "Error", TMessageIcon::Error, "OK=1* Cancel=2", mrCancel},
      {mtConfirmation, {mbNo, mbYes}, {}, "Confirm", TMessageIcon::Question, "&Yes=6* &No=7", mrNo},
      {mtConfirmation, mbYesNoCancel, mbNo, "Confirm", TMessageIcon::Question, "&Yes=6 &No=7* Cancel=2", mrCancel},
      {mtInformation, mbAbortRetryIgnore, {}, "Information", TMessageIcon::Information,
       "&Abort=3 &Retry=4* &Ignore=5", mrCancel},
      {mtWarning, {mbAbort, mbIgnore}, {}, "Warning", TMessageIcon::Warning, "&Abort=3* &Ignore=5", mrCancel},
      {mtWarning, {mbYesToAll, mbNoToAll, mbAll, mbHelp}, {}, "Warning", TMessageIcon::Warning,
       "&All=8* N&o to All=9 Yes to &All=10 &Help=0", mrCancel},
      {mtWarning, {}, {}, "Warning", TMessageIcon::Warning, "OK=1*", mrOk},
      {mtWarning, {mbOK}, mbCancel, "Warning", TMessageIcon::Warning, "OK=1*", mrOk},  // a default it does not have
  };
  for (const Row& r : rows) {
    const MessageBoxRequest req = MessageDlgRequest("text", r.type, r.buttons, r.default_button);
    EXPECT_EQ(req.caption, r.caption);
    EXPECT_EQ(req.icon, r.icon) << r.expected;
    EXPECT_EQ(Buttons(req), r.expected);
    EXPECT_EQ(req.escape_result, std::optional<int>(r.escape)) << r.expected;
    EXPECT_EQ(req.text, "text");
  }
}

TEST(MessageDlgTest, ACustomBoxIsCaptionedWithTheApplicationsTitle) {
  TApplication& app = TApplication::Instance();
  const std::string saved = app.ExeName();
  app.SetExeName("C:\\Setup\\setup.exe");
  EXPECT_EQ(MessageDlgRequest("x", mtCustom, {mbOK}).caption, "setup");
  app.SetExeName(saved);
}

TEST(MessageBoxTest, FlagsGiveButtonsIconDefaultAndEscape) {
  struct Row {
    unsigned flags;
    const char* expected;
    std::optional<int> escape;
    TMessageIcon icon;
  };
  const Row rows[] = {
      {MB_OK, "OK=1*", IDOK, TMessageIcon::None},
      {MB_OKCANCEL | MB_ICONQUESTION, "OK=1* Cancel=2", IDCANCEL, TMessageIcon::Question},
      {MB_ABORTRETRYIGNORE | MB_ICONSTOP | MB_DEFBUTTON3, "&Abort=3 &Retry=4 &Ignore=5*", std::nullopt,
       TMessageIcon::Error},
      {MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON2, "&Yes=6 &No=7* Cancel=2", IDCANCEL, TMessageIcon::Warning},
      {MB_YESNO | MB_ICONINFORMATION, "&Yes=6* &No=7", std::nullopt, TMessageIcon::Information},
      {MB_RETRYCANCEL | MB_DEFBUTTON4, "&Retry=4* Cancel=2", IDCANCEL, TMessageIcon::None},  // no 4th: the first
      {MB_YESNO | MB_DEFBUTTON2 | MB_SYSTEMMODAL | MB_TOPMOST, "&Yes=6 &No=7*", std::nullopt, TMessageIcon::None},
  };
  for (const Row& r : rows) {
    const MessageBoxRequest req = MessageBoxFlagsRequest("text", "Caption", r.flags);
    EXPECT_EQ(Buttons(req), r.expected) << std::hex << r.flags;
    EXPECT_EQ(req.escape_result, r.escape) << std::hex << r.flags;
    EXPECT_EQ(req.icon, r.icon) << std::hex << r.flags;
    EXPECT_EQ(req.caption, "Caption");
  }
}

}  // namespace
}  // namespace wenmoor
