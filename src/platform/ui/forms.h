// Forms, data modules and the application object: the containers that own a
// script's components and whose first activation starts an installation.
//
// This is the non-visual core that the script layer needs; the drawing of
// forms belongs to the user-interface backends.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/component.h"
#include "platform/rtl/events.h"

namespace wenmoor {

enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
WENMOOR_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)

class TControl;

class TCustomForm : public TComponent {
  WENMOOR_CLASS(TCustomForm, TComponent)
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& c) { caption_ = c; }
  int Left() const { return left_; }
  void SetLeft(int v) { left_ = v; }
  int Top() const { return top_; }
  void SetTop(int v) { top_ = v; }
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  int Height() const { return height_; }
  void SetHeight(int v) { height_ = v; }
  TWindowState WindowState() const { return window_state_; }
  void SetWindowState(TWindowState s) { window_state_ = s; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }

  // Raised when the form becomes the active window.
  TNotifyEvent OnActivate;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

  // Makes the form active: raises OnActivate.
  virtual void Activate();
  void Repaint() {}

 private:
  std::string caption_;
  int left_ = 0, top_ = 0, width_ = 640, height_ = 480;
  TWindowState window_state_ = wsNormal;
  bool visible_ = false;
};

class TForm : public TCustomForm {
  WENMOOR_CLASS(TForm, TCustomForm)
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

class TDataModule : public TComponent {
  WENMOOR_CLASS(TDataModule, TComponent)
 public:
  explicit TDataModule(TComponent* owner) : TComponent(owner) {}
};

// The application object: the main form and the handler of exceptions that
// escape the event loop.
class TApplication {
 public:
  static TApplication& Instance();

  TCustomForm* MainForm() const { return main_form_; }
  // The first form created becomes the main form; clearing happens when that
  // form is destroyed.
  void SetMainForm(TCustomForm* f) { main_form_ = f; }
  const std::string& ExeName() const { return exe_name_; }
  void SetExeName(std::string name) { exe_name_ = std::move(name); }
  // Arguments after the program name.
  const std::vector<std::string>& Params() const { return params_; }
  void SetParams(std::vector<std::string> params) { params_ = std::move(params); }

  // Handler of unhandled exceptions (the engine installs its own).
  std::function<void(const std::exception&)> OnException;
  void HandleException(const std::exception& e);

 private:
  TCustomForm* main_form_ = nullptr;
  std::string exe_name_;
  std::vector<std::string> params_;
};

}  // namespace wenmoor
