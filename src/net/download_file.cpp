#include "net/download_file.h"

#include <utility>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "platform/win/win_error.h"

namespace wenmoor {
namespace {

[[noreturn]] void RaiseCreateError(const std::string& local_file, uint32_t error) {
  throw EFCreateError("Cannot create file \"%s\". %s", local_file, platform::SysErrorMessage(error));
}

}  // namespace

TDownloadFile::TDownloadFile(std::string local_file) : local_file_(std::move(local_file)) {
  const std::string dir = ExtractFilePath(local_file_);
  std::optional<std::string> temp = platform::GetTempFileName(dir.empty() ? std::string_view(".") : dir, "dl", 0);
  if (!temp) RaiseCreateError(local_file_, platform::GetLastError());
  temp_file_ = *temp;
  try {
    stream_ = std::make_unique<TFileStream>(temp_file_, fmCreate);
    pending_.reserve(kWriteChunk + 64 * 1024);
  } catch (const EFCreateError&) {
    const uint32_t error = platform::GetLastError();
    platform::DeleteFile(temp_file_);
    RaiseCreateError(local_file_, error);
  }
}

TDownloadFile::~TDownloadFile() {
  if (!committed_) Discard();
}

void TDownloadFile::Discard() noexcept {
  stream_.reset();  // a file held open cannot be deleted
  platform::DeleteFile(temp_file_);
}

int64_t TDownloadFile::Write(const void* data, int64_t size) {
  if (!stream_ || failed_ || size < 0) return 0;
  const auto* bytes = static_cast<const char*>(data);
  pending_.insert(pending_.end(), bytes, bytes + size);
  if (pending_.size() >= kWriteChunk && !Flush()) return 0;
  return size;
}

bool TDownloadFile::Flush() {
  if (failed_) return false;
  const auto size = static_cast<int64_t>(pending_.size());
  if (size > 0 && stream_->Write(pending_.data(), size) != size) failed_ = true;
  pending_.clear();
  return !failed_;
}

bool TDownloadFile::Commit() {
  if (!stream_ || !Flush()) {
    platform::SetLastError(platform::ERROR_WRITE_FAULT);
    return false;
  }
  stream_.reset();
  if (!platform::MoveFileEx(temp_file_, local_file_, platform::MOVEFILE_REPLACE_EXISTING)) {
    const uint32_t error = platform::GetLastError();
    Discard();
    platform::SetLastError(error);
    return false;
  }
  committed_ = true;
  return true;
}

}  // namespace wenmoor
