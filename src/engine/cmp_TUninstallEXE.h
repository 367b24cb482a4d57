// TUninstallEXE: the install file that places the uninstaller program
// ("uninstall.exe" from the framework directory) and writes the product's
// entry in the Windows list of installed programs:
//   HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\<ProductName>
// with "DisplayName", "UninstallString" (the installed uninstaller, a blank,
// the product name) and the optional values of the engine's information
// objects. The uninstaller receives the product name as its argument.
#pragma once

#include <string>

#include "script/cmp_TCustomInstallFile.h"

namespace wenmoor {

WENMOOR_EXCEPTION(IEUninstallEXE, IException);

class TUninstallEXE : public TCustomInstallFile {
  WENMOOR_CLASS(TUninstallEXE, TCustomInstallFile)
 public:
  explicit TUninstallEXE(TComponent* owner);
  ~TUninstallEXE() override;

  // Writes the uninstall entry under `key` (HKEY_LOCAL_MACHINE), then the
  // file's own uninstall record, so that the uninstaller can remove itself.
  // IEUninstallEXE without an engine; EIRCannotWriteValue when a value
  // cannot be written.
  void RegisterUninstall(const std::string& key) override;
};

}  // namespace wenmoor
