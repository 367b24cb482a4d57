// The remote list of files of a net distribution, "filelist.lst".
//
// A web (or traditional-net) build writes it into the engine's net
// directory beside the net archives; the installing side downloads it first
// and learns from it the size, date and version of every file before any
// archive is fetched, so that overwrite decisions and space checks can be
// made up front.
//
// Layout (little-endian): a signed 32-bit count N, then N catalogue records
// of 80 bytes as TCustomInstallFile::WriteCatalogueRecord writes them:
//   0  int32   file size
//   4  4 bytes reserved (ignored)
//   8  double  file date (TDateTime)
//   16 40      the install file's component name, zero-terminated
//   56 24      the file's version, zero-terminated (at most 20 characters
//              are taken when reading)
// Bytes after the N-th record are ignored.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/file_time.h"

namespace wenmoor {

class TCustomInstall;
class TStream;

inline constexpr const char* kFileListName = "filelist.lst";

struct TFileListRecord {
  int32_t Size = 0;
  TDateTime FileDate = 0;
  std::string Name;
  std::string Version;
};

// Reads a file list from `stream` record by record (no allocation follows
// the count, so a huge count in a short file costs nothing). Returns false
// when the stream holds fewer bytes than the count or than a whole record,
// or a negative count or file size, or a date that is not a finite number;
// `records` then holds the records read before the fault.
bool ReadFileList(TStream& stream, std::vector<TFileListRecord>& records);

// Writes "filelist.lst" for the build into the directory of the engine's
// ArchiveFile (the path of files.1) + the engine's net directory
// (GetNetDirectory: host\directory), creating that directory with its
// parents. It lists every install file that this build compressed
// (CompressState 1 or 2), in the order of the process-wide file list.
// Returns the path of the list written. Raises IEFileRel_NoNetLocation
// without a net location, EFCreateError / EWriteError when the file cannot
// be written.
std::string WriteFileList(TCustomInstall& install);

// Downloads "filelist.lst" from the engine's NetLocation into a new
// temporary file and gives each record's size, date and version to the
// first install file of the record's name (compared without regard to
// case). The temporary file is deleted in every case. Raises IEInstall
// "Cannot read the remote list of files: %s" (the temporary file's path)
// for a short or corrupt list; the download's own exceptions pass on; a
// download cancelled by the user raises EAIUserAbort.
void ReadRemoteFileList(TCustomInstall& install);

}  // namespace wenmoor
