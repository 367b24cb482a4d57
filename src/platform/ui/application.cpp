#include "platform/ui/application.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/backend.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/forms.h"

namespace wenmoor {
namespace {
std::function<void()>& Hook() {
  static std::function<void()> hook;
  return hook;
}
}  // namespace

void ProcessMessages() {
  if (auto& hook = Hook()) hook();
  TApplication& app = TApplication::Instance();
  if (UiBackend* backend = app.ActiveBackend()) backend->ProcessMessages();
  app.FreeReleased();
}

std::function<void()> SetProcessMessagesHook(std::function<void()> hook) {
  return std::exchange(Hook(), std::move(hook));
}

TApplication::TApplication() = default;

TApplication::~TApplication() {
  // Forms first, while the backend they talk to still exists.
  released_.clear();
  form_owner_.reset();
  main_form_ = nullptr;
}

TApplication& TApplication::Instance() {
  static TApplication app;
  return app;
}

std::string TApplication::Title() const {
  if (!title_.empty()) return title_;
  std::string name = ExtractFileName(exe_name_);
  return ChangeFileExt(name, "");
}

void TApplication::HandleException(const std::exception& e) {
  if (dynamic_cast<const EAbort*>(&e)) return;
  if (OnException) {
    OnException(e);
    return;
  }
  ShowException(e);
}

void TApplication::ShowException(const std::exception& e) {
  std::string text = e.what();
  if (!text.empty() && text.back() != '.') text += '.';
  try {
    MessageBox(text, Title(), MB_OK | MB_ICONSTOP);
  } catch (const std::exception& box_error) {
    // No way to show a box: the message must not be lost.
    std::fprintf(stderr, "%s\n", e.what());
    std::fprintf(stderr, "(the error box could not be shown: %s)\n", box_error.what());
  }
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  return ShowMessageBox(MessageBoxFlagsRequest(text, caption, flags));
}

TComponent* TApplication::FormOwner() {
  if (!form_owner_) form_owner_ = CreateUnowned<TComponent>();
  return form_owner_.get();
}

void TApplication::ReleaseForms() {
  released_.clear();
  form_owner_.reset();
}

void TApplication::QueueRelease(TComponent* form) {
  if (std::find(released_.begin(), released_.end(), form) == released_.end()) released_.push_back(form);
}

void TApplication::ForgetRelease(TComponent* form) { std::erase(released_, form); }

void TApplication::FreeReleased() {
  // A form may release another while it is destroyed: take the list first.
  while (!released_.empty()) {
    TComponent* form = released_.front();
    released_.erase(released_.begin());
    form->Free();
  }
}

UiBackend& TApplication::Backend() {
  if (!backend_) {
    backend_ = ChooseBackend(ProcessEnvironment(), [](const std::string& line) {
      std::fprintf(stderr, "%s\n", line.c_str());
    });
  }
  return *backend_;
}

std::unique_ptr<UiBackend> TApplication::SetBackend(std::unique_ptr<UiBackend> backend) {
  return std::exchange(backend_, std::move(backend));
}

}  // namespace wenmoor
