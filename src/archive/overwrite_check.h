// The archive's door to file versions and the overwrite rules.
//
// The archive needs three services of the version-resource support
// (support/cmp_TVersion.h, whose shared reader answers them): the
// file-version string of a source file and the two decisions of an
// overwrite rule (for a member known by its stored version and date, and
// for a plain file about to be copied). They are reached through these
// functions only, so that the archive depends on one narrow interface.
//
// The decisions, by rule: owAlways replaces (fcNewer); owNever keeps an
// existing, non-blank destination (fcOlder, else fcNewer); owVersion
// compares versions (equal fcSame, candidate newer fcNewer, destination
// newer fcOlder); owDate compares last-write dates at DOS resolution the same
// way, fcError when a file cannot be read; owVersionDate decides by version
// and, when the versions are equal, by date; owAsk answers fcAsk.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/win/file_time.h"
#include "support/file_compare_types.h"

namespace wenmoor {

// The FileVersion of the file's version resource ("5.0.0.12"); empty when
// the file has none or cannot be read.
std::string SourceFileVersion(std::string_view win_path);

// A file's last-write date and time cut to the 2-second resolution of DOS
// file times, as TDateTime; nullopt when the file cannot be opened for reading.
std::optional<TDateTime> FileDosDate(std::string_view win_path);

// A candidate known by its version string and date (a member header)
// against the existing file `dest`.
TFileCompareResult DecideOverwrite(std::string_view source_version, TDateTime source_date, std::string_view dest,
                                   TOverwriteType overwrite);

// The file `source`, about to be copied, against the existing file `dest`.
TFileCompareResult DecideOverwriteByName(std::string_view source, std::string_view dest, TOverwriteType overwrite);

}  // namespace wenmoor
