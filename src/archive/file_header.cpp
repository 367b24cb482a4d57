#include "archive/file_header.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "archive/archive_errors.h"
#include "archive/overwrite_check.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/strings.h"
#include "platform/win/file_stream.h"

namespace wenmoor {
namespace {

// Trim removes every character up to and including the blank.
bool IsBlank(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

}  // namespace

std::string_view PathOfLine(std::string_view line) { return line.substr(0, line.find(';')); }

void TFileHeader::LoadFromFile(std::string_view line) {
  SourcePath = std::string(PathOfLine(line));
  Rec.FileName = CutToCapacity(SourcePath, TFileHeaderRec::kFileNameCapacity);
  int64_t size = 0;
  try {
    TFileStream in(SourcePath, fmOpenRead | fmShareDenyNone);
    size = in.Size();
  } catch (const Exception&) {
    throw EWnmrCompress(archive_msg::kCannotOpenFile, Rec.FileName);
  }
  if (size > INT32_MAX) throw EWnmrCompress(archive_msg::kTooLarge, Rec.FileName);
  Rec.FileSize = static_cast<int32_t>(size);
  Rec.FileDate = FileDosDate(SourcePath).value_or(0);
  Rec.FileVersion = CutToCapacity(SourceFileVersion(SourcePath), TFileHeaderRec::kFileVersionCapacity);
}

void TFileHeader::ReadFromStream(TStream& stream) {
  TFileHeaderRec::Bytes bytes;
  if (stream.Read(bytes.data(), TFileHeaderRec::kSize) != TFileHeaderRec::kSize)
    throw EWnmrCompress(archive_msg::kHeadersCorrupt);
  Rec = TFileHeaderRec::Decode(bytes);
  FromArchive = true;
}

void TFileHeader::WriteToStream(TStream& stream) const {
  TFileHeaderRec::Bytes bytes = Rec.Encode();
  if (stream.Write(bytes.data(), TFileHeaderRec::kSize) != TFileHeaderRec::kSize)
    throw EWnmrCompress(archive_msg::kHeadersWrite);
}

TFileHeaders::~TFileHeaders() { Clear(); }

TFileHeader& TFileHeaders::GetFileHeaders(int index) const {
  if (index < 0 || index >= Count()) throw EWnmrCompress(archive_msg::kHeaderIndex, index);
  return *items_[static_cast<size_t>(index)];
}

void TFileHeaders::Add(std::unique_ptr<TFileHeader> header) {
  if (!header || IsBlank(header->Rec.FileName)) throw EWnmrCompress(archive_msg::kInvalidHeader);
  if (index_built_) index_.try_emplace(UpperAscii(header->Rec.FileName), Count());
  items_.push_back(std::move(header));
}

void TFileHeaders::Clear() {
  while (!items_.empty()) items_.pop_back();
  index_.clear();
  index_built_ = false;
}

void TFileHeaders::AddFiles(const TStrings& files, bool append) {
  if (!append) Clear();
  for (int i = 0; i < files.Count(); ++i) {
    auto header = std::make_unique<TFileHeader>();
    header->LoadFromFile(files[i]);
    header->Rec.FileNumber = i + 1;
    Add(std::move(header));
  }
}

int TFileHeaders::IndexOf(std::string_view name) const {
  if (!index_built_) {
    index_.clear();
    for (int i = 0; i < Count(); ++i) index_.try_emplace(UpperAscii(items_[static_cast<size_t>(i)]->Rec.FileName), i);
    index_built_ = true;
  }
  auto it = index_.find(UpperAscii(PathOfLine(name)));
  return it == index_.end() ? -1 : it->second;
}

void TFileHeaders::ReadFromStream(TStream& stream, int64_t offset) {
  Clear();
  uint8_t preamble[TFileHeaderRec::kPreambleSize];
  if (offset < 0 || stream.Seek(offset, soBeginning) != offset ||
      stream.Read(preamble, sizeof preamble) != static_cast<int64_t>(sizeof preamble))
    throw EWnmrCompress(archive_msg::kHeaderCount);
  const int32_t file_count = GetInt32(preamble);
  Spanned = preamble[4] != 0;

  int64_t pos = offset + TFileHeaderRec::kPreambleSize;
  for (int32_t i = 0; i < file_count; ++i) {
    if (stream.Seek(pos, soBeginning) != pos) throw EWnmrCompress(archive_msg::kHeadersCorrupt);
    auto header = std::make_unique<TFileHeader>();
    header->ReadFromStream(stream);
    // Every writer puts the next header at least one header further on.
    // Anything else is a loop or an overlap; refusing it also bounds the
    // walk by the size of the stream whatever FileCount claims.
    const int64_t next = offset + header->Rec.NextHeaderPos;
    const bool last = i + 1 == file_count;
    Add(std::move(header));
    if (!last && next < pos + TFileHeaderRec::kSize) throw EWnmrCompress(archive_msg::kHeadersCorrupt);
    pos = next;
  }
}

void TFileHeaders::WriteToStream(TStream& stream) {
  uint8_t preamble[TFileHeaderRec::kPreambleSize];
  PutInt32(preamble, Count());
  preamble[4] = Spanned ? 1 : 0;
  if (stream.Seek(0, soBeginning) != 0 ||
      stream.Write(preamble, sizeof preamble) != static_cast<int64_t>(sizeof preamble))
    throw EWnmrCompress(archive_msg::kHeadersWrite);
  if (!Spanned) return;
  for (auto& header : items_) {
    header->Rec.NextHeaderPos = static_cast<int32_t>(stream.Position() + TFileHeaderRec::kSize);
    header->WriteToStream(stream);
  }
}

}  // namespace wenmoor
