#include "script/cmp_TCustomInstallFile.h"

#include <algorithm>

#include "paths/cmp_TPathSpecifier.h"
#include "script/script_exceptions.h"

namespace wenmoor {

TCustomInstallFileList& AllInstallFiles() {
  static TCustomInstallFileList list;
  return list;
}

TCustomInstallFileList& DeferredRegistrations() {
  static TCustomInstallFileList list;
  return list;
}

void TCustomInstallFileList::Add(TCustomInstallFile* f) {
  if (!f) throw IECustomInstallFileList("Cannot add a blank entry to the TCustomInstallFileList object");
  items_.push_back(f);
}

void TCustomInstallFileList::Remove(TCustomInstallFile* f) {
  items_.erase(std::remove(items_.begin(), items_.end(), f), items_.end());
}

TCustomInstallFile::TCustomInstallFile(TComponent* owner) : TFileRelated(owner) {
  SetNet(false);
  AllInstallFiles().Add(this);
}

TCustomInstallFile::~TCustomInstallFile() {
  AllInstallFiles().Remove(this);
  DeferredRegistrations().Remove(this);
}

WENMOOR_REGISTER_CLASS(TCustomInstallFile) {}
WENMOOR_REGISTER_CLASS(TInstallFile) {
  c.Prop("Container", &T::Container, &T::SetContainer);
  c.Prop("DestDir", &T::DestDir, &T::SetDestDir);
  c.Prop("DestDirType", &T::DestDirType, &T::SetDestDirType);
  c.Prop("Include", &T::Include, &T::SetInclude).Default(true);
  c.Prop("InstallTypes", &T::InstallTypes, &T::SetInstallTypes)
      .Default(TInstallTypeSet{itFull, itDefault, itCompact, itCustom});
  c.Prop("OS", &T::OS, &T::SetOS);
  c.Prop("Uninstall", &T::Uninstall, &T::SetUninstall).Default(true);
  c.Event("OnAfterProcess", &T::OnAfterProcess);
  c.Event("OnBeforeProcess", &T::OnBeforeProcess);
}

}  // namespace wenmoor
