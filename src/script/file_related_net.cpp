// The net side of file-related objects: where their archive lies on a
// server and on the user's disk.
#include "engine/cmp_TInstall.h"
#include "net/cmp_TNetInstallLocation.h"
#include "platform/rtl/sysutils.h"
#include "registry/routines_Registry.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/cmp_TFileContainer.h"
#include "script/script_exceptions.h"
#include "support/routines_API.h"
#include "support/routines_Strings.h"
#include "archive/lzh_file_stats.h"
#include "platform/win/files.h"
#include "script/event_parameters.h"

namespace wenmoor {

void TFileRelated::StoreLocalArchive(const std::string& path) {
  if (Trim(Name()).empty() || Trim(path).empty()) return;
  try {
    WriteRegistryString(hkLocalMachine, CurrentRecordKey() + "\\" + Name(), "LocalFile", path);
  } catch (const Exception&) {
    // Remembering the download is a convenience: without it the archive is
    // fetched again next time.
  }
}

bool TFileRelated::IsArchiveDownloaded() {
  if (!Trim(LocalArchive()).empty()) return true;
  std::string ignored;
  return FindLocalArchive(ignored);
}

TCustomNetInstallLocation* TFileRelated::EffectiveNetLocation() const {
  if (NetLocation()) return NetLocation();
  if (dynamic_cast<const TCustomInstallFile*>(this)) {
    auto* container = dynamic_cast<TFileContainer*>(Container());
    if (!container) return nullptr;
    return container->NetLocation() ? container->NetLocation() : CurrentNetLocation();
  }
  return CurrentNetLocation();
}

std::string TFileRelated::GetNetDirectory() const {
  TCustomNetInstallLocation* location = EffectiveNetLocation();
  if (!location) throw IEFileRel_NoNetLocation("Could not find a net install location for %s", Name());
  const TLoginInformation& login = *location->LoginInformation();
  std::string directory;
  if (!Trim(login.Directory()).empty()) directory = MakeSafeFileName(login.Directory());
  else directory = login.Protocol() == ipFTP ? "FTP Root directory" : "HTTP Root directory";
  return MakeSafeFileName(login.Hostname()) + "\\" + directory;
}

void TFileRelated::DataReceived(const std::string& file_name, int bytes, int total_bytes, int file_size,
                                const char* buffer) {
  TDownloadStatusParameter parameter;
  parameter.Bytes = bytes;
  parameter.FileName = file_name;
  parameter.FileSize = file_size;
  parameter.TotalBytes = total_bytes;
  parameter.PercentDone = file_size == 0 ? 0 : Percent(total_bytes, file_size);
  if (auto* container = dynamic_cast<TFileContainer*>(this))
    container->OnDataReceived(this, file_name, bytes, total_bytes, file_size, buffer);
  NotifyHelpers(this, kNotifyDownloadProgress, &parameter);
  if (Container()) Container()->DoInformationEventControl(this, kReportDownloadProgress, &parameter);
}

void TFileRelated::DownloadArchive() {
  if (std::string local; FindLocalArchive(local)) {
    SetLocalArchive(local);
    return;
  }
  TCustomNetInstallLocation* location = EffectiveNetLocation();
  if (!location) throw Exception("Could not find a net install location for %s", Name());
  if (!location->LoginInformation()->IsValid()) {
    if (NetLocation())
      throw IEFileRelated(
          "%s could not install itself because the TNetLocation component's properties, in the NetLocation "
          "property, have not been filled in",
          Name());
    throw IEFileRelated(
        "%s could not install itself because the LoginInformation property of the TInstall component has not been "
        "properly filled in",
        Name());
  }
  // The reserved empty file stays, so that no other run takes the name.
  const std::string reserved = CreateTempFileName(true);
  SetLocalArchive(ChangeFileExt(reserved, ".1"));
  location->OnDataReceived.Assign(
      [this](TObject*, const std::string& name, int bytes, int total, int size, const char* buffer) {
        DataReceived(name, bytes, total, size, buffer);
      });
  // A download that did not complete leaves nothing that could be taken
  // for the archive later: no file, no LocalArchive naming one (which
  // IsArchiveDownloaded would believe), and no reserved name.
  auto forget_download = [&] {
    platform::DeleteFile(LocalArchive());
    SetLocalArchive("");
    platform::DeleteFile(reserved);
  };
  try {
    location->Download(Name() + ".1", LocalArchive());
  } catch (...) {
    location->OnDataReceived.Clear();
    forget_download();
    if (DownloadAborted()) throw EAIUserAbort();
    throw;
  }
  location->OnDataReceived.Clear();
  if (DownloadAborted()) {
    forget_download();
    throw EAIUserAbort();
  }
  if (!IsDesigning()) StoreLocalArchive(LocalArchive());
}

void TCustomInstallFile::TakeListedInfo(int64_t size, TDateTime date, const std::string& version) {
  size_ = size;
  file_date_ = date;
  file_version_ = version;
}

}  // namespace wenmoor
