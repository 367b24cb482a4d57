// Exceptions of the install script objects. All derive from IException, so
// their messages are localized before their values are filled in.
#pragma once

#include "platform/rtl/exceptions.h"

namespace wenmoor {

WENMOOR_EXCEPTION(IEInstallContainer, IException);
WENMOOR_EXCEPTION(IEFileRelated, IException);
WENMOOR_EXCEPTION(IEFileRel_NoNetLocation, IEFileRelated);
WENMOOR_EXCEPTION(IEFileContainer, IException);
WENMOOR_EXCEPTION(IEfcDuplicateFile, IEFileContainer);
WENMOOR_EXCEPTION(IEfcSetAttributes, IEFileContainer);
WENMOOR_EXCEPTION(IENoWenmoorPath, IException);
WENMOOR_EXCEPTION(IECustomInstallFile, IException);
WENMOOR_EXCEPTION(IECustomInstallFileList, IException);
WENMOOR_EXCEPTION(IEContainerList, IException);
WENMOOR_EXCEPTION(IEInstallGroup, IException);
WENMOOR_EXCEPTION(IEPathSpecifier, IException);
WENMOOR_EXCEPTION(IEPathSpecifierList, IException);
WENMOOR_EXCEPTION(IEPathSpecifierClassList, IException);
WENMOOR_EXCEPTION(IEInstall, IException);
WENMOOR_EXCEPTION(IEInstallNetLocNil, IEInstall);

// The install file's error for a destination it cannot work on (blank, or
// missing when it is to be registered); the file's name fills it in.
inline constexpr char kBlankDestination[] =
    "Cannot compress,copy, or install the following file because it's destination directory is blank. File is :%s";

}  // namespace wenmoor
