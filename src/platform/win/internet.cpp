// The Internet door over libcurl. Each connection owns a multi handle,
// whose connection cache keeps the server's connection between files; each
// open file or request owns one CurlTransfer in it.
#include "platform/win/internet.h"

#include <curl/curl.h>

#include <mutex>
#include <utility>

#include "platform/win/curl_transfer.h"
#include "platform/win/internet_handles.h"
#include "platform/win/win_error.h"

namespace wenmoor::platform {
namespace {

std::mutex defaults_mutex;
InternetTimeouts default_timeouts;

// A host name, an IPv4 address or an IPv6 address (without brackets).
// Anything else could change the meaning of the URL built around it.
bool IsValidHost(std::string_view host) {
  if (host.empty()) return false;
  for (unsigned char c : host) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                    c == '-' || c == '_' || c == ':' || c >= 0x80;  // international names go to IDN
    if (!ok) return false;
  }
  return true;
}

// Percent-encodes what a URL path cannot carry as it is; "/" stays a
// separator.
std::string EncodePath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(path.size());
  for (unsigned char c : path) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       std::string_view("-._~!$&'()*+,;=:@/").find(static_cast<char>(c)) != std::string_view::npos;
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

// The URL path of an FTP directory: relative to the login directory unless
// it starts with "/" ("%2F" makes libcurl start from the root).
std::string FtpDirectoryPath(std::string_view dir) {
  if (dir.empty()) return {};
  std::string path = dir.front() == '/' ? "%2F" + EncodePath(dir.substr(1)) : EncodePath(dir);
  if (path.back() != '/') path += '/';
  return path;
}

}  // namespace

// ---- options ------------------------------------------------------------

void SetDefaultInternetTimeouts(const InternetTimeouts& timeouts) {
  std::lock_guard lock(defaults_mutex);
  default_timeouts = timeouts;
}

InternetTimeouts DefaultInternetTimeouts() {
  std::lock_guard lock(defaults_mutex);
  return default_timeouts;
}

std::optional<std::string> InternetGetLastResponseInfo(size_t buffer_chars) {
  const std::string& text = LastInternetResponse();
  if (text.size() + 1 > buffer_chars) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return std::nullopt;
  }
  Succeed();
  return text;
}

// ---- session ------------------------------------------------------------

InternetSession::InternetSession(std::string agent)
    : agent_(std::move(agent)), timeouts_(DefaultInternetTimeouts()) {}
InternetSession::~InternetSession() = default;

std::unique_ptr<InternetSession> InternetSession::Open(std::string agent) {
  // libcurl's global state lives as long as the process; it is never torn
  // down, since other sessions may still use it.
  static const CURLcode init = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (init != CURLE_OK) {
    Fail(ERROR_INTERNET_INTERNAL_ERROR);
    return nullptr;
  }
  Succeed();
  return std::unique_ptr<InternetSession>(new InternetSession(std::move(agent)));
}

std::unique_ptr<InternetConnection> InternetSession::Connect(std::string_view host, uint16_t port,
                                                             InternetService service, const InternetLogin& login) {
  if (!IsValidHost(host)) {
    Fail(ERROR_INTERNET_NAME_NOT_RESOLVED);
    return nullptr;
  }
  auto impl = std::make_unique<InternetConnection::Impl>();
  impl->multi = curl_multi_init();
  if (!impl->multi) {
    Fail(ERROR_INTERNET_OUT_OF_HANDLES);
    return nullptr;
  }
  impl->service = service;
  impl->host = std::string(host);
  if (port == INTERNET_INVALID_PORT_NUMBER) port = service == InternetService::Ftp ? 21 : 80;
  const bool ipv6 = host.find(':') != std::string_view::npos;
  impl->origin = std::string(service == InternetService::Ftp ? "ftp://" : "http://") + (ipv6 ? "[" : "") +
                 impl->host + (ipv6 ? "]" : "") + ":" + std::to_string(port);
  impl->login = login;
  impl->agent = agent_;
  impl->timeouts = timeouts_;
  if (service == InternetService::Ftp) {
    // The library logs in to an FTP server when connecting.
    if (CURLcode rc = impl->Probe(""); rc != CURLE_OK) {
      FailWith(rc, service);
      return nullptr;
    }
  }
  Succeed();
  return std::unique_ptr<InternetConnection>(new InternetConnection(std::move(impl)));
}

// ---- connection -----------------------------------------------------------

InternetConnection::InternetConnection(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

InternetConnection::~InternetConnection() {
  if (impl_->open_file) impl_->open_file->Detach();  // cut off: it fails from now on
}

InternetService InternetConnection::Service() const { return impl_->service; }
const std::string& InternetConnection::Host() const { return impl_->host; }
const std::string& InternetConnection::FtpCurrentDirectory() const { return impl_->ftp_directory; }

bool InternetConnection::FtpSetCurrentDirectory(std::string_view directory) {
  if (impl_->service != InternetService::Ftp) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  if (impl_->open_file) return Fail(ERROR_FTP_TRANSFER_IN_PROGRESS);
  if (CURLcode rc = impl_->Probe(FtpDirectoryPath(directory)); rc != CURLE_OK) return FailWith(rc, impl_->service);
  impl_->ftp_directory = std::string(directory);
  return Succeed();
}

std::unique_ptr<InternetFile> InternetConnection::FtpOpenFile(std::string_view name, FtpTransferType type) {
  if (impl_->service != InternetService::Ftp) {
    Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return nullptr;
  }
  if (impl_->open_file) {
    Fail(ERROR_FTP_TRANSFER_IN_PROGRESS);
    return nullptr;
  }
  if (name.empty()) {
    Fail(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto file = std::make_unique<InternetFile::Impl>();
  file->url = impl_->origin + "/" + FtpDirectoryPath(impl_->ftp_directory) + EncodePath(name);
  file->transfer = impl_->NewTransfer();
  CurlTransfer& t = *file->transfer;
  curl_easy_setopt(t.Easy(), CURLOPT_URL, file->url.c_str());
  curl_easy_setopt(t.Easy(), CURLOPT_TRANSFERTEXT, type == FtpTransferType::Ascii ? 1L : 0L);
  if (t.Start()) t.PumpUntil([&t] { return t.Started(); });
  if (t.Finished() && t.Result() != CURLE_OK && t.Buffered() == 0) {
    FailWith(t.Result(), impl_->service);
    return nullptr;
  }
  file->connection = impl_.get();
  impl_->open_file = file.get();
  Succeed();
  return std::unique_ptr<InternetFile>(new InternetFile(std::move(file)));
}

std::unique_ptr<InternetFile> InternetConnection::HttpOpenRequest(std::string_view verb, std::string_view object,
                                                                  uint32_t flags) {
  if (impl_->service != InternetService::Http) {
    Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return nullptr;
  }
  if (verb != "GET" && verb != "HEAD") {
    Fail(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (impl_->open_file) {
    Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    return nullptr;
  }
  auto file = std::make_unique<InternetFile::Impl>();
  file->http = true;
  file->head = verb == "HEAD";
  file->reload = (flags & INTERNET_FLAG_RELOAD) != 0;
  const std::string path = EncodePath(object);
  file->url = impl_->origin + (path.empty() || path.front() != '/' ? "/" : "") + path;
  file->connection = impl_.get();
  impl_->open_file = file.get();
  Succeed();
  return std::unique_ptr<InternetFile>(new InternetFile(std::move(file)));
}

}  // namespace wenmoor::platform
