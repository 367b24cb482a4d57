// The state behind the Internet door's handles (internet.h), shared by
// internet.cpp (session, connection) and internet_file.cpp (files). Internal
// to the platform layer.
#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>

#include "platform/win/curl_transfer.h"
#include "platform/win/internet.h"
#include "platform/win/win_error.h"

namespace wenmoor::platform {

// Ends a successful call: the library leaves ERROR_SUCCESS as last error.
inline bool Succeed() {
  SetLastError(ERROR_SUCCESS);
  return true;
}

inline bool FailWith(CURLcode code, InternetService service) {
  return Fail(InternetErrorFromCurl(code, service));
}

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

}  // namespace wenmoor::platform
