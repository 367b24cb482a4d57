#include "paths/specifiers_Office.h"

#include "paths/machine_folders.h"
#include "platform/rtl/sysutils.h"
#include "registry/routines_Registry.h"
#include "support/routines_API.h"

namespace wenmoor {

#define WENMOOR_OFFICE_SPECIFIER(Cls, default_name, description, short_name)                   \
  Cls::Cls(TComponent* owner) : TStandardPathSpecifier(owner) { SetDefaultName(default_name); } \
  void Cls::GetDescription(std::string& text) { text = description; }                          \
  void Cls::GetShortName(std::string& text) { text = short_name; }                             \
  void Cls::CheckComponent(TComponent*) {}                                                     \
  WENMOOR_REGISTER_CLASS(Cls) {}

WENMOOR_OFFICE_SPECIFIER(TpsOfficeUserTemplates, "psOfficeUserTemplates",
                         "Path to the MS Office User Templates directory", "User Templates")
WENMOOR_OFFICE_SPECIFIER(TpsOfficeWorkgroupTemplates, "psOfficeWorkgroupTemplates",
                         "Path to the MS Office Workgroup Templates directory", "Workgroup Templates")
WENMOOR_OFFICE_SPECIFIER(TpsOfficeClipartDirectory, "psOfficeClipartDirectory",
                         "Path to the MS Office Clipart directory", "Office Clipart dir")
WENMOOR_OFFICE_SPECIFIER(TpsOfficeStartupDirectory, "psOfficeStartupDirectory",
                         "Path to the MS Office Startup directory", "Office Startup dir")
WENMOOR_OFFICE_SPECIFIER(TpsOfficeToolsDirectory, "psOfficeToolsDirectory", "Path to the MS Office Tools directory",
                         "Office Tools dir")
WENMOOR_OFFICE_SPECIFIER(TpsOfficeFavoritesDirectory, "psOfficeFavoritesDirectory",
                         "Path to the MS Office Favorites directory", "Office Favorites dir")

namespace {

std::string ReadCurrentUser(const std::string& key, const std::string& name, const std::string& default_value) {
  std::string value;
  ReadRegistryString(hkCurrentUser, key, name, value, default_value);
  return ExcludeTrailingBackslash(value);
}

// The unnamed value of the FileNew key of `name`, default Program files\D;
// only the default when no known suite is installed.
std::string FileNewPath(int version, const std::string& name, const std::string& below_program_files) {
  const std::string fallback = AppendPath(ProgramFilesDir(), below_program_files);
  const std::string key = OfficeFileNewKey(version, name);
  return key.empty() ? fallback : ReadCurrentUser(key, "", fallback);
}

// The word processor's option `option`, default Program files\D.
std::string WordOptionPath(int version, const std::string& option, const std::string& below_program_files) {
  const std::string fallback = AppendPath(ProgramFilesDir(), below_program_files);
  const std::string key = OfficeWordOptionsKey(version);
  return key.empty() ? fallback : ReadCurrentUser(key, option, fallback);
}

std::string UserTemplatesPath(int version) {
  return FileNewPath(version, "LocalTemplates", "Microsoft Office\\Templates");
}

}  // namespace

void TpsOfficeUserTemplates::GetPath(TComponent*, std::string& path) { path = UserTemplatesPath(GetOfficeVersion()); }

// Shared templates fall back to the user's own, not to a folder of their own.
void TpsOfficeWorkgroupTemplates::GetPath(TComponent*, std::string& path) {
  const int version = GetOfficeVersion();
  const std::string user = UserTemplatesPath(version);
  const std::string key = OfficeFileNewKey(version, "SharedTemplates");
  path = key.empty() ? user : ReadCurrentUser(key, "", user);
}

void TpsOfficeClipartDirectory::GetPath(TComponent*, std::string& path) {
  path = WordOptionPath(GetOfficeVersion(), "PICTURE-PATH", "Microsoft Office\\Clipart");
}
void TpsOfficeStartupDirectory::GetPath(TComponent*, std::string& path) {
  path = WordOptionPath(GetOfficeVersion(), "STARTUP-PATH", "Microsoft Office\\Office\\Startup");
}
void TpsOfficeToolsDirectory::GetPath(TComponent*, std::string& path) {
  path = WordOptionPath(GetOfficeVersion(), "TOOLS-PATH", "Microsoft Office\\Office");
}
void TpsOfficeFavoritesDirectory::GetPath(TComponent*, std::string& path) {
  path = GetShellFolder("Favorites", AppendPath(GetWindowsDir(), "Favorites"));
}

void RegisterOfficeSpecifierClasses(TPathSpecifierClassList& list) {
  for (const TClassInfo* cls :
       {&TpsOfficeUserTemplates::StaticClass(), &TpsOfficeWorkgroupTemplates::StaticClass(),
        &TpsOfficeClipartDirectory::StaticClass(), &TpsOfficeStartupDirectory::StaticClass(),
        &TpsOfficeToolsDirectory::StaticClass(), &TpsOfficeFavoritesDirectory::StaticClass()})
    list.Add(cls);
}

}  // namespace wenmoor
