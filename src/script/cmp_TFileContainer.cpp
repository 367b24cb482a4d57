#include "script/cmp_TFileContainer.h"

#include "paths/cmp_TPathSpecifier.h"
#include "net/cmp_TNetInstallLocation.h"

namespace wenmoor {

TFileContainer::TFileContainer(TComponent* owner, bool creates_specifier) : TFileRelated(owner) {
  if (creates_specifier && owner) {
    auto* specifier = Create<TpsFileContainer>(owner);
    specifier->TakeAutomaticName();
    specifier->SetFileContainer(this);
    file_container_specifier_ = specifier;
  }
}

void TFileContainer::Destroying() {
  TFileRelated::Destroying();
  TpsFileContainer* specifier = file_container_specifier_;
  file_container_specifier_ = nullptr;
  if (specifier && !specifier->IsDestroying() && specifier->Owner()) specifier->Free();
}

TCustomInstallGroup::TCustomInstallGroup(TComponent* owner) : TFileContainer(owner) {}

WENMOOR_REGISTER_CLASS(TFileContainer) {}

WENMOOR_REGISTER_CLASS(TInstallGroupDialogOptions) {
  c.Prop("AllowChangeDir", &T::AllowChangeDir, &T::SetAllowChangeDir).Default(true);
  c.Prop("AllowExcludeInclude", &T::AllowExcludeInclude, &T::SetAllowExcludeInclude).Default(true);
  c.Object("Description", &T::Description);
  c.Prop("DisplayDirectory", &T::DisplayDirectory, &T::SetDisplayDirectory).Default(true);
  c.Prop("ShowRegardlessOfInclude", &T::ShowRegardlessOfInclude, &T::SetShowRegardlessOfInclude).Default(true);
}

WENMOOR_REGISTER_CLASS(TCustomInstallGroup) {}

WENMOOR_REGISTER_CLASS(TInstallDirectory) {
  c.Prop("AddToArchive", &T::AddToArchive, &T::SetAddToArchive).Default(lzcOverwrite);
  c.Prop("ArchiveFile", &T::ArchiveFile, &T::SetArchiveFile);
  c.Prop("ArchiveFileType", &T::ArchiveFileType, &T::SetArchiveFileType);
  c.Prop("Container", &T::Container, &T::SetContainer);
  c.Prop("Description", &T::Description, &T::SetDescription);
  c.Prop("DestDir", &T::DestDir, &T::SetDestDir);
  c.Prop("DestDirType", &T::DestDirType, &T::SetDestDirType);
  c.Prop("Include", &T::Include, &T::SetInclude).Default(true);
  c.Prop("InstallTypes", &T::InstallTypes, &T::SetInstallTypes)
      .Default(TInstallTypeSet{itFull, itDefault, itCompact, itCustom});
  c.Prop("NetLocation", &T::NetLocation, &T::SetNetLocation);
  c.Prop("OS", &T::OS, &T::SetOS);
  DescribeFileContainerEvents(c);
}

}  // namespace wenmoor
