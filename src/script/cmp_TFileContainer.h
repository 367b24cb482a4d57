// File containers: TFileContainer (gathers install files and further
// containers under one destination and one archive, and runs the three file
// operations over its subtree: install, compress, copy), TCustomInstallGroup
// (a container that hangs below the install component or another group)
// and TInstallDirectory (the script's directories).
//
// Reporting. While an operation runs, a container handles its children's
// upward reports (DoInformationEventControl): it recomputes the progress
// with its own totals (OperationSize, OperationDone), fires its published
// events, broadcasts to its own listeners and passes the report on to its
// container. Percentages are rounded to the nearest whole number, halves to
// the even one; a zero total gives 0.
#pragma once

#include <memory>
#include <string>

#include "platform/rtl/list.h"
#include "platform/rtl/strings.h"
#include "script/cmp_TInstallContainer.h"

namespace wenmoor {

class TCustomInstallFile;
class TpsFileContainer;
class TFileStatusParameter;

using TAfterInstallObjectsEvent = TEvent<TInstallContainer*, bool>;
using TInstallFileStatusEvent = TEvent<TCustomInstallFile*, int, int>;
using TInstallFileNewDiskEvent = TEvent<TCustomInstallFile*, int, std::string&>;
using TInstallFileNotifyEvent = TEvent<TCustomInstallFile*>;
using TDataReceivedEvent = TEvent<TObject*, const std::string&, int, int, int, const char*>;

// Options of Compress.
enum TCompressOption : uint8_t { coRelocateArchives, coForceNetFilesLocal, coForceFilesNet, coIncludeAll };
WENMOOR_ENUM(TCompressOption, coRelocateArchives, coForceNetFilesLocal, coForceFilesNet, coIncludeAll)
using TCompressOptions = TSet<TCompressOption>;

class TFileContainer : public TFileRelated {
  WENMOOR_CLASS(TFileContainer, TFileRelated)
 public:
  // Every file container except the install component gets a companion
  // TpsFileContainer naming its destination (`creates_specifier`).
  explicit TFileContainer(TComponent* owner, bool creates_specifier = true);

  const std::string& Description() const { return description_; }
  void SetDescription(const std::string& d) { description_ = d; }
  bool FireAfterInstallObjects() const { return fire_after_install_objects_; }
  void SetFireAfterInstallObjects(bool v) { fire_after_install_objects_ = v; }
  TpsFileContainer* FileContainerSpecifier() const { return file_container_specifier_; }
  void SetFileContainerSpecifier(TpsFileContainer* s) { file_container_specifier_ = s; }

  // The operation in progress and its totals (meaningful while it runs).
  TInstallFileState Operation() const { return operation_; }
  int64_t OperationSize() const { return operation_size_; }
  int64_t OperationDone() const { return operation_done_; }

  int FileCount() const;
  TCustomInstallFile* Files(int index) const;

  int RegisteredType() const override { return kRankFileContainer; }
  virtual bool CreatesFileContainerSpecifier() const { return true; }

  // The reporting steps (see the header comment).
  virtual void DoNewDisk(TCustomInstallFile* file, TList& list);
  virtual void DoReplacing(TCustomInstallFile* file);
  virtual void DoStatus(TCustomInstallFile* file, TFileStatusParameter& parameter);
  void DoInformationEventControl(TObject* sender, int code, TObject* po) override;

  // Sizes of the included (or, with include_all, of all) install files,
  // with those of the sub-containers when `recurse`.
  virtual int64_t SumSizes(bool include_all, bool recurse);
  virtual int64_t SumCompressedSizes(bool include_all);
  int64_t OwnFilesSize(bool include_all) { return SumSizes(include_all, false); }
  int64_t TotalSize(bool include_all) { return SumSizes(include_all, true); }

  // The operations.
  void DoProcess() override;  // install
  virtual void Compress(TCompressOptions options);
  virtual void Copy();
  virtual void RunOperation(TInstallFileState kind);
  virtual void FreeFiles();
  virtual void ReadArchiveInfo();
  virtual void ReadSourceInfo();
  virtual bool HasInheritingNetFiles();
  // The downloaded archive's path; IEFileContainer when none is recorded.
  virtual std::string GetLocalArchivePath();

  TInstallContainerNotifyEvent OnBeforeInstallObjects;
  TAfterInstallObjectsEvent OnAfterInstallObjects;
  TInstallFileStatusEvent OnStatus;
  TInstallFileNewDiskEvent OnNewDisk;
  TInstallFileNotifyEvent OnReplacing;
  TDataReceivedEvent OnDataReceived;

 protected:
  void Destroying() override;
  // Passes a report on to the container above, if any.
  void PassOn(int code, TObject* po);
  void BeginOperation(TInstallFileState kind, int64_t size);
  void EndOperation() { operation_ = ifsNone; }

 private:
  void CompletionStep(TObject* po);
  void ProgressStep(TObject* po);
  void DiskStep(TObject* po);
  void CompressChild(TFileRelated& child, TCompressOptions options, const std::string& archive_dir);

  std::string description_;
  bool fire_after_install_objects_ = true;
  TpsFileContainer* file_container_specifier_ = nullptr;
  TInstallFileState operation_ = ifsNone;
  int64_t operation_size_ = 0;
  int64_t operation_done_ = 0;
};

// How a dialog presents a group; nothing in the engine reads it.
class TInstallGroupDialogOptions : public TPersistent {
  WENMOOR_CLASS(TInstallGroupDialogOptions, TPersistent)
 public:
  bool AllowChangeDir() const { return allow_change_dir_; }
  void SetAllowChangeDir(bool v) { allow_change_dir_ = v; }
  bool AllowExcludeInclude() const { return allow_exclude_include_; }
  void SetAllowExcludeInclude(bool v) { allow_exclude_include_ = v; }
  TStrings* Description() const { return description_.get(); }
  bool DisplayDirectory() const { return display_directory_; }
  void SetDisplayDirectory(bool v) { display_directory_ = v; }
  bool ShowRegardlessOfInclude() const { return show_regardless_; }
  void SetShowRegardlessOfInclude(bool v) { show_regardless_ = v; }

 private:
  bool allow_change_dir_ = true;
  bool allow_exclude_include_ = true;
  std::unique_ptr<TStringList> description_ = std::make_unique<TStringList>();
  bool display_directory_ = true;
  bool show_regardless_ = true;
};

class TCustomInstallGroup : public TFileContainer {
  WENMOOR_CLASS(TCustomInstallGroup, TFileContainer)
 public:
  explicit TCustomInstallGroup(TComponent* owner);
  int RegisteredType() const override { return kRankGroup; }
  TInstallGroupDialogOptions* DialogOptions() const { return dialog_options_.get(); }
  // A group hangs only below the install component or another group;
  // without a container it joins the install component.
  void SetContainer(TInstallContainer* v) override;

 private:
  std::unique_ptr<TInstallGroupDialogOptions> dialog_options_ = std::make_unique<TInstallGroupDialogOptions>();
};

// The group as the install script names it: TCustomInstallGroup with its
// properties published.
class TInstallGroup : public TCustomInstallGroup {
  WENMOOR_CLASS(TInstallGroup, TCustomInstallGroup)
 public:
  explicit TInstallGroup(TComponent* owner) : TCustomInstallGroup(owner) {}
};

class TInstallDirectory : public TFileContainer {
  WENMOOR_CLASS(TInstallDirectory, TFileContainer)
 public:
  explicit TInstallDirectory(TComponent* owner);
  // Frees the install files whose source file no longer exists.
  virtual void RemoveMissingFiles();
};

// Publishes the events that every file container shares.
template <class T>
void DescribeFileContainerEvents(ClassBuilder<T>& c) {
  c.Event("OnAfterInstallObjects", &T::OnAfterInstallObjects);
  c.Event("OnAfterProcess", &T::OnAfterProcess);
  c.Event("OnBeforeInstallObjects", &T::OnBeforeInstallObjects);
  c.Event("OnBeforeProcess", &T::OnBeforeProcess);
  c.Event("OnDataReceived", &T::OnDataReceived);
  c.Event("OnNewDisk", &T::OnNewDisk);
  c.Event("OnReplacing", &T::OnReplacing);
  c.Event("OnStatus", &T::OnStatus);
}

}  // namespace wenmoor
