#include "archive/cmp_TWnmrCompress.h"

#include "archive/archive_compressor.h"
#include "archive/archive_extractor.h"
#include "archive/archive_splitter.h"
#include "archive/plain_file_copier.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/application.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"

namespace wenmoor {

WENMOOR_REGISTER_CLASS(TWnmrCompress) {
  c.Prop("Abort", &T::Abort, &T::SetAbort).Default(false);
  c.Prop("CompressedFile", &T::CompressedFile, &T::SetCompressedFile);
  c.Prop("CompressionLevel", &T::CompressionLevel, &T::SetCompressionLevel).Default(colMax);
  c.Prop("ExtractDirectory", &T::ExtractDirectory, &T::SetExtractDirectory);
  c.Object("FilesToProcess", &T::FilesToProcess);
  c.Prop("Offset", &T::Offset, &T::SetOffset).Default(0);
  c.Prop("Overwrite", &T::Overwrite, &T::SetOverwrite).Default(owAlways);
  c.Event("OnAborted", &T::OnAborted);
  c.Event("OnAfterAdding", &T::OnAfterAdding);
  c.Event("OnBeforeAdding", &T::OnBeforeAdding);
  c.Event("OnAfterExtracting", &T::OnAfterExtracting);
  c.Event("OnBeforeExtracting", &T::OnBeforeExtracting);
  c.Event("OnFullDisk", &T::OnFullDisk);
  c.Event("OnListing", &T::OnListing);
  c.Event("OnNewDisk", &T::OnNewDisk);
  c.Event("OnReplace", &T::OnReplace);
  c.Event("OnStatus", &T::OnStatus);
}

TWnmrCompress::TWnmrCompress(TComponent* owner)
    : TComponent(owner),
      files_to_process_(std::make_unique<TStringList>()),
      headers_(std::make_unique<TFileHeaders>()) {}

TWnmrCompress::~TWnmrCompress() = default;

void TWnmrCompress::SetCompressedFile(const std::string& value) {
  if (SameText(value, compressed_file_)) return;
  // The disk files of one spanned archive differ only in their extension.
  if (headers_loaded_ && !SameText(ChangeFileExt(value, ".1"), ChangeFileExt(compressed_file_, ".1")))
    headers_loaded_ = false;
  compressed_file_ = value;
}

void TWnmrCompress::SetFilesToProcess(TStrings& list) {
  for (int i = list.Count() - 1; i >= 0; --i)
    if (Trim(list[i]).empty()) list.Delete(i);
  files_to_process_->Assign(list);
}

void TWnmrCompress::Guarded(QuietAbort quiet, const std::function<void()>& body) {
  try {
    body();
  } catch (const EwcAborted&) {
    OnAborted(this);
  } catch (const EAbort&) {
    if (quiet == QuietAbort::AbortedAndEAbort) return;
    abort_ = true;
    throw;
  } catch (...) {
    abort_ = true;
    throw;
  }
}

void TWnmrCompress::Compress(TlzhCommand command, int file_id) {
  Guarded(QuietAbort::AbortedAndEAbort, [&] { ArchiveCompressor(*this).Run(command, file_id); });
}

void TWnmrCompress::Extract() {
  Guarded(QuietAbort::AbortedAndEAbort, [&] { ArchiveExtractor(*this).Run(); });
}

void TWnmrCompress::TestMember(int index) { ArchiveExtractor(*this).Test(index); }

void TWnmrCompress::SplitToDisks(const std::string& dest_dir, const std::string& disk_file_name) {
  Guarded(QuietAbort::AbortedOnly, [&] { ArchiveSplitter(*this).Run(dest_dir, disk_file_name); });
}

void TWnmrCompress::CopyFile(const std::string& source, const std::string& dest) {
  PlainFileCopier(*this).Run(source, dest);
}

void TWnmrCompress::ReadHeaders() {
  std::unique_ptr<TFileStream> in;
  try {
    if (platform::FileExists(compressed_file_))
      in = std::make_unique<TFileStream>(compressed_file_, fmOpenRead | fmShareDenyNone);
  } catch (const Exception&) {
    in.reset();
  }
  if (!in) throw EWnmrCompress(archive_msg::kCannotOpenArchive, compressed_file_);
  // The list is about to be replaced: what Compress knew of it is gone.
  append_state_.reset();
  headers_loaded_ = false;
  file_id_table_.fill(0);
  try {
    headers_->ReadFromStream(*in, offset_);
  } catch (const Exception&) {
    throw EWnmrCompress(archive_msg::kHeadersCorrupt);
  }
  for (int i = 0; i < headers_->Count(); ++i) {
    const int id = headers_->GetFileHeaders(i).Rec.FileID;
    if (id >= 0 && id < kFileIDCount) file_id_table_[static_cast<size_t>(id)] = i;
  }
  headers_loaded_ = true;
}

void TWnmrCompress::LoadHeadersIfNeeded() {
  if (!headers_loaded_ && MayLoadHeaders()) ReadHeaders();
}

int TWnmrCompress::FileCount() {
  LoadHeadersIfNeeded();
  return headers_->Count();
}

void TWnmrCompress::GetFileStats(int index, TlzhFileStats& stats) {
  LoadHeadersIfNeeded();
  if (index < 0 || index >= headers_->Count()) throw EWnmrCompress(archive_msg::kStatsIndex, index);
  ResetTotals();
  FillStatsFromHeader(headers_->GetFileHeaders(index));
  stats = stats_;
}

int TWnmrCompress::IndexOfFileID(int file_id) {
  if (file_id < 0 || file_id >= kFileIDCount) return -1;
  LoadHeadersIfNeeded();
  return file_id_table_[static_cast<size_t>(file_id)];
}

void TWnmrCompress::List() {
  LoadHeadersIfNeeded();
  ResetTotals();
  for (int i = 0; i < headers_->Count(); ++i) {
    FillStatsFromHeader(headers_->GetFileHeaders(i));
    OnListing(this, stats_);
  }
}

void TWnmrCompress::DoFullDisk() {
  if (!OnFullDisk) throw EwcDiskFull(archive_msg::kDiskFull);
  OnFullDisk(this);
}

void TWnmrCompress::AddStatus(int64_t file_bytes_read, int64_t compressed) {
  if (abort_) throw EwcAborted(archive_msg::kAborted);
  ProcessMessages();
  if (!dest_file_) throw EWnmrCompress(archive_msg::kNilDestFile);
  total_bytes_done_ += file_bytes_read - file_bytes_done_;
  stats_.CompressedSize = SaturateInt32(compressed);
  SetProgress(file_bytes_read, stats_.FileSize, total_file_size_);
  FireStatus();
}

void TWnmrCompress::FillStatsFromHeader(const TFileHeader& header) {
  stats_.FileName = header.Rec.FileName;
  stats_.FileSize = header.Rec.FileSize;
  stats_.CompressedSize = header.Rec.CompressedSize;
  stats_.Header = header.Rec;
  stats_.FilePercent = 0;
  stats_.FileBytesDone = 0;
  file_bytes_done_ = 0;
  stats_.FileDone = false;
  stats_.FileRatio = Percent(header.Rec.CompressedSize, header.Rec.FileSize);
}

void TWnmrCompress::ResetTotals() {
  int64_t file_size_sum = 0, compressed_sum = 0;
  for (int i = 0; i < headers_->Count(); ++i) {
    file_size_sum += headers_->GetFileHeaders(i).Rec.FileSize;
    compressed_sum += headers_->GetFileHeaders(i).Rec.CompressedSize;
  }
  ResetTotals(file_size_sum, compressed_sum);
}

void TWnmrCompress::ResetTotals(int64_t file_size_sum, int64_t compressed_sum) {
  total_bytes_done_ = 0;
  total_file_size_ = file_size_sum;
  total_compressed_ = compressed_sum;
  stats_.TotalBytesDone = 0;
  stats_.TotalPercent = 0;
  stats_.FileDone = false;
  stats_.TotalFileSize = SaturateInt32(total_file_size_);
  stats_.TotalCompressed = SaturateInt32(total_compressed_);
  stats_.TotalRatio = Percent(total_compressed_, total_file_size_);
}

void TWnmrCompress::SetProgress(int64_t file_bytes_done, int64_t file_whole, int64_t total_whole) {
  file_bytes_done_ = file_bytes_done;
  stats_.FileBytesDone = SaturateInt32(file_bytes_done);
  stats_.FilePercent = Percent(file_bytes_done, file_whole);
  stats_.TotalBytesDone = SaturateInt32(total_bytes_done_);
  stats_.TotalPercent = Percent(total_bytes_done_, total_whole);
}

std::string TWnmrCompress::JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty() || dir.back() == '\\') return dir + name;
  return dir + "\\" + name;
}

std::unique_ptr<TFileStream> TWnmrCompress::OpenDiskFile(std::string& name, int disk, bool spanned, uint16_t mode) {
  if (spanned) name = ChangeFileExt(name, "." + std::to_string(disk));
  // A missing disk is asked for; four answers that do not supply it end
  // the attempt.
  constexpr int kAsks = 4;
  for (int asked = 0; !platform::FileExists(name); ++asked) {
    if (asked == kAsks) throw EWnmrCompress(archive_msg::kCannotOpenArchive, name);
    if (!OnNewDisk) throw EWnmrCompress(archive_msg::kWrongDisk, disk);
    std::string path = ExcludeTrailingBackslash(ExtractFileDir(name));
    OnNewDisk(this, disk, path);
    name = JoinPath(path, ExtractFileName(name));
  }
  try {
    return std::make_unique<TFileStream>(name, mode);
  } catch (const Exception&) {
    throw EWnmrCompress(archive_msg::kCannotOpenArchive, name);
  }
}

void TWnmrCompress::OpenInputDisk(int disk) {
  input_.reset();
  input_ = OpenDiskFile(compressed_file_, disk, headers_->Spanned, fmOpenRead | fmShareDenyNone);
}

std::unique_ptr<TStream> TWnmrCompress::CreateOutput(const std::string& path) {
  return std::make_unique<TFileStream>(path, fmCreate);
}

}  // namespace wenmoor
