// File containers: TFileContainer (gathers install files and further
// containers under one destination and one archive), TCustomInstallGroup
// (a container that hangs below the install component or another group)
// and TInstallDirectory (the script's directories).
#pragma once

#include <memory>
#include <string>

#include "platform/rtl/strings.h"
#include "script/cmp_TInstallContainer.h"

namespace wenmoor {

class TCustomInstallFile;
class TpsFileContainer;

using TAfterInstallObjectsEvent = TEvent<TInstallContainer*, bool>;
using TInstallFileStatusEvent = TEvent<TCustomInstallFile*, int, int>;
using TInstallFileNewDiskEvent = TEvent<TCustomInstallFile*, int, std::string&>;
using TInstallFileNotifyEvent = TEvent<TCustomInstallFile*>;
using TDataReceivedEvent = TEvent<TObject*, const std::string&, int, int, int, const char*>;

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

  int RegisteredType() const override { return kRankFileContainer; }
  virtual bool CreatesFileContainerSpecifier() const { return true; }

  TInstallContainerNotifyEvent OnBeforeInstallObjects;
  TAfterInstallObjectsEvent OnAfterInstallObjects;
  TInstallFileStatusEvent OnStatus;
  TInstallFileNewDiskEvent OnNewDisk;
  TInstallFileNotifyEvent OnReplacing;
  TDataReceivedEvent OnDataReceived;

 protected:
  void Destroying() override;

 private:
  std::string description_;
  bool fire_after_install_objects_ = true;
  TpsFileContainer* file_container_specifier_ = nullptr;
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

 private:
  std::unique_ptr<TInstallGroupDialogOptions> dialog_options_ = std::make_unique<TInstallGroupDialogOptions>();
};

class TInstallDirectory : public TFileContainer {
  WENMOOR_CLASS(TInstallDirectory, TFileContainer)
 public:
  explicit TInstallDirectory(TComponent* owner) : TFileContainer(owner) {}
};

// Publishes the properties and events that every file container shares.
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
