#include "archive/overwrite_check.h"

#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "support/pe_version_info.h"
#include "support/pe_version_reader.h"
#include "support/version_compare.h"

namespace wenmoor {
namespace {

TFileCompareResult FromOrder(int order) {
  // CompareVersions: 0 equal, 1 the first is newer, 2 the second is.
  return order == 0 ? fcSame : order == 1 ? fcNewer : fcOlder;
}

TFileCompareResult CompareDates(std::optional<TDateTime> source, std::string_view dest) {
  std::optional<TDateTime> existing = FileDosDate(dest);
  if (!source || !existing) return fcError;
  if (*source > *existing) return fcNewer;
  if (*source < *existing) return fcOlder;
  return fcSame;
}

// The shared part of both decisions; the candidate's date is only looked
// at (and its file only opened) when the rule needs it.
template <class SourceDate>
TFileCompareResult Decide(const std::string& source_version, SourceDate source_date, std::string_view dest,
                          TOverwriteType overwrite) {
  switch (overwrite) {
    case owAlways: return fcNewer;
    case owNever: return !Trim(dest).empty() && platform::FileExists(dest) ? fcOlder : fcNewer;
    case owVersion: return FromOrder(CompareVersions(source_version, SourceFileVersion(dest)));
    case owDate: return CompareDates(source_date(), dest);
    case owVersionDate: {
      TFileCompareResult by_version = FromOrder(CompareVersions(source_version, SourceFileVersion(dest)));
      return by_version == fcSame ? CompareDates(source_date(), dest) : by_version;
    }
    case owAsk: return fcAsk;
  }
  return fcError;
}

}  // namespace

std::string SourceFileVersion(std::string_view win_path) {
  try {
    TFileStream in(win_path, fmOpenRead | fmShareDenyNone);
    char magic[2] = {};
    // Only executables carry version resources; nothing else is read whole.
    if (in.Read(magic, 2) != 2 || magic[0] != 'M' || magic[1] != 'Z') return {};
    std::vector<uint8_t> image(static_cast<size_t>(in.Size()));
    in.SetPosition(0);
    if (in.Read(image.data(), static_cast<int64_t>(image.size())) != static_cast<int64_t>(image.size())) return {};
    std::optional<PeVersionInfo> info = PeVersionReader::Read(image);
    if (!info || !info->fixed) return {};
    return FixedFileInfo::Dotted(info->fixed->FileVersion());
  } catch (const Exception&) {
    return {};
  }
}

std::optional<TDateTime> FileDosDate(std::string_view win_path) {
  try {
    // The date rule opens the file for reading, as the platform's FileAge does.
    TFileStream probe(win_path, fmOpenRead | fmShareDenyNone);
  } catch (const Exception&) {
    return std::nullopt;
  }
  std::optional<TDateTime> date = platform::GetFileDate(win_path);
  if (!date) return std::nullopt;
  return platform::DosDateTimeToDateTime(platform::DateTimeToDosDateTime(*date));
}

TFileCompareResult DecideOverwrite(std::string_view source_version, TDateTime source_date, std::string_view dest,
                                   TOverwriteType overwrite) {
  return Decide(std::string(source_version), [&] { return std::optional<TDateTime>(source_date); }, dest,
                overwrite);
}

TFileCompareResult DecideOverwriteByName(std::string_view source, std::string_view dest, TOverwriteType overwrite) {
  const bool needs_version = overwrite == owVersion || overwrite == owVersionDate;
  return Decide(needs_version ? SourceFileVersion(source) : std::string(), [&] { return FileDosDate(source); },
                dest, overwrite);
}

}  // namespace wenmoor
