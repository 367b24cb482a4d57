// Net install locations: where the archives of a net distribution are
// downloaded from, by FTP or HTTP, one file at a time.
//
//   auto* loc = Create<TNetInstallLocation>(form);
//   loc->LoginInformation()->SetHostname("ftp.example.org");
//   loc->LoginInformation()->SetProtocol(ipFTP);
//   loc->LoginInformation()->SetDirectory("pub\\setup");
//   loc->OnDataReceived.Assign(progress_handler);
//   loc->Download("Files.1", "C:\\windows\\temp\\bat1A2B.1");
//
// Contract
// - Download fetches the remote file in blocks of kBlockSize bytes, fires
//   OnDataReceived for every block, lets the user interface process its
//   messages between blocks, and stops quietly (no exception) as soon as
//   DownloadAborted() is set.
// - The local file appears only when the download is complete: the data is
//   written under a temporary name beside it and renamed at the end
//   (download_file.h). After a failure or a cancel the local file is not
//   there (or, if it existed, is as it was).
// - Every failure of the transfer raises an ENIL (net_exceptions.h) whose
//   message names the error, the server and its last response; a local file
//   that cannot be written raises ENIL_WriteDestFile.
// - The session and the connection stay open between downloads and after a
//   failed one; the next Download reuses them. Changing the server, the
//   protocol or the login closes the connection.
// - One thread; Download blocks it (bounded by the transfer's timeouts).
#pragma once

#include <memory>
#include <string>

#include "net/login_information.h"
#include "platform/rtl/component.h"
#include "platform/rtl/events.h"

namespace wenmoor {

namespace platform {
class InternetSession;
class InternetConnection;
class InternetFile;
}  // namespace platform

// Sender, file name, bytes of this block, bytes so far, expected size (0
// when the server did not say), the block itself.
using TDataReceivedEvent = TEvent<TObject*, const std::string&, int, int, int, const char*>;

class TCustomNetInstallLocation : public TComponent {
  WENMOOR_CLASS(TCustomNetInstallLocation, TComponent)
 public:
  static constexpr int kBlockSize = 8192;

  // Enters the location into NetLocations().
  explicit TCustomNetInstallLocation(TComponent* owner);
  // Closes the connection and the session and leaves every process-wide
  // place that refers to the location (NetLocations, ConnectedLocation,
  // CurrentNetLocation).
  ~TCustomNetInstallLocation() override;

  // Owned by the location; never null.
  TLoginInformation* LoginInformation() const { return login_.get(); }
  // Copies the values of `value` (null changes nothing).
  virtual void SetLoginInformation(const TCustomLoginInformation* value);

  // Starts the transfer library; raises ENIL_FailLoadWININET when it cannot.
  virtual void LoadWinInet();
  // Makes this the connected location, loads the library if needed, opens
  // the session and the connection if there are none, and for FTP changes
  // to the server directory. Raises ENIL_OpenSession, ENIL_OpenService
  // "Cannot connect to host %s", ENIL_FTPSetDir "Cannot set directory on
  // server to %s".
  virtual void Connect();
  // Connects, then fetches `remote_name` (relative to the login's
  // Directory) into the Windows path `local_file`; see the contract above.
  virtual void Download(const std::string& remote_name, const std::string& local_file);
  // Closes the connection (the session stays): the next Connect makes a
  // new one.
  void Disconnect();

  bool WinInetLoaded() const { return loaded_; }
  bool HasSession() const { return session_ != nullptr; }
  bool HasConnection() const { return connection_ != nullptr; }
  // The names of the download in progress, or of the last one.
  const std::string& RemoteFileName() const { return remote_file_; }
  const std::string& LocalFileName() const { return local_file_; }

  // Fired for every block received. The file-related object that downloads
  // through the location sets it for the time of its download.
  TDataReceivedEvent OnDataReceived;

 private:
  std::unique_ptr<platform::InternetFile> OpenRemoteFile();
  int ExpectedSize(platform::InternetFile& file);
  // Reads the next block into `block`; raises ENIL_ReadFile.
  uint32_t ReadBlock(platform::InternetFile& file, char* block);
  void Transfer(platform::InternetFile& file);
  bool IsFtp() const { return login_->Protocol() == ipFTP; }

  std::unique_ptr<TLoginInformation> login_;
  bool loaded_ = false;
  // Declared session first: the connection is closed before its session.
  std::unique_ptr<platform::InternetSession> session_;
  std::unique_ptr<platform::InternetConnection> connection_;
  std::string remote_file_;
  std::string local_file_;
};

// The location that a script names: it publishes the login settings.
class TNetInstallLocation : public TCustomNetInstallLocation {
  WENMOOR_CLASS(TNetInstallLocation, TCustomNetInstallLocation)
 public:
  explicit TNetInstallLocation(TComponent* owner) : TCustomNetInstallLocation(owner) {}
};

// The process-wide current net location (the install component's
// NetLocation sets it); null when none. Cleared when that location is
// destroyed.
TCustomNetInstallLocation* CurrentNetLocation();
void SetCurrentNetLocation(TCustomNetInstallLocation* location);

// The location that called Connect last; null when none or destroyed.
// Error messages name its server.
TCustomNetInstallLocation* ConnectedLocation();

// Set by the Cancel button of the copy-progress dialog; a download stops
// at the next block when it is set. False when the program starts.
bool DownloadAborted();
void SetDownloadAborted(bool aborted);

}  // namespace wenmoor
