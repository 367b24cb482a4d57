// FtpReplyAssembler: joins the lines that an FTP server sends on its
// control connection into whole replies.
//
// A reply is one line "ddd text", or several: a first line "ddd-text", any
// lines, and a last line that starts with the same "ddd" followed by a
// blank (or nothing). A line that fits neither form outside a reply is a
// reply of its own with code 0, so that whatever the server said can still
// be shown. The text is bounded (kMaxReplyChars; the rest of a longer reply
// is dropped) so that a server cannot make us hold an unbounded reply.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace wenmoor::platform {

struct FtpReply {
  int code = 0;      // 100..599, or 0 for a line without a code
  std::string text;  // the reply's lines joined by CR LF, without the final one
};

class FtpReplyAssembler {
 public:
  static constexpr size_t kMaxReplyChars = 16384;

  // Takes one line (with or without its CR LF). Returns the reply that this
  // line completes, if it does.
  std::optional<FtpReply> Feed(std::string_view line);
  // Whether a multi-line reply has begun and not yet ended.
  bool InReply() const { return code_ != 0; }

 private:
  void Append(std::string_view line);
  int code_ = 0;  // the code of the multi-line reply in progress
  std::string text_;
};

// The code of a line that starts with three digits (100..599) followed by
// a blank, a hyphen or nothing; 0 otherwise. `separator` receives the
// character after the digits ('\0' when none).
int FtpReplyCode(std::string_view line, char* separator);

}  // namespace wenmoor::platform
