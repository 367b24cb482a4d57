// The user-interface backend: what a window system does for the form
// toolkit, and the choice of one at run time.
//
// The toolkit (controls, forms, dialogs) is plain model code; a backend
// gives it a face. Two exist: "headless" (headless/headless_backend.h: no
// window, an operator answers every form and box, a transcript records
// them) and "qt" (Qt Widgets, in platform/ui/qt/, linked into the programs
// that want it). A backend registers itself by name with
// WENMOOR_REGISTER_BACKEND; TApplication::Backend() picks one with
// ChooseBackend the first time something needs it.
//
// Contract of a backend (one thread: everything is called on the
// user-interface thread, and the backend calls back into the model on it):
//
// Forms and controls.
//  - ShowForm(form): a top-level form (one without a Parent) became
//    visible: give it a native window built from its controls (create it on
//    the first call, keep it) and show it. HideForm hides it; DestroyForm
//    is the last call for a form that was shown: drop the window and every
//    reference into the form. A form embedded in another (a wizard page)
//    is an ordinary child control of its parent's window.
//  - ControlChanged(control, what): a property changed. Must be cheap: mark
//    the control dirty and bring the native widget up to date later, at
//    most every ~50 ms in ProcessMessages, before a modal loop waits, and
//    at once for RepaintNow. `Destroyed` is the last call for a control:
//    drop every reference to it. A control that the backend does not know
//    (its form has no window) is ignored; one that appears under a known
//    parent (Children) is added.
//  - Model changes made by the user go through the model's own methods, so
//    that events fire as they would in code: a button press is
//    TControl::Click(), typing is TControl::SetText (TEdit raises OnChange),
//    a check box toggle SetChecked, a radio choice SetItemIndex, a tab
//    SetTabIndex, the close box TCustomForm::Close().
//  - RunModal(form): the modal loop of TCustomForm::ShowModal. The form is
//    shown and active when it is called. Run until form.ModalDone() answers
//    true (ask it whenever ModalResult may have been set, e.g. after each
//    event), then return. Exceptions raised by the model's event handlers
//    go to TApplication::HandleException and the loop continues, except
//    EUiBackendError, which leaves the loop. Modal loops nest: an event
//    handler may show another modal form or a box.
//  - ProcessMessages(): handle pending events and repaint what is dirty,
//    then return (never wait).
//  - A control with csCustomPaint in its ControlStyle draws itself: the
//    backend calls TControl::Paint with a TCanvas (canvas.h) over the
//    control's client area whenever the control needs painting.
//
// Dialogs of the window system (each runs its own modal loop and answers):
//  - ShowMessageBox(request) → the result of the button chosen.
//  - InputQuery(request) → the text entered, or nullopt when cancelled.
//  - BrowseForFolder(request) → the folder chosen (a Windows path), or
//    nullopt when cancelled.
//
// Metrics: ScreenMetrics (screen size, caption height, frame widths) and
// MeasureText (the extent of a text in a font, wrapped at a width when
// wrap_width > 0).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/ui/control.h"
#include "platform/ui/font.h"
#include "platform/ui/graphics.h"

namespace wenmoor {

class TCustomForm;

struct TScreenMetrics {
  int width = 1024;
  int height = 768;
  int caption_height = 18;        // SM_CYCAPTION
  int small_caption_height = 15;  // tool windows
  int fixed_frame = 3;            // bsSingle, bsDialog, bsToolWindow
  int sizing_frame = 4;           // bsSizeable, bsSizeToolWin
};

enum class TMessageIcon : uint8_t { None, Information, Warning, Error, Question };

struct MessageBoxButton {
  std::string caption;  // with '&' marking the accelerator, e.g. "&Yes"
  int result = 0;       // what choosing it answers (IDYES = mrYes = 6, ...)
};

// One message box, as MessageDlg and Application.MessageBox describe it.
struct MessageBoxRequest {
  std::string id;  // a stable identity for answer files; empty: none
  std::string caption;
  std::string text;
  TMessageIcon icon = TMessageIcon::None;
  std::vector<MessageBoxButton> buttons;  // left to right; never empty
  size_t default_button = 0;              // index into buttons
  // What Escape and the close box answer; nullopt: they are disabled.
  std::optional<int> escape_result;
};

struct InputQueryRequest {
  std::string id;
  std::string caption;
  std::string prompt;
  std::string value;  // the text shown at first
};

struct FolderBrowseRequest {
  std::string id;
  std::string caption;            // the browser's title
  std::string initial_directory;  // Windows path to select first; may be empty
  // Extra controls of the framework's folder dialog: a button that creates
  // a folder (asking allow_create_folder first, when set) and an edit box
  // in which a path can be typed (a typed path may not exist yet).
  bool show_create_button = false;
  bool show_path_edit = false;
  std::function<bool()> allow_create_folder;
};

class UiBackend {
 public:
  UiBackend() = default;
  virtual ~UiBackend() = default;
  UiBackend(const UiBackend&) = delete;
  UiBackend& operator=(const UiBackend&) = delete;

  virtual std::string Name() const = 0;

  virtual void ShowForm(TCustomForm& form) = 0;
  virtual void HideForm(TCustomForm& form) = 0;
  virtual void DestroyForm(TCustomForm& form) = 0;
  virtual void RunModal(TCustomForm& form) = 0;
  virtual void ControlChanged(TControl& control, TControlChange what) = 0;
  virtual void ProcessMessages() = 0;

  virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
  virtual std::optional<std::string> InputQuery(const InputQueryRequest& request) = 0;
  virtual std::optional<std::string> BrowseForFolder(const FolderBrowseRequest& request) = 0;

  virtual TScreenMetrics ScreenMetrics() const = 0;
  virtual TSize MeasureText(const TFont& font, std::string_view text, int wrap_width) = 0;
};

// A backend that cannot start here (no display, no library).
WENMOOR_EXCEPTION(EBackendUnavailable, Exception);

// An error of the backend itself, not of the program's event handlers: an
// answer file that names a control the form does not have, a headless
// operator that cannot get past a form. Modal loops let it pass (they give
// every other exception of an event handler to
// TApplication::HandleException), so that it reaches the caller of
// ShowModal or of the message box.
WENMOOR_EXCEPTION(EUiBackendError, Exception);

// Reads an environment variable; nullopt when unset.
using EnvLookup = std::function<std::optional<std::string>(const char* name)>;
// The process's environment.
EnvLookup ProcessEnvironment();

// Makes a backend; raises EBackendUnavailable when it cannot start.
using BackendFactory = std::function<std::unique_ptr<UiBackend>(const EnvLookup& env)>;

void RegisterBackend(std::string name, BackendFactory factory);
bool IsBackendRegistered(std::string_view name);
std::vector<std::string> RegisteredBackends();  // sorted
// Raises EBackendUnavailable for an unknown name or one that cannot start.
std::unique_ptr<UiBackend> CreateBackend(std::string_view name, const EnvLookup& env);

// Whether a display is there for a window system: DISPLAY or
// WAYLAND_DISPLAY set and not empty, or QT_QPA_PLATFORM=offscreen.
bool DisplayAvailable(const EnvLookup& env);

// The backend for this run. WENMOOR_UI names one ("qt", "headless", or
// another registered name); unset or empty: qt when a display is available
// and the qt backend is linked in, else headless. A named backend that is
// unknown or cannot start falls back to headless with one line to `notice`
// (standard error by default). Errors of the headless backend itself (a
// bad answer file) pass on.
std::unique_ptr<UiBackend> ChooseBackend(const EnvLookup& env,
                                         const std::function<void(const std::string&)>& notice = {});

// The extent of `text` in `font` through the application's backend.
TSize TextExtent(const TFont& font, std::string_view text, int wrap_width = 0);

namespace detail {
struct BackendRegistrar {
  BackendRegistrar(const char* name, BackendFactory factory) { RegisterBackend(name, std::move(factory)); }
};
}  // namespace detail

// Registers a backend when the program starts:
//   WENMOOR_REGISTER_BACKEND(qt, [](const EnvLookup& env) { return ...; });
#define WENMOOR_REGISTER_BACKEND(ident, ...) \
  [[maybe_unused]] static const ::wenmoor::detail::BackendRegistrar wenmoor_backend_##ident(#ident, __VA_ARGS__)

}  // namespace wenmoor
