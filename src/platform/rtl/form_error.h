// EFormError: a form text that cannot be read, with the place of the fault.
//
// The message reads "<file>, line <n>, column <m>: <reason>"; the parts are
// kept apart for callers that show them differently (and for tests). Lines
// and columns count from 1; a column counts characters, not bytes, so that
// it matches what an editor shows for UTF-8 text.
#pragma once

#include <string>
#include <utility>

#include "platform/rtl/exceptions.h"

namespace wenmoor {

class EFormError : public EReadError {
 public:
  EFormError(std::string file, int line, int column, std::string reason)
      : EReadError(Format("%s, line %d, column %d: %s", file, line, column, reason)),
        file_(std::move(file)),
        line_(line),
        column_(column),
        reason_(std::move(reason)) {}

  const std::string& File() const { return file_; }
  int Line() const { return line_; }
  int Column() const { return column_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string file_;
  int line_;
  int column_;
  std::string reason_;
};

// A place in a form text.
struct FormPos {
  int line = 1;
  int column = 1;
};

}  // namespace wenmoor
