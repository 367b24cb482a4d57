// Path rules of the built-in specifiers that read the machine: Windows
// directories, the program files, shell folders.
#include "paths/specifiers_windows.h"

namespace wenmoor {

// Until the machine's directories are wired in, these answer through the
// base rule (the OnGetPath handler, if any).
#define WENMOOR_MACHINE_PATH(Cls) \
  void Cls::GetPath(TComponent* c, std::string& path) { TStandardPathSpecifier::GetPath(c, path); }
WENMOOR_MACHINE_PATH(TpsBDEDLL)
WENMOOR_MACHINE_PATH(TpsCommonFiles)
WENMOOR_MACHINE_PATH(TpsDesktopMenu)
WENMOOR_MACHINE_PATH(TpsProgramFiles)
WENMOOR_MACHINE_PATH(TpsProgramMenu)
WENMOOR_MACHINE_PATH(TpsStartMenu)
WENMOOR_MACHINE_PATH(TpsStartupMenu)
WENMOOR_MACHINE_PATH(TpsSystem)
WENMOOR_MACHINE_PATH(TpsWindow)
WENMOOR_MACHINE_PATH(TpsPrinters)
WENMOOR_MACHINE_PATH(TpsRecent)
WENMOOR_MACHINE_PATH(TpsSendTo)
WENMOOR_MACHINE_PATH(TpsStartup)
WENMOOR_MACHINE_PATH(TpsControlPanel)
WENMOOR_MACHINE_PATH(TpsFavorites)
WENMOOR_MACHINE_PATH(TpsBitBucket)
WENMOOR_MACHINE_PATH(TpsCookies)
WENMOOR_MACHINE_PATH(TpsCommonAltStartup)
WENMOOR_MACHINE_PATH(TpsCommonStartup)
WENMOOR_MACHINE_PATH(TpsCommonDesktopDirectory)
WENMOOR_MACHINE_PATH(TpsCommonFavorites)
WENMOOR_MACHINE_PATH(TpsCommonPrograms)
WENMOOR_MACHINE_PATH(TpsCommonStartMenu)
WENMOOR_MACHINE_PATH(TpsQuickLaunchMenu)
#undef WENMOOR_MACHINE_PATH

}  // namespace wenmoor
