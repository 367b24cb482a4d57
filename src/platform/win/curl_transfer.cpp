#include "platform/win/curl_transfer.h"

#include <algorithm>
#include <cstring>
#include <utility>


namespace wenmoor::platform {
namespace {

using Clock = std::chrono::steady_clock;

thread_local std::string last_response;

std::string_view WithoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char a = s[i], b = prefix[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

bool IsFollowedRedirect(long code) {
  return code == 301 || code == 302 || code == 303 || code == 307 || code == 308;
}

}  // namespace

const std::string& LastInternetResponse() { return last_response; }
void SetLastInternetResponse(std::string text) { last_response = std::move(text); }

CurlTransfer::CurlTransfer(CURLM* multi, InternetService service, const InternetTimeouts& timeouts,
                           const InternetLogin& login, const std::string& agent)
    : multi_(multi), easy_(curl_easy_init()), service_(service), timeouts_(timeouts) {
  if (!easy_) {
    finished_ = true;
    result_ = CURLE_OUT_OF_MEMORY;
    return;
  }
  curl_easy_setopt(easy_, CURLOPT_PRIVATE, this);
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlTransfer::OnWrite);
  curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlTransfer::OnHeader);
  curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy_, CURLOPT_BUFFERSIZE, kCurlBufferSize);
  curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::max<uint32_t>(timeouts.connect_ms, 1)));
  // The FTP server's replies are bounded by the receive timeout too.
  curl_easy_setopt(easy_, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                   static_cast<long>(std::max<uint32_t>(timeouts.receive_ms / 1000, 1)));
  curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, service == InternetService::Ftp ? "ftp" : "http");
  if (service == InternetService::Http) {
    curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http");
    if (!agent.empty()) curl_easy_setopt(easy_, CURLOPT_USERAGENT, agent.c_str());
  } else {
    // One CWD with the whole directory, as the library sends it.
    curl_easy_setopt(easy_, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
  }
  if (!login.user.empty()) {
    curl_easy_setopt(easy_, CURLOPT_USERNAME, login.user.c_str());
    curl_easy_setopt(easy_, CURLOPT_PASSWORD, login.password.c_str());
  }
}

CurlTransfer::~CurlTransfer() {
  if (!easy_) return;
  if (in_multi_) curl_multi_remove_handle(multi_, easy_);
  curl_easy_cleanup(easy_);
}

bool CurlTransfer::Start() {
  if (!easy_ || in_multi_) return false;
  if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) {
    Finish(CURLE_OUT_OF_MEMORY);
    return false;
  }
  in_multi_ = true;
  last_activity_ = Clock::now();
  // What another server said before must not be taken for this one's answer.
  SetLastInternetResponse({});
  return true;
}

void CurlTransfer::Finish(CURLcode code) {
  if (finished_) return;
  finished_ = true;
  result_ = code;
}

void CurlTransfer::PumpUntil(const std::function<bool()>& ready) {
  if (!in_multi_) return;
  // Only time spent waiting here counts as the server's silence; time the
  // caller spends between calls does not.
  last_activity_ = Clock::now();
  while (!finished_ && !ready()) {
    int running = 0;
    if (curl_multi_perform(multi_, &running) != CURLM_OK) {
      Finish(CURLE_OUT_OF_MEMORY);
      break;
    }
    CollectMessages();
    if (finished_ || ready()) break;

    if (!heard_server_) {
      curl_off_t connect_us = 0;
      heard_server_ = curl_easy_getinfo(easy_, CURLINFO_CONNECT_TIME_T, &connect_us) == CURLE_OK && connect_us > 0;
    }
    auto limit = std::chrono::milliseconds(timeouts_.receive_ms);
    if (!heard_server_) limit += std::chrono::milliseconds(timeouts_.connect_ms);
    const auto waited = Clock::now() - last_activity_;
    if (waited >= limit) {
      Finish(CURLE_OPERATION_TIMEDOUT);
      break;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(limit - waited).count();
    curl_multi_poll(multi_, nullptr, 0, static_cast<int>(std::clamp<long long>(left, 1, 1000)), nullptr);
  }
}

void CurlTransfer::CollectMessages() {
  int left = 0;
  while (CURLMsg* msg = curl_multi_info_read(multi_, &left)) {
    if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy_) Finish(msg->data.result);
  }
}

size_t CurlTransfer::Take(void* out, size_t size) {
  const size_t n = std::min(size, Buffered());
  if (n == 0) return 0;
  std::memcpy(out, buffer_.data() + head_, n);
  head_ += n;
  if (head_ == buffer_.size()) {
    buffer_.clear();  // keeps its capacity: no allocation per block
    head_ = 0;
  }
  return n;
}

void CurlTransfer::Resume() {
  if (!paused_ || finished_) return;
  paused_ = false;
  // May call OnWrite at once with the data held back while paused.
  if (curl_easy_pause(easy_, CURLPAUSE_CONT) != CURLE_OK) Finish(CURLE_RECV_ERROR);
}

size_t CurlTransfer::OnWrite(char* data, size_t size, size_t count, void* self_ptr) {
  auto* self = static_cast<CurlTransfer*>(self_ptr);
  const size_t n = size * count;
  self->last_activity_ = Clock::now();
  self->heard_server_ = true;
  self->started_ = true;  // data before headers cannot happen; data means begun
  if (self->Buffered() >= kHighWater) {
    self->paused_ = true;
    return CURL_WRITEFUNC_PAUSE;  // libcurl keeps this delivery for later
  }
  if (self->head_ > 0) {  // move the unread rest to the front before growing
    self->buffer_.erase(self->buffer_.begin(), self->buffer_.begin() + static_cast<std::ptrdiff_t>(self->head_));
    self->head_ = 0;
  }
  self->buffer_.insert(self->buffer_.end(), data, data + n);
  return n;
}

size_t CurlTransfer::OnHeader(char* data, size_t size, size_t count, void* self_ptr) {
  auto* self = static_cast<CurlTransfer*>(self_ptr);
  const size_t n = size * count;
  self->last_activity_ = Clock::now();
  self->heard_server_ = true;
  const std::string_view line(data, n);
  if (self->service_ == InternetService::Http) self->OnHttpHeaderLine(line);
  else self->OnFtpLine(line);
  return n;
}

void CurlTransfer::OnHttpHeaderLine(std::string_view raw) {
  const std::string_view line = WithoutLineEnd(raw);
  if (StartsWithNoCase(line, "HTTP/")) {
    SetLastInternetResponse(std::string(line));
    saw_location_ = false;
    return;
  }
  if (StartsWithNoCase(line, "Location:")) {
    saw_location_ = true;
    return;
  }
  if (!line.empty()) return;
  // The end of one response's headers: the last response unless it is an
  // interim one (1xx) or a redirect that libcurl is about to follow.
  long code = 0;
  curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &code);
  if (code >= 200 && !(saw_location_ && IsFollowedRedirect(code))) started_ = true;
}

void CurlTransfer::OnFtpLine(std::string_view line) {
  std::optional<FtpReply> reply = ftp_replies_.Feed(line);
  if (!reply) return;
  if (reply->code == 125 || reply->code == 150) started_ = true;
  SetLastInternetResponse(std::move(reply->text));
}

}  // namespace wenmoor::platform
