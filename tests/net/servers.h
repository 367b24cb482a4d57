// Real servers on loopback for the download tests, each a child process
// started by the test and stopped with it.
//
//   test::HttpTestServer http(root_dir);           // serves root_dir
//   loc->LoginInformation()->SetHostname(http.HostPort());
//   ...
//   EXPECT_THAT(http.Requests(), Contains(...));
//
// Every server binds 127.0.0.1 port 0 (a free port chosen by the system)
// and reports the port on its standard output; the constructor waits for
// it at most kStartTimeout and fails the test (by exception) otherwise. The
// destructor stops the process (SIGTERM, then SIGKILL after kStopTimeout),
// so no wait of a test is unbounded. The servers log what they receive;
// see tests/data/net/*.py for the formats.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace wenmoor::test {

inline constexpr std::chrono::seconds kStartTimeout{20};
inline constexpr std::chrono::seconds kStopTimeout{5};

// A child process that prints "PORT <n>" once it listens.
class ServerProcess {
 public:
  // Raises std::runtime_error when the program does not start or does not
  // report its port in time.
  explicit ServerProcess(const std::vector<std::string>& argv);
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  uint16_t Port() const { return port_; }

 private:
  void Stop() noexcept;
  pid_t pid_ = -1;
  uint16_t port_ = 0;
};

// The Python interpreter that has the server modules (the system's own, so
// that Debian's python3-pyftpdlib is found).
std::string Python();

// A server logging into a file of a temporary directory of its own.
class LoggingServer {
 public:
  // "127.0.0.1:<port>", the form a location's Hostname takes.
  std::string HostPort() const { return "127.0.0.1:" + std::to_string(process_->Port()); }
  uint16_t Port() const { return process_->Port(); }
  // The log's lines as they stand now.
  std::vector<std::string> LogLines() const;

 protected:
  LoggingServer();
  ~LoggingServer();
  LoggingServer(const LoggingServer&) = delete;
  LoggingServer& operator=(const LoggingServer&) = delete;
  void Start(const std::vector<std::string>& argv) { process_ = std::make_unique<ServerProcess>(argv); }
  const std::filesystem::path& LogPath() const { return log_; }

 private:
  std::filesystem::path dir_;
  std::filesystem::path log_;
  std::unique_ptr<ServerProcess> process_;
};

// tests/data/net/http_server.py over `root`.
class HttpTestServer : public LoggingServer {
 public:
  explicit HttpTestServer(const std::filesystem::path& root);

  struct Request {
    int connection = 0;       // the server's number of the TCP connection
    std::string line;         // "GET /pub/a.1 HTTP/1.1"
    std::vector<std::string> headers;  // "Accept: */*", in the order sent
  };
  std::vector<Request> Requests() const;
};

// tests/data/net/ftp_server.py over `root`, anonymous and, when `user` is
// not empty, for `user` with `password`.
class FtpTestServer : public LoggingServer {
 public:
  explicit FtpTestServer(const std::filesystem::path& root, const std::string& user = {},
                         const std::string& password = {});

  // The commands received ("RETR a.1"), over all connections, in order.
  std::vector<std::string> Commands() const;
  // How many control connections were opened.
  int Connections() const;
};

// A port on 127.0.0.1 where nothing listens (bound once, then released).
uint16_t UnusedPort();

// A directory removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  // Writes `content` to Path()/relative, making its directories.
  void Write(const std::string& relative, const std::string& content) const;

 private:
  std::filesystem::path path_;
};

// The bytes the servers' fault paths send: byte i is i % 251.
std::string Pattern(size_t size);

}  // namespace wenmoor::test
