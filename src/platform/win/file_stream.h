// TFileStream: a stream over a file of the emulated machine, opened by its
// Windows path, with the component library's open and share modes.
//
//   TFileStream out("C:\\dir\\a.txt", fmCreate);
//   TFileStream in("C:\\dir\\a.txt", fmOpenRead | fmShareDenyWrite);
//
// Contract
// - The constructor opens the file or raises: EFCreateError
//   "Cannot create file \"%s\". %s" for fmCreate, EFOpenError
//   "Cannot open file \"%s\". %s" otherwise, with the path as given and the
//   system's text for the error (SysErrorMessage). The Windows error code is
//   also left as the last error.
// - fmCreate creates the file or truncates an existing one (read-only files
//   refuse with "Access is denied"); it may be combined with a share mode.
// - Share modes are honoured between the streams of this process, as
//   Windows honours them between handles: opening a file against the share
//   mode of an open stream, or with a share mode that an open stream's
//   access contradicts, fails with ERROR_SHARING_VIOLATION. A file held by
//   a stream counts as in use for DeleteFile (files.h).
// - Read/Write/Seek raise EReadError/EWriteError only through the TStream
//   helpers (ReadBuffer, WriteBuffer); Write on a disk that is full writes
//   short. The destructor closes the file and never throws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/stream.h"

namespace wenmoor {

// Open modes (low nibble), share modes (next nibble); fmCreate stands alone
// or with a share mode.
enum : uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,
};

class TFileStream : public TStream {
 public:
  TFileStream(std::string_view win_path, uint16_t mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override;
  // Truncates or extends; raises EWriteError "Stream write error" on failure.
  void SetSize(int64_t size) override;

  // The path as given to the constructor.
  const std::string& FileName() const { return file_name_; }

 private:
  std::string file_name_;
  int fd_ = -1;
  uint64_t open_id_ = 0;  // entry in the table of this process's open files
};

}  // namespace wenmoor
