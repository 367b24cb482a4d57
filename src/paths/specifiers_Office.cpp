#include "paths/specifiers_Office.h"

namespace wenmoor {

#define WENMOOR_OFFICE_SPECIFIER(Cls, default_name, description, short_name)                   \
  Cls::Cls(TComponent* owner) : TStandardPathSpecifier(owner) { SetDefaultName(default_name); } \
  void Cls::GetDescription(std::string& text) { text = description; }                          \
  void Cls::GetShortName(std::string& text) { text = short_name; }                             \
  void Cls::CheckComponent(TComponent*) {}                                                     \
  void Cls::GetPath(TComponent* c, std::string& path) { TStandardPathSpecifier::GetPath(c, path); } \
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

void RegisterOfficeSpecifierClasses(TPathSpecifierClassList& list) {
  for (const TClassInfo* cls :
       {&TpsOfficeUserTemplates::StaticClass(), &TpsOfficeWorkgroupTemplates::StaticClass(),
        &TpsOfficeClipartDirectory::StaticClass(), &TpsOfficeStartupDirectory::StaticClass(),
        &TpsOfficeToolsDirectory::StaticClass(), &TpsOfficeFavoritesDirectory::StaticClass()})
    list.Add(cls);
}

}  // namespace wenmoor
