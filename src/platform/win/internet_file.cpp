// The open files and requests of the Internet door (internet.h).
#include <curl/curl.h>

#include <string>

#include "platform/win/curl_transfer.h"
#include "platform/win/internet.h"
#include "platform/win/internet_handles.h"
#include "platform/win/win_error.h"

namespace wenmoor::platform {

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
