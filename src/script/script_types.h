// Enumerations shared by every script object.
#pragma once

#include <cstdint>

#include "platform/rtl/typeinfo.h"

namespace wenmoor {

enum TInstallType : uint8_t { itFull, itDefault, itCompact, itCustom };
WENMOOR_ENUM(TInstallType, itFull, itDefault, itCompact, itCustom)
using TInstallTypeSet = TSet<TInstallType>;

// The operation running on a file or a file container.
enum TInstallFileState : uint8_t { ifsNone, ifsCompress, ifsInstall, ifsCopying, ifsReflect };
WENMOOR_ENUM(TInstallFileState, ifsNone, ifsCompress, ifsInstall, ifsCopying, ifsReflect)

// Broadcast codes, sent down the tree with NotifyHelpers to the children of
// rank 2000 or more. Their numbers are a protocol: listeners of other
// programs rely on them.
inline constexpr int kNotifyBeforeProcess = -999;     // passed the Include test
inline constexpr int kNotifyProgress = -998;          // TFileStatusParameter
inline constexpr int kNotifyReplacing = -997;         // the install file
inline constexpr int kNotifyOperationEnded = -996;
inline constexpr int kNotifyGoodInstall = -995;
inline constexpr int kNotifyBadInstall = -994;
inline constexpr int kNotifyNewDisk = -993;           // TList [file, TDiskParameter]
inline constexpr int kNotifyContainerInstalling = -992;
inline constexpr int kNotifyProcessStarting = -990;
inline constexpr int kNotifyProcessEnded = -989;
inline constexpr int kNotifyDownloadProgress = -988;  // TDownloadStatusParameter
inline constexpr int kNotifyRestartNeeded = -987;
inline constexpr int kNotifyRunInitialised = -986;
inline constexpr int kNotifyReadingArchiveInfo = -984;
inline constexpr int kNotifyArchiveInfoRead = -983;
inline constexpr int kNotifyLicence = -981;
inline constexpr int kNotifyBeforeInstallDialogs = -980;
inline constexpr int kNotifyAfterGoodInstallDialogs = -979;
inline constexpr int kNotifyAfterBadInstallDialogs = -978;
inline constexpr int kNotifyReadMe = -977;
inline constexpr int kNotifyStatusMessage = -974;     // TMessageParameter
inline constexpr int kNotifyClearStatusMessage = -973;
inline constexpr int kNotifyProcessRegistryNow = -968;
inline constexpr int kNotifyRegistration = -962;

// Upward report codes, DoInformationEventControl from a child to its container.
inline constexpr int kReportFileDone = 1001;          // the file
inline constexpr int kReportBeforeInstall = 1002;     // the file
inline constexpr int kReportReplacing = 1003;         // the file
inline constexpr int kReportCompressStarts = 1004;
inline constexpr int kReportCompressEnded = 1005;
inline constexpr int kReportCopyStarts = 1006;
inline constexpr int kReportCopyEnded = 1007;
inline constexpr int kReportInstallProgress = 1008;   // TList [file, TFileStatusParameter]
inline constexpr int kReportCompressProgress = 1009;
inline constexpr int kReportCopyProgress = 1010;
inline constexpr int kReportNewDisk = 1011;           // TList [file, TDiskParameter]
inline constexpr int kReportContainerStarts = 1012;   // the container
inline constexpr int kReportContainerEnded = 1013;
inline constexpr int kReportDownloadProgress = 1014;  // TDownloadStatusParameter
inline constexpr int kReportFileSkipped = 1015;       // the file (aborted silently)
inline constexpr int kReportFileKept = 1016;          // the file (the overwrite rule kept the old one)

// Registered type ranks: they order child lists and select broadcast listeners.
inline constexpr int kRankGroup = 500;
inline constexpr int kRankFileContainer = 1000;
inline constexpr int kRankInstallFile = 2000;
inline constexpr int kRankBroadcastListener = 2000;
inline constexpr int kRankRegistry = 8500;
inline constexpr int kRankDialog = 9000;

}  // namespace wenmoor
