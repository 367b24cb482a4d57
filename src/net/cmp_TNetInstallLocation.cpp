#include "net/cmp_TNetInstallLocation.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "net/download_file.h"
#include "net/http_response.h"
#include "net/net_exceptions.h"
#include "net/net_location_list.h"
#include "platform/ui/application.h"
#include "platform/ui/forms.h"
#include "platform/win/internet.h"
#include "platform/win/win_error.h"

namespace wenmoor {
namespace {

TCustomNetInstallLocation* current_location = nullptr;
TCustomNetInstallLocation* connected_location = nullptr;
bool download_aborted = false;

// The HTTP request's one header line, as the library expects it: ended by
// CR LF and followed by an empty line.
constexpr std::string_view kRequestHeaders = "Accept: */*\r\n\r\n";

// The agent named in requests: the program's name without its extension.
std::string AgentName() {
  const std::string& exe = TApplication::Instance().ExeName();
  std::string name = exe.substr(exe.find_last_of("\\/") + 1);
  if (const size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

int ClampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 0, INT_MAX)); }

}  // namespace

TCustomNetInstallLocation* CurrentNetLocation() { return current_location; }
void SetCurrentNetLocation(TCustomNetInstallLocation* location) { current_location = location; }
TCustomNetInstallLocation* ConnectedLocation() { return connected_location; }
bool DownloadAborted() { return download_aborted; }
void SetDownloadAborted(bool aborted) { download_aborted = aborted; }

TCustomNetInstallLocation::TCustomNetInstallLocation(TComponent* owner)
    : TComponent(owner), login_(std::make_unique<TLoginInformation>(this)) {
  NetLocations().Add(this);
}

TCustomNetInstallLocation::~TCustomNetInstallLocation() {
  connection_.reset();
  session_.reset();
  loaded_ = false;
  if (current_location == this) current_location = nullptr;
  if (connected_location == this) connected_location = nullptr;
  NetLocations().Remove(this);
}

void TCustomNetInstallLocation::SetLoginInformation(const TCustomLoginInformation* value) {
  if (value) login_->Assign(*value);
}

void TCustomNetInstallLocation::LoadWinInet() {
  // The library is linked in; starting it is what can fail here. A session
  // opened for the check is kept for Connect.
  if (!session_) session_ = platform::InternetSession::Open(AgentName());
  if (!session_) {
    throw ENIL_FailLoadWININET(
        "Failed to load the Wininet.dll. If this is a hybrid installation, you might want to include the "
        "WININET.DLL file in the PresetupFiles property of the TInstall component");
  }
  loaded_ = true;
}

void TCustomNetInstallLocation::Disconnect() { connection_.reset(); }

void TCustomNetInstallLocation::Connect() {
  connected_location = this;
  if (!loaded_) LoadWinInet();
  if (!session_) {
    session_ = platform::InternetSession::Open(AgentName());
    if (!session_) throw ENIL_OpenSession("Cannot open internet connection");
  }
  if (!connection_) {
    const NetServerAddress address = SplitHostPort(login_->Hostname());
    platform::InternetLogin login;
    if (!login_->Anonymous()) login = {login_->Username(), login_->Password()};
    connection_ = session_->Connect(address.host, address.port,
                                    IsFtp() ? platform::InternetService::Ftp : platform::InternetService::Http, login);
    if (!connection_) throw ENIL_OpenService("Cannot connect to host %s", login_->Hostname());
  }
  if (IsFtp()) {
    const std::string dir = ToURLPath(login_->Directory());
    if (!connection_->FtpSetCurrentDirectory(dir)) throw ENIL_FTPSetDir("Cannot set directory on server to %s", dir);
  }
}

void TCustomNetInstallLocation::Download(const std::string& remote_name, const std::string& local_file) {
  Connect();
  remote_file_ = remote_name;
  local_file_ = local_file;
  std::unique_ptr<platform::InternetFile> file = OpenRemoteFile();
  try {
    Transfer(*file);
  } catch (...) {
    // The remote file is closed on every way out; the transfer's own
    // failure is the one reported.
    file->Close();
    throw;
  }
  if (!file->Close()) throw ENIL_FTPCloseFile("Cannot close the file %s on the server", remote_file_);
}

std::unique_ptr<platform::InternetFile> TCustomNetInstallLocation::OpenRemoteFile() {
  if (IsFtp()) {
    std::unique_ptr<platform::InternetFile> file =
        connection_->FtpOpenFile(remote_file_, platform::FtpTransferType::Binary);
    if (!file) throw ENIL_FTPOpenFile("Cannot open file %s on server", remote_file_);
    return file;
  }
  const uint32_t flags =
      platform::INTERNET_FLAG_RELOAD | platform::INTERNET_FLAG_EXISTING_CONNECT | platform::INTERNET_FLAG_NO_CACHE_WRITE;
  std::unique_ptr<platform::InternetFile> file =
      connection_->HttpOpenRequest("GET", HttpObjectName(login_->Directory(), remote_file_), flags);
  if (!file) throw ENIL_HTTPOpenFile("Cannot open file %s on server", remote_file_);
  if (!file->HttpSendRequest(kRequestHeaders))
    throw ENIL_HTTPSendRequest("Cannot send request for file %s to the server", remote_file_);
  return file;
}

int TCustomNetInstallLocation::ExpectedSize(platform::InternetFile& file) {
  if (IsFtp()) {
    if (std::optional<int64_t> size = file.FtpGetFileSize()) return ClampToInt(*size);
    // A server that announces no size is not an error: progress shows 0.
    if (platform::GetLastError() == platform::ERROR_INTERNET_ITEM_NOT_FOUND) return 0;
  } else {
    if (std::optional<std::string> length = file.HttpQueryInfo(platform::HttpQuery::ContentLength))
      return ClampToInt(ParseContentLength(*length));
    if (platform::GetLastError() == platform::ERROR_HTTP_HEADER_NOT_FOUND) return 0;
  }
  throw ENIL_FailDataQuery("Could not query file %s on server", remote_file_);
}

uint32_t TCustomNetInstallLocation::ReadBlock(platform::InternetFile& file, char* block) {
  uint32_t got = 0;
  if (!file.InternetReadFile(block, kBlockSize, got))
    throw ENIL_ReadFile("Could not read from file %s on the server", remote_file_);
  return got;
}

void TCustomNetInstallLocation::Transfer(platform::InternetFile& file) {
  const int expected = ExpectedSize(file);
  TDownloadFile local(local_file_);
  std::vector<char> block(kBlockSize);
  uint32_t got = ReadBlock(file, block.data());
  if (!IsFtp()) {
    // The status code is the server's own word; the page test also catches
    // servers that answer "not found" with a success status.
    std::optional<std::string> status = file.HttpQueryInfo(platform::HttpQuery::StatusCode);
    if (LooksLikeNotFoundPage(block.data(), got) || (status && IsFailureStatus(*status)))
      throw ENIL_FileNotFound("Could not find the file %s on the server", remote_file_);
  }
  int64_t total = 0;
  while (got > 0) {
    total += got;
    OnDataReceived(this, remote_file_, static_cast<int>(got), ClampToInt(total), expected, block.data());
    ProcessMessages();
    if (DownloadAborted()) return;  // `local` discards what was written
    if (local.Write(block.data(), got) < static_cast<int64_t>(got))
      throw ENIL_WriteDestFile("%s could not write to the local dest file %s", Name(), local_file_);
    got = ReadBlock(file, block.data());
  }
  if (total == 0) throw ENIL_FileNotFound("Could not find the file %s on the server", remote_file_);
  if (!local.Commit()) throw ENIL_WriteDestFile("%s could not write to the local dest file %s", Name(), local_file_);
}

WENMOOR_REGISTER_CLASS(TCustomNetInstallLocation) {}

WENMOOR_REGISTER_CLASS(TNetInstallLocation) { c.Object("LoginInformation", &T::LoginInformation); }

}  // namespace wenmoor
