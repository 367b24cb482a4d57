#include "archive/archive_compressor.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "archive/cmp_TWnmrCompress.h"
#include "archive/zlib_stream.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"

namespace wenmoor {
namespace {

constexpr int64_t kBlock = 65536;  // deflate input and output blocks
constexpr int64_t kMaxPosition = std::numeric_limits<int32_t>::max();
constexpr int64_t kFirstHeaderAt = TFileHeaderRec::kPreambleSize;

}  // namespace

ArchiveCompressor::ArchiveCompressor(TWnmrCompress& owner) : c_(owner) {}
ArchiveCompressor::~ArchiveCompressor() = default;

void ArchiveCompressor::Run(TlzhCommand command, int file_id) {
  c_.abort_ = false;
  c_.operation_ = TWnmrCompress::Operation::Compressing;
  c_.headers_->Spanned = false;
  c_.offset_ = 0;
  // Whatever happens now changes the list; it is trusted again only when
  // this run ends well.
  std::unique_ptr<ArchiveAppendState> state = std::move(c_.append_state_);
  try {
    bool append = command == lzcOnlyAdd && platform::FileExists(c_.compressed_file_);
    if (!append) platform::ForceDirectories(ExtractFileDir(c_.compressed_file_));
    OpenArchive(append);
    // An empty file holds no archive yet: it is begun like a new one.
    if (append && archive_->Size() == 0) append = false;

    if (append) {
      complete_end_ = LoadExistingMembers(std::move(state));
      complete_ = c_.headers_->Count();
      first_new_ = complete_;
      c_.headers_->AddFiles(*c_.files_to_process_, true);
    } else {
      c_.headers_->AddFiles(*c_.files_to_process_, false);
      complete_end_ = kFirstHeaderAt;
      complete_ = 0;
    }
    for (int i = first_new_; i < c_.headers_->Count(); ++i)
      file_size_sum_ += c_.headers_->GetFileHeaders(i).Rec.FileSize;
    if (complete_ > 0) last_header_at_ = c_.headers_->GetFileHeaders(complete_ - 1).Rec.FirstBytePos - TFileHeaderRec::kSize;

    c_.headers_->WriteToStream(*archive_);
    preamble_written_ = true;
    position_ = archive_->Seek(complete_end_, soBeginning);

    c_.ResetTotals(file_size_sum_, compressed_sum_);
    c_.total_compressed_ = 0;
    c_.stats_.TotalCompressed = 0;
    for (int i = complete_; i < c_.headers_->Count(); ++i) CompressMember(i, file_id);
    RememberForAppend();
  } catch (...) {
    RollBack();
    archive_.reset();
    c_.files_to_process_->Clear();
    c_.dest_file_ = nullptr;
    c_.headers_loaded_ = false;
    c_.operation_ = TWnmrCompress::Operation::None;
    throw;
  }
  archive_.reset();
  c_.files_to_process_->Clear();
  c_.dest_file_ = nullptr;
  c_.headers_loaded_ = false;
  c_.operation_ = TWnmrCompress::Operation::None;
}

void ArchiveCompressor::OpenArchive(bool append) {
  try {
    archive_ = std::make_unique<TFileStream>(c_.compressed_file_,
                                             append ? fmOpenReadWrite | fmShareDenyWrite : fmCreate | fmShareDenyWrite);
  } catch (const Exception&) {
    throw EWnmrCompress(archive_msg::kCannotCreate, c_.compressed_file_);
  }
}

int64_t ArchiveCompressor::LoadExistingMembers(std::unique_ptr<ArchiveAppendState> state) {
  TFileHeaders& list = *c_.headers_;
  const int64_t size = archive_->Size();
  bool reuse = state && SameText(state->path, c_.compressed_file_) && state->end == size &&
               state->count == list.Count();
  if (reuse) {
    uint8_t preamble[TFileHeaderRec::kPreambleSize];
    TFileHeaderRec::Bytes last{};
    archive_->SetPosition(0);
    reuse = archive_->Read(preamble, sizeof preamble) == static_cast<int64_t>(sizeof preamble) &&
            GetInt32(preamble) == state->count && preamble[4] == 0;
    if (reuse && state->count > 0) {
      archive_->SetPosition(state->last_header_at);
      reuse = archive_->Read(last.data(), TFileHeaderRec::kSize) == TFileHeaderRec::kSize &&
              last == state->last_header;
    }
  }
  if (reuse) {
    file_size_sum_ = state->file_size_sum;
    compressed_sum_ = state->compressed_sum;
    return state->end;
  }

  list.ReadFromStream(*archive_, 0);
  for (int i = 0; i < list.Count(); ++i) {
    file_size_sum_ += list.GetFileHeaders(i).Rec.FileSize;
    compressed_sum_ += list.GetFileHeaders(i).Rec.CompressedSize;
  }
  // Members are appended behind the last one's data. A spanned disk file
  // holds data behind its header block, and a chain that ends outside the
  // file is a damaged archive: adding to either would destroy members.
  if (list.Spanned) throw EWnmrCompress(archive_msg::kCannotAddToSpanned, c_.compressed_file_);
  const int64_t end = list.Count() == 0 ? kFirstHeaderAt : list.GetFileHeaders(list.Count() - 1).Rec.NextHeaderPos;
  if (end < kFirstHeaderAt || end > size) throw EWnmrCompress(archive_msg::kHeadersCorrupt);
  return end;
}

void ArchiveCompressor::CompressMember(int index, int file_id) {
  TFileHeader& header = c_.headers_->GetFileHeaders(index);
  TFileHeaderRec& rec = header.Rec;
  std::unique_ptr<TFileStream> source;
  try {
    const std::string& path = header.SourcePath.empty() ? rec.FileName : header.SourcePath;
    source = std::make_unique<TFileStream>(path, fmOpenRead | fmShareDenyNone);
  } catch (const Exception&) {
    throw EWnmrCompress(archive_msg::kCannotOpenFile, rec.FileName);
  }

  const int64_t header_at = position_;
  if (header_at + TFileHeaderRec::kSize > kMaxPosition)
    throw EWnmrCompress(archive_msg::kTooLarge, c_.compressed_file_);
  rec.FirstBytePos = static_cast<int32_t>(header_at + TFileHeaderRec::kSize);
  auto bytes = rec.Encode();
  WriteArchive(bytes.data(), TFileHeaderRec::kSize);
  c_.dest_file_ = archive_.get();

  c_.FillStatsFromHeader(header);
  c_.stats_.CompressedSize = 0;
  c_.OnBeforeAdding(&c_, c_.stats_);

  int64_t bytes_read = 0;
  const int64_t compressed = DeflateMember(*source, bytes_read);

  c_.stats_.CompressedSize = SaturateInt32(compressed);
  c_.stats_.FileRatio = Percent(compressed, c_.stats_.FileSize);
  c_.stats_.FileDone = true;
  c_.AddStatus(bytes_read, compressed);
  c_.stats_.FileDone = false;
  c_.dest_file_ = nullptr;
  c_.total_compressed_ += compressed;
  c_.stats_.TotalCompressed = SaturateInt32(c_.total_compressed_);
  compressed_sum_ += compressed;
  file_size_sum_ += bytes_read - rec.FileSize;  // the size now known for certain

  // The member's size is what was actually compressed: a source that
  // changed since its header was filled must not give a member that can
  // never pass the size check.
  if (bytes_read > kMaxPosition) throw EWnmrCompress(archive_msg::kTooLarge, rec.FileName);
  rec.FileSize = static_cast<int32_t>(bytes_read);
  rec.LastBytePos = static_cast<int32_t>(position_ - 1);
  rec.NextHeaderPos = static_cast<int32_t>(position_);
  rec.CompressedSize = rec.LastBytePos - rec.FirstBytePos + 1;
  rec.FileID = file_id;
  if (file_id >= 0 && file_id < TWnmrCompress::kFileIDCount)
    c_.file_id_table_[static_cast<size_t>(file_id)] = index;

  const int64_t end = position_;
  archive_->SetPosition(header_at);
  position_ = header_at;
  bytes = rec.Encode();
  WriteArchive(bytes.data(), TFileHeaderRec::kSize);
  archive_->SetPosition(end);
  position_ = end;
  c_.stats_.Header = rec;

  complete_ = index + 1;
  complete_end_ = end;
  last_header_at_ = header_at;
  c_.OnAfterAdding(&c_, c_.stats_);
}

Deflater& ArchiveCompressor::TheDeflater() {
  if (!deflater_) {
    deflater_ = std::make_unique<Deflater>(c_.compression_level_);
    in_.resize(kBlock);
    out_.resize(kBlock);
  } else {
    deflater_->Reset();
  }
  return *deflater_;
}

int64_t ArchiveCompressor::DeflateMember(TFileStream& source, int64_t& bytes_read) {
  // One zlib stream per member, with the archive's fixed parameters.
  Deflater& deflater = TheDeflater();
  z_stream& z = deflater.Z();
  std::vector<uint8_t>& in = in_;
  std::vector<uint8_t>& out = out_;
  int64_t compressed = 0;
  bool source_ended = false;
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(kBlock);
  for (;;) {
    if (z.avail_in == 0 && !source_ended) {
      const int64_t n = source.Read(in.data(), kBlock);
      source_ended = n <= 0;
      bytes_read += std::max<int64_t>(n, 0);
      z.next_in = in.data();
      z.avail_in = static_cast<uInt>(std::max<int64_t>(n, 0));
    }
    const int rc = deflater.Deflate(source_ended ? Z_FINISH : Z_NO_FLUSH);
    if (z.avail_out == 0) {
      WriteArchive(out.data(), kBlock);
      compressed += kBlock;
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(kBlock);
      c_.AddStatus(bytes_read, compressed);
    }
    if (rc == Z_STREAM_END) break;
  }
  const int64_t rest = kBlock - z.avail_out;
  WriteArchive(out.data(), rest);
  return compressed + rest;
}

void ArchiveCompressor::WriteArchive(const void* data, int64_t count) {
  if (count == 0) return;
  if (position_ + count > kMaxPosition + 1) throw EWnmrCompress(archive_msg::kTooLarge, c_.compressed_file_);
  const int64_t written = archive_->Write(data, count);
  position_ += std::max<int64_t>(written, 0);
  if (written != count) throw EwcDiskFull(archive_msg::kDiskFull);
}

void ArchiveCompressor::RollBack() noexcept {
  if (!archive_ || !preamble_written_) return;
  try {
    uint8_t count[4];
    PutInt32(count, complete_);
    archive_->SetPosition(0);
    archive_->Write(count, sizeof count);
    archive_->SetSize(complete_end_);
  } catch (...) {
    // Best effort: the failure that brought us here is what gets reported.
  }
}

void ArchiveCompressor::RememberForAppend() {
  auto state = std::make_unique<ArchiveAppendState>();
  state->path = c_.compressed_file_;
  state->end = complete_end_;
  state->count = c_.headers_->Count();
  state->file_size_sum = file_size_sum_;
  state->compressed_sum = compressed_sum_;
  if (state->count > 0) {
    TFileHeader& last = c_.headers_->GetFileHeaders(state->count - 1);
    state->last_header_at = last_header_at_;
    state->last_header = last.Rec.Encode();
  }
  // The members written now are members of the archive from here on.
  for (int i = first_new_; i < c_.headers_->Count(); ++i) c_.headers_->GetFileHeaders(i).FromArchive = true;
  c_.append_state_ = std::move(state);
}

}  // namespace wenmoor
