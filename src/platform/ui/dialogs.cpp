#include "platform/ui/dialogs.h"

#include <array>

#include "platform/ui/application.h"
#include "platform/ui/forms.h"

namespace wenmoor {
namespace {

struct DlgButton {
  const char* caption;
  int result;
};

// In the order of TMsgDlgBtn, which is also the order on the box.
constexpr std::array<DlgButton, 11> kDlgButtons = {{
    {"&Yes", mrYes},
    {"&No", mrNo},
    {"OK", mrOk},
    {"Cancel", mrCancel},
    {"&Abort", mrAbort},
    {"&Retry", mrRetry},
    {"&Ignore", mrIgnore},
    {"&All", mrAll},
    {"N&o to All", mrNoToAll},
    {"Yes to &All", mrYesToAll},
    {"&Help", mrNone},
}};

}  // namespace

MessageBoxRequest MessageDlgRequest(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                                    std::optional<TMsgDlgBtn> default_button) {
  MessageBoxRequest r;
  r.text = text;
  switch (type) {
    case mtWarning:
      r.caption = "Warning";
      r.icon = TMessageIcon::Warning;
      break;
    case mtError:
      r.caption = "Error";
      r.icon = TMessageIcon::Error;
      break;
    case mtInformation:
      r.caption = "Information";
      r.icon = TMessageIcon::Information;
      break;
    case mtConfirmation:
      r.caption = "Confirm";
      r.icon = TMessageIcon::Question;
      break;
    case mtCustom:
      r.caption = TApplication::Instance().Title();
      break;
  }
  // A box without buttons could not be answered: it gets OK.
  if (buttons.Empty()) buttons = {mbOK};
  if (!default_button || !buttons.Contains(*default_button)) {
    if (buttons.Contains(mbOK)) default_button = mbOK;
    else if (buttons.Contains(mbYes)) default_button = mbYes;
    else default_button = mbRetry;
  }
  std::optional<TMsgDlgBtn> cancel;
  for (TMsgDlgBtn b : {mbCancel, mbNo, mbOK})
    if (buttons.Contains(b)) {
      cancel = b;
      break;
    }
  for (size_t i = 0; i < kDlgButtons.size(); ++i) {
    auto b = static_cast<TMsgDlgBtn>(i);
    if (!buttons.Contains(b)) continue;
    if (b == *default_button) r.default_button = r.buttons.size();
    r.buttons.push_back({kDlgButtons[i].caption, kDlgButtons[i].result});
  }
  r.escape_result = cancel ? kDlgButtons[*cancel].result : mrCancel;
  return r;
}

MessageBoxRequest MessageBoxFlagsRequest(const std::string& text, const std::string& caption, unsigned flags) {
  MessageBoxRequest r;
  r.text = text;
  r.caption = caption;
  switch (flags & 0xF0) {
    case MB_ICONHAND:
      r.icon = TMessageIcon::Error;
      break;
    case MB_ICONQUESTION:
      r.icon = TMessageIcon::Question;
      break;
    case MB_ICONEXCLAMATION:
      r.icon = TMessageIcon::Warning;
      break;
    case MB_ICONASTERISK:
      r.icon = TMessageIcon::Information;
      break;
    default:
      break;
  }
  const MessageBoxButton ok{"OK", IDOK}, cancel{"Cancel", IDCANCEL}, abort{"&Abort", IDABORT},
      retry{"&Retry", IDRETRY}, ignore{"&Ignore", IDIGNORE}, yes{"&Yes", IDYES}, no{"&No", IDNO};
  switch (flags & 0xF) {
    case MB_OKCANCEL:
      r.buttons = {ok, cancel};
      r.escape_result = IDCANCEL;
      break;
    case MB_ABORTRETRYIGNORE:
      r.buttons = {abort, retry, ignore};
      break;
    case MB_YESNOCANCEL:
      r.buttons = {yes, no, cancel};
      r.escape_result = IDCANCEL;
      break;
    case MB_YESNO:
      r.buttons = {yes, no};
      break;
    case MB_RETRYCANCEL:
      r.buttons = {retry, cancel};
      r.escape_result = IDCANCEL;
      break;
    default:  // MB_OK, and what Windows takes as MB_OK
      r.buttons = {ok};
      r.escape_result = IDOK;
      break;
  }
  // MB_DEFBUTTONn beyond the last button makes the first the default, as
  // Windows does.
  size_t def = (flags >> 8) & 0xF;
  r.default_button = def < r.buttons.size() ? def : 0;
  return r;
}

int ShowMessageBox(const MessageBoxRequest& request) {
  return TApplication::Instance().Backend().ShowMessageBox(request);
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int) {
  return ShowMessageBox(MessageDlgRequest(text, type, buttons));
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int, TMsgDlgBtn default_button) {
  return ShowMessageBox(MessageDlgRequest(text, type, buttons, default_button));
}

void ShowMessage(const std::string& text) {
  MessageBoxRequest r;
  r.caption = TApplication::Instance().Title();
  r.text = text;
  r.buttons = {{"OK", mrOk}};
  r.escape_result = mrOk;
  ShowMessageBox(r);
}

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& default_value) {
  std::string value = default_value;
  InputQuery(caption, prompt, value);
  return value;
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  InputQueryRequest r;
  r.caption = caption;
  r.prompt = prompt;
  r.value = value;
  std::optional<std::string> answer = TApplication::Instance().Backend().InputQuery(r);
  if (!answer) return false;
  value = *answer;
  return true;
}

std::optional<std::string> BrowseForFolder(const std::string& caption, const std::string& initial_directory) {
  FolderBrowseRequest r;
  r.caption = caption;
  r.initial_directory = initial_directory;
  return BrowseForFolder(r);
}

std::optional<std::string> BrowseForFolder(const FolderBrowseRequest& request) {
  return TApplication::Instance().Backend().BrowseForFolder(request);
}

}  // namespace wenmoor
