// The Internet door over libcurl. Each connection owns a multi handle,
// whose connection cache keeps the server's connection between files; each
// open file or request owns one CurlTransfer in it.
#include "platform/win/internet.h"

#include <curl/curl.h>

#include <mutex>
#include <utility>

#include "platform/win/curl_transfer.h"
#include "platform/win/win_error.h"

namespace wenmoor::platform {
namespace {

std::mutex defaults_mutex;
InternetTimeouts default_timeouts;

bool Succeed() {
  SetLastError(ERROR_SUCCESS);
  return true;
}

bool FailWith(CURLcode code, InternetService service) {
  return Fail(InternetErrorFromCurl(code, service));
}

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

// ---- errors and options -------------------------------------------------

std::string_view InternetErrorName(uint32_t code) {
  struct Entry {
    uint32_t code;
    std::string_view name;
  };
  static constexpr Entry kNames[] = {
      {6, "ERROR_INVALID_HANDLE"},
      {12001, "ERROR_INTERNET_OUT_OF_HANDLES"},
      {12002, "ERROR_INTERNET_TIMEOUT"},
      {12003, "ERROR_INTERNET_EXTENDED_ERROR"},
      {12004, "ERROR_INTERNET_INTERNAL_ERROR"},
      {12005, "ERROR_INTERNET_INVALID_URL"},
      {12006, "ERROR_INTERNET_UNRECOGNIZED_SCHEME"},
      {12007, "ERROR_INTERNET_NAME_NOT_RESOLVED"},
      {12008, "ERROR_INTERNET_PROTOCOL_NOT_FOUND"},
      {12009, "ERROR_INTERNET_INVALID_OPTION"},
      {12010, "ERROR_INTERNET_BAD_OPTION_LENGTH"},
      {12011, "ERROR_INTERNET_OPTION_NOT_SETTABLE"},
      {12012, "ERROR_INTERNET_SHUTDOWN"},
      {12013, "ERROR_INTERNET_INCORRECT_USER_NAME"},
      {12014, "ERROR_INTERNET_INCORRECT_PASSWORD"},
      {12015, "ERROR_INTERNET_LOGIN_FAILURE"},
      {12016, "ERROR_INTERNET_INVALID_OPERATION"},
      {12017, "ERROR_INTERNET_OPERATION_CANCELLED"},
      {12018, "ERROR_INTERNET_INCORRECT_HANDLE_TYPE"},
      {12019, "ERROR_INTERNET_INCORRECT_HANDLE_STATE"},
      {12020, "ERROR_INTERNET_NOT_PROXY_REQUEST"},
      {12021, "ERROR_INTERNET_REGISTRY_VALUE_NOT_FOUND"},
      {12022, "ERROR_INTERNET_BAD_REGISTRY_PARAMETER"},
      {12023, "ERROR_INTERNET_NO_DIRECT_ACCESS"},
      {12024, "ERROR_INTERNET_NO_CONTEXT"},
      {12025, "ERROR_INTERNET_NO_CALLBACK"},
      {12026, "ERROR_INTERNET_REQUEST_PENDING"},
      {12027, "ERROR_INTERNET_INCORRECT_FORMAT"},
      {12028, "ERROR_INTERNET_ITEM_NOT_FOUND"},
      {12029, "ERROR_INTERNET_CANNOT_CONNECT"},
      {12030, "ERROR_INTERNET_CONNECTION_ABORTED"},
      {12031, "ERROR_INTERNET_CONNECTION_RESET"},
      {12032, "ERROR_INTERNET_FORCE_RETRY"},
      {12036, "ERROR_INTERNET_HANDLE_EXISTS"},
      {12041, "ERROR_INTERNET_MIXED_SECURITY"},
      {12110, "ERROR_FTP_TRANSFER_IN_PROGRESS"},
      {12111, "ERROR_FTP_DROPPED"},
      {12130, "ERROR_GOPHER_PROTOCOL_ERROR"},
      {12131, "ERROR_GOPHER_NOT_FILE"},
      {12132, "ERROR_GOPHER_DATA_ERROR"},
      {12133, "ERROR_GOPHER_END_OF_DATA"},
      {12134, "ERROR_GOPHER_INVALID_LOCATOR"},
      {12135, "ERROR_GOPHER_INCORRECT_LOCATOR_TYPE"},
      {12136, "ERROR_GOPHER_NOT_GOPHER_PLUS"},
      {12137, "ERROR_GOPHER_ATTRIBUTE_NOT_FOUND"},
      {12138, "ERROR_GOPHER_UNKNOWN_LOCATOR"},
      {12150, "ERROR_HTTP_HEADER_NOT_FOUND"},
      {12151, "ERROR_HTTP_DOWNLEVEL_SERVER"},
      {12152, "ERROR_HTTP_INVALID_SERVER_RESPONSE"},
      {12153, "ERROR_HTTP_INVALID_HEADER"},
      {12154, "ERROR_HTTP_INVALID_QUERY_REQUEST"},
      {12155, "ERROR_HTTP_HEADER_ALREADY_EXISTS"},
  };
  for (const Entry& e : kNames) {
    if (e.code == code) return e.name;
  }
  return {};
}

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

// ---- internal state of the handles ---------------------------------------

struct InternetConnection::Impl {
  CURLM* multi = nullptr;
  InternetService service = InternetService::Http;
  std::string host;
  std::string origin;  // "ftp://host:21" (no path)
  InternetLogin login;
  std::string agent;
  InternetTimeouts timeouts;
  std::string ftp_directory;
  InternetFile::Impl* open_file = nullptr;

  ~Impl() {
    if (multi) curl_multi_cleanup(multi);
  }
  std::unique_ptr<CurlTransfer> NewTransfer() const {
    return std::make_unique<CurlTransfer>(multi, service, timeouts, login, agent);
  }
  // Runs a transfer that only logs in and changes to `path` (no data).
  CURLcode Probe(const std::string& path) const {
    std::unique_ptr<CurlTransfer> t = NewTransfer();
    const std::string url = origin + "/" + path;
    curl_easy_setopt(t->Easy(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(t->Easy(), CURLOPT_NOBODY, 1L);
    if (t->Start()) t->PumpToEnd();
    return t->Result();
  }
};

struct InternetFile::Impl {
  InternetConnection::Impl* connection = nullptr;  // null once closed or cut off
  std::string url;
  bool http = false;
  bool head = false;    // HTTP HEAD: no body
  bool reload = false;  // INTERNET_FLAG_RELOAD
  bool sent = false;    // the HTTP request went out and its headers came back
  curl_slist* headers = nullptr;
  std::unique_ptr<CurlTransfer> transfer;  // declared after `headers`: freed first

  ~Impl() { Detach(); }
  void Detach() {
    transfer.reset();  // libcurl lets go of `headers` here
    curl_slist_free_all(headers);
    headers = nullptr;
    if (connection && connection->open_file == this) connection->open_file = nullptr;
    connection = nullptr;
  }
  InternetService Service() const { return http ? InternetService::Http : InternetService::Ftp; }
};

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

// ---- file -------------------------------------------------------------------

InternetFile::InternetFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
InternetFile::~InternetFile() = default;

bool InternetFile::Close() {
  if (!impl_->connection && !impl_->transfer) return Fail(ERROR_INVALID_HANDLE);
  impl_->Detach();
  return Succeed();
}

bool InternetFile::HttpSendRequest(std::string_view headers) {
  Impl& f = *impl_;
  if (!f.connection) return Fail(ERROR_INVALID_HANDLE);
  if (!f.http) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  // A request may be sent again after a failure; each try is a new transfer.
  f.transfer.reset();
  curl_slist_free_all(f.headers);
  f.headers = nullptr;
  f.sent = false;
  while (!headers.empty()) {
    const size_t end = headers.find("\r\n");
    const std::string line(headers.substr(0, end));
    headers = end == std::string_view::npos ? std::string_view() : headers.substr(end + 2);
    if (!line.empty()) f.headers = curl_slist_append(f.headers, line.c_str());
  }
  if (f.reload) {
    f.headers = curl_slist_append(f.headers, "Pragma: no-cache");
    f.headers = curl_slist_append(f.headers, "Cache-Control: no-cache");
  }
  f.transfer = f.connection->NewTransfer();
  CurlTransfer& t = *f.transfer;
  curl_easy_setopt(t.Easy(), CURLOPT_URL, f.url.c_str());
  curl_easy_setopt(t.Easy(), CURLOPT_HTTPHEADER, f.headers);
  if (f.head) curl_easy_setopt(t.Easy(), CURLOPT_NOBODY, 1L);
  if (t.Start()) t.PumpUntil([&t] { return t.Started(); });
  if (!t.Started()) {
    return t.Result() != CURLE_OK ? FailWith(t.Result(), InternetService::Http)
                                  : Fail(ERROR_HTTP_INVALID_SERVER_RESPONSE);
  }
  f.sent = true;
  return Succeed();
}

std::optional<std::string> InternetFile::HttpQueryInfo(HttpQuery query) {
  Impl& f = *impl_;
  if (!f.connection) {
    Fail(ERROR_INVALID_HANDLE);
    return std::nullopt;
  }
  if (!f.http) {
    Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return std::nullopt;
  }
  if (!f.sent) {
    Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    return std::nullopt;
  }
  if (query == HttpQuery::StatusCode) {
    long code = 0;
    curl_easy_getinfo(f.transfer->Easy(), CURLINFO_RESPONSE_CODE, &code);
    Succeed();
    return std::to_string(code);
  }
  curl_header* header = nullptr;
  if (curl_easy_header(f.transfer->Easy(), "Content-Length", 0, CURLH_HEADER, -1, &header) != CURLHE_OK) {
    Fail(ERROR_HTTP_HEADER_NOT_FOUND);
    return std::nullopt;
  }
  Succeed();
  return std::string(header->value);
}

std::optional<int64_t> InternetFile::FtpGetFileSize() {
  Impl& f = *impl_;
  if (!f.connection) {
    Fail(ERROR_INVALID_HANDLE);
    return std::nullopt;
  }
  if (f.http) {
    Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return std::nullopt;
  }
  curl_off_t size = -1;
  curl_easy_getinfo(f.transfer->Easy(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size);
  if (size < 0) {
    Fail(ERROR_INTERNET_ITEM_NOT_FOUND);
    return std::nullopt;
  }
  Succeed();
  return static_cast<int64_t>(size);
}

bool InternetFile::InternetReadFile(void* buffer, uint32_t size, uint32_t& read) {
  read = 0;
  Impl& f = *impl_;
  if (!f.connection) return Fail(ERROR_INVALID_HANDLE);
  if (f.http && !f.sent) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  if (!f.transfer) return Fail(ERROR_INVALID_HANDLE);
  CurlTransfer& t = *f.transfer;
  auto* out = static_cast<char*>(buffer);
  while (read < size) {
    read += static_cast<uint32_t>(t.Take(out + read, size - read));
    if (read == size || t.Finished()) break;
    t.Resume();
    t.PumpUntil([&t] { return t.Buffered() > 0; });
  }
  // Data that arrived before a failure is delivered first; the failure
  // answers the call after it.
  if (read == 0 && t.Finished() && t.Result() != CURLE_OK) return FailWith(t.Result(), f.Service());
  return Succeed();
}

}  // namespace wenmoor::platform
