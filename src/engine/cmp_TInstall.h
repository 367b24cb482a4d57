// TCustomInstall / TInstall: the installation engine. One component on the
// setup program's main form, the root of the install script tree. When the
// stored script has finished loading it reads the command line and picks one
// start-up mode, first match wins:
//   -b  build the distribution (the program then ends)
//   -f  transfer the distribution to floppies (the program then ends)
//   -r  resume the installation after a restart (at once)
//   otherwise install: the run starts on the host form's first activation.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "engine/cmp_TInstallInformation.h"
#include "platform/win/file_time.h"
#include "platform/rtl/picture.h"
#include "platform/rtl/strings.h"
#include "script/cmp_TFileContainer.h"

namespace wenmoor {

class TCustomInstall;
class TCustomForm;

enum TDistributeType : uint8_t { dtTraditional, dtWeb, dtTraditionalNet };
WENMOOR_ENUM(TDistributeType, dtTraditional, dtWeb, dtTraditionalNet)

// How the program started and, once it has run, how it ended. The setup
// programs turn the result into their exit status.
enum class StartupMode : uint8_t { Design, Build, FloppyTransfer, Resume, Install };
enum class RunResult : uint8_t { NotRun, Completed, Failed, Aborted, RestartPending };
int ExitStatusOf(RunResult r);  // 0 completed (or not run), 1 failed, 2 aborted, 3 restart pending

using TRebootWindowsEvent = TEvent<TCustomInstall*, bool&>;
using TBeforeRunFileEvent = TEvent<TCustomInstall*, TCustomInstallFile*, bool&>;
using TUserAbortEvent = TEvent<TCustomInstall*, bool&>;
using TCleanupEvent = TEvent<TCustomInstall*, bool&>;

class TBuildInfo : public TPersistent {
  WENMOOR_CLASS(TBuildInfo, TPersistent)
 public:
#define WENMOOR_BUILD_FIELD(Type, Name, member, init)    \
  Type Name() const { return member; }                   \
  void Set##Name(Type v) { member = v; }                 \
                                                         \
 private:                                                \
  Type member = init;                                    \
                                                         \
 public:
  WENMOOR_BUILD_FIELD(bool, AddUninstallOnCreate, add_uninstall_on_create_, true)
  WENMOOR_BUILD_FIELD(std::string, AppName, app_name_, {})
  WENMOOR_BUILD_FIELD(std::string, AppURL, app_url_, {})
  WENMOOR_BUILD_FIELD(std::string, BuildDirectory, build_directory_, "c:\\build")
  WENMOOR_BUILD_FIELD(std::string, CredentialsFile, credentials_file_, {})
  WENMOOR_BUILD_FIELD(std::string, OCXName, ocx_name_, "wmsetup")
  WENMOOR_BUILD_FIELD(std::string, PrivateKeyFile, private_key_file_, {})
  WENMOOR_BUILD_FIELD(bool, SignCode, sign_code_, false)
  WENMOOR_BUILD_FIELD(std::string, URLPath, url_path_, {})
#undef WENMOOR_BUILD_FIELD
  // The framework's version.
  std::string WnmrVersion() const { return "5.20.00"; }
  void Assign(const TPersistent& source) override;
};

class TCustomInstall : public TFileContainer {
  WENMOOR_CLASS(TCustomInstall, TFileContainer)
 public:
  // Command-line switches, by index.
  enum Switch : uint8_t {
    kSwitchBuild = 0,
    kSwitchFloppy = 1,
    kSwitchDebug = 2,
    kSwitchSelfExtractor = 3,
    kSwitchReboot = 4,
    kSwitchSource = 5,
    kSwitchCleanup = 6,
    kSwitchNewRun = 7,
  };

  // IEInstall when an engine exists already or the owner is neither a form
  // nor a data module.
  explicit TCustomInstall(TComponent* owner);
  ~TCustomInstall() override;

  // --- published properties ------------------------------------------------
  bool AutoMaximizeWindow() const { return auto_maximize_window_; }
  virtual void SetAutoMaximizeWindow(bool v);
  TBuildInfo* BuildInfo() const { return build_info_.get(); }
  TPicture* DialogThemeBitmap() const { return dialog_theme_bitmap_.get(); }
  virtual void SetDialogThemeBitmap(const TPicture& picture);
  TDistributeType DistributeType() const { return distribute_type_; }
  virtual void SetDistributeType(TDistributeType v);
  bool HideMainForm() const { return hide_main_form_; }
  virtual void SetHideMainForm(bool v);
  TInstallInformation* Information() const { return information_.get(); }
  TControlPanelExtensionInformation* Win2KExtendedInformation() const { return extended_information_.get(); }
  TRegistrationInformation* RegistrationInformation() const { return registration_information_.get(); }
  bool NoUninstall() const { return no_uninstall_; }
  void SetNoUninstall(bool v) { no_uninstall_ = v; }
  TStrings* PresetupFiles() const { return presetup_files_.get(); }
  // Deletes the blank lines of `files` (the caller's list changes), then copies it.
  virtual void SetPresetupFiles(TStrings& files);
  bool Reboot() const { return reboot_; }
  void SetReboot(bool v) { reboot_ = v; }
  bool RunAutomatic() const { return run_automatic_; }
  void SetRunAutomatic(bool v) { run_automatic_ = v; }
  bool UseLoadingProgram() const { return use_loading_program_; }
  virtual void SetUseLoadingProgram(bool v);
  void SetNetLocation(TCustomNetInstallLocation* v) override;

  TNotifyEvent OnAfterInitialized;
  TNotifyEvent OnAfterNotifyBadInstall;
  TNotifyEvent OnAfterNotifyGoodInstall;
  TNotifyEvent OnAfterReadArchiveInfo;
  TNotifyEvent OnBeforeReadArchiveInfo;
  TRebootWindowsEvent OnBeforeReboot;
  TBeforeRunFileEvent OnBeforeRunFile;
  TUserAbortEvent OnBeforeShutdown;
  TCleanupEvent OnBeforeCleanup;
  TNotifyEvent OnBeforeNotifyBadInstall;
  TNotifyEvent OnBeforeNotifyGoodInstall;
  TNotifyEvent OnFailedReboot;
  TUserAbortEvent OnUserAbort;

  // --- state ----------------------------------------------------------------
  bool HasSwitch(Switch s) const { return (switches_ >> s) & 1u; }
  const std::string& SwitchValue(Switch s) const { return switch_values_[s]; }
  const std::string& SourceDir() const { return source_dir_; }
  TCustomForm* HostForm() const { return host_form_; }
  bool Activated() const { return activated_; }
  bool Aborted() const { return aborted_; }
  bool Running() const { return running_; }
  StartupMode Mode() const { return mode_; }
  RunResult Result() const { return result_; }

  // --- operations -------------------------------------------------------------
  // Fills the switches from the program's arguments (TApplication::Params).
  // IException "Invalid parameter <%s>. ..." for a bad argument.
  virtual void ParseCommandLine();
  // The directory of the program's own file (a Windows path), no trailing backslash.
  std::string ProgramDirectory() const;
  // The path that identifies the running distribution (for the restart command).
  std::string SetupLocation();
  // The hook put on the host form's activation in install mode.
  void HostFormActivate(TObject* sender);

  int RegisteredType() const override { return kRankFileContainer; }
  bool CreatesFileContainerSpecifier() const override { return false; }
  void Loaded() override;
  void Notification(TComponent* c, TOperation operation) override;
  // The installation run.
  void Process() override;

  // --- installation records (below \SOFTWARE\OAK\Install) ---------------------
  // The record of this setup program, found by the program file's size and
  // date; with `create` a new "Install<n>" when none matches. "" when none
  // (or when a write fails).
  virtual std::string FindInstallRecord(bool create);
  // Deletes the current record with its local archive copies; the parent
  // keys go too once they are empty. Nothing without a current record.
  virtual void RemoveInstallRecord();
  // The unfinished business of the current record: entries "<name>;<kind>"
  // (kind 1: a batch file to delete after the restart; kind 0: an object to
  // resume). Each raises IEInstall without a current record.
  virtual void ClearUnfinished();
  virtual void AddUnfinished(const std::string& name, int kind);
  virtual void ReadUnfinished(TStrings& list);
  int UnfinishedCount() const { return unfinished_count_; }

  // --- the installation run -------------------------------------------------
  // Reads the archive information of the whole tree, once per run, between
  // OnBeforeReadArchiveInfo/-984 and OnAfterReadArchiveInfo/-983.
  void ReadArchiveInfo() override;
  // Processes every script object of the registered type, in creation
  // order, with `status` shown meanwhile when it is not blank.
  virtual void InstallObjectsOfKind(int registered_type, const std::string& status);
  // The success and failure reports: events around the dialog broadcasts.
  virtual void NotifyGoodInstall();
  virtual void NotifyBadInstall();
  // Registers this program with -r in the RunOnce key ("WenmoorUnfinished").
  virtual void RegisterRunOnce();
  // The command RegisterRunOnce registers.
  std::string RunOnceCommand();
  // Asks the machine to restart; OnFailedReboot or a message when refused.
  virtual void RebootWindows();
  // Removes the loading program's temporary copy of this program (with -c).
  virtual void CleanupSetupFiles();
  virtual void RunFilesAfterInstall();
  // OnBeforeShutdown, then the application is asked to terminate.
  virtual void Shutdown();
  // OnUserAbort; true: the user's Cancel aborts the installation.
  virtual bool ConfirmUserAbort();
  // The main translator's language into the record ("Language") before a
  // restart; the stored language after it (the translator's own, or wlUser
  // without a translator, when none is stored), and that language put into
  // the main translator.
  void SaveLanguage();
  int LoadLanguage();
  void LoadLanguageIntoTranslator();
  const std::string& CleanupBatch() const { return cleanup_batch_; }
  bool CleanupPending() const { return cleanup_pending_; }

  // Start-up operations of the other modes and of the run.
  virtual void BuildFromBuildInf();
  virtual void TransferToFloppies(const std::string& drive);
  // The distribution builder: setup.exe (the loading program and its
  // self-extract block), setup.1 (this program and the PresetupFiles) and
  // files.1 in `build_dir`; IEInstall on failure.
  virtual void BuildDistribution(const std::string& program, const std::string& build_dir, bool self_extracting);
  virtual void CopySetupProgram(const std::string& build_dir, const std::string& program);
  virtual void CreateSetupArchive(const std::string& build_dir, const std::string& program);
  void MakeSelfExtracting(const std::string& setup_exe, const std::string& setup1, const std::string& files1);
  void AppendSelfExtractInfo(const std::string& path);
  void ResumeAfterReboot() override;
  // Receives every exception that escapes the application's event loop:
  // outside a run the error box; in a run the failure (or abort) path.
  virtual void HandleException(const std::exception& e);

 protected:
  // Success report, clean-up, record removed, shutdown, files run.
  void FinishGoodInstall();
  void SetResult(RunResult r) { result_ = r; }
  void SetRunning(bool v) { running_ = v; }
  void SetAborted(bool v) { aborted_ = v; }

 private:
  bool auto_maximize_window_ = true;
  std::unique_ptr<TBuildInfo> build_info_;
  std::unique_ptr<TPicture> dialog_theme_bitmap_;
  TDistributeType distribute_type_ = dtTraditional;
  bool hide_main_form_ = false;
  std::unique_ptr<TInstallInformation> information_;
  std::unique_ptr<TControlPanelExtensionInformation> extended_information_;
  std::unique_ptr<TRegistrationInformation> registration_information_;
  bool no_uninstall_ = false;
  std::unique_ptr<TStringList> presetup_files_;
  bool reboot_ = false;
  bool run_automatic_ = true;
  bool use_loading_program_ = true;

  uint8_t switches_ = 0;
  std::array<std::string, 8> switch_values_;
  std::string source_dir_;
  TCustomForm* host_form_ = nullptr;
  TNotifyEvent saved_on_activate_;
  bool hooked_ = false;
  bool activated_ = false;
  bool aborted_ = false;
  bool running_ = false;
  StartupMode mode_ = StartupMode::Install;
  RunResult result_ = RunResult::NotRun;
  bool installed_exception_handler_ = false;
  int unfinished_count_ = 0;
  std::string cleanup_batch_;
  bool cleanup_pending_ = false;
};

class TInstall : public TCustomInstall {
  WENMOOR_CLASS(TInstall, TCustomInstall)
 public:
  explicit TInstall(TComponent* owner) : TCustomInstall(owner) {}
};

// The one engine, or null.
TCustomInstall* CurrentInstall();
// The engine's distribution type; a net type (dtTraditionalNet) when there
// is no engine to ask, as script objects built without one assume.
TDistributeType CurrentDistributeType();
// The registry key of this setup program's installation record; "" when none.
std::string& CurrentRecordKey();
// One entry of the unfinished business as ReadUnfinished gives it,
// "<name>;<kind>": split at its last ";" (a path may hold one), the kind a
// whole decimal number with blanks around it allowed. False when it is not.
bool SplitUnfinishedEntry(std::string_view entry, std::string& name, int& kind);
// The local date and time at which the current run began; 0 until one begins.
TDateTime& RunStartTime();
// True from the start of a run: an install file whose ActiveX registration
// fails goes on the deferred registrations instead of failing.
bool& DeferRegistration();

}  // namespace wenmoor
