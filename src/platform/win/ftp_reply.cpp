#include "platform/win/ftp_reply.h"

namespace wenmoor::platform {
namespace {

std::string_view WithoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

}  // namespace

int FtpReplyCode(std::string_view line, char* separator) {
  if (separator) *separator = '\0';
  if (line.size() < 3) return 0;
  int code = 0;
  for (size_t i = 0; i < 3; ++i) {
    if (line[i] < '0' || line[i] > '9') return 0;
    code = code * 10 + (line[i] - '0');
  }
  if (code < 100 || code > 599) return 0;
  if (line.size() > 3) {
    if (line[3] != ' ' && line[3] != '-') return 0;
    if (separator) *separator = line[3];
  }
  return code;
}

void FtpReplyAssembler::Append(std::string_view line) {
  if (!text_.empty() && text_.size() < kMaxReplyChars) text_ += "\r\n";
  const size_t room = text_.size() < kMaxReplyChars ? kMaxReplyChars - text_.size() : 0;
  text_.append(line.substr(0, room));
}

std::optional<FtpReply> FtpReplyAssembler::Feed(std::string_view raw) {
  const std::string_view line = WithoutLineEnd(raw);
  char separator = '\0';
  const int code = FtpReplyCode(line, &separator);

  if (code_ != 0) {
    // Inside a multi-line reply only "ddd " (or a bare "ddd") of the same
    // code ends it; everything else, "ddd-" lines included, is its text.
    Append(line);
    if (code != code_ || separator == '-') return std::nullopt;
    FtpReply reply{code_, std::move(text_)};
    code_ = 0;
    text_.clear();
    return reply;
  }
  if (code != 0 && separator == '-') {
    code_ = code;
    text_.clear();
    Append(line);
    return std::nullopt;
  }
  FtpReply reply{code, std::string(line.substr(0, kMaxReplyChars))};
  return reply;
}

}  // namespace wenmoor::platform
