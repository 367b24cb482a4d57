// The Qt Widgets backend: real windows for the forms of the toolkit.
//
// Every top-level form gets a window whose client area is the form's
// ClientRect; each control becomes a widget at its position and size, in
// its font and colour. Buttons, edits, memos, rich text boxes, check
// boxes, group boxes, radio groups, progress bars and tab strips are Qt's
// own widgets; forms, panels, labels, images and bevels are drawn by the
// backend in the classic look; a csCustomPaint control draws itself through
// a TCanvas over a QPainter.
//
// Model changes are cheap: ControlChanged only marks the control, and the
// widgets are brought up to date (Flush) at most every kRepaintIntervalMs
// in ProcessMessages (which hands pending window events to Qt at most every
// kEventIntervalMs), before a modal loop waits, right after a user's action
// and, for RepaintNow, at once (at most every kRepaintNowIntervalMs per
// control, so that code repainting per block of a copy stays cheap).
//
// User actions go through the model (backend.h): the widgets never change
// the model behind its back, and the model's answer is written back to the
// widget (a refused tab change snaps back).
//
// Screenshots: with WENMOOR_SCREENSHOTS naming a directory, every form is
// saved there as a PNG when it is shown and whenever its caption or its
// front page changes; message boxes, the input box and the folder browser
// are saved when they open. Files are numbered in the order taken.
//
// Unattended runs (WENMOOR_AUTOPRESS=1, for screenshots of a whole
// installation): every modal form and dialog is answered, a moment after it
// is up, with the button the headless operator would press by default.
#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/backend.h"

class QWidget;
class QDialog;
class QPainter;

namespace wenmoor::qt {

class QtBackend : public UiBackend {
 public:
  static constexpr int kRepaintIntervalMs = 50;
  static constexpr int kRepaintNowIntervalMs = 15;
  static constexpr int kEventIntervalMs = 25;
  static constexpr int kAutopressDelayMs = 150;
  static constexpr int kMaxAutopresses = 1000;

  // Starts Qt (once per process) on the platform the environment names:
  // QT_QPA_PLATFORM, else X11 (DISPLAY), else Wayland (WAYLAND_DISPLAY).
  // Raises EBackendUnavailable when none is reachable, so that the caller
  // can fall back to headless instead of Qt ending the process.
  static std::unique_ptr<QtBackend> FromEnvironment(const EnvLookup& env);
  // `screenshot_dir` empty: no screenshots.
  explicit QtBackend(std::filesystem::path screenshot_dir = {}, bool autopress = false);
  ~QtBackend() override;

  std::string Name() const override { return "qt"; }
  void ShowForm(TCustomForm& form) override;
  void HideForm(TCustomForm& form) override;
  void DestroyForm(TCustomForm& form) override;
  void RunModal(TCustomForm& form) override;
  void ControlChanged(TControl& control, TControlChange what) override;
  void ProcessMessages() override;

  int ShowMessageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> InputQuery(const InputQueryRequest& request) override;
  std::optional<std::string> BrowseForFolder(const FolderBrowseRequest& request) override;

  TScreenMetrics ScreenMetrics() const override;
  TSize MeasureText(const TFont& font, std::string_view text, int wrap_width) override;

  // --- For tests and tools ---------------------------------------------------
  // The widget showing `control` (a form's window), or null.
  QWidget* WidgetOf(const TControl& control) const;
  // Brings every marked widget up to date now.
  void Flush();
  // How many times marked widgets were brought up to date (each Flush that
  // had something to do counts once).
  long FlushCount() const { return flush_count_; }
  // Time spent in ProcessMessages and in repaints asked for with
  // RepaintNow: what the user interface costs a long operation.
  double BusySeconds() const { return static_cast<double>(busy_ns_) / 1e9; }
  // The PNG files written so far.
  const std::vector<std::filesystem::path>& Screenshots() const { return screenshots_; }

  // --- Used by the backend's own widgets -------------------------------------
  struct View;
  // The view of a widget's control, when both are still alive.
  View* Find(const TControl* control, uint64_t id);
  // Runs a user's action on the model: the program's exceptions go to
  // TApplication::HandleException, the backend's own (EUiBackendError) end
  // the innermost modal loop and pass on from there. Widgets are brought up
  // to date afterwards.
  template <class F>
  void UserAction(F&& action);
  void Paint(View& view, QPainter& painter);
  // Gives the model the size that the window system gave a form's window.
  void AdoptWindowSize(View& view);
  // Runs a dialog of the backend modally (and takes its screenshot).
  int ExecDialog(QDialog& dialog, const std::string& name);

 private:
  View& CreateView(TControl& control, QWidget* parent_widget);
  void Connect(View& view);
  void SyncView(View& view);
  void SyncChildren(View& view);
  void SyncGeometry(View& view);
  void DropView(const TControl* control);
  void FlushControl(const TControl* control);
  void RethrowPending();
  void CheckScreenshots();
  void TakeScreenshot(QWidget& widget, const std::string& name);
  bool HandleAction(std::exception_ptr error);
  void ScheduleAutopress(TCustomForm& form);
  void ShowInState(View& view);
  static void AutopressDialog(QDialog& dialog);

  std::unordered_map<const TControl*, std::unique_ptr<View>> views_;
  std::vector<const TControl*> dirty_;
  uint64_t next_id_ = 1;
  long flush_count_ = 0;
  int64_t last_flush_ms_ = 0;
  int64_t last_events_ms_ = -1000000;
  int64_t busy_ns_ = 0;
  int flushing_ = 0;
  std::exception_ptr pending_;
  std::filesystem::path screenshot_dir_;
  std::vector<std::filesystem::path> screenshots_;
  // What each shown form looked like at its last screenshot.
  std::unordered_map<const TControl*, std::string> shot_state_;
  bool autopress_ = false;
  bool press_scheduled_ = false;
  int presses_ = 0;
};

template <class F>
void QtBackend::UserAction(F&& action) {
  try {
    std::forward<F>(action)();
  } catch (...) {
    HandleAction(std::current_exception());
  }
  Flush();
}

}  // namespace wenmoor::qt
