#include "archive/archive_extractor.h"

#include <algorithm>
#include <cstring>
#include <cmath>
#include <optional>

#include "archive/block_writer.h"
#include "archive/cmp_TWnmrCompress.h"
#include "archive/overwrite_check.h"
#include "archive/zlib_stream.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/application.h"
#include "platform/win/file_stream.h"
#include "platform/win/executable.h"
#include "platform/win/files.h"

namespace wenmoor {
namespace {

constexpr int64_t kInBlock = 65536;
constexpr size_t kOutBlock = 4096;            // one progress report each
constexpr size_t kOutRun = BlockWriter::kBlock;  // inflated in one go (16 blocks)

// The TDateTime range of years 1 to 9999; anything else in a header is
// damage and never reaches the platform's date conversion.
bool IsPlausibleDate(double d) { return std::isfinite(d) && d >= -693593.0 && d <= 2958466.0; }

// Removes the file being written unless the member made it into place.
class TempFile {
 public:
  explicit TempFile(std::string path) : path_(std::move(path)) {}
  ~TempFile() {
    if (!path_.empty()) platform::DeleteFile(path_);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& Path() const { return path_; }
  void Release() { path_.clear(); }

 private:
  std::string path_;
};

// Takes every byte and keeps only their count: the output of a test.
class CountingStream : public TStream {
 public:
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void*, int64_t count) override {
    size_ += std::max<int64_t>(count, 0);
    return std::max<int64_t>(count, 0);
  }
  int64_t Seek(int64_t, TSeekOrigin) override { return size_; }
  int64_t Size() override { return size_; }
  void SetSize(int64_t size) override { size_ = size; }

 private:
  int64_t size_ = 0;
};

}  // namespace

ArchiveExtractor::ArchiveExtractor(TWnmrCompress& owner) : c_(owner), in_(kInBlock) {}

std::string ArchiveExtractor::FileNamePart(const std::string& name) {
  const size_t cut = name.find_last_of("\\/:");
  return cut == std::string::npos ? name : name.substr(cut + 1);
}

void ArchiveExtractor::Run() {
  c_.abort_ = false;
  c_.operation_ = TWnmrCompress::Operation::Extracting;
  // Handlers may change FilesToProcess while it is worked through.
  const std::vector<std::string> lines = c_.files_to_process_->Items();
  auto finish = [&] {
    c_.files_to_process_->Clear();
    c_.dest_file_name_.clear();
    c_.input_.reset();
    c_.dest_file_ = nullptr;
    c_.operation_ = TWnmrCompress::Operation::None;
  };
  try {
    c_.LoadHeadersIfNeeded();
    c_.current_disk_ = 0;
    c_.ResetTotals();
    for (const std::string& line : lines) ExtractLine(line);
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void ArchiveExtractor::Test(int index) {
  c_.abort_ = false;
  c_.operation_ = TWnmrCompress::Operation::Extracting;
  struct Finish {
    TWnmrCompress& c;
    ~Finish() {
      c.input_.reset();
      c.dest_file_ = nullptr;
      c.operation_ = TWnmrCompress::Operation::None;
    }
  } finish{c_};
  c_.LoadHeadersIfNeeded();
  const TFileHeaderRec rec = c_.headers_->GetFileHeaders(index).Rec;
  c_.ResetTotals();
  c_.FillStatsFromHeader(c_.headers_->GetFileHeaders(index));
  c_.OpenInputDisk(rec.FirstDisk == 0 ? 1 : rec.FirstDisk);
  c_.current_disk_ = rec.FirstDisk;
  CountingStream out;
  c_.dest_file_ = &out;
  const int64_t start = int64_t{c_.offset_} + rec.FirstBytePos;
  if (start < 0) throw EWnmrCompress(archive_msg::kHeadersCorrupt);
  in_pos_ = c_.input_->Seek(start, soBeginning);
  const bool ended = Inflate(rec, out);
  c_.stats_.FileDone = true;
  c_.FireStatus();
  if (out.Size() != rec.FileSize) throw EWnmrCompress(archive_msg::kSizeMismatch, rec.FileName);
  if (!ended) throw EWnmrCompress(archive_msg::kZlib);
}

std::string ArchiveExtractor::Target() {
  c_.dest_file_name_ = FileNamePart(c_.dest_file_name_);
  std::string target = TWnmrCompress::JoinPath(c_.extract_directory_, c_.dest_file_name_);
  const std::string trimmed = Trim(c_.dest_file_name_);
  if (trimmed.empty() || trimmed == "." || trimmed == "..") throw EWnmrCompress(archive_msg::kCannotCreate, target);
  return target;
}

bool ArchiveExtractor::MayReplace(const TFileHeaderRec& rec, std::string& target) {
  switch (DecideOverwrite(rec.FileVersion, rec.FileDate, target, c_.overwrite_)) {
    case fcError: throw EWnmrCompress(archive_msg::kCompareFailed);
    case fcSame:
    case fcOlder: return false;
    case fcNewer:
    case fcAsk: break;
  }
  if (c_.OnReplace) {
    c_.OnReplace(&c_, c_.stats_);
    target = Target();
  }
  return true;
}

void ArchiveExtractor::ExtractLine(const std::string& line) {
  const int index = c_.headers_->IndexOf(line);
  if (index < 0) throw EWnmrCompress(archive_msg::kNotInArchive, line, c_.compressed_file_);
  // A copy: handlers may reload the list while this member is worked on.
  const TFileHeaderRec rec = c_.headers_->GetFileHeaders(index).Rec;
  c_.FillStatsFromHeader(c_.headers_->GetFileHeaders(index));

  if (Trim(c_.dest_file_name_).empty()) c_.dest_file_name_ = FileNamePart(rec.FileName);
  c_.OnBeforeExtracting(&c_, c_.stats_);
  std::string target = Target();

  if (platform::FileExists(target) && !MayReplace(rec, target)) {
    c_.stats_.FileDone = true;
    c_.FireStatus();
    c_.OnAfterExtracting(&c_, c_.stats_);
    // The name was meant for this member only.
    c_.dest_file_name_.clear();
    return;
  }

  c_.OpenInputDisk(rec.FirstDisk == 0 ? 1 : rec.FirstDisk);
  c_.current_disk_ = rec.FirstDisk;
  const std::string dir = ExtractFileDir(target);
  if (!dir.empty()) platform::ForceDirectories(dir);
  // A new file is written in place and removed again if the member fails.
  // An existing file is replaced only by a complete member: the member goes
  // to a temporary file beside it first. (Replacing costs more, since the
  // machine checks that no program holds the file, so it is not done for
  // new files.)
  const bool replacing = platform::FileExists(target);
  std::string write_to = target;
  if (replacing) {
    // A read-only target refuses to be replaced, as it refuses to be created.
    const uint32_t attributes = platform::GetFileAttributes(target);
    if (attributes != platform::INVALID_FILE_ATTRIBUTES && (attributes & platform::FILE_ATTRIBUTE_READONLY))
      throw EWnmrCompress(archive_msg::kCannotCreate, target);
    std::optional<std::string> temp_name =
        platform::GetTempFileName(dir.empty() ? platform::GetTempPath() : dir, "wmx", 0);
    if (!temp_name) throw EWnmrCompress(archive_msg::kCannotCreate, target);
    write_to = *temp_name;
  }
  TempFile temp(write_to);

  int64_t size = 0;
  const bool ended = InflateInto(rec, temp.Path(), target, size);
  c_.stats_.FileDone = true;
  c_.FireStatus();
  if (size != rec.FileSize) throw EWnmrCompress(archive_msg::kSizeMismatch, rec.FileName);
  if (!ended) throw EWnmrCompress(archive_msg::kZlib);
  if (!IsPlausibleDate(rec.FileDate) || !platform::SetFileDate(temp.Path(), rec.FileDate))
    throw EWnmrCompress(archive_msg::kCannotSetDate);
  // The archive keeps no permissions: a program among the members must run.
  if (platform::IsHostProgramMagic(head_, head_size_) && !platform::MarkExecutable(temp.Path()))
    throw EWnmrCompress(archive_msg::kCannotCreate, target);
  if (replacing && !platform::MoveFileEx(temp.Path(), target, platform::MOVEFILE_REPLACE_EXISTING))
    throw EWnmrCompress(archive_msg::kCannotCreate, target);
  temp.Release();
  c_.input_.reset();
  c_.OnAfterExtracting(&c_, c_.stats_);
  c_.dest_file_name_.clear();
}

bool ArchiveExtractor::InflateInto(const TFileHeaderRec& rec, const std::string& temp, const std::string& target,
                                   int64_t& size) {
  std::unique_ptr<TStream> out;
  try {
    out = c_.CreateOutput(temp);
  } catch (const Exception&) {
    throw EWnmrCompress(archive_msg::kCannotCreate, target);
  }
  c_.dest_file_ = out.get();
  const int64_t start = int64_t{c_.offset_} + rec.FirstBytePos;
  if (start < 0) throw EWnmrCompress(archive_msg::kHeadersCorrupt);
  in_pos_ = c_.input_->Seek(start, soBeginning);
  const bool ended = Inflate(rec, *out);
  c_.dest_file_ = nullptr;
  size = out->Size();
  return ended;
}

int64_t ArchiveExtractor::Refill(const TFileHeaderRec& rec) {
  int64_t want = kInBlock;
  if (c_.current_disk_ == rec.LastDisk) {
    // On the member's last disk nothing behind its last byte is read.
    const int64_t end = int64_t{c_.offset_} + rec.LastBytePos + 1;
    want = std::clamp<int64_t>(end - in_pos_, 0, kInBlock);
  }
  if (want == 0) return 0;
  const int64_t n = std::max<int64_t>(c_.input_->Read(in_.data(), want), 0);
  in_pos_ += n;
  return n;
}

bool ArchiveExtractor::Inflate(const TFileHeaderRec& rec, TStream& out) {
  Inflater inflater;
  z_stream& z = inflater.Z();
  head_size_ = 0;
  BlockWriter writer(out, [this] { c_.DoFullDisk(); });
  int disks_left = rec.LastDisk - c_.current_disk_ + 1;
  int64_t done = 0;
  while (disks_left > 0) {
    // a. Inflate a run of output blocks straight into the writer's buffer.
    // It ends early only where the input on this disk ends, exactly where a
    // single block would have ended, so the blocks reported below are the
    // blocks of 4,096 bytes that one block at a time would give.
    z.next_out = writer.Reserve(kOutRun);
    z.avail_out = kOutRun;
    while (z.avail_out > 0 && !inflater.Ended()) {
      if (z.avail_in == 0) {
        const int64_t n = Refill(rec);
        if (n == 0) break;
        z.next_in = in_.data();
        z.avail_in = static_cast<uInt>(n);
      }
      const uInt in_before = z.avail_in, out_before = z.avail_out;
      inflater.Inflate();
      if (z.avail_in == in_before && z.avail_out == out_before && !inflater.Ended())
        throw EWnmrCompress(archive_msg::kZlib);  // no progress: cannot happen with sound zlib data
    }
    const size_t have = kOutRun - z.avail_out;
    if (done == 0 && have > 0) {
      head_size_ = static_cast<long>(std::min(have, sizeof head_));
      std::memcpy(head_, z.next_out - have, static_cast<size_t>(head_size_));
    }
    if (have > 0) {
      // A member that grows beyond its size is damaged (or hostile); it is
      // stopped here rather than allowed to fill the disk.
      if (done + static_cast<int64_t>(have) > rec.FileSize)
        throw EWnmrCompress(archive_msg::kSizeMismatch, rec.FileName);
      writer.Commit(have);
      for (size_t at = 0; at < have; at += kOutBlock) {
        // b. Cancel and user-interface work between blocks.
        if (c_.abort_) throw EwcAborted(archive_msg::kAborted);
        ProcessMessages();
        // c. Report the block.
        const auto block = static_cast<int64_t>(std::min(kOutBlock, have - at));
        done += block;
        c_.total_bytes_done_ += block;
        c_.SetProgress(done, rec.FileSize, c_.total_file_size_);
        c_.FireStatus();
      }
      continue;
    }
    if (c_.abort_) throw EwcAborted(archive_msg::kAborted);
    ProcessMessages();
    // d. No output: the stream is complete, or its data goes on on the next disk.
    if (inflater.Ended()) break;
    if (c_.current_disk_ < rec.LastDisk) {
      ++c_.current_disk_;
      c_.OpenInputDisk(c_.current_disk_);
      in_pos_ = 0;
    }
    --disks_left;
  }
  writer.Flush();
  return inflater.Ended();
}

}  // namespace wenmoor
