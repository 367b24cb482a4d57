#include "platform/rtl/localize.h"

#include <utility>

namespace wenmoor {
namespace {
MessageLocalizer& Localizer() {
  static MessageLocalizer localizer;
  return localizer;
}
}  // namespace

std::string LocalizeMessage(std::string_view english) {
  const MessageLocalizer& l = Localizer();
  return l ? l(english) : std::string(english);
}

MessageLocalizer SetMessageLocalizer(MessageLocalizer localizer) {
  return std::exchange(Localizer(), std::move(localizer));
}

}  // namespace wenmoor
