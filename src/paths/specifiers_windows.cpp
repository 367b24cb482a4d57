#include "paths/specifiers_windows.h"

#include "engine/cmp_TInstall.h"
#include "platform/rtl/sysutils.h"
#include "script/cmp_TFileContainer.h"
#include "script/script_exceptions.h"

namespace wenmoor {

// Fixed texts of one built-in class: default name, description, short name.
#define WENMOOR_SPECIFIER_TEXTS(Cls, default_name, description, short_name)         \
  Cls::Cls(TComponent* owner) : TStandardPathSpecifier(owner) { SetDefaultName(default_name); } \
  void Cls::GetDescription(std::string& text) { text = description; }               \
  void Cls::GetShortName(std::string& text) { text = short_name; }                  \
  WENMOOR_REGISTER_CLASS(Cls) {}

namespace {

TCustomInstall& RequireInstall(TComponent* c) {
  TCustomInstall* install = CurrentInstall();
  if (!install)
    throw IEPathSpecifier("There is no TInstall component so the path specifier could not be expanded for %s",
                          c ? c->Name() : std::string());
  return *install;
}

TInstallObject& RequireInstallObject(TComponent* c, const std::string& specifier_name) {
  auto* object = dynamic_cast<TInstallObject*>(c);
  if (!object)
    throw IEPathSpecifier("%s must be a %s to use the %s path specifier", c ? c->Name() : std::string(),
                          "TInstallObject", specifier_name);
  return *object;
}

}  // namespace

WENMOOR_SPECIFIER_TEXTS(TpsBDEDLL, "psBDEDLL", "Borland Database Engine DLL Path", "BDE DLL")
WENMOOR_SPECIFIER_TEXTS(TpsCommonFiles, "psCommonFiles",
                        "Path of the common files directory under the program files directory", "Common files")
WENMOOR_SPECIFIER_TEXTS(TpsContainerArchiveFile, "psContainerArchiveFile", "Path to the archive file of the container",
                        "Container archive file")
WENMOOR_SPECIFIER_TEXTS(TpsDesktopMenu, "psDesktopMenu", "Path of the Desktop", "Desktop")
WENMOOR_SPECIFIER_TEXTS(TpsInstallSource, "psInstallSource", "Path from which the user ran the install",
                        "Install source")
WENMOOR_SPECIFIER_TEXTS(TpsMainInstall, "psMainInstall", "Main installation directory", "Main install dir")
WENMOOR_SPECIFIER_TEXTS(TpsProgramFiles, "psProgramFiles", "Path of the program files directory", "Program files")
WENMOOR_SPECIFIER_TEXTS(TpsProgramMenu, "psProgramMenu", "Path of the Programs folder under the Start Menu",
                        "Program menu")
WENMOOR_SPECIFIER_TEXTS(TpsStartMenu, "psStartMenu", "Path of Start Menu", "Start menu")
WENMOOR_SPECIFIER_TEXTS(TpsStartupMenu, "psStartupMenu",
                        "Path of the Startup folder in the Programs folder under the Start Menu", "Startup menu")
WENMOOR_SPECIFIER_TEXTS(TpsSystem, "psSystem", "Path of system directory", "System dir")
WENMOOR_SPECIFIER_TEXTS(TpsWindow, "psWindow", "Path of the Windows directory", "Windows dir")
WENMOOR_SPECIFIER_TEXTS(TpsPrinters, "psPrinters", "virtual folder containing installed printers",
                        "Installed Printers")
WENMOOR_SPECIFIER_TEXTS(TpsRecent, "psRecent", "Recently Used Documents", "Recently Used")
WENMOOR_SPECIFIER_TEXTS(TpsSendTo, "psSendTo", "Send To Menu", "Send To")
WENMOOR_SPECIFIER_TEXTS(TpsStartup, "psStartup", "User Startup", "Startup")
WENMOOR_SPECIFIER_TEXTS(TpsControlPanel, "psControlPanel", "Control Panel", "Control Panel")
WENMOOR_SPECIFIER_TEXTS(TpsFavorites, "psFavorites", "Favorites", "Favorites")
WENMOOR_SPECIFIER_TEXTS(TpsBitBucket, "psBitBucket", "Recycle bin", "Recycle bin")
WENMOOR_SPECIFIER_TEXTS(TpsCookies, "psCookies", "Cookies", "Cookies")
WENMOOR_SPECIFIER_TEXTS(TpsCommonAltStartup, "psCommonAltStartup", "Alternate Startup folder for (All Users profile)",
                        "Common Alternate Startup folder")
WENMOOR_SPECIFIER_TEXTS(TpsCommonStartup, "psCommonStartup", "Common Startup directory", "Common Startup")
WENMOOR_SPECIFIER_TEXTS(TpsCommonDesktopDirectory, "psCommonDesktopDirectory", "Common Desktop Directory",
                        "Common Desktop")
WENMOOR_SPECIFIER_TEXTS(TpsCommonFavorites, "psCommonFavorites", "Common Favorites", "Common Favorites")
WENMOOR_SPECIFIER_TEXTS(TpsCommonPrograms, "psCommonPrograms", "Common Programs", "Common Programs")
WENMOOR_SPECIFIER_TEXTS(TpsCommonStartMenu, "psCommonStartMenu", "Common Start Menu", "Common Start Menu")
WENMOOR_SPECIFIER_TEXTS(TpsQuickLaunchMenu, "psQuickLaunchMenu", "Path of the Quick Launch Toolbar Menu",
                        "Quick Launch Toolbar menu")

// --- specifiers that check nothing ------------------------------------------
// Their path rules read the machine (registry, shell folders) and are in
// specifier_paths.cpp.
#define WENMOOR_NO_CHECK(Cls) \
  void Cls::CheckComponent(TComponent*) {}
WENMOOR_NO_CHECK(TpsBDEDLL)
WENMOOR_NO_CHECK(TpsCommonFiles)
WENMOOR_NO_CHECK(TpsDesktopMenu)
WENMOOR_NO_CHECK(TpsProgramFiles)
WENMOOR_NO_CHECK(TpsProgramMenu)
WENMOOR_NO_CHECK(TpsStartMenu)
WENMOOR_NO_CHECK(TpsStartupMenu)
WENMOOR_NO_CHECK(TpsSystem)
WENMOOR_NO_CHECK(TpsWindow)
WENMOOR_NO_CHECK(TpsPrinters)
WENMOOR_NO_CHECK(TpsRecent)
WENMOOR_NO_CHECK(TpsSendTo)
WENMOOR_NO_CHECK(TpsStartup)
WENMOOR_NO_CHECK(TpsControlPanel)
WENMOOR_NO_CHECK(TpsFavorites)
WENMOOR_NO_CHECK(TpsBitBucket)
WENMOOR_NO_CHECK(TpsCookies)
WENMOOR_NO_CHECK(TpsCommonAltStartup)
WENMOOR_NO_CHECK(TpsCommonStartup)
WENMOOR_NO_CHECK(TpsCommonDesktopDirectory)
WENMOOR_NO_CHECK(TpsCommonFavorites)
WENMOOR_NO_CHECK(TpsCommonPrograms)
WENMOOR_NO_CHECK(TpsCommonStartMenu)
WENMOOR_NO_CHECK(TpsQuickLaunchMenu)
#undef WENMOOR_NO_CHECK

// --- the container's archive --------------------------------------------------

void TpsContainerArchiveFile::CheckComponent(TComponent* c) {
  TInstallObject& object = RequireInstallObject(c, DefaultName());
  if (!object.Container())
    throw IEPathSpecifier("Cannot use ddContainerArchiveFile for %s unless you assign a Container", c->Name());
  if (!dynamic_cast<TFileRelated*>(object.Container()))
    throw IEPathSpecifier(
        "Cannot use the ddContainerArchiveFile path specifier for %s because the Container is not a TFileRelated "
        "descendant",
        c->Name());
}

void TpsContainerArchiveFile::GetPath(TComponent* c, std::string& path) {
  CheckComponent(c);
  path = static_cast<TFileRelated*>(static_cast<TInstallObject*>(c)->Container())->GetArchivePath();
}

// --- the container's destination ----------------------------------------------

TpsContainerDestDir::TpsContainerDestDir(TComponent* owner) : TStandardPathSpecifier(owner) {
  SetDefaultName("psContainerDestDir");
}

void TpsContainerDestDir::GetDescription(std::string& text) { text = "Path of the group (container)"; }
void TpsContainerDestDir::GetShortName(std::string& text) { GetDescription(text); }

void TpsContainerDestDir::CheckComponent(TComponent* c) {
  TInstallObject& object = RequireInstallObject(c, DefaultName());
  if (!object.Container())
    throw IEPathSpecifier("Cannot use ddContainerDestDir for %s unless you assign a Container", c->Name());
}

void TpsContainerDestDir::GetPath(TComponent* c, std::string& path) {
  CheckComponent(c);
  path = static_cast<TInstallObject*>(c)->Container()->GetDestinationDir();
}

// The container of `c` when `c` may use this specifier; null otherwise (the
// texts then fall back to the plain description).
TInstallContainer* TpsContainerDestDir::CheckedContainer(TComponent* c) {
  try {
    CheckComponent(c);
  } catch (const IEPathSpecifier&) {
    return nullptr;
  }
  return static_cast<TInstallObject*>(c)->Container();
}

void TpsContainerDestDir::GetComponentDescription(TComponent* c, std::string& text) {
  TInstallContainer* container = CheckedContainer(c);
  if (!container) return GetDescription(text);
  if (dynamic_cast<TCustomInstall*>(container)) text = "Main installation directory";
  else if (auto* group = dynamic_cast<TCustomInstallGroup*>(container))
    text = Format("Path of the <%s> group", group->Description());
  else if (auto* fc = dynamic_cast<TFileContainer*>(container))
    text = Format("Path of the <%s> directory", fc->Description());
  else
    text = Format("Path of the <%s> group", container->Name());
}

void TpsContainerDestDir::GetComponentShortName(TComponent* c, std::string& text) {
  TInstallContainer* container = CheckedContainer(c);
  if (!container) return GetDescription(text);
  if (dynamic_cast<TCustomInstall*>(container)) text = "Main installation directory";
  else if (auto* fc = dynamic_cast<TFileContainer*>(container)) text = "<" + fc->Description() + ">";
  else text = "<" + container->Name() + ">";
}

WENMOOR_REGISTER_CLASS(TpsContainerDestDir) {}

// --- the installation's own places --------------------------------------------

void TpsInstallSource::CheckComponent(TComponent* c) { RequireInstall(c); }

void TpsInstallSource::GetPath(TComponent* c, std::string& path) { path = RequireInstall(c).SourceDir(); }

void TpsMainInstall::CheckComponent(TComponent* c) {
  TCustomInstall& install = RequireInstall(c);
  if (c == &install) throw IEPathSpecifier("Cannot use the ddMainInstallDir path specifier for a TInstall component");
}

void TpsMainInstall::GetPath(TComponent* c, std::string& path) {
  CheckComponent(c);
  path = RequireInstall(c).GetDestinationDir();
}

TpsMainArchiveFile::TpsMainArchiveFile(TComponent* owner) : TStandardPathSpecifier(owner) {
  SetDefaultName("psMainArchiveFile");
}

void TpsMainArchiveFile::GetDescription(std::string& text) {
  text = "Archive containing most or all non-internet installation files";
}
void TpsMainArchiveFile::GetShortName(std::string& text) { text = "Main archive"; }

void TpsMainArchiveFile::CheckComponent(TComponent* c) { RequireInstall(c); }

void TpsMainArchiveFile::GetPath(TComponent* c, std::string& path) {
  TCustomInstall& install = RequireInstall(c);
  if (install.HasSwitch(TCustomInstall::kSwitchSelfExtractor)) {
    const std::string& exe = install.SwitchValue(TCustomInstall::kSwitchSelfExtractor);
    if (Trim(exe).empty())
      throw IEInstall(
          "You forgot to pass in the name of the self-extracting executable. Usage example: \"-eSetup.exe\"");
    path = install.SourceDir() + "\\" + exe;
  } else if (!Trim(archive_dir_).empty()) {
    path = archive_dir_ + "\\files.1";
  } else {
    path = install.SourceDir() + "\\files.1";
  }
}

WENMOOR_REGISTER_CLASS(TpsMainArchiveFile) {}

void RegisterWindowsSpecifierClasses(TPathSpecifierClassList& list) {
  for (const TClassInfo* cls :
       {&TpsBDEDLL::StaticClass(), &TpsCommonFiles::StaticClass(), &TpsContainerArchiveFile::StaticClass(),
        &TpsContainerDestDir::StaticClass(), &TpsDesktopMenu::StaticClass(), &TpsInstallSource::StaticClass(),
        &TpsMainInstall::StaticClass(), &TpsProgramFiles::StaticClass(), &TpsProgramMenu::StaticClass(),
        &TpsStartMenu::StaticClass(), &TpsStartupMenu::StaticClass(), &TpsSystem::StaticClass(),
        &TpsMainArchiveFile::StaticClass(), &TpsWindow::StaticClass(), &TpsPrinters::StaticClass(),
        &TpsRecent::StaticClass(), &TpsSendTo::StaticClass(), &TpsStartup::StaticClass(),
        &TpsControlPanel::StaticClass(), &TpsFavorites::StaticClass(), &TpsBitBucket::StaticClass(),
        &TpsCookies::StaticClass(), &TpsCommonAltStartup::StaticClass(), &TpsCommonStartup::StaticClass(),
        &TpsCommonDesktopDirectory::StaticClass(), &TpsCommonFavorites::StaticClass(),
        &TpsCommonPrograms::StaticClass(), &TpsCommonStartMenu::StaticClass(), &TpsQuickLaunchMenu::StaticClass()})
    list.Add(cls);
}

}  // namespace wenmoor
