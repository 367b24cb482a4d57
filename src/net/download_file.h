// TDownloadFile: the local file of one download.
//
// The data is written under a temporary name in the destination's own
// directory and the file takes its real name only when the download is
// complete (a rename within one directory, so it appears whole or not at
// all). A download that fails or is cancelled therefore never leaves a
// truncated file under the real name, where it could be taken for a good
// copy later; an older file of that name stays as it was until replaced.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace wenmoor {

class TFileStream;

class TDownloadFile {
 public:
  static constexpr size_t kWriteChunk = 256 * 1024;

  // Reserves the temporary file beside `local_file` (a Windows path) and
  // opens it. Raises EFCreateError "Cannot create file \"%s\". %s" with
  // `local_file` and the system's reason when that is not possible.
  explicit TDownloadFile(std::string local_file);
  // Deletes the temporary file unless Commit succeeded; never throws.
  ~TDownloadFile();
  TDownloadFile(const TDownloadFile&) = delete;
  TDownloadFile& operator=(const TDownloadFile&) = delete;

  // Appends `size` bytes; returns `size`, or fewer when the disk is full or
  // the write fails. Blocks are gathered into writes of kWriteChunk bytes,
  // so a failure may show at a later call or at Commit.
  int64_t Write(const void* data, int64_t size);
  // Closes the file and renames it to the local name, replacing a file of
  // that name. False, with the Windows error as the last error, when the
  // rename fails (the temporary file is then deleted).
  bool Commit();

  const std::string& LocalFile() const { return local_file_; }
  const std::string& TempFile() const { return temp_file_; }

 private:
  void Discard() noexcept;

  std::string local_file_;
  std::string temp_file_;
  // Writes out the gathered bytes; false when not all of them went.
  bool Flush();

  std::unique_ptr<TFileStream> stream_;
  std::vector<char> pending_;
  bool failed_ = false;
  bool committed_ = false;
};

}  // namespace wenmoor
