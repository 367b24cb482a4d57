// The install script's tree: TInstallContainer (every script object),
// TInstallObject (an object with a parent, its Container) and TFileRelated
// (an object with an archive, a download location and a destination).
//
// Each parent keeps an ordered list of its children ("helpers"), sorted by
// registered type rank: groups (500), file containers (1000), files (2000),
// registry components (8500), dialogs and dialog managers (9000); within a
// rank the most recently added first. Processing runs down these lists;
// NotifyHelpers broadcasts to children of rank 2000 or more, and children
// report upward with DoInformationEventControl.
//
// Lifetime: every script object is owned by its form; the child lists and
// the process-wide list of containers only observe. An object that dies
// removes itself from every list (ObjectRemoved on every other container).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/archive_types.h"
#include "platform/rtl/component.h"
#include "script/script_types.h"
#include "support/routines_API.h"

namespace wenmoor {

class TInstallContainer;
class TInstallObject;
class TFileContainer;
class TCustomPathSpecifier;
class TCustomNetInstallLocation;

using TInstallContainerNotifyEvent = TEvent<TInstallContainer*>;

class TInstallContainer : public TComponent {
  WENMOOR_CLASS(TInstallContainer, TComponent)
 public:
  explicit TInstallContainer(TComponent* owner);
  ~TInstallContainer() override;

  // --- children ---------------------------------------------------------
  int HelperCount() const { return static_cast<int>(helpers_.size()); }
  // IEInstallContainer when index is out of range.
  TInstallObject* Helpers(int index) const;
  // Children that are instances of `cls` or of a class derived from it.
  int CountHelpersOfClass(const TClassInfo& cls) const;
  // The index-th child (0-based) among those that are instances of `cls`.
  TInstallObject* Comp(int index, const TClassInfo& cls) const;
  // Frees every child that is an instance of `cls`, last to first.
  void FreeHelpersOfClass(const TClassInfo& cls);
  // The broadcast: ReceiveInformation on each child of rank 2000 or more.
  void NotifyHelpers(TObject* sender, int code, TObject* po);
  void ClearStatusMessage();

  // --- state and published properties ------------------------------------
  bool ProcessedWithContainer() const { return processed_with_container_; }
  bool Include() const { return include_; }
  void SetInclude(bool v) { include_ = v; }
  bool Processed() const { return processed_; }
  TInstallType CurrentInstallType() const { return current_install_type_; }
  bool Uninstall() const { return uninstall_; }
  void SetUninstall(bool v) { uninstall_ = v; }
  OSSet OS() const { return os_; }
  void SetOS(OSSet v) { os_ = v; }
  const std::string& DestDir() const { return dest_dir_; }
  virtual void SetDestDir(const std::string& v);
  TCustomPathSpecifier* DestDirType() const { return dest_dir_type_; }
  virtual void SetDestDirType(TCustomPathSpecifier* v);
  TInstallTypeSet InstallTypes() const { return install_types_; }
  // An empty set becomes [itFull].
  void SetInstallTypes(TInstallTypeSet v);
  int Order() const { return order_; }
  void SetOrder(int v) { order_ = v; }
  bool DestDirTypeAssigned() const { return dest_dir_type_assigned_; }
  bool DestDirTypeDefaulted() const { return dest_dir_type_defaulted_; }

  TInstallContainerNotifyEvent OnAfterProcess;
  TInstallContainerNotifyEvent OnBeforeProcess;

  // --- virtual operations --------------------------------------------------
  virtual int GetFileContainerCount() const;
  virtual TFileContainer* GetFileContainer(int index) const;
  virtual void ObjectRemoved(TInstallContainer* object);
  virtual void StatusMessage(const std::string& text);
  virtual void DoInformationEventControl(TObject* sender, int code, TObject* po);
  virtual void ReceiveInformation(TObject* sender, int code, TObject* po);
  // DestDirType's path for this object followed by DestDir, without one
  // trailing backslash.
  virtual std::string GetDestinationDir();
  // The rank; IEInstallContainer "Class must declare a registered type" here.
  virtual int RegisteredType() const;
  virtual void AddHelper(TInstallObject* child);
  virtual void Process();
  virtual void ProcessUninstall() {}
  virtual void DoProcess();
  virtual void DoUninstall() {}
  virtual bool IsIncluded() const;
  virtual void ResumeAfterReboot() {}
  virtual void UpdateLanguage() {}
  virtual void RemoveHelper(TInstallObject* child);
  virtual void RegisterUninstall(const std::string& key);

  void Loaded() override;
  void Notification(TComponent* c, TOperation operation) override;

 protected:
  void Destroying() override;
  void SetProcessedWithContainer(bool v) { processed_with_container_ = v; }
  void SetProcessed(bool v) { processed_ = v; }
  void StoreCurrentInstallType(TInstallType t) { current_install_type_ = t; }
  void MarkDestDirTypeDefaulted() { dest_dir_type_defaulted_ = true; }
  // Assigns the specifier as a default, without the check of the setter:
  // a constructor cannot ask a specifier about an object that is not yet
  // complete (the install component does not exist yet while it is built).
  void StoreDestDirType(TCustomPathSpecifier* v);
  // Calls visit(child) for the children as they are now, in order, skipping
  // any that leaves the list meanwhile (a listener may change the tree while
  // it is told: a dialog freeing itself, say).
  template <class Visit>
  void ForEachHelper(Visit visit);
  // The ordered child list; observers only. Every change of it counts in
  // helpers_changes_.
  std::vector<TInstallObject*> helpers_;
  uint64_t helpers_changes_ = 0;

 private:
  bool processed_with_container_ = false;
  bool include_ = true;
  bool processed_ = false;
  TInstallType current_install_type_ = itFull;
  bool uninstall_ = true;
  OSSet os_;
  std::string dest_dir_;
  TCustomPathSpecifier* dest_dir_type_ = nullptr;
  TInstallTypeSet install_types_{itFull, itDefault, itCompact};
  int order_ = -1;
  bool dest_dir_type_assigned_ = false;
  bool dest_dir_type_defaulted_ = false;
  bool removed_from_tree_ = false;
};

class TInstallObject : public TInstallContainer {
  WENMOOR_CLASS(TInstallObject, TInstallContainer)
 public:
  explicit TInstallObject(TComponent* owner);

  TInstallContainer* Container() const { return container_; }
  virtual void SetContainer(TInstallContainer* v);
  bool ContainerAssigned() const { return container_assigned_; }
  // Applies the type to every child first, depth first, then stores it.
  void SetCurrentInstallType(TInstallType type);

  void ObjectRemoved(TInstallContainer* object) override;
  // While an installation run is in progress, an object that has a container
  // is processed only once that container's processing has started.
  void Process() override;
  void Loaded() override;

 private:
  TInstallContainer* container_ = nullptr;
  bool container_assigned_ = false;
  bool container_defaulted_ = false;
};

class TFileRelated : public TInstallObject {
  WENMOOR_CLASS(TFileRelated, TInstallObject)
 public:
  explicit TFileRelated(TComponent* owner);

  TlzhCommand AddToArchive() const { return add_to_archive_; }
  void SetAddToArchive(TlzhCommand v) { add_to_archive_ = v; }
  const std::string& ArchiveFile() const { return archive_file_; }
  virtual void SetArchiveFile(const std::string& v);
  TCustomPathSpecifier* ArchiveFileType() const { return archive_file_type_; }
  virtual void SetArchiveFileType(TCustomPathSpecifier* v);
  bool Net() const { return net_; }
  virtual void SetNet(bool v) { net_ = v; }
  TCustomNetInstallLocation* NetLocation() const { return net_location_; }
  virtual void SetNetLocation(TCustomNetInstallLocation* v);
  const std::string& LocalArchive() const { return local_archive_; }
  void SetLocalArchive(const std::string& v) { local_archive_ = v; }
  bool ArchiveInfoRead() const { return archive_info_read_; }
  void SetArchiveInfoRead(bool v) { archive_info_read_ = v; }

  // ArchiveFileType's path for this object followed by ArchiveFile, without
  // one trailing backslash.
  virtual std::string GetArchivePath();
  // The local copy of this object's downloaded archive recorded under the
  // installation record ("LocalFile"), when the record names one that exists.
  bool FindLocalArchive(std::string& path);
  // Records `path` as the local copy of this object's archive (a failure to
  // write is ignored; an object without a name has no record).
  virtual void StoreLocalArchive(const std::string& path);
  virtual bool IsArchiveDownloaded();
  // The object's own location; else, for an install file in a file
  // container, the container's own or the current one; for other objects
  // the current one (the lookup goes one container up, no further).
  TCustomNetInstallLocation* EffectiveNetLocation() const;
  // "<safe host>\<safe directory or protocol root>" of the effective
  // location; IEFileRel_NoNetLocation without one.
  std::string GetNetDirectory() const;
  // Fetches this object's net archive ("<Name>.1") into a new temporary
  // file, unless a recorded local copy exists; EAIUserAbort when the user
  // cancels the download (no file and no LocalArchive are left then).
  virtual void DownloadArchive();
  // Progress of this object's download: fired, broadcast and reported up.
  virtual void DataReceived(const std::string& file_name, int bytes, int total_bytes, int file_size,
                            const char* buffer);

  void SetContainer(TInstallContainer* v) override;
  void Loaded() override;
  void Notification(TComponent* c, TOperation operation) override;

 protected:
  // The archive counterpart of StoreDestDirType.
  void StoreArchiveFileType(TCustomPathSpecifier* v);

 private:
  TlzhCommand add_to_archive_ = lzcOverwrite;
  std::string archive_file_;
  TCustomPathSpecifier* archive_file_type_ = nullptr;
  bool net_ = true;
  TCustomNetInstallLocation* net_location_ = nullptr;
  std::string local_archive_;
  bool archive_info_read_ = false;
  bool archive_file_type_assigned_ = false;
  bool archive_file_type_defaulted_ = false;
};

// Every TInstallContainer in existence, in order of creation.
class TInstallContainerList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TInstallContainer* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  // IEContainerList "Cannot add a blank entry to the TInstallContainerList object" for nil.
  void Add(TInstallContainer* c);
  void Remove(TInstallContainer* c);
  const std::vector<TInstallContainer*>& All() const { return items_; }
  // How often the list has changed: a walk over a copy need not search the
  // list for an entry while this stays the same.
  uint64_t Changes() const { return changes_; }

 private:
  std::vector<TInstallContainer*> items_;
  uint64_t changes_ = 0;
};
TInstallContainerList& InstallContainers();

// The framework's own directory on the developer's machine (where the
// uninstaller and the loading program lie), found by the marker file
// "W32V52.TXT" on the library search path.
class WenmoorInfo {
 public:
  WenmoorInfo() = delete;
  // IENoWenmoorPath when not found and `required`; otherwise "" then.
  static std::string LocateFrameworkDirectory(bool required);
};

// Names `component` uniquely within its owner, from `base`; for an install
// file, base is a file name turned into "IF<name>_<ext>".
void GiveUniqueName(TComponent* component, const std::string& base);

}  // namespace wenmoor
