// Message boxes, the input box and the folder browser: the dialogs of the
// window system, shown through the user-interface backend.
//
// Two message-box styles exist, as in the component library:
//  - MessageDlg(text, type, buttons): the component library's dialog, with
//    a caption by type ("Warning", "Error", "Information", "Confirm"), the
//    buttons in the fixed order Yes, No, OK, Cancel, Abort, Retry, Ignore,
//    All, No to All, Yes to All, Help, and modal results mrYes, mrNo, ...;
//    the default button is OK, else Yes, else the one given; Escape answers
//    Cancel, else No, else OK (whichever the box has), else mrCancel;
//  - Application.MessageBox(text, caption, flags): Windows' box with the
//    MB_ flags and the ID results below (equal to the modal results).
// Each box carries an identity for unattended answers (the headless answer
// file matches it, the text or the caption); MessageBoxRequest sets one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/rtl/typeinfo.h"
#include "platform/ui/backend.h"

namespace wenmoor {

enum TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
WENMOOR_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)

enum TMsgDlgBtn : uint8_t { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
WENMOOR_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll,
             mbHelp)
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// Windows' MessageBox flags and results.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_RETRYCANCEL = 0x5;
inline constexpr unsigned MB_ICONHAND = 0x10;
inline constexpr unsigned MB_ICONERROR = MB_ICONHAND;
inline constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr unsigned MB_ICONASTERISK = 0x40;
inline constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr unsigned MB_DEFBUTTON1 = 0x000;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x200;
inline constexpr unsigned MB_DEFBUTTON4 = 0x300;
inline constexpr unsigned MB_APPLMODAL = 0x0000;
inline constexpr unsigned MB_SYSTEMMODAL = 0x1000;
inline constexpr unsigned MB_TASKMODAL = 0x2000;
inline constexpr unsigned MB_SETFOREGROUND = 0x10000;
inline constexpr unsigned MB_TOPMOST = 0x40000;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The component library's message dialog; answers the modal result.
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int help_context = 0);
// The same with a chosen default button (one of `buttons`, else the usual).
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int help_context,
               TMsgDlgBtn default_button);
// An information box with an OK button and the application's title.
void ShowMessage(const std::string& text);

// The request that MessageDlg / MessageBox would show (for callers that
// set an identity, and for tests).
MessageBoxRequest MessageDlgRequest(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                                    std::optional<TMsgDlgBtn> default_button = std::nullopt);
MessageBoxRequest MessageBoxFlagsRequest(const std::string& text, const std::string& caption, unsigned flags);
// Shows any message box through the backend; answers the button's result.
int ShowMessageBox(const MessageBoxRequest& request);

// The input box: the text entered, or `default_value` when cancelled.
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& default_value);
// The input box: true and `value` set when confirmed; false and `value`
// unchanged when cancelled.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);

// The folder browser; nullopt when cancelled.
std::optional<std::string> BrowseForFolder(const std::string& caption, const std::string& initial_directory);
std::optional<std::string> BrowseForFolder(const FolderBrowseRequest& request);

}  // namespace wenmoor
