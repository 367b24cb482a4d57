// The archive's exceptions and the texts of their messages.
//
//   EWenmoorAbnormal
//   └─ EWnmrCompress         every failure of the archive and its component
//      ├─ EwcDiskFull        an output write came up short and nobody handled it
//      └─ EwcAborted         the Abort flag was found set between two blocks
//
// The messages are the system's own texts, kept exactly (including their
// spelling); code raises them by these names so that each is written once.
#pragma once

#include "platform/rtl/exceptions.h"

namespace wenmoor {

WENMOOR_EXCEPTION(EWnmrCompress, EWenmoorAbnormal);
WENMOOR_EXCEPTION(EwcDiskFull, EWnmrCompress);
WENMOOR_EXCEPTION(EwcAborted, EWnmrCompress);

namespace archive_msg {
// Header list.
inline constexpr char kHeaderCount[] = "Could not read the file header count for the compressed file";
inline constexpr char kHeadersCorrupt[] =
    "Could not read the file headers for the compressed file. The Archive file could possible be corrupt";
inline constexpr char kHeadersWrite[] = "Could not write the file headers for the compressed file";
inline constexpr char kInvalidHeader[] = "Tried to add an invalid file header";
inline constexpr char kHeaderIndex[] = "%d is an invalid TFileHeader index in TFileHeaders.GetFileHeaders";
inline constexpr char kCannotOpenFile[] = "Cannot open the file %s";
// Component.
inline constexpr char kStatsIndex[] = "Tried to access the %dth file. This file is not defined";
inline constexpr char kCannotOpenArchive[] = "Cannot open the compressed file %s";
inline constexpr char kCannotCreate[] = "Cannot create the file %s";
inline constexpr char kNotInArchive[] = "The file <%s> was not found in the archive <%s>";
inline constexpr char kCompareFailed[] = "Error comparing file versions in TWnmrCompress";
inline constexpr char kSizeMismatch[] =
    "The decompressed file's size does not match with the actual size of the file.  The file is %s";
inline constexpr char kCannotSetDate[] = "Cannot set the date of the file just extracted.";
inline constexpr char kWrongDisk[] = "Could not open the correct disk file %d";
inline constexpr char kNilDestFile[] = "AddStatus has Nil DestFile";
inline constexpr char kAborted[] = "Operation aborted by user";
inline constexpr char kDiskFull[] = "The disk is full";
inline constexpr char kZlib[] = "error";
// Splitting.
inline constexpr char kNoNewDiskHandler[] =
    "There was no event handler for the OnNewDisk event, therefore no new disk could be inserted";
inline constexpr char kDiskTooSmall[] = "There is too little space on this disk to operate";
// Limits of the format (positions and sizes are int32).
inline constexpr char kTooLarge[] = "The file %s is too large for the compressed file";
// Appending to a disk file of a spanned archive would overwrite its data.
inline constexpr char kCannotAddToSpanned[] = "Cannot add files to the spanned archive %s";
}  // namespace archive_msg

}  // namespace wenmoor
