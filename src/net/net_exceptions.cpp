#include "net/net_exceptions.h"

#include "net/cmp_TNetInstallLocation.h"
#include "platform/win/internet.h"
#include "platform/win/win_error.h"

namespace wenmoor {
namespace {

// The buffer the server's response is read into, in characters.
constexpr size_t kResponseBufferChars = 3000;

}  // namespace

std::string NetErrorName(uint32_t code) {
  const std::string_view name = platform::InternetErrorName(code);
  return name.empty() ? std::string("Unregistered error code") : std::string(name);
}

std::string DecorateNetMessage(std::string_view text) {
  // Read the error first: the calls below may change it.
  const uint32_t error = platform::GetLastError();
  const TCustomNetInstallLocation* connected = ConnectedLocation();
  const std::string server = connected ? connected->LoginInformation()->Hostname() : std::string();
  const std::optional<std::string> response = platform::InternetGetLastResponseInfo(kResponseBufferChars);
  return Format("%s. Error message %s. Server %s. Response from server %s", text, NetErrorName(error), server,
                response ? *response : std::string("No server response"));
}

}  // namespace wenmoor
