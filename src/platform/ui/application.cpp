#include "platform/ui/application.h"

#include <utility>

namespace wenmoor {
namespace {
std::function<void()>& Hook() {
  static std::function<void()> hook;
  return hook;
}
}  // namespace

void ProcessMessages() {
  if (auto& hook = Hook()) hook();
}

std::function<void()> SetProcessMessagesHook(std::function<void()> hook) {
  return std::exchange(Hook(), std::move(hook));
}

}  // namespace wenmoor
