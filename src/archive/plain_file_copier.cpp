#include "archive/plain_file_copier.h"

#include <memory>
#include <vector>

#include "archive/archive_extractor.h"
#include "archive/cmp_TWnmrCompress.h"
#include "archive/overwrite_check.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/application.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"

namespace wenmoor {
namespace {
constexpr int64_t kBlock = 8192;
}  // namespace

PlainFileCopier::PlainFileCopier(TWnmrCompress& owner) : c_(owner) {}

void PlainFileCopier::Run(const std::string& source, const std::string& dest_in) {
  c_.abort_ = false;
  c_.offset_ = 0;
  c_.extract_directory_ = ExtractFileDir(dest_in);
  c_.dest_file_name_ = ExtractFileName(dest_in);
  // The name was given for this copy only: an Extract that follows must
  // not inherit it, whatever way the copy ends.
  struct ClearName {
    TWnmrCompress& c;
    ~ClearName() { c.dest_file_name_.clear(); }
  } clear_name{c_};

  c_.stats_ = TlzhFileStats{};
  c_.stats_.FileName = source;
  std::string dest = dest_in;
  if (platform::FileExists(dest) && !MayReplace(source, dest)) return;
  Copy(source, dest);
}

bool PlainFileCopier::MayReplace(const std::string& source, std::string& dest) {
  switch (DecideOverwriteByName(source, dest, c_.overwrite_)) {
    case fcError: throw EWnmrCompress(archive_msg::kCompareFailed);
    case fcSame:
    case fcOlder: return false;
    case fcNewer:
    case fcAsk: break;
  }
  if (c_.OnReplace) {
    c_.OnReplace(&c_, c_.stats_);
    c_.dest_file_name_ = ArchiveExtractor::FileNamePart(c_.dest_file_name_);
    dest = TWnmrCompress::JoinPath(c_.extract_directory_, c_.dest_file_name_);
  }
  return true;
}

void PlainFileCopier::Copy(const std::string& source, const std::string& dest) {
  std::unique_ptr<TFileStream> in;
  try {
    in = std::make_unique<TFileStream>(source, fmOpenRead | fmShareDenyNone);
  } catch (const Exception&) {
    throw EWnmrCompress(archive_msg::kCannotOpenFile, source);
  }
  const TDateTime date = FileDosDate(source).value_or(0);
  const int64_t size = in->Size();
  c_.stats_.FileSize = SaturateInt32(size);
  c_.stats_.TotalFileSize = SaturateInt32(size);
  c_.stats_.FileName = source;
  c_.total_bytes_done_ = 0;
  const std::string dir = ExtractFileDir(dest);
  if (!dir.empty()) platform::ForceDirectories(dir);
  std::unique_ptr<TStream> out;
  try {
    out = c_.CreateOutput(dest);
  } catch (const Exception&) {
    throw EWnmrCompress(archive_msg::kCannotCreate, dest);
  }

  std::vector<uint8_t> block(kBlock);
  int64_t done = 0;
  for (;;) {
    if (c_.abort_) return;  // quietly; dest keeps what was written
    const int64_t got = std::max<int64_t>(in->Read(block.data(), kBlock), 0);
    if (got > 0 && out->Write(block.data(), got) != got) c_.DoFullDisk();
    done += got;
    c_.total_bytes_done_ += got;
    c_.SetProgress(done, size, size);
    c_.FireStatus();
    ProcessMessages();
    if (got < kBlock) break;
  }
  out.reset();
  in.reset();
  if (date != 0) platform::SetFileDate(dest, date);
  c_.stats_.FileDone = true;
  c_.FireStatus();
}

}  // namespace wenmoor
