// Path specifiers of the folders of an installed office suite, found
// through the version of the word processor registered in the machine.
#pragma once

#include "paths/specifiers_windows.h"

namespace wenmoor {

WENMOOR_BUILTIN_SPECIFIER(TpsOfficeUserTemplates)
WENMOOR_BUILTIN_SPECIFIER(TpsOfficeWorkgroupTemplates)
WENMOOR_BUILTIN_SPECIFIER(TpsOfficeClipartDirectory)
WENMOOR_BUILTIN_SPECIFIER(TpsOfficeStartupDirectory)
WENMOOR_BUILTIN_SPECIFIER(TpsOfficeToolsDirectory)
WENMOOR_BUILTIN_SPECIFIER(TpsOfficeFavoritesDirectory)

void RegisterOfficeSpecifierClasses(TPathSpecifierClassList& list);

}  // namespace wenmoor
