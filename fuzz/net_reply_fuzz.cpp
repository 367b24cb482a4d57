// What a server (or a script) hands the download code: FTP control lines,
// HTTP header values, the first block of a body, a Hostname with a port.
// None of it may crash, and the results keep their bounds.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "net/http_response.h"
#include "net/login_information.h"
#include "platform/win/ftp_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wenmoor;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  platform::FtpReplyAssembler replies;
  for (std::string_view rest = bytes; !rest.empty();) {
    const size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end == std::string_view::npos ? rest.size() : end + 1);
    rest.remove_prefix(line.size());
    if (auto reply = replies.Feed(line)) {
      if (reply->code != 0 && (reply->code < 100 || reply->code > 599)) std::abort();
      if (reply->text.size() > platform::FtpReplyAssembler::kMaxReplyChars) std::abort();
      if (reply->code != 0 && reply->text.compare(0, 3, std::to_string(reply->code)) != 0) std::abort();
    }
  }

  if (ParseContentLength(bytes) < 0) std::abort();
  (void)IsFailureStatus(bytes);
  (void)LooksLikeNotFoundPage(bytes.data(), bytes.size());

  const NetServerAddress address = SplitHostPort(bytes);
  if (address.port != 0 && address.host.size() >= bytes.size()) std::abort();  // a port was split off
  return 0;
}
