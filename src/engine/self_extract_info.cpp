#include "engine/self_extract_info.h"

#include <algorithm>
#include <cstring>

#include "platform/win/file_stream.h"
#include "script/script_exceptions.h"
#include "archive/file_header_rec.h"

namespace wenmoor {
namespace {

constexpr size_t kMarkerAt = 1;
constexpr size_t kMarkerLength = 14;
constexpr size_t kSetup1StartAt = 16;
constexpr size_t kSetup1EndAt = 20;
constexpr size_t kFiles1StartAt = 24;
constexpr size_t kFiles1EndAt = 28;

}  // namespace

SelfExtractInfo SelfExtractInfo::WithMarker(const char* marker) {
  SelfExtractInfo info;
  info.marker = marker;
  return info;
}

std::array<uint8_t, SelfExtractInfo::kSize> SelfExtractInfo::Encode() const {
  std::array<uint8_t, kSize> b{};
  b[0] = marker_length;
  std::memcpy(&b[kMarkerAt], marker.data(), std::min(marker.size(), kMarkerLength));
  PutInt32(&b[kSetup1StartAt], setup1_start);
  PutInt32(&b[kSetup1EndAt], setup1_end);
  PutInt32(&b[kFiles1StartAt], files1_start);
  PutInt32(&b[kFiles1EndAt], files1_end);
  return b;
}

SelfExtractInfo SelfExtractInfo::Decode(const std::array<uint8_t, kSize>& b) {
  SelfExtractInfo info;
  info.marker_length = b[0];
  info.marker.assign(reinterpret_cast<const char*>(&b[kMarkerAt]), kMarkerLength);
  info.setup1_start = GetInt32(&b[kSetup1StartAt]);
  info.setup1_end = GetInt32(&b[kSetup1EndAt]);
  info.files1_start = GetInt32(&b[kFiles1StartAt]);
  info.files1_end = GetInt32(&b[kFiles1EndAt]);
  return info;
}

bool SelfExtractInfo::LayoutFits(int64_t file_size) const {
  const int64_t data_end = file_size - kSize;
  const bool setup1_ok = setup1_start > 0 && setup1_start <= setup1_end && setup1_end < data_end;
  const bool files1_ok =
      !HasFiles1() || (files1_start > setup1_end && files1_start <= files1_end && files1_end < data_end);
  return setup1_ok && files1_ok;
}

SelfExtractInfo ReadSelfExtractInfo(const std::string& win_path) {
  static const char kCannotRead[] =
      "Could not read the extraction info from the archive file %s when trying to find the correct offset into the "
      "self extracting file";
  std::array<uint8_t, SelfExtractInfo::kSize> bytes{};
  try {
    TFileStream in(win_path, fmOpenRead | fmShareDenyNone);
    const int64_t size = in.Size();
    if (size < SelfExtractInfo::kSize) throw IEInstall(kCannotRead, win_path);
    in.Seek(size - SelfExtractInfo::kSize, soBeginning);
    if (in.Read(bytes.data(), SelfExtractInfo::kSize) != SelfExtractInfo::kSize) throw IEInstall(kCannotRead, win_path);
  } catch (const IEInstall&) {
    throw;
  } catch (const std::exception&) {
    throw IEInstall(kCannotRead, win_path);
  }
  return SelfExtractInfo::Decode(bytes);
}

}  // namespace wenmoor
