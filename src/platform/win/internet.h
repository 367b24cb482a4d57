// FTP and HTTP transfers in the shape of the Windows Internet library:
// a session (InternetOpen), a connection to one server (InternetConnect),
// and an open remote file or request read in blocks (FtpOpenFile,
// HttpOpenRequest + HttpSendRequest, InternetReadFile). libcurl does the
// work behind this header; nothing above the platform layer sees it.
//
//   auto session = InternetSession::Open("setup");
//   auto conn = session->Connect("ftp.example.org", 0, InternetService::Ftp, {});
//   conn->FtpSetCurrentDirectory("pub/setup");
//   auto file = conn->FtpOpenFile("files.1", FtpTransferType::Binary);
//   char block[8192]; uint32_t got = 0;
//   while (file->InternetReadFile(block, sizeof block, got) && got > 0) ...
//
// Contract
// - Failure is reported as the library reports it: the call answers false,
//   nullptr or nullopt and leaves a Windows error code as the calling
//   thread's last error (win_error.h GetLastError). Successful calls set it
//   to ERROR_SUCCESS. libcurl's result codes are mapped onto the library's
//   ERROR_INTERNET_* numbers as far as they correspond; the others become
//   INTERNET_ERROR_UNMAPPED_BASE + the curl code, a number that names no
//   error of the library. Nothing here throws for a network failure.
// - The server's last response (an FTP reply, or the status line of an HTTP
//   response) is kept per thread for InternetGetLastResponseInfo.
// - Ownership: Open and Connect return owning pointers; destroying one is
//   InternetCloseHandle. A connection may be destroyed while a file of it is
//   open: the file is then cut off and fails with ERROR_INVALID_HANDLE. A
//   connection has one open file at a time.
// - Connections are reused: an InternetConnection keeps the server's
//   connection open between files (HTTP keep-alive, the logged-in FTP
//   control connection) and reconnects transparently when the server has
//   closed it or a file was abandoned half-way.
// - Every blocking call is bounded: connecting by the connect timeout, each
//   wait for the server by the receive timeout (ERROR_INTERNET_TIMEOUT).
// - One thread per session; calls block that thread.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace wenmoor::platform {

// ---- error codes (the library's numbers) ------------------------------

inline constexpr uint32_t ERROR_INTERNET_OUT_OF_HANDLES = 12001;
inline constexpr uint32_t ERROR_INTERNET_TIMEOUT = 12002;
inline constexpr uint32_t ERROR_INTERNET_EXTENDED_ERROR = 12003;
inline constexpr uint32_t ERROR_INTERNET_INTERNAL_ERROR = 12004;
inline constexpr uint32_t ERROR_INTERNET_INVALID_URL = 12005;
inline constexpr uint32_t ERROR_INTERNET_UNRECOGNIZED_SCHEME = 12006;
inline constexpr uint32_t ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
inline constexpr uint32_t ERROR_INTERNET_PROTOCOL_NOT_FOUND = 12008;
inline constexpr uint32_t ERROR_INTERNET_INVALID_OPTION = 12009;
inline constexpr uint32_t ERROR_INTERNET_BAD_OPTION_LENGTH = 12010;
inline constexpr uint32_t ERROR_INTERNET_OPTION_NOT_SETTABLE = 12011;
inline constexpr uint32_t ERROR_INTERNET_SHUTDOWN = 12012;
inline constexpr uint32_t ERROR_INTERNET_INCORRECT_USER_NAME = 12013;
inline constexpr uint32_t ERROR_INTERNET_INCORRECT_PASSWORD = 12014;
inline constexpr uint32_t ERROR_INTERNET_LOGIN_FAILURE = 12015;
inline constexpr uint32_t ERROR_INTERNET_INVALID_OPERATION = 12016;
inline constexpr uint32_t ERROR_INTERNET_OPERATION_CANCELLED = 12017;
inline constexpr uint32_t ERROR_INTERNET_INCORRECT_HANDLE_TYPE = 12018;
inline constexpr uint32_t ERROR_INTERNET_INCORRECT_HANDLE_STATE = 12019;
inline constexpr uint32_t ERROR_INTERNET_NOT_PROXY_REQUEST = 12020;
inline constexpr uint32_t ERROR_INTERNET_REGISTRY_VALUE_NOT_FOUND = 12021;
inline constexpr uint32_t ERROR_INTERNET_BAD_REGISTRY_PARAMETER = 12022;
inline constexpr uint32_t ERROR_INTERNET_NO_DIRECT_ACCESS = 12023;
inline constexpr uint32_t ERROR_INTERNET_NO_CONTEXT = 12024;
inline constexpr uint32_t ERROR_INTERNET_NO_CALLBACK = 12025;
inline constexpr uint32_t ERROR_INTERNET_REQUEST_PENDING = 12026;
inline constexpr uint32_t ERROR_INTERNET_INCORRECT_FORMAT = 12027;
inline constexpr uint32_t ERROR_INTERNET_ITEM_NOT_FOUND = 12028;
inline constexpr uint32_t ERROR_INTERNET_CANNOT_CONNECT = 12029;
inline constexpr uint32_t ERROR_INTERNET_CONNECTION_ABORTED = 12030;
inline constexpr uint32_t ERROR_INTERNET_CONNECTION_RESET = 12031;
inline constexpr uint32_t ERROR_INTERNET_FORCE_RETRY = 12032;
inline constexpr uint32_t ERROR_INTERNET_HANDLE_EXISTS = 12036;
inline constexpr uint32_t ERROR_INTERNET_MIXED_SECURITY = 12041;
inline constexpr uint32_t ERROR_INTERNET_SEC_CERT_ERRORS = 12055;
inline constexpr uint32_t ERROR_FTP_TRANSFER_IN_PROGRESS = 12110;
inline constexpr uint32_t ERROR_FTP_DROPPED = 12111;
inline constexpr uint32_t ERROR_HTTP_HEADER_NOT_FOUND = 12150;
inline constexpr uint32_t ERROR_HTTP_DOWNLEVEL_SERVER = 12151;
inline constexpr uint32_t ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
inline constexpr uint32_t ERROR_HTTP_INVALID_HEADER = 12153;
inline constexpr uint32_t ERROR_HTTP_INVALID_QUERY_REQUEST = 12154;
inline constexpr uint32_t ERROR_HTTP_HEADER_ALREADY_EXISTS = 12155;
inline constexpr uint32_t ERROR_HTTP_REDIRECT_FAILED = 12156;
inline constexpr uint32_t ERROR_INTERNET_SECURITY_CHANNEL_ERROR = 12157;
// curl results without a counterpart: this base + the curl code. The
// customer bit (29) keeps them clear of every Windows number.
inline constexpr uint32_t INTERNET_ERROR_UNMAPPED_BASE = 0x20000000;

// The constant's name of a code that the library documents
// ("ERROR_INTERNET_TIMEOUT"; also 6, "ERROR_INVALID_HANDLE"); empty for
// any other number.
std::string_view InternetErrorName(uint32_t code);

// ---- options ----------------------------------------------------------

enum class InternetService : uint8_t { Ftp, Http };
enum class FtpTransferType : uint8_t { Ascii, Binary };
// Port 0 means the service's standard port (21, 80).
inline constexpr uint16_t INTERNET_INVALID_PORT_NUMBER = 0;

// HttpOpenRequest flags (the library's bits). RELOAD asks every cache on
// the way for a fresh copy (Pragma and Cache-Control "no-cache"); there is
// no local cache, so NO_CACHE_WRITE holds anyway, and connections are
// always reused, so EXISTING_CONNECT holds anyway.
inline constexpr uint32_t INTERNET_FLAG_RELOAD = 0x80000000;
inline constexpr uint32_t INTERNET_FLAG_EXISTING_CONNECT = 0x20000000;
inline constexpr uint32_t INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000;

struct InternetTimeouts {
  uint32_t connect_ms = 60000;  // to reach the server
  uint32_t receive_ms = 60000;  // longest silence of the server within one call
};
// The defaults for sessions opened afterwards (InternetSetOption on no
// handle). Zero values are taken as 1 ms.
void SetDefaultInternetTimeouts(const InternetTimeouts& timeouts);
InternetTimeouts DefaultInternetTimeouts();

// User name and password; an empty user name logs in anonymously (FTP) or
// sends no credentials (HTTP).
struct InternetLogin {
  std::string user;
  std::string password;
};

// What HttpQueryInfo returns.
enum class HttpQuery : uint8_t {
  ContentLength,  // the Content-Length header as the server wrote it
  StatusCode,     // "200"
};

class InternetConnection;
class InternetFile;

// InternetGetLastResponseInfo: the last response of a server on this
// thread, empty when none was received. nullopt with
// ERROR_INSUFFICIENT_BUFFER when it does not fit into `buffer_chars`
// characters together with its terminating zero, as the library answers.
std::optional<std::string> InternetGetLastResponseInfo(size_t buffer_chars);

// ---- handles ----------------------------------------------------------

class InternetSession {
 public:
  // InternetOpen. `agent` is the User-Agent of HTTP requests. nullptr with
  // ERROR_INTERNET_INTERNAL_ERROR when the transfer library cannot start.
  static std::unique_ptr<InternetSession> Open(std::string agent);
  ~InternetSession();
  InternetSession(const InternetSession&) = delete;
  InternetSession& operator=(const InternetSession&) = delete;

  // InternetConnect. For FTP the server is reached and the login done here
  // (failure: ERROR_INTERNET_CANNOT_CONNECT, ..._NAME_NOT_RESOLVED,
  // ..._LOGIN_FAILURE, ..._TIMEOUT); for HTTP nothing is sent until a
  // request is. `host` is a name or an address (IPv6 without brackets).
  std::unique_ptr<InternetConnection> Connect(std::string_view host, uint16_t port, InternetService service,
                                              const InternetLogin& login);

  const std::string& Agent() const { return agent_; }
  const InternetTimeouts& Timeouts() const { return timeouts_; }
  void SetTimeouts(const InternetTimeouts& t) { timeouts_ = t; }

 private:
  explicit InternetSession(std::string agent);
  std::string agent_;
  InternetTimeouts timeouts_;
};

class InternetConnection {
 public:
  ~InternetConnection();
  InternetConnection(const InternetConnection&) = delete;
  InternetConnection& operator=(const InternetConnection&) = delete;

  InternetService Service() const;
  const std::string& Host() const;

  // FtpSetCurrentDirectory. `directory` is a path with "/" separators: one
  // that starts with "/" is taken from the server's root, any other from
  // the login directory (not from the directory set before, so setting the
  // same directory again changes nothing). The server must accept the
  // change (CWD), else false with ERROR_INTERNET_EXTENDED_ERROR and its
  // reply as the last response. Files opened later are found there.
  bool FtpSetCurrentDirectory(std::string_view directory);
  // The directory last set successfully; empty: the login directory.
  const std::string& FtpCurrentDirectory() const;

  // FtpOpenFile for reading: `name` relative to the current directory.
  // Returns once the server has started sending (or has sent everything);
  // a file the server refuses fails with ERROR_INTERNET_EXTENDED_ERROR and
  // the server's reply as the last response. ERROR_FTP_TRANSFER_IN_PROGRESS
  // while another file of the connection is open.
  std::unique_ptr<InternetFile> FtpOpenFile(std::string_view name, FtpTransferType type);

  // HttpOpenRequest: prepares a request (nothing is sent). `verb` is "GET"
  // or "HEAD" (ERROR_INVALID_PARAMETER otherwise); `object` is the path on
  // the server, "/" prepended when missing, characters that a URL path
  // cannot carry percent-encoded. Redirects are followed, as the library
  // follows them. ERROR_INTERNET_INCORRECT_HANDLE_STATE while another
  // request of the connection is open.
  std::unique_ptr<InternetFile> HttpOpenRequest(std::string_view verb, std::string_view object, uint32_t flags);

 private:
  friend class InternetSession;
  friend class InternetFile;
  struct Impl;
  explicit InternetConnection(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

class InternetFile {
 public:
  // InternetCloseHandle: an unfinished transfer is abandoned (its
  // connection is then dropped, not reused).
  ~InternetFile();
  InternetFile(const InternetFile&) = delete;
  InternetFile& operator=(const InternetFile&) = delete;

  // HttpSendRequest: sends the request with `headers` (lines separated by
  // CR LF; empty lines are ignored) and waits for the response's status and
  // headers. Any answer of the server counts as sent, "404 Not Found"
  // included: the caller asks StatusCode. Fails when the server cannot be
  // reached or gives no valid answer.
  bool HttpSendRequest(std::string_view headers);
  // HttpQueryInfo of a sent request: nullopt with ERROR_HTTP_HEADER_NOT_FOUND
  // when the response has no such header, ERROR_INTERNET_INCORRECT_HANDLE_STATE
  // before HttpSendRequest.
  std::optional<std::string> HttpQueryInfo(HttpQuery query);
  // FtpGetFileSize of an open FTP file: the size the server announced;
  // nullopt with ERROR_INTERNET_ITEM_NOT_FOUND when it announced none.
  std::optional<int64_t> FtpGetFileSize();

  // InternetReadFile: fills `buffer` with up to `size` bytes, returning less
  // only at the end of the data; `read` = 0 at the end. A transfer that
  // fails after some data answers that data first and the failure on the
  // next call (ERROR_INTERNET_CONNECTION_ABORTED when the server closed
  // early, ERROR_INTERNET_TIMEOUT, ...).
  bool InternetReadFile(void* buffer, uint32_t size, uint32_t& read);

  // InternetCloseHandle without destroying: true, or false with
  // ERROR_INVALID_HANDLE when already closed.
  bool Close();

 private:
  friend class InternetConnection;
  struct Impl;
  explicit InternetFile(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace wenmoor::platform
