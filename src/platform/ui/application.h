// The application object, and letting pending user-interface work run in
// the middle of a long operation.
//
// Every long operation (compressing, extracting, copying, splitting,
// downloading) calls ProcessMessages between blocks of work, on the one
// thread there is, so that progress forms repaint and a Cancel button can set
// the operation's abort flag. ProcessMessages runs the hook installed with
// SetProcessMessagesHook (tests use it to act in the middle of an
// operation), then lets the user-interface backend handle pending events if
// one is running. It never starts a backend: a tool that shows no form
// chooses none.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/component.h"

namespace wenmoor {

class TCustomForm;
class UiBackend;

// Runs the hook, then the running backend's event processing, then frees
// forms released since the last call. Exceptions of the hook pass on.
void ProcessMessages();

// Installs (or, with an empty function, removes) the process-wide hook.
// Returns the previous one so that a scope can restore it.
std::function<void()> SetProcessMessagesHook(std::function<void()> hook);

// The one application object: the main form, the program's name and
// arguments, the handler of exceptions that escape event handlers, and the
// user-interface backend.
class TApplication {
 public:
  static TApplication& Instance();
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  TCustomForm* MainForm() const { return main_form_; }
  // Set by the program; cleared when that form is destroyed.
  void SetMainForm(TCustomForm* f) { main_form_ = f; }
  const std::string& ExeName() const { return exe_name_; }
  void SetExeName(std::string name) { exe_name_ = std::move(name); }
  // Arguments after the program name.
  const std::vector<std::string>& Params() const { return params_; }
  void SetParams(std::vector<std::string> params) { params_ = std::move(params); }
  // The default caption of message boxes: the program's name without
  // directory and extension unless set.
  std::string Title() const;
  void SetTitle(std::string title) { title_ = std::move(title); }

  // Handler of exceptions that escape event handlers (the engine installs
  // its own). Without one, HandleException shows the message in an error
  // box (EAbort is silent).
  std::function<void(const std::exception&)> OnException;
  void HandleException(const std::exception& e);
  // The error box: the message, the application's title, an OK button and
  // the stop icon; on standard error when no backend can be had.
  void ShowException(const std::exception& e);

  // A Windows message box (flags MB_OK, MB_YESNO, MB_ICONWARNING,
  // MB_DEFBUTTON2, ... from dialogs.h); answers IDOK, IDYES, ...
  int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

  // Application.ProcessMessages: the free function ProcessMessages above.
  void ProcessMessages() { ::wenmoor::ProcessMessages(); }

  // Set by the main form's Close: the program should end.
  bool Terminated() const { return terminated_; }
  void Terminate() { terminated_ = true; }
  // For a process that runs more than one program's life (tests): the
  // request to end is forgotten.
  void ClearTerminated() { terminated_ = false; }

  // The owner of forms that belong to the application (Delphi's
  // "owned by Application"): they live until ReleaseForms or the end of
  // the program.
  TComponent* FormOwner();
  // Frees every form that the application owns.
  void ReleaseForms();
  // Queues an owned form for destruction at the next ProcessMessages.
  void QueueRelease(TComponent* form);
  // A queued form that goes another way leaves the queue.
  void ForgetRelease(TComponent* form);
  void FreeReleased();

  // The user-interface backend. The first call chooses one from the
  // environment (backend.h, ChooseBackend) and keeps it.
  UiBackend& Backend();
  // The backend if one was chosen or set, else null (never chooses).
  UiBackend* ActiveBackend() const { return backend_.get(); }
  // Replaces the backend (tests, programs that choose themselves); returns
  // the previous one. The forms that have windows must be gone.
  std::unique_ptr<UiBackend> SetBackend(std::unique_ptr<UiBackend> backend);

 private:
  TApplication();

  // Declared first so that it goes last: forms the holder owns still talk to
  // the backend while they are destroyed.
  std::unique_ptr<UiBackend> backend_;
  ComponentPtr<> form_owner_;
  std::vector<TComponent*> released_;
  TCustomForm* main_form_ = nullptr;
  std::string exe_name_;
  std::string title_;
  std::vector<std::string> params_;
  bool terminated_ = false;
};

}  // namespace wenmoor
