// The exception hierarchy.
//
//   Exception                      the platform's base (message text)
//   ├─ EAbort                      silent abort: skips without an error box
//   ├─ EConvertError, EListError, EComponentError, EReadError, ...
//   └─ ECustomWenmoorAbnormal      the framework's root
//      ├─ EWenmoorAbnormal         archive and system-service errors
//      └─ IException              script-object errors; the message is
//         │                        localized before its values are filled in
//         └─ EAI ─ EAIUserAbort    the user aborted the installation
//
// Subsystems declare their own classes with WENMOOR_EXCEPTION(Name, Base),
// which inherits the base's constructors.
//
// Messages are built by Format from a constant English template; data (paths,
// names) only ever enters as an argument.
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "platform/rtl/format.h"
#include "platform/rtl/localize.h"

namespace wenmoor {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  // Builds the message with Format; the format is a constant template.
  template <class A, class... Rest>
  Exception(std::string_view format, const A& first, const Rest&... rest)
      : message_(Format(format, first, rest...)) {}

  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }

 private:
  std::string message_;
};

#define WENMOOR_EXCEPTION(Name, Base) \
  class Name : public Base {          \
   public:                            \
    using Base::Base;                 \
  }

// The silent abort: handlers that catch it end the current step quietly.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
  using Exception::Exception;
};

WENMOOR_EXCEPTION(EConvertError, Exception);
WENMOOR_EXCEPTION(EListError, Exception);
WENMOOR_EXCEPTION(EComponentError, Exception);
WENMOOR_EXCEPTION(EStreamError, Exception);
WENMOOR_EXCEPTION(EFOpenError, EStreamError);
WENMOOR_EXCEPTION(EFCreateError, EStreamError);
WENMOOR_EXCEPTION(EReadError, EStreamError);
WENMOOR_EXCEPTION(EWriteError, EStreamError);
WENMOOR_EXCEPTION(EInOutError, Exception);
WENMOOR_EXCEPTION(EInvalidGraphic, Exception);

WENMOOR_EXCEPTION(ECustomWenmoorAbnormal, Exception);
WENMOOR_EXCEPTION(EWenmoorAbnormal, ECustomWenmoorAbnormal);

// Base of every script-object error. Both constructors pass the English text
// through LocalizeMessage first and only then fill in the values, so a
// translation can move the placeholders.
class IException : public ECustomWenmoorAbnormal {
 public:
  explicit IException(std::string_view message) : ECustomWenmoorAbnormal(LocalizeMessage(message)) {}
  template <class A, class... Rest>
  IException(std::string_view format, const A& first, const Rest&... rest)
      : ECustomWenmoorAbnormal(Format(LocalizeMessage(format), first, rest...)) {}
};

// The user aborted the installation.
WENMOOR_EXCEPTION(EAI, IException);
class EAIUserAbort : public EAI {
 public:
  EAIUserAbort() : EAI("Installation aborted by the user") {}
  using EAI::EAI;
};

}  // namespace wenmoor
