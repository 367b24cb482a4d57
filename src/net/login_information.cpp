#include "net/login_information.h"

#include "net/cmp_TNetInstallLocation.h"
#include "platform/rtl/sysutils.h"

namespace wenmoor {
namespace {

// 1..65535 from all-digit text; 0 otherwise.
uint16_t ParsePort(std::string_view s) {
  if (s.empty() || s.size() > 5) return 0;
  uint32_t port = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return 0;
    port = port * 10 + static_cast<uint32_t>(c - '0');
  }
  return port >= 1 && port <= 65535 ? static_cast<uint16_t>(port) : 0;
}

}  // namespace

void TCustomLoginInformation::Changed() {
  if (location_) location_->Disconnect();
}

void TCustomLoginInformation::SetAnonymous(bool v) {
  if (v == anonymous_) return;
  anonymous_ = v;
  Changed();
}

// The directory is applied at every connect, so changing it needs no new
// connection.
void TCustomLoginInformation::SetDirectory(const std::string& v) { directory_ = v; }

void TCustomLoginInformation::SetHostname(const std::string& v) {
  if (v == hostname_) return;
  hostname_ = v;
  Changed();
}

void TCustomLoginInformation::SetPassword(const std::string& v) {
  if (v == password_) return;
  password_ = v;
  Changed();
}

void TCustomLoginInformation::SetProtocol(TInternetProtocol v) {
  if (v == protocol_) return;
  protocol_ = v;
  Changed();
}

void TCustomLoginInformation::SetUsername(const std::string& v) {
  if (v == username_) return;
  username_ = v;
  Changed();
}

bool TCustomLoginInformation::IsValid() const {
  const bool has_host = !Trim(hostname_).empty();
  if (anonymous_) return has_host;
  return has_host || !Trim(password_).empty() || !Trim(username_).empty();
}

void TCustomLoginInformation::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TCustomLoginInformation*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  SetAnonymous(other->anonymous_);
  SetDirectory(other->directory_);
  SetHostname(other->hostname_);
  SetPassword(other->password_);
  SetProtocol(other->protocol_);
  SetUsername(other->username_);
}

std::string ToURLPath(std::string_view directory) {
  if (Trim(directory).empty()) return "/";
  std::string path(directory);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

std::string HttpObjectName(std::string_view directory, std::string_view remote_name) {
  if (Trim(directory).empty()) return "/" + std::string(remote_name);
  std::string dir(directory);
  if (dir.back() != '\\' && dir.back() != '/') dir += '\\';
  return ToURLPath(dir) + std::string(remote_name);
}

NetServerAddress SplitHostPort(std::string_view hostname) {
  const std::string text = Trim(hostname);
  const std::string_view s(text);
  if (!s.empty() && s.front() == '[') {
    const size_t close = s.find(']');
    if (close != std::string_view::npos) {
      const std::string_view rest = s.substr(close + 1);
      if (rest.empty()) return {std::string(s.substr(1, close - 1)), 0};
      if (rest.front() == ':') {
        if (uint16_t port = ParsePort(rest.substr(1))) return {std::string(s.substr(1, close - 1)), port};
      }
    }
    return {text, 0};
  }
  const size_t colon = s.rfind(':');
  // More than one colon without brackets: an IPv6 address without a port.
  if (colon == std::string_view::npos || s.find(':') != colon) return {text, 0};
  if (uint16_t port = ParsePort(s.substr(colon + 1))) return {std::string(s.substr(0, colon)), port};
  return {text, 0};
}

WENMOOR_REGISTER_CLASS(TCustomLoginInformation) {}

WENMOOR_REGISTER_CLASS(TLoginInformation) {
  c.Prop("Anonymous", &T::Anonymous, &T::SetAnonymous).Default(true);
  c.Prop("Directory", &T::Directory, &T::SetDirectory);
  c.Prop("Hostname", &T::Hostname, &T::SetHostname);
  c.Prop("Password", &T::Password, &T::SetPassword);
  c.Prop("Protocol", &T::Protocol, &T::SetProtocol).Default(ipHTTP);
  c.Prop("Username", &T::Username, &T::SetUsername);
}

}  // namespace wenmoor
