#include "engine/install_net.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "archive/file_header_rec.h"
#include "engine/cmp_TInstall.h"
#include "net/cmp_TNetInstallLocation.h"
#include "platform/rtl/cleanup.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/typeinfo.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/script_exceptions.h"
#include "support/routines_API.h"

namespace wenmoor {
namespace {

constexpr int64_t kRecordSize = 80;
constexpr size_t kNameField = 40;
constexpr size_t kVersionField = 24;
constexpr size_t kVersionCharsTaken = 20;

// The text of a fixed field up to its first zero byte, at most `limit` bytes.
std::string FieldText(const uint8_t* field, size_t size, size_t limit) {
  const std::string_view text(reinterpret_cast<const char*>(field), size);
  return std::string(text.substr(0, std::min(text.find('\0'), limit)));
}

bool IsListed(const TCustomInstallFile& file) {
  return file.CompressState() == 1 || file.CompressState() == 2;
}

}  // namespace

bool ReadFileList(TStream& stream, std::vector<TFileListRecord>& records) {
  uint8_t count_bytes[4];
  if (stream.Read(count_bytes, sizeof count_bytes) != sizeof count_bytes) return false;
  const int32_t count = GetInt32(count_bytes);
  if (count < 0) return false;
  for (int32_t i = 0; i < count; ++i) {
    uint8_t record[kRecordSize];
    if (stream.Read(record, kRecordSize) != kRecordSize) return false;
    TFileListRecord r;
    r.Size = GetInt32(record);
    std::memcpy(&r.FileDate, record + 8, sizeof(double));  // little-endian host, as the format
    // No build writes a negative size or a date that is not a number, and
    // the rest of the installation must not meet one.
    if (r.Size < 0 || !std::isfinite(r.FileDate)) return false;
    r.Name = FieldText(record + 16, kNameField, kNameField);
    r.Version = FieldText(record + 56, kVersionField, kVersionCharsTaken);
    records.push_back(std::move(r));
  }
  return true;
}

std::string WriteFileList(TCustomInstall& install) {
  const std::string directory = IncludeTrailingBackslash(ExtractFilePath(install.ArchiveFile())) +
                                install.GetNetDirectory();
  platform::ForceDirectories(directory);  // a failure shows when the file is created
  const std::string path = IncludeTrailingBackslash(directory) + kFileListName;

  TCustomInstallFileList& files = AllInstallFiles();
  int32_t count = 0;
  for (int i = 0; i < files.Count(); ++i) count += IsListed(*files.Items(i)) ? 1 : 0;

  TFileStream stream(path, fmCreate);
  uint8_t count_bytes[4];
  PutInt32(count_bytes, count);
  stream.WriteBuffer(count_bytes, sizeof count_bytes);
  for (int i = 0; i < files.Count(); ++i) {
    if (IsListed(*files.Items(i))) files.Items(i)->WriteCatalogueRecord(stream);
  }
  return path;
}

void ReadRemoteFileList(TCustomInstall& install) {
  TCustomNetInstallLocation* location = install.NetLocation();
  if (!location) {
    throw IEInstallNetLocNil(
        "Must assign a net location via the NetLocation property before you can set the distribute type");
  }
  const std::string temp = CreateTempFileName(true);
  std::vector<TFileListRecord> records;
  bool complete = false;
  WithCleanup(
      [&] {
        location->Download(kFileListName, temp);
        // A cancelled download has left no list to read.
        if (DownloadAborted()) throw EAIUserAbort();
        TFileStream stream(temp, fmOpenRead | fmShareDenyNone);
        complete = ReadFileList(stream, records);
      },
      [&] { platform::DeleteFile(temp); });
  // A list that is not whole changes no file.
  if (!complete) throw IEInstall("Cannot read the remote list of files: %s", temp);

  TCustomInstallFileList& files = AllInstallFiles();
  for (const TFileListRecord& r : records) {
    for (int i = 0; i < files.Count(); ++i) {
      TCustomInstallFile* file = files.Items(i);
      if (SameText(file->Name(), r.Name)) {
        file->TakeListedInfo(r.Size, r.FileDate, r.Version);
        break;
      }
    }
  }
}

}  // namespace wenmoor
