#include "engine/cmp_TUninstallEXE.h"

#include "engine/cmp_TInstall.h"
#include "net/cmp_TNetInstallLocation.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/files.h"
#include "registry/routines_Registry.h"

namespace wenmoor {
namespace {

constexpr char kUninstallerName[] = "uninstall.exe";

// The installed path of `file` when it was installed in this run; "" otherwise.
std::string InstalledPath(TCustomInstallFile* file) {
  if (!file || !file->Processed()) return {};
  return IncludeTrailingBackslash(file->GetDestinationDir()) + file->DestName();
}

}  // namespace

TUninstallEXE::TUninstallEXE(TComponent* owner) : TCustomInstallFile(owner) {
  SetNet(true);
  if (!IsDesigning()) return;
  // At design time the uninstaller comes from the framework's own directory.
  try {
    const std::string dir = WenmoorInfo::LocateFrameworkDirectory(true);
    if (platform::FileExists(IncludeTrailingBackslash(dir) + kUninstallerName)) {
      SetIncludeFromDir(dir);
      SetFileName(kUninstallerName);
      SetDestName(kUninstallerName);
    }
  } catch (const std::exception&) {
    // Without a framework directory the developer names the file himself.
  }
}

TUninstallEXE::~TUninstallEXE() {
  if (TCustomInstall* install = CurrentInstall()) install->BuildInfo()->SetAddUninstallOnCreate(false);
}

void TUninstallEXE::RegisterUninstall(const std::string& key) {
  TCustomInstall* install = CurrentInstall();
  if (!install)
    throw IEUninstallEXE(
        "%s could not write information about the uninstall to the registry because there was no TInstall "
        "component",
        Name());
  const TInstallInformation& info = *install->Information();
  const TControlPanelExtensionInformation& extended = *install->Win2KExtendedInformation();
  const TRegistrationInformation& registration = *install->RegistrationInformation();
  const std::string product = Trim(info.ProductName());

  WriteRegistryString(hkLocalMachine, key, "DisplayName", product);
  WriteRegistryString(hkLocalMachine, key, "UninstallString",
                      IncludeTrailingBackslash(GetDestinationDir()) + DestName() + " " + product);
  const std::pair<const char*, std::string> optional[] = {
      {"Comments", extended.Comments()},
      {"Contact", extended.Contact()},
      {"DisplayIcon", InstalledPath(extended.DisplayIcon())},
      {"DisplayVersion", info.Version()},
      {"HelpLink", extended.HelpLink()},
      {"HelpTelephone", extended.HelpTelephone()},
      {"Publisher", info.CompanyName()},
      {"ProductID", extended.ProductID()},
      {"Readme", InstalledPath(extended.ReadMe())},
      {"URLInfoAbout", extended.URLInfoAbout()},
      {"URLUpdateInfo", extended.URLUpdateInfo()},
      {"RegCompany", registration.RegCompany},
      {"RegOwner", registration.RegOwner},
  };
  for (const auto& [name, value] : optional)
    if (!value.empty()) WriteRegistryString(hkLocalMachine, key, name, value);
  TCustomInstallFile::RegisterUninstall(key);
}

WENMOOR_REGISTER_CLASS(TUninstallEXE) {
  DescribeInstallFileCommon(c);
  c.Prop("Order", &T::Order, &T::SetOrder).Default(-1);
  c.Prop("DestName", &T::DestName, &T::SetDestName);
  c.Prop("FileName", &T::FileName, &T::SetFileName);
  c.Prop("FileType", &T::FileType, &T::SetFileType).Default(iftNormal);
  c.Prop("IncludeFromDir", &T::IncludeFromDir, &T::SetIncludeFromDir);
  c.Prop("Net", &T::Net, &T::SetNet).Default(true);
  c.Prop("NetLocation", &T::NetLocation, &T::SetNetLocation);
  c.Prop("OverwriteMode", &T::OverwriteMode, &T::SetOverwriteMode).Default(owAlways);
  c.Prop("State", &T::State, &T::SetState).Default(ifsNone);
  c.Prop("UpdateDLLCounter", &T::UpdateDLLCounter, &T::SetUpdateDLLCounter).Default(false);
  // Stored like every install file's: without it the uninstaller would keep
  // the identifier its constructor drew while the script was read, which a
  // stored file may own, and two members of the archive would share it.
  c.Prop("UniqueID", &T::UniqueID, &T::SetUniqueID);
  DescribeInstallFileEvents(c);
}

}  // namespace wenmoor
