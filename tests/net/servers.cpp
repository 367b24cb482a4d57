#include "net/servers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace wenmoor::test {
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

fs::path ScriptDir() { return fs::path(WENMOOR_TEST_DATA) / "net"; }

// Reads one line from `fd` until `deadline`; empty on timeout or end.
std::string ReadLine(int fd, Clock::time_point deadline) {
  std::string line;
  while (Clock::now() < deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd p{fd, POLLIN, 0};
    const int r = ::poll(&p, 1, static_cast<int>(std::max<long long>(left, 1)));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    char c = 0;
    const ssize_t n = ::read(fd, &c, 1);
    if (n <= 0) break;
    if (c == '\n') return line;
    line += c;
  }
  return {};
}

}  // namespace

ServerProcess::ServerProcess(const std::vector<std::string>& argv) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const int rc = ::posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (rc != 0) {
    ::close(out[0]);
    pid_ = -1;
    throw std::runtime_error("cannot start " + argv[0]);
  }
  const std::string line = ReadLine(out[0], Clock::now() + kStartTimeout);
  ::close(out[0]);  // the server writes nothing more to it
  if (line.rfind("PORT ", 0) != 0) {
    Stop();
    throw std::runtime_error("server " + argv[1] + " did not report its port (got \"" + line + "\")");
  }
  port_ = static_cast<uint16_t>(std::stoi(line.substr(5)));
}

ServerProcess::~ServerProcess() { Stop(); }

void ServerProcess::Stop() noexcept {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  const auto deadline = Clock::now() + kStopTimeout;
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (Clock::now() >= deadline) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  pid_ = -1;
}

std::string Python() {
  return fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
}

LoggingServer::LoggingServer() {
  char pattern[] = "/tmp/wenmoor-server-XXXXXX";
  if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
  log_ = dir_ / "server.log";
  std::ofstream(log_).flush();
}

LoggingServer::~LoggingServer() {
  process_.reset();  // stop the server before its log goes
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

std::vector<std::string> LoggingServer::LogLines() const {
  std::vector<std::string> lines;
  std::ifstream in(log_);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

HttpTestServer::HttpTestServer(const fs::path& root) {
  Start({Python(), (ScriptDir() / "http_server.py").string(), root.string(), LogPath().string()});
}

std::vector<HttpTestServer::Request> HttpTestServer::Requests() const {
  std::vector<Request> requests;
  for (const std::string& line : LogLines()) {
    if (line.rfind("REQUEST ", 0) == 0) {
      std::istringstream words(line.substr(8));
      Request r;
      words >> r.connection;
      std::getline(words >> std::ws, r.line);
      requests.push_back(std::move(r));
    } else if (!line.empty() && !requests.empty()) {
      requests.back().headers.push_back(line);
    }
  }
  return requests;
}

FtpTestServer::FtpTestServer(const fs::path& root, const std::string& user, const std::string& password) {
  std::vector<std::string> argv = {Python(), (ScriptDir() / "ftp_server.py").string(), root.string(),
                                   LogPath().string()};
  if (!user.empty()) {
    argv.push_back(user);
    argv.push_back(password);
  }
  Start(argv);
}

std::vector<std::string> FtpTestServer::Commands() const {
  std::vector<std::string> commands;
  for (const std::string& line : LogLines()) {
    if (line.rfind("CONNECT ", 0) == 0) continue;
    const size_t space = line.find(' ');
    if (space != std::string::npos) commands.push_back(line.substr(space + 1));
  }
  return commands;
}

int FtpTestServer::Connections() const {
  int n = 0;
  for (const std::string& line : LogLines()) n += line.rfind("CONNECT ", 0) == 0 ? 1 : 0;
  return n;
}

uint16_t UnusedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof addr;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    if (fd >= 0) ::close(fd);
    throw std::runtime_error("cannot pick a free port");
  }
  ::close(fd);  // bound but never listened on: connecting is refused
  return ntohs(addr.sin_port);
}

TempDir::TempDir() {
  char pattern[] = "/tmp/wenmoor-net-XXXXXX";
  if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void TempDir::Write(const std::string& relative, const std::string& content) const {
  const fs::path p = path_ / relative;
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << content;
}

std::string Pattern(size_t size) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>(i % 251);
  return s;
}

}  // namespace wenmoor::test
