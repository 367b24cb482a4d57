// Enumerations shared by every script object.
#pragma once

#include <cstdint>

#include "platform/rtl/typeinfo.h"

namespace wenmoor {

enum TInstallType : uint8_t { itFull, itDefault, itCompact, itCustom };
WENMOOR_ENUM(TInstallType, itFull, itDefault, itCompact, itCustom)
using TInstallTypeSet = TSet<TInstallType>;

// Broadcast codes of the tree (see NotifyHelpers) that this layer sends.
inline constexpr int kNotifyBeforeProcess = -999;
inline constexpr int kNotifyProcessStarting = -990;
inline constexpr int kNotifyProcessEnded = -989;
inline constexpr int kNotifyStatusMessage = -974;
inline constexpr int kNotifyClearStatusMessage = -973;

// Registered type ranks: they order child lists and select broadcast listeners.
inline constexpr int kRankGroup = 500;
inline constexpr int kRankFileContainer = 1000;
inline constexpr int kRankInstallFile = 2000;
inline constexpr int kRankBroadcastListener = 2000;
inline constexpr int kRankRegistry = 8500;
inline constexpr int kRankDialog = 9000;

}  // namespace wenmoor
