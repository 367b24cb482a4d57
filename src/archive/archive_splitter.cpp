#include "archive/archive_splitter.h"

#include <algorithm>
#include <limits>

#include "archive/archive_compressor.h"
#include "archive/cmp_TWnmrCompress.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/application.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"

namespace wenmoor {
namespace {
constexpr int64_t kBlock = 8192;
constexpr int kMaxDisk = 255;  // disk numbers are stored in one byte
}  // namespace

ArchiveSplitter::ArchiveSplitter(TWnmrCompress& owner) : c_(owner), block_(kBlock) {}
ArchiveSplitter::~ArchiveSplitter() = default;

std::unique_ptr<TStream> ArchiveSplitter::Create(const std::string& path) {
  const std::string dir = ExtractFileDir(path);
  if (!dir.empty()) platform::ForceDirectories(dir);
  try {
    return c_.CreateOutput(path);
  } catch (const Exception&) {
    throw EWnmrCompress(archive_msg::kCannotCreate, path);
  }
}

void ArchiveSplitter::Run(const std::string& dest_dir, const std::string& disk_file_name) {
  c_.abort_ = false;
  // The list is rewritten to describe the spanned copy; it no longer
  // describes CompressedFile afterwards, whatever happens.
  c_.append_state_.reset();
  struct Unload {
    TWnmrCompress& c;
    ~Unload() {
      c.headers_loaded_ = false;
      c.input_.reset();
    }
  } unload{c_};

  if (!c_.headers_loaded_) c_.ReadHeaders();
  c_.current_disk_ = 1;
  c_.headers_->Spanned = true;
  c_.ResetTotals();

  try {
    c_.input_ = std::make_unique<TFileStream>(c_.compressed_file_, fmOpenRead | fmShareDenyNone);
  } catch (const Exception&) {
    throw EWnmrCompress(archive_msg::kCannotOpenArchive, c_.compressed_file_);
  }
  dest_dir_ = dest_dir;
  disk_file_name_ = ExtractFileName(disk_file_name);
  last_disk_path_ = TWnmrCompress::JoinPath(dest_dir_, disk_file_name_);
  output_ = Create(last_disk_path_);
  c_.headers_->WriteToStream(*output_);
  out_pos_ = output_->Position();

  for (int i = 0; i < c_.headers_->Count(); ++i) CopyMember(c_.headers_->GetFileHeaders(i));
  output_.reset();

  // Back to disk 1 for the final header block; it may have to be asked for.
  std::string first = last_disk_path_;
  std::unique_ptr<TFileStream> disk1 = c_.OpenDiskFile(first, 1, true, fmOpenReadWrite | fmShareDenyWrite);
  c_.headers_->WriteToStream(*disk1);
}

void ArchiveSplitter::CopyMember(TFileHeader& header) {
  TFileHeaderRec& rec = header.Rec;
  c_.FillStatsFromHeader(header);
  const int64_t start = int64_t{c_.offset_} + rec.FirstBytePos;
  const int64_t end = int64_t{c_.offset_} + rec.LastBytePos + 1;  // exclusive
  if (start < 0 || out_pos_ > std::numeric_limits<int32_t>::max())
    throw EWnmrCompress(archive_msg::kHeadersCorrupt);
  int64_t in_pos = c_.input_->Seek(start, soBeginning);
  rec.FirstBytePos = static_cast<int32_t>(out_pos_);
  rec.FirstDisk = static_cast<uint8_t>(c_.current_disk_);

  int64_t done = 0;
  while (in_pos < end) {
    if (c_.abort_) throw EwcAborted(archive_msg::kAborted);
    const int64_t want = std::min(kBlock, end - in_pos);
    const int64_t got = c_.input_->Read(block_.data(), want);
    // Data that ends before its header says is a damaged archive; without
    // this the copy would wait forever for bytes that are not there.
    if (got <= 0) throw EWnmrCompress(archive_msg::kHeadersCorrupt);
    in_pos += got;
    ProcessMessages();
    WriteBlock(block_.data(), got);
    done += got;
    c_.total_bytes_done_ += got;
    c_.SetProgress(done, rec.CompressedSize, c_.total_compressed_);
    c_.FireStatus();
  }
  rec.LastBytePos = static_cast<int32_t>(out_pos_ - 1);
  rec.LastDisk = static_cast<uint8_t>(c_.current_disk_);
}

void ArchiveSplitter::WriteBlock(const uint8_t* data, int64_t count) {
  const int64_t written = std::max<int64_t>(output_->Write(data, count), 0);
  out_pos_ += written;
  if (written < count) BeginNextDisk(data + written, count - written);
}

void ArchiveSplitter::BeginNextDisk(const uint8_t* rest, int64_t count) {
  output_.reset();
  if (c_.current_disk_ == kMaxDisk) throw EWnmrCompress(archive_msg::kDiskTooSmall);
  ++c_.current_disk_;
  if (!c_.OnNewDisk) throw EWnmrCompress(archive_msg::kNoNewDiskHandler);
  std::string path = dest_dir_;
  c_.OnNewDisk(&c_, c_.current_disk_, path);
  dest_dir_ = path;  // this and every later disk
  last_disk_path_ =
      TWnmrCompress::JoinPath(dest_dir_, ChangeFileExt(disk_file_name_, "." + std::to_string(c_.current_disk_)));
  output_ = Create(last_disk_path_);
  const int64_t written = std::max<int64_t>(output_->Write(rest, count), 0);
  out_pos_ = written;
  if (written < count) throw EWnmrCompress(archive_msg::kDiskTooSmall);
}

}  // namespace wenmoor
