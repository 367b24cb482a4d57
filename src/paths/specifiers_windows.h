// The built-in path specifiers of Windows and of the installation itself,
// and the shell-folder specifiers. Each has a default component name (the
// name it gets in a script, such as "psSystem"), a description, a short
// name, a path rule and, for some, a check of the component that asks.
#pragma once

#include <string>

#include "paths/cmp_TPathSpecifier.h"

namespace wenmoor {

class TInstallContainer;

// Declares a built-in specifier class with its fixed texts; the path rule
// and the check are overridden per class where they differ from the base.
#define WENMOOR_BUILTIN_SPECIFIER(Cls)                      \
  class Cls : public TStandardPathSpecifier {              \
    WENMOOR_CLASS(Cls, TStandardPathSpecifier)             \
   public:                                                 \
    explicit Cls(TComponent* owner);                       \
    void GetDescription(std::string& text) override;       \
    void GetShortName(std::string& text) override;         \
    void GetPath(TComponent* c, std::string& path) override; \
    void CheckComponent(TComponent* c) override;           \
  };

WENMOOR_BUILTIN_SPECIFIER(TpsBDEDLL)
WENMOOR_BUILTIN_SPECIFIER(TpsCommonFiles)
WENMOOR_BUILTIN_SPECIFIER(TpsContainerArchiveFile)
WENMOOR_BUILTIN_SPECIFIER(TpsDesktopMenu)
WENMOOR_BUILTIN_SPECIFIER(TpsInstallSource)
WENMOOR_BUILTIN_SPECIFIER(TpsMainInstall)
WENMOOR_BUILTIN_SPECIFIER(TpsProgramFiles)
WENMOOR_BUILTIN_SPECIFIER(TpsProgramMenu)
WENMOOR_BUILTIN_SPECIFIER(TpsStartMenu)
WENMOOR_BUILTIN_SPECIFIER(TpsStartupMenu)
WENMOOR_BUILTIN_SPECIFIER(TpsSystem)
WENMOOR_BUILTIN_SPECIFIER(TpsWindow)
WENMOOR_BUILTIN_SPECIFIER(TpsPrinters)
WENMOOR_BUILTIN_SPECIFIER(TpsRecent)
WENMOOR_BUILTIN_SPECIFIER(TpsSendTo)
WENMOOR_BUILTIN_SPECIFIER(TpsStartup)
WENMOOR_BUILTIN_SPECIFIER(TpsControlPanel)
WENMOOR_BUILTIN_SPECIFIER(TpsFavorites)
WENMOOR_BUILTIN_SPECIFIER(TpsBitBucket)
WENMOOR_BUILTIN_SPECIFIER(TpsCookies)
WENMOOR_BUILTIN_SPECIFIER(TpsCommonAltStartup)
WENMOOR_BUILTIN_SPECIFIER(TpsCommonStartup)
WENMOOR_BUILTIN_SPECIFIER(TpsCommonDesktopDirectory)
WENMOOR_BUILTIN_SPECIFIER(TpsCommonFavorites)
WENMOOR_BUILTIN_SPECIFIER(TpsCommonPrograms)
WENMOOR_BUILTIN_SPECIFIER(TpsCommonStartMenu)
WENMOOR_BUILTIN_SPECIFIER(TpsQuickLaunchMenu)

// The destination directory of the asking object's container; its texts
// depend on the component that asks.
class TpsContainerDestDir : public TStandardPathSpecifier {
  WENMOOR_CLASS(TpsContainerDestDir, TStandardPathSpecifier)
 public:
  explicit TpsContainerDestDir(TComponent* owner);
  void GetDescription(std::string& text) override;
  void GetShortName(std::string& text) override;
  void GetComponentDescription(TComponent* c, std::string& text) override;
  void GetComponentShortName(TComponent* c, std::string& text) override;
  void GetPath(TComponent* c, std::string& path) override;
  void CheckComponent(TComponent* c) override;

 private:
  TInstallContainer* CheckedContainer(TComponent* c);
};

// The main archive: beside the distribution, or the self-extracting file.
class TpsMainArchiveFile : public TStandardPathSpecifier {
  WENMOOR_CLASS(TpsMainArchiveFile, TStandardPathSpecifier)
 public:
  explicit TpsMainArchiveFile(TComponent* owner);
  // Where the main archive is sought instead of the source directory (set
  // when the user names the directory of a new disk).
  const std::string& ArchiveDir() const { return archive_dir_; }
  void SetArchiveDir(const std::string& d) { archive_dir_ = d; }
  void GetDescription(std::string& text) override;
  void GetShortName(std::string& text) override;
  void GetPath(TComponent* c, std::string& path) override;
  void CheckComponent(TComponent* c) override;

 private:
  std::string archive_dir_;
};

void RegisterWindowsSpecifierClasses(TPathSpecifierClassList& list);

}  // namespace wenmoor
