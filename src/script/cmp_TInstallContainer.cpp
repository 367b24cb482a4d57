#include "script/cmp_TInstallContainer.h"

#include <algorithm>

#include "engine/cmp_TInstall.h"
#include "net/cmp_TNetInstallLocation.h"
#include "paths/cmp_TPathSpecifier.h"
#include "paths/specifiers_windows.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/forms.h"
#include "platform/win/files.h"
#include "registry/routines_Registry.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/event_parameters.h"
#include "script/script_exceptions.h"

namespace wenmoor {
namespace {

const char kUninstallKeyPrefix[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::string WithoutOneTrailingBackslash(std::string s) {
  if (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

bool IsFormOrDataModule(const TComponent* c) {
  return dynamic_cast<const TCustomForm*>(c) || dynamic_cast<const TDataModule*>(c);
}

template <class Specifier>
TCustomPathSpecifier* BuiltIn() {
  return StandardPathSpecifiers().FindSpecifier(Specifier::StaticClass());
}

bool IsContainerOrMainArchive(const TCustomPathSpecifier* s) {
  return dynamic_cast<const TpsContainerArchiveFile*>(s) || dynamic_cast<const TpsMainArchiveFile*>(s);
}

}  // namespace

// ---------------------------------------------------------------------------
// TInstallContainerList

TInstallContainerList& InstallContainers() {
  static TInstallContainerList list;
  return list;
}

void TInstallContainerList::Add(TInstallContainer* c) {
  if (!c) throw IEContainerList("Cannot add a blank entry to the TInstallContainerList object");
  items_.push_back(c);
  ++changes_;
}

void TInstallContainerList::Remove(TInstallContainer* c) {
  items_.erase(std::remove(items_.begin(), items_.end(), c), items_.end());
  ++changes_;
}

// ---------------------------------------------------------------------------
// TInstallContainer

TInstallContainer::TInstallContainer(TComponent* owner) : TComponent(owner) {
  // A script object on a form brings the standard path specifiers with it,
  // so that a fresh form has every named root its objects can refer to.
  if (IsFormOrDataModule(owner)) CreateStandardSpecifiers(owner, /*only_missing=*/true);
  InstallContainers().Add(this);
  os_ = GetWindowsVersion() == osLinux ? OSSet{osLinux}
                                       : OSSet{oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP};
}

TInstallContainer::~TInstallContainer() {
  // Normally done in Destroying(); a constructor that failed half-way (or an
  // object deleted outside the component protocol) still leaves every list.
  if (!removed_from_tree_) {
    removed_from_tree_ = true;
    const auto all = InstallContainers().All();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
      if (*it != this) (*it)->ObjectRemoved(this);
    helpers_.clear();
    ++helpers_changes_;
    InstallContainers().Remove(this);
  }
}

void TInstallContainer::Destroying() {
  TComponent::Destroying();
  if (removed_from_tree_) return;
  removed_from_tree_ = true;
  // Every other object forgets this one, last created first.
  const auto all = InstallContainers().All();
  const uint64_t changes = InstallContainers().Changes();
  for (auto it = all.rbegin(); it != all.rend(); ++it) {
    if (*it == this) continue;
    const auto& live = InstallContainers().All();
    if (InstallContainers().Changes() == changes || std::find(live.begin(), live.end(), *it) != live.end())
      (*it)->ObjectRemoved(this);
  }
  helpers_.clear();
  ++helpers_changes_;
  InstallContainers().Remove(this);
}

TInstallObject* TInstallContainer::Helpers(int index) const {
  if (index < 0 || index >= HelperCount())
    throw IEInstallContainer(
        "Tried to reference a helper component in the following component: %s. The following index was used: %d",
        Name(), index);
  return helpers_[static_cast<size_t>(index)];
}

int TInstallContainer::CountHelpersOfClass(const TClassInfo& cls) const {
  return static_cast<int>(
      std::count_if(helpers_.begin(), helpers_.end(), [&](const TInstallObject* h) { return h->InheritsFrom(cls); }));
}

TInstallObject* TInstallContainer::Comp(int index, const TClassInfo& cls) const {
  int seen = 0;
  for (TInstallObject* h : helpers_) {
    if (!h->InheritsFrom(cls)) continue;
    if (seen++ == index) return h;
  }
  throw IEInstallContainer(
      "Bad call to the Comp procedure which returns a TInstallObject for a TInstallContainer component. The "
      "parameters are probably reversed. Index: %d, ComponentType: %d",
      index, cls.Name());
}

void TInstallContainer::FreeHelpersOfClass(const TClassInfo& cls) {
  for (int i = HelperCount() - 1; i >= 0; --i) {
    if (i >= HelperCount()) continue;  // a destruction may take several children with it
    TInstallObject* h = helpers_[static_cast<size_t>(i)];
    if (h->InheritsFrom(cls)) h->Free();
  }
}

template <class Visit>
void TInstallContainer::ForEachHelper(Visit visit) {
  const std::vector<TInstallObject*> snapshot = helpers_;
  const uint64_t changes = helpers_changes_;
  for (TInstallObject* h : snapshot) {
    // Only a list that changed is searched: a directory of a thousand files
    // broadcasts for each of them.
    if (helpers_changes_ != changes && std::find(helpers_.begin(), helpers_.end(), h) == helpers_.end()) continue;
    visit(h);
  }
}

void TInstallContainer::NotifyHelpers(TObject* sender, int code, TObject* po) {
  ForEachHelper([&](TInstallObject* h) {
    if (h->RegisteredType() >= kRankBroadcastListener) h->ReceiveInformation(sender, code, po);
  });
}

void TInstallContainer::StatusMessage(const std::string& text) {
  TMessageParameter parameter(text);
  NotifyHelpers(this, kNotifyStatusMessage, &parameter);
}

void TInstallContainer::ClearStatusMessage() { NotifyHelpers(this, kNotifyClearStatusMessage, nullptr); }

void TInstallContainer::SetDestDir(const std::string& v) { dest_dir_ = v; }

void TInstallContainer::SetDestDirType(TCustomPathSpecifier* v) {
  dest_dir_type_assigned_ = true;
  if (!IsLoading() && v) v->CheckComponent(this);
  StoreDestDirType(v);
}

void TInstallContainer::StoreDestDirType(TCustomPathSpecifier* v) {
  if (dest_dir_type_ && dest_dir_type_ != v) RemoveFreeNotification(dest_dir_type_);
  dest_dir_type_ = v;
  if (v) FreeNotification(v);
}

void TInstallContainer::SetInstallTypes(TInstallTypeSet v) { install_types_ = v.Empty() ? TInstallTypeSet{itFull} : v; }

int TInstallContainer::GetFileContainerCount() const { return CountHelpersOfClass(TFileContainer::StaticClass()); }

TFileContainer* TInstallContainer::GetFileContainer(int index) const {
  return dynamic_cast<TFileContainer*>(Comp(index, TFileContainer::StaticClass()));
}

void TInstallContainer::ObjectRemoved(TInstallContainer* object) {
  if (auto* o = dynamic_cast<TInstallObject*>(object)) RemoveHelper(o);
}

void TInstallContainer::DoInformationEventControl(TObject*, int, TObject*) {}
void TInstallContainer::ReceiveInformation(TObject*, int, TObject*) {}

std::string TInstallContainer::GetDestinationDir() {
  std::string path;
  if (dest_dir_type_) dest_dir_type_->GetPath(this, path);
  return WithoutOneTrailingBackslash(path + dest_dir_);
}

int TInstallContainer::RegisteredType() const { throw IEInstallContainer("Class must declare a registered type"); }

void TInstallContainer::AddHelper(TInstallObject* child) {
  if (!child) throw IEInstallContainer("Cannot add a blank base helper component to %s", Name());
  if (child == this) throw IEInstallContainer("Circular reference");
  // Walk up from the new parent: the child must not be one of its ancestors.
  // The walk is bounded by the number of objects, so even a corrupt tree ends.
  const TInstallContainer* current = this;
  for (size_t steps = 0; steps <= InstallContainers().All().size(); ++steps) {
    auto* object = dynamic_cast<const TInstallObject*>(current);
    if (!object || !object->Container()) break;
    current = object->Container();
    if (current == child) throw IEInstallContainer("Circular reference");
  }
  const int rank = child->RegisteredType();
  size_t position = helpers_.size();
  for (size_t i = 0; i < helpers_.size(); ++i) {
    if (helpers_[i]->RegisteredType() >= rank) {
      position = i;
      break;
    }
  }
  if (SameText(child->ClassName(), "TINSTALLBDE")) position = 0;
  helpers_.insert(helpers_.begin() + static_cast<std::ptrdiff_t>(position), child);
  ++helpers_changes_;
}

void TInstallContainer::RemoveHelper(TInstallObject* child) {
  auto it = std::find(helpers_.begin(), helpers_.end(), child);
  if (it == helpers_.end()) return;
  helpers_.erase(it);
  ++helpers_changes_;
}

bool TInstallContainer::IsIncluded() const {
  if (!include_) return false;
  return current_install_type_ == itCustom || install_types_.Contains(current_install_type_);
}

void TInstallContainer::Process() {
  if (!os_.Contains(GetWindowsVersion())) include_ = false;
  try {
    OnBeforeProcess(this);
    NotifyHelpers(this, kNotifyProcessStarting, nullptr);
    if (!include_) return;
    NotifyHelpers(this, kNotifyBeforeProcess, nullptr);
    if (current_install_type_ != itCustom && !install_types_.Contains(current_install_type_)) return;
    DoProcess();
    processed_ = true;
    if (TCustomInstall* install = CurrentInstall(); install && uninstall_)
      RegisterUninstall(kUninstallKeyPrefix + install->Information()->ProductName());
    OnAfterProcess(this);
    NotifyHelpers(this, kNotifyProcessEnded, nullptr);
  } catch (const EAbort&) {
    // The silent abort skips this object without an error.
  }
}

void TInstallContainer::DoProcess() {
  processed_ = true;
  ForEachHelper([](TInstallObject* child) {
    if (child->ProcessedWithContainer()) child->Process();
  });
}

void TInstallContainer::RegisterUninstall(const std::string&) {}

void TInstallContainer::Loaded() {
  if (dest_dir_type_defaulted_ && !dest_dir_type_assigned_) SetDestDirType(nullptr);
  dest_dir_type_defaulted_ = false;
  TComponent::Loaded();
}

void TInstallContainer::Notification(TComponent* c, TOperation operation) {
  TComponent::Notification(c, operation);
  if (operation == opRemove && c && c == dest_dir_type_) dest_dir_type_ = nullptr;
}

// ---------------------------------------------------------------------------
// TInstallObject

TInstallObject::TInstallObject(TComponent* owner) : TInstallContainer(owner) {
  // A new object placed while the script is being designed joins the install
  // component with the container's destination as its default.
  TCustomInstall* install = CurrentInstall();
  if (IsDesigning() && install && install != static_cast<TInstallContainer*>(this)) {
    install->AddHelper(this);
    container_ = install;
    SetDestDirType(BuiltIn<TpsContainerDestDir>());
    SetDestDir("");
    MarkDestDirTypeDefaulted();
    container_defaulted_ = true;
  }
}

void TInstallObject::SetContainer(TInstallContainer* v) {
  container_assigned_ = true;
  if (v == container_) return;
  if (v) v->AddHelper(this);  // may refuse; then nothing has changed
  if (container_) container_->RemoveHelper(this);
  container_ = v;
  if (IsLoading()) return;
  if (v) {
    SetDestDirType(BuiltIn<TpsContainerDestDir>());
    SetDestDir("");
  } else if (dynamic_cast<TpsContainerDestDir*>(DestDirType())) {
    SetDestDirType(nullptr);
  }
}

void TInstallObject::SetCurrentInstallType(TInstallType type) {
  const std::vector<TInstallObject*> children = helpers_;
  for (TInstallObject* child : children) child->SetCurrentInstallType(type);
  StoreCurrentInstallType(type);
}

void TInstallObject::ObjectRemoved(TInstallContainer* object) {
  TInstallContainer::ObjectRemoved(object);
  if (object && object == container_) SetContainer(nullptr);
}

void TInstallObject::Process() {
  TCustomInstall* install = CurrentInstall();
  if (install && install->Running() && container_ && !container_->Processed()) return;
  TInstallContainer::Process();
}

void TInstallObject::Loaded() {
  if (container_defaulted_ && !container_assigned_) SetContainer(nullptr);
  container_defaulted_ = false;
  TInstallContainer::Loaded();
}

// ---------------------------------------------------------------------------
// TFileRelated

TFileRelated::TFileRelated(TComponent* owner) : TInstallObject(owner) {
  SetProcessedWithContainer(true);
  if (IsDesigning() && CurrentInstall() && Container()) {
    SetArchiveFileType(BuiltIn<TpsContainerArchiveFile>());
    archive_file_.clear();
    archive_file_type_defaulted_ = true;
  }
}

void TFileRelated::SetArchiveFile(const std::string& v) {
  if (IsLoading()) {
    archive_file_ = v;
    return;
  }
  archive_file_ = IsContainerOrMainArchive(archive_file_type_) ? std::string() : v;
}

void TFileRelated::SetArchiveFileType(TCustomPathSpecifier* v) {
  archive_file_type_assigned_ = true;
  if (!IsLoading() && v) v->CheckComponent(this);
  StoreArchiveFileType(v);
  if (!IsLoading() && IsContainerOrMainArchive(v)) archive_file_.clear();
}

void TFileRelated::StoreArchiveFileType(TCustomPathSpecifier* v) {
  if (archive_file_type_ && archive_file_type_ != v) RemoveFreeNotification(archive_file_type_);
  archive_file_type_ = v;
  if (v) FreeNotification(v);
}

void TFileRelated::SetNetLocation(TCustomNetInstallLocation* v) {
  if (net_location_ && net_location_ != v) RemoveFreeNotification(net_location_);
  net_location_ = v;
  if (v) FreeNotification(v);
}

std::string TFileRelated::GetArchivePath() {
  std::string path;
  if (archive_file_type_) archive_file_type_->GetPath(this, path);
  return WithoutOneTrailingBackslash(path + archive_file_);
}

void TFileRelated::SetContainer(TInstallContainer* v) {
  TInstallObject::SetContainer(v);
  if (IsLoading()) return;
  if (dynamic_cast<TFileRelated*>(v) || dynamic_cast<TCustomInstallGroup*>(v)) {
    SetArchiveFileType(BuiltIn<TpsContainerArchiveFile>());
    SetArchiveFile("");
  } else if (dynamic_cast<TpsContainerArchiveFile*>(archive_file_type_)) {
    SetArchiveFileType(nullptr);
  }
}

bool TFileRelated::FindLocalArchive(std::string& path) {
  const std::string& record = CurrentRecordKey();
  if (record.empty() || Trim(Name()).empty()) return false;
  std::string value;
  ReadRegistryString(hkLocalMachine, record + "\\" + Name(), "LocalFile", value, "");
  if (Trim(value).empty() || !platform::FileExists(value)) return false;
  path = value;
  return true;
}

void TFileRelated::Loaded() {
  if (archive_file_type_defaulted_ && !archive_file_type_assigned_) SetArchiveFileType(nullptr);
  archive_file_type_defaulted_ = false;
  TInstallObject::Loaded();
  if (std::string path; FindLocalArchive(path)) local_archive_ = path;
}

void TFileRelated::Notification(TComponent* c, TOperation operation) {
  TInstallObject::Notification(c, operation);
  if (operation != opRemove || !c) return;
  if (c == net_location_) SetNetLocation(nullptr);
  if (c == archive_file_type_) archive_file_type_ = nullptr;
}

// ---------------------------------------------------------------------------
// Shared routines

std::string WenmoorInfo::LocateFrameworkDirectory(bool required) {
  static const char kNotFound[] = "Cannot find the the Wenmoor directory on the VCL library search path";
  std::string search_path;
  ReadRegistryString(hkCurrentUser, "\\Software\\Borland\\Delphi\\5.0\\Library", "Search Path", search_path, "");
  if (Trim(search_path).empty() && required) throw IENoWenmoorPath(kNotFound);
  std::string root_dir;
  ReadRegistryString(hkLocalMachine, "\\Software\\Borland\\Delphi\\5.0", "RootDir", root_dir, "");
  auto replace_first = [](std::string& s, const std::string& what, const std::string& with) {
    size_t at = s.find(what);
    if (at != std::string::npos) s.replace(at, what.size(), with);
  };
  size_t start = 0;
  while (start <= search_path.size()) {
    size_t end = search_path.find(';', start);
    if (end == std::string::npos) end = search_path.size();
    std::string dir = search_path.substr(start, end - start);
    start = end + 1;
    if (dir.empty()) continue;
    replace_first(dir, "$(DELPHI)", root_dir);
    replace_first(dir, "$(BCB)", root_dir);
    if (platform::FileExists(IncludeTrailingBackslash(dir) + "W32V52.TXT")) return ExcludeTrailingBackslash(dir);
  }
  if (required) throw IENoWenmoorPath(kNotFound);
  return {};
}

void GiveUniqueName(TComponent* component, const std::string& base) {
  auto keep_ident_chars = [](std::string_view s) {
    std::string out;
    for (char ch : s)
      if ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_')
        out.push_back(ch);
    return out;
  };
  std::string stem = base;
  if (dynamic_cast<TCustomInstallFile*>(component)) {
    const std::string name = ExtractFileName(base);
    const std::string ext = ExtractFileExt(name);
    stem = "IF" + keep_ident_chars(name.substr(0, name.size() - ext.size())) + "_" +
           keep_ident_chars(ext.empty() ? ext : ext.substr(1));
  }
  std::string candidate = stem;
  for (int n = 1; !component->CanTakeName(candidate); ++n) candidate = stem + std::to_string(n);
  component->SetName(candidate);
}

WENMOOR_REGISTER_CLASS(TInstallContainer) {}
WENMOOR_REGISTER_CLASS(TInstallObject) {}
WENMOOR_REGISTER_CLASS(TFileRelated) {}

}  // namespace wenmoor
