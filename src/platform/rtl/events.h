// Method pointers ("events"): a handler that is called only when assigned.
//
// A handler assigned by the install script also carries its name, so that
// the writer can store the script again. Forms publish the handlers that a
// script may name with TComponent::PublishMethod; the loader looks them up
// on the root component by name.
#pragma once

#include <functional>
#include <string>
#include <utility>

namespace wenmoor {

class TObject;

template <class... Args>
class TEvent {
 public:
  using Handler = std::function<void(Args...)>;

  TEvent() = default;
  TEvent(Handler handler, std::string name = {}) : handler_(std::move(handler)), name_(std::move(name)) {}  // NOLINT

  explicit operator bool() const { return static_cast<bool>(handler_); }
  // Calls the handler when one is assigned (the convention of every event).
  void operator()(Args... args) const {
    if (handler_) handler_(std::forward<Args>(args)...);
  }
  void Assign(Handler handler, std::string name = {}) {
    handler_ = std::move(handler);
    name_ = std::move(name);
  }
  void Clear() {
    handler_ = nullptr;
    name_.clear();
  }
  // The name of a handler that came from the script; empty otherwise.
  const std::string& Name() const { return name_; }
  const Handler& Function() const { return handler_; }

 private:
  Handler handler_;
  std::string name_;
};

using TNotifyEvent = TEvent<TObject*>;

}  // namespace wenmoor
