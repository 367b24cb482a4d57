#include "archive/overwrite_check.h"

#include "platform/rtl/exceptions.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "support/cmp_TVersion.h"

namespace wenmoor {

// The decisions and the version strings are those of the shared version
// reader, so that an archive member and a plain file are judged alike.

std::string SourceFileVersion(std::string_view win_path) {
  // Only executables carry version resources. Most files added to an
  // archive are none, and some are large: two bytes tell, before the
  // reader looks at the whole file.
  try {
    TFileStream in(win_path, fmOpenRead | fmShareDenyNone);
    char magic[2] = {};
    if (in.Read(magic, 2) != 2 || magic[0] != 'M' || magic[1] != 'Z') return {};
  } catch (const Exception&) {
    return {};
  }
  TVersionResource& reader = TVersionResource::Shared();
  reader.SetFileName(std::string(win_path));
  return reader.VersionInfo()->FileVersion();
}

std::optional<TDateTime> FileDosDate(std::string_view win_path) {
  try {
    // Read while the file is open for reading, as the platform's FileAge does.
    TFileStream probe(win_path, fmOpenRead | fmShareDenyNone);
    std::optional<TDateTime> date = platform::GetFileDate(win_path);
    if (!date) return std::nullopt;
    return platform::DosDateTimeToDateTime(platform::DateTimeToDosDateTime(*date));
  } catch (const Exception&) {
    return std::nullopt;
  }
}

TFileCompareResult DecideOverwrite(std::string_view source_version, TDateTime source_date, std::string_view dest,
                                   TOverwriteType overwrite) {
  return TVersionResource::IsFileNewer(std::string(source_version), std::string(dest), overwrite, source_date);
}

TFileCompareResult DecideOverwriteByName(std::string_view source, std::string_view dest, TOverwriteType overwrite) {
  return TVersionResource::IsFileNewerByName(std::string(source), std::string(dest), overwrite);
}

}  // namespace wenmoor
