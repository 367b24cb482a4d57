#include "engine/cmp_TInstall.h"

#include <cstdio>

#include "engine/install_theme.h"
#include "script/cmp_TCustomInstallFile.h"
#include "net/cmp_TNetInstallLocation.h"
#include "paths/specifiers_windows.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/forms.h"
#include "script/script_exceptions.h"
#include "support/cmp_TProgramLauncher.h"

namespace wenmoor {
namespace {

TCustomInstall*& CurrentInstallSlot() {
  static TCustomInstall* current = nullptr;
  return current;
}

const char kInvalidParameter[] =
    "Invalid parameter <%s>. Valid command line parameters are: -b (Build), -d (Debug), -f (Transfer to floppies), "
    "-e (Called by self-extractor), -r (After reboot)";

int SwitchIndexOf(char letter) {
  switch (letter | 0x20) {
    case 'b': return TCustomInstall::kSwitchBuild;
    case 'f': return TCustomInstall::kSwitchFloppy;
    case 'd': return TCustomInstall::kSwitchDebug;
    case 'e': return TCustomInstall::kSwitchSelfExtractor;
    case 'r': return TCustomInstall::kSwitchReboot;
    case 's': return TCustomInstall::kSwitchSource;
    case 'c': return TCustomInstall::kSwitchCleanup;
    case 'n': return TCustomInstall::kSwitchNewRun;
    default: return -1;
  }
}

}  // namespace

TCustomInstall* CurrentInstall() { return CurrentInstallSlot(); }

TDistributeType CurrentDistributeType() {
  TCustomInstall* install = CurrentInstall();
  return install ? install->DistributeType() : dtTraditionalNet;
}

std::string& CurrentRecordKey() {
  static std::string key;
  return key;
}

bool& DeferRegistration() {
  static bool defer = false;
  return defer;
}

int ExitStatusOf(RunResult r) {
  switch (r) {
    case RunResult::NotRun:
    case RunResult::Completed: return 0;
    case RunResult::Failed: return 1;
    case RunResult::Aborted: return 2;
    case RunResult::RestartPending: return 3;
  }
  return 1;
}

void TBuildInfo::Assign(const TPersistent& source) {
  if (auto* o = dynamic_cast<const TBuildInfo*>(&source)) {
    add_uninstall_on_create_ = o->add_uninstall_on_create_;
    app_name_ = o->app_name_;
    app_url_ = o->app_url_;
    build_directory_ = o->build_directory_;
    credentials_file_ = o->credentials_file_;
    ocx_name_ = o->ocx_name_;
    private_key_file_ = o->private_key_file_;
    sign_code_ = o->sign_code_;
    url_path_ = o->url_path_;
    return;
  }
  TPersistent::Assign(source);
}

TCustomInstall::TCustomInstall(TComponent* owner) : TFileContainer(owner, /*creates_specifier=*/false) {
  SetInstallTypes({itFull});
  if (CurrentInstallSlot())
    throw IEInstall("The TInstall component does not currently support the use of 2 TInstall components in the same project");
  if (!dynamic_cast<TCustomForm*>(owner) && !dynamic_cast<TDataModule*>(owner))
    throw IEInstall(
        "The Owner of the TInstall component must either be a class of type TCustomForm (Delphi 3) or TForm (Delphi "
        "2.0,C++Builder 1.0)");
  build_info_ = std::make_unique<TBuildInfo>();
  dialog_theme_bitmap_ = std::make_unique<TPicture>();
  information_ = std::make_unique<TInstallInformation>();
  extended_information_ = std::make_unique<TControlPanelExtensionInformation>();
  registration_information_ = std::make_unique<TRegistrationInformation>();
  presetup_files_ = std::make_unique<TStringList>();
  dialog_theme_bitmap_->Bitmap().LoadFromBmp(InstallThemeBitmap());

  StoreArchiveFileType(StandardPathSpecifiers().FindSpecifier(TpsMainArchiveFile::StaticClass()));
  SetArchiveFile("");
  // The program-files default is for a new engine: one read from a script
  // that stores no DestDirType loses it again in Loaded.
  StoreDestDirType(StandardPathSpecifiers().FindSpecifier(TpsProgramFiles::StaticClass()));
  MarkDestDirTypeDefaulted();
  SetDestDir("\\MyApplication");
  SetDescription("TInstall component");
  // The run raises OnAfterInstallObjects itself, once, after the objects of
  // fixed kinds; the tree walk must not raise it first.
  SetFireAfterInstallObjects(false);
  CurrentInstallSlot() = this;
  if (!IsDesigning()) {
    TApplication::Instance().OnException = [this](const std::exception& e) { HandleException(e); };
    installed_exception_handler_ = true;
  }
}

TCustomInstall::~TCustomInstall() {
  if (host_form_ && !IsDesigning() && !host_form_->IsDestroying() && hooked_) {
    host_form_->OnActivate = saved_on_activate_;
    hooked_ = false;
  }
  if (CurrentInstallSlot() == this) CurrentInstallSlot() = nullptr;
  if (installed_exception_handler_) TApplication::Instance().OnException = nullptr;
  if (CurrentNetLocation() && CurrentNetLocation() == NetLocation()) SetCurrentNetLocation(nullptr);
  if (cleanup_pending_) {
    // The program's window is gone: the batch removes what was in use.
    try {
      ComponentPtr<TProgramLauncher> launcher = CreateUnowned<TProgramLauncher>();
      launcher->SetFileName(cleanup_batch_);
      launcher->SetShowMode(smHide);
      launcher->Launch();
    } catch (const std::exception&) {
    }
  }
}

void TCustomInstall::SetAutoMaximizeWindow(bool v) {
  auto_maximize_window_ = v;
  if (!IsLoading() && v) hide_main_form_ = false;
}

void TCustomInstall::SetHideMainForm(bool v) {
  hide_main_form_ = v;
  if (!IsLoading() && v) auto_maximize_window_ = false;
}

void TCustomInstall::SetDialogThemeBitmap(const TPicture& picture) { dialog_theme_bitmap_->Assign(picture); }

void TCustomInstall::SetPresetupFiles(TStrings& files) {
  for (int i = files.Count() - 1; i >= 0; --i)
    if (Trim(files[i]).empty()) files.Delete(i);
  presetup_files_->Assign(files);
}

void TCustomInstall::SetUseLoadingProgram(bool v) {
  use_loading_program_ = v;
  if (!IsLoading() && v) {
    SetArchiveFileType(StandardPathSpecifiers().FindSpecifier(TpsMainArchiveFile::StaticClass()));
    SetArchiveFile("");
  }
}

void TCustomInstall::SetDistributeType(TDistributeType v) {
  if (!IsLoading()) {
    if (!IsDesigning()) throw IEInstall("DistributeType can only be set at design-time");
    if (!NetLocation() && v != dtTraditional)
      throw IEInstallNetLocNil(
          "Must assign a net location via the NetLocation property before you can set the distribute type");
  }
  distribute_type_ = v;
}

void TCustomInstall::SetNetLocation(TCustomNetInstallLocation* v) {
  TFileContainer::SetNetLocation(v);
  SetCurrentNetLocation(v);
  if (!v) distribute_type_ = dtTraditional;
}

void TCustomInstall::Notification(TComponent* c, TOperation operation) {
  TFileContainer::Notification(c, operation);
  if (operation != opRemove || !c) return;
  if (static_cast<TComponent*>(extended_information_->DisplayIcon()) == c) extended_information_->SetDisplayIcon(nullptr);
  if (static_cast<TComponent*>(extended_information_->ReadMe()) == c) extended_information_->SetReadMe(nullptr);
  if (c == host_form_) host_form_ = nullptr;
}

void TCustomInstall::ParseCommandLine() {
  switches_ = 0;
  for (auto& v : switch_values_) v.clear();
  for (const std::string& arg : TApplication::Instance().Params()) {
    if (arg.size() < 2 || (arg[0] != '-' && arg[0] != '*')) throw IException(kInvalidParameter, arg);
    int index = SwitchIndexOf(arg[1]);
    if (index < 0) {
      if (arg[0] == '-') throw IException(kInvalidParameter, arg);
      continue;  // "*" arguments are for the loading program
    }
    switches_ |= static_cast<uint8_t>(1u << index);
    switch_values_[static_cast<size_t>(index)] = arg.substr(2);
  }
}

std::string TCustomInstall::ProgramDirectory() const {
  return ExcludeTrailingBackslash(ExtractFilePath(TApplication::Instance().ExeName()));
}

std::string TCustomInstall::SetupLocation() {
  if (HasSwitch(kSwitchSelfExtractor)) return ExcludeTrailingBackslash(GetArchivePath());
  if (use_loading_program_) {
    const auto& params = TApplication::Instance().Params();
    return source_dir_ + "\\" + (params.size() >= 2 ? params[1] : std::string());
  }
  return TApplication::Instance().ExeName();
}

void TCustomInstall::Loaded() {
  TFileContainer::Loaded();
  SetPresetupFiles(*presetup_files_);  // a stored list keeps no blank lines either
  if (!IsDesigning()) {
    ParseCommandLine();
    if (HasSwitch(kSwitchDebug) && (!HasSwitch(kSwitchSource) || Trim(SwitchValue(kSwitchSource)).empty()))
      throw IEInstall(
          "You forgot to pass in the build directory. In Run | Parameters, follow this format: -d \"-sC:\\My "
          "Build\"");
  }
  source_dir_ = HasSwitch(kSwitchSource) ? SwitchValue(kSwitchSource) : ProgramDirectory();
  CurrentRecordKey() = FindInstallRecord(false);
  if (std::string path; FindLocalArchive(path)) SetLocalArchive(path);

  if (TCustomForm* main = TApplication::Instance().MainForm()) host_form_ = main;
  else if (auto* form = dynamic_cast<TCustomForm*>(Owner())) host_form_ = form;
  else if (run_automatic_ && !IsDesigning())
    throw IEInstall(
        "Application.MainForm is undefined and the TInstall is not on a form. Therefore, therefore the TInstall "
        "can't run the installation automatically");
  if (host_form_) FreeNotification(host_form_);

  SetCurrentInstallType(itFull);
  for (TInstallType t : {itDefault, itCompact, itFull}) {
    if (InstallTypes().Contains(t)) {
      SetCurrentInstallType(t);
      break;
    }
  }

  if (IsDesigning()) {
    mode_ = StartupMode::Design;
  } else if (HasSwitch(kSwitchBuild)) {
    mode_ = StartupMode::Build;
    BuildFromBuildInf();
  } else if (HasSwitch(kSwitchFloppy)) {
    mode_ = StartupMode::FloppyTransfer;
    TransferToFloppies("a:");
  } else if (HasSwitch(kSwitchReboot)) {
    mode_ = StartupMode::Resume;
    ResumeAfterReboot();
  } else {
    mode_ = StartupMode::Install;
    if (auto* form = dynamic_cast<TForm*>(host_form_)) {
      saved_on_activate_ = form->OnActivate;
      form->OnActivate.Assign([this](TObject* sender) { HostFormActivate(sender); });
      hooked_ = true;
      if (hide_main_form_) {
        form->SetLeft(-2 * form->Width());
        form->SetTop(-2 * form->Height());
      }
    }
  }
}

void TCustomInstall::HostFormActivate(TObject*) {
  if (activated_) return;
  saved_on_activate_(Owner());
  activated_ = true;
  if (host_form_ && auto_maximize_window_) {
    host_form_->SetWindowState(wsMaximized);
    host_form_->Repaint();
  }
  if (!run_automatic_) return;
  if (host_form_ && !(Owner() && Owner()->IsDestroying()) && hooked_ && dynamic_cast<TForm*>(host_form_)) {
    host_form_->OnActivate = saved_on_activate_;
    hooked_ = false;
  }
  Process();
}


WENMOOR_REGISTER_CLASS(TBuildInfo) {
  c.Prop("AddUninstallOnCreate", &T::AddUninstallOnCreate, &T::SetAddUninstallOnCreate).Default(true);
  c.Prop("AppName", &T::AppName, &T::SetAppName);
  c.Prop("AppURL", &T::AppURL, &T::SetAppURL);
  c.Prop("BuildDirectory", &T::BuildDirectory, &T::SetBuildDirectory);
  c.Prop("CredentialsFile", &T::CredentialsFile, &T::SetCredentialsFile);
  c.Prop("OCXName", &T::OCXName, &T::SetOCXName);
  c.Prop("PrivateKeyFile", &T::PrivateKeyFile, &T::SetPrivateKeyFile);
  c.Prop("SignCode", &T::SignCode, &T::SetSignCode).Default(false);
  c.Prop("URLPath", &T::URLPath, &T::SetURLPath);
  c.Prop("WnmrVersion", &T::WnmrVersion);
}

WENMOOR_REGISTER_CLASS(TCustomInstall) {}

WENMOOR_REGISTER_CLASS(TInstall) {
  c.Prop("AutoMaximizeWindow", &T::AutoMaximizeWindow, &T::SetAutoMaximizeWindow).Default(true);
  c.Object("BuildInfo", &T::BuildInfo);
  c.Prop("DestDir", &T::DestDir, &T::SetDestDir);
  c.Prop("DestDirType", &T::DestDirType, &T::SetDestDirType);
  c.Object("DialogThemeBitmap", &T::DialogThemeBitmap);
  c.Prop("DistributeType", &T::DistributeType, &T::SetDistributeType).Default(dtTraditional);
  c.Prop("HideMainForm", &T::HideMainForm, &T::SetHideMainForm).Default(false);
  c.Object("Information", &T::Information);
  c.Object("win2KExtendedInformation", &T::Win2KExtendedInformation);
  c.Prop("InstallTypes", &T::InstallTypes, &T::SetInstallTypes).Default(TInstallTypeSet{itFull});
  c.Prop("NetLocation", &T::NetLocation, &T::SetNetLocation);
  c.Prop("NoUninstall", &T::NoUninstall, &T::SetNoUninstall).Default(false);
  c.Object("PresetupFiles", &T::PresetupFiles);
  c.Prop("Reboot", &T::Reboot, &T::SetReboot).Default(false);
  c.Prop("RunAutomatic", &T::RunAutomatic, &T::SetRunAutomatic).Default(true);
  c.Prop("UseLoadingProgram", &T::UseLoadingProgram, &T::SetUseLoadingProgram).Default(true);
  c.Event("OnAfterInitialized", &T::OnAfterInitialized);
  c.Event("OnAfterInstallObjects", &T::OnAfterInstallObjects);
  c.Event("OnAfterNotifyBadInstall", &T::OnAfterNotifyBadInstall);
  c.Event("OnAfterNotifyGoodInstall", &T::OnAfterNotifyGoodInstall);
  c.Event("OnAfterReadArchiveInfo", &T::OnAfterReadArchiveInfo);
  c.Event("OnBeforeInstallObjects", &T::OnBeforeInstallObjects);
  c.Event("OnBeforeReadArchiveInfo", &T::OnBeforeReadArchiveInfo);
  c.Event("OnBeforeReboot", &T::OnBeforeReboot);
  c.Event("OnBeforeRunFile", &T::OnBeforeRunFile);
  c.Event("OnBeforeShutdown", &T::OnBeforeShutdown);
  c.Event("OnBeforeCleanup", &T::OnBeforeCleanup);
  c.Event("OnBeforeNotifyBadInstall", &T::OnBeforeNotifyBadInstall);
  c.Event("OnBeforeNotifyGoodInstall", &T::OnBeforeNotifyGoodInstall);
  c.Event("OnFailedReboot", &T::OnFailedReboot);
  c.Event("OnNewDisk", &T::OnNewDisk);
  c.Event("OnReplacing", &T::OnReplacing);
  c.Event("OnStatus", &T::OnStatus);
  c.Event("OnUserAbort", &T::OnUserAbort);
}

}  // namespace wenmoor
