// CurlTransfer: one libcurl transfer turned from push to pull, for the
// Internet door (internet.h); nothing outside the platform layer includes
// this header.
//
// libcurl hands received data to a callback; the door's callers ask for
// blocks. The transfer runs in the connection's multi handle and is driven
// only while a caller waits (Pump*), on the caller's thread. Received data
// waits in a buffer; once the buffer holds kHighWater bytes the callback
// pauses the transfer, and Resume lets it continue when the buffer has been
// read. Memory therefore stays bounded by kHighWater plus one delivery of
// libcurl (kCurlBufferSize), whatever the size of the file.
//
// Timeouts: connecting is bounded by libcurl's connect timeout; every Pump
// call ends the transfer with CURLE_OPERATION_TIMEDOUT when the server
// stays silent for the receive timeout (until the server has been reached
// the connect timeout is added to it).
#pragma once

#include <curl/curl.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win/ftp_reply.h"
#include "platform/win/internet.h"

namespace wenmoor::platform {

class CurlTransfer {
 public:
  static constexpr size_t kHighWater = 256 * 1024;
  static constexpr long kCurlBufferSize = 128 * 1024;

  // A new easy handle with the settings every transfer shares (callbacks,
  // timeouts, buffer size, login). `multi` must outlive the transfer.
  CurlTransfer(CURLM* multi, InternetService service, const InternetTimeouts& timeouts,
               const InternetLogin& login, const std::string& agent);
  // Removes the transfer from the multi handle (abandoning it if running).
  ~CurlTransfer();
  CurlTransfer(const CurlTransfer&) = delete;
  CurlTransfer& operator=(const CurlTransfer&) = delete;

  // For the options that differ per transfer (URL, method, headers).
  CURL* Easy() const { return easy_; }
  // Adds the transfer to the multi handle; false when libcurl refuses.
  bool Start();

  // Drives the transfer until `ready()` holds or the transfer has ended.
  void PumpUntil(const std::function<bool()>& ready);
  void PumpToEnd() { PumpUntil([] { return false; }); }

  // Received data not yet taken.
  size_t Buffered() const { return buffer_.size() - head_; }
  // Copies up to `size` buffered bytes to `out`; returns how many.
  size_t Take(void* out, size_t size);
  // Lets a paused transfer continue (call when the buffer has been read).
  void Resume();

  bool Finished() const { return finished_; }
  CURLcode Result() const { return result_; }
  // HTTP: the status and headers of the final response are in.
  // FTP: the server has begun sending the file (reply 125 or 150).
  bool Started() const { return started_; }
  // Ends the transfer with `code` (used when the caller gives up).
  void Finish(CURLcode code);

 private:
  static size_t OnWrite(char* data, size_t size, size_t count, void* self);
  static size_t OnHeader(char* data, size_t size, size_t count, void* self);
  void OnHttpHeaderLine(std::string_view line);
  void OnFtpLine(std::string_view line);
  void CollectMessages();

  CURLM* multi_;
  CURL* easy_;
  InternetService service_;
  InternetTimeouts timeouts_;
  bool in_multi_ = false;
  bool finished_ = false;
  bool paused_ = false;
  bool started_ = false;
  bool heard_server_ = false;  // connected, or something received
  CURLcode result_ = CURLE_OK;
  std::chrono::steady_clock::time_point last_activity_;
  std::vector<char> buffer_;
  size_t head_ = 0;
  // HTTP: whether the response in progress carries a Location header.
  bool saw_location_ = false;
  FtpReplyAssembler ftp_replies_;
};

// The library's error code for a libcurl result (see internet.h).
uint32_t InternetErrorFromCurl(CURLcode code, InternetService service);

// The per-thread last response of a server (InternetGetLastResponseInfo).
const std::string& LastInternetResponse();
void SetLastInternetResponse(std::string text);

}  // namespace wenmoor::platform
