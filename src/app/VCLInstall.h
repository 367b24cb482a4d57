// TPackageInstaller: makes the product's components available in the
// installed IDEs, as the IDE's own "install package" would: the package in
// the known packages (older versions of it removed), its directory on the
// library search path, the component classes on a palette page and the
// product's help file linked into the IDE's help contents.
//
// The constructor finds which of the six IDE versions (ide_table.h) are
// installed, from HKEY_LOCAL_MACHINE; the per-user settings it changes live
// under HKEY_CURRENT_USER. Every step is written to the installation log.
// A failure of a step is logged with the step's prefix, the log is saved,
// and the exception goes on to the caller (it fails the installation).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/ide_table.h"
#include "app/install_log.h"
#include "platform/win/registry.h"

namespace quarry {

// The entries of a list such as a search path or a palette page ("a;b;c"),
// each trimmed; empty entries are dropped.
std::vector<std::string> ListEntries(std::string_view text, char separator);

struct TInstallInfo {
  bool Found = false;
  std::string RootDir;   // the IDE's installation directory
  std::string RegKey;    // "\software\Borland\Delphi\4.0"
  std::string HelpFile;  // RootDir + the IDE's help contents file
};

class TPackageInstaller {
 public:
  // Detects the installed IDEs.
  explicit TPackageInstaller(TInstallLog& log = InstallLog());
  TPackageInstaller(const TPackageInstaller&) = delete;
  TPackageInstaller& operator=(const TPackageInstaller&) = delete;

  // A copy of what was found for IDE `ide` (0..5); nothing found outside.
  TInstallInfo GetInstallInfo(int ide) const;

  // Lists `classes` on the palette page `page` of IDE `ide`, keeping the
  // classes already there. Nothing happens when the IDE has no palette key.
  void PreparePalette(int ide, const std::string& page, const std::vector<std::string>& classes);

  // Enters `package_path` in the IDE's known packages with `description`,
  // after removing the packages whose file names are in `replace` from the
  // known and the disabled packages; then puts the package's directory on
  // the library search path, dropping entries that hold this or a replaced
  // package.
  void InstallPackage(int ide, const std::string& package_path, const std::vector<std::string>& replace,
                      const std::string& description);

  // Links `help_file` ("quarry.hlp") into the IDE's help contents unless it
  // is linked already, and deletes the IDE's help index so that it is rebuilt.
  void InstallHelp(int ide, const std::string& help_file);

 private:
  void FindProducts();
  std::string UpdatedSearchPath(const std::string& existing, const std::string& package_path,
                                const std::vector<std::string>& replace);

  TInstallLog& log_;
  std::vector<TInstallInfo> infos_;
  wenmoor::TRegistry registry_;
};

}  // namespace quarry
