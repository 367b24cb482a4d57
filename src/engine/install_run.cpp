// The installation run: from the host form's first activation (or the
// resumption after a restart) to the end of the program.
//
// Phases of Process, in order: the record, the archive information,
// OnAfterInitialized, the before-install dialogs (-986, -980), the engine's
// tree, the deferred registrations, the objects of fixed kinds; then either
// the restart (RunOnce entry, language, reboot dialog -987, OnBeforeReboot,
// ExitWindowsEx) or the success report (-995, -979), the clean-up and the
// removal of the record. An exception ends the run in HandleException.
#include <chrono>
#include <ctime>

#include "engine/cmp_TInstall.h"
#include "engine/self_extract_info.h"
#include "engine/install_net.h"
#include "platform/rtl/cleanup.h"
#include "platform/rtl/localize.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/forms.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "platform/win/shutdown.h"
#include "registry/cmp_TWnmrRegistry.h"
#include "registry/routines_Registry.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/event_parameters.h"
#include "script/script_exceptions.h"
#include "script/shared_archive.h"
#include "archive/cmp_TWnmrCompress.h"
#include "support/cmp_TProgramLauncher.h"
#include "support/routines_API.h"

namespace wenmoor {
namespace {

constexpr char kRunOnceName[] = "WenmoorUnfinished";
constexpr char kRunOnceKey[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// The objects of fixed kinds, by registered type, in the order they are
// installed, with the status text shown meanwhile.
struct KindStep {
  int registered_type;
  const char* status;
};
constexpr KindStep kKindSteps[] = {
    {2750, "Installing ODBC drivers..."},
    {2875, "Installing ODBC sources..."},
    {3000, "Installing Borland Database Engine aliases..."},
    {7000, "Installing shell links..."},
    {8000, "Installing shell links..."},
    {4000, "Installing INI files..."},
    {kRankRegistry, "Installing registry keys..."},
    {8700, ""},
    {9052, ""},
    {9050, ""},
    {9054, ""},
};

TDateTime Now() {
  const auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since_epoch);
  struct timespec t {};
  t.tv_sec = static_cast<time_t>(seconds.count());
  t.tv_nsec = static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(since_epoch - seconds).count());
  return platform::UnixTimeToDateTime(t);
}

// Whether the RunOnce key of this system already holds `command` under a
// name of the resume entry: a run that was interrupted after registering
// and is now repeated must not leave two resumptions behind.
bool RunOnceHolds(const std::string& command) {
  try {
    TwnmrRegistry registry;
    registry.SetRootKey(NTFamily.Contains(GetWindowsVersion()) ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE);
    if (!registry.OpenKey(kRunOnceKey, false)) return false;
    for (const std::string& name : registry.ValueNames()) {
      if (CompareText(name.substr(0, sizeof kRunOnceName - 1), kRunOnceName) != 0) continue;
      if (registry.GetDataType(name) == rdString && registry.ReadString(name) == command) return true;
    }
  } catch (const std::exception&) {
  }
  return false;
}

}  // namespace

void TCustomInstall::Process() {
  aborted_ = false;
  RunStartTime() = Now();
  DeferRegistration() = true;
  DeferredRegistrations().Clear();
  unfinished_count_ = 0;
  cleanup_pending_ = false;
  running_ = true;
  try {
    if (use_loading_program_ && !HasSwitch(kSwitchSource))
      throw IEInstall(
          "The path of the loading program was not passed correctly. If you are running your install project in "
          "the IDE, then you need to add two command line parameters. In Run | Parameters | \"Run Parameters\", "
          "type in: -d \"-sBUILDPATH\" where BUILDPATH is the path into which you built the distributables. "
          "Example: -d \"-sC:\\My Build\".");
    if (HasSwitch(kSwitchNewRun)) ClearUnfinished();
    CurrentRecordKey() = FindInstallRecord(true);
    ClearUnfinished();
    // A self-extracting distribution holds files.1 inside setup.exe.
    if (HasSwitch(kSwitchSelfExtractor))
      SharedArchive().SetOffset(ReadSelfExtractInfo(GetArchivePath()).files1_start);
    ReadArchiveInfo();
    OnAfterInitialized(this);
    NotifyHelpers(this, kNotifyRunInitialised, nullptr);
    NotifyHelpers(this, kNotifyBeforeInstallDialogs, nullptr);
    if (aborted_) return;  // the handler ran while the dialogs were shown

    WithCleanup(
        [&] {
          TFileContainer::Process();
          RegisterDeferredFiles();
          for (const KindStep& step : kKindSteps) InstallObjectsOfKind(step.registered_type, step.status);
        },
        [&] { OnAfterInstallObjects(this, SharedArchive().Abort()); });

    if (unfinished_count_ > 0 || reboot_) RegisterRunOnce();
    const bool was_reboot = reboot_;
    if (was_reboot) SaveLanguage();
    if (reboot_) NotifyHelpers(this, kNotifyRestartNeeded, nullptr);
    if (reboot_) OnBeforeReboot(this, reboot_);
    if (reboot_) {
      RebootWindows();
      TApplication::Instance().Terminate();
    }
    if (was_reboot) {
      // The success report comes after the restart, from ResumeAfterReboot.
      result_ = RunResult::RestartPending;
      running_ = false;
      TApplication::Instance().Terminate();
      return;
    }
    FinishGoodInstall();
  } catch (const std::exception& e) {
    HandleException(e);
  }
}

// The end of a completed installation, in the run or after the restart.
void TCustomInstall::FinishGoodInstall() {
  NotifyGoodInstall();
  CleanupSetupFiles();
  RemoveInstallRecord();
  if (run_automatic_) Shutdown();
  RunFilesAfterInstall();
  result_ = RunResult::Completed;
  running_ = false;
}

void TCustomInstall::ReadArchiveInfo() {
  if (ArchiveInfoRead()) return;
  OnBeforeReadArchiveInfo(this);
  NotifyHelpers(this, kNotifyReadingArchiveInfo, nullptr);
  TCursor saved = crDefault;
  if (host_form_) {
    saved = host_form_->Cursor();
    host_form_->SetCursor(crHourGlass);
  }
  StatusMessage(LocalizeMessage("Reading file information..."));
  WithCleanup(
      [&] {
        TFileContainer::ReadArchiveInfo();
        if (distribute_type_ != dtTraditional) ReadRemoteFileList(*this);
      },
      [&] {
        if (host_form_) host_form_->SetCursor(saved);
        ClearStatusMessage();
      });
  SetArchiveInfoRead(true);
  OnAfterReadArchiveInfo(this);
  NotifyHelpers(this, kNotifyArchiveInfoRead, nullptr);
}

void TCustomInstall::InstallObjectsOfKind(int registered_type, const std::string& status) {
  bool shown = false;
  WithCleanup(
      [&] {
        // A copy: installing an object may create or free others.
        const std::vector<TInstallContainer*> objects = InstallContainers().All();
        for (TInstallContainer* object : objects) {
          if (object->RegisteredType() != registered_type) continue;
          if (!Trim(status).empty() && !shown) {
            StatusMessage(LocalizeMessage(status));
            shown = true;
          }
          object->Process();
        }
      },
      [&] {
        if (shown) ClearStatusMessage();
      });
}

void TCustomInstall::NotifyGoodInstall() {
  OnBeforeNotifyGoodInstall(this);
  NotifyHelpers(this, kNotifyGoodInstall, nullptr);
  NotifyHelpers(this, kNotifyAfterGoodInstallDialogs, nullptr);
  OnAfterNotifyGoodInstall(this);
}

void TCustomInstall::NotifyBadInstall() {
  OnBeforeNotifyBadInstall(this);
  NotifyHelpers(this, kNotifyBadInstall, nullptr);
  NotifyHelpers(this, kNotifyAfterBadInstallDialogs, nullptr);
  OnAfterNotifyBadInstall(this);
}

std::string TCustomInstall::RunOnceCommand() {
  const std::string location = SetupLocation();
  const std::string directory = ExcludeTrailingBackslash(ExtractFilePath(location));
  std::string command = "\"" + TApplication::Instance().ExeName();
  if (HasSwitch(kSwitchSelfExtractor))
    command += "\" -r \"-e" + ExtractFileName(location) + "\" \"-s" + directory + "\"";
  else
    command += "\" -r \"-s" + directory + "\"";
  if (HasSwitch(kSwitchCleanup)) command += " -c";
  return command;
}

void TCustomInstall::RegisterRunOnce() {
  const std::string command = RunOnceCommand();
  if (RunOnceHolds(command)) return;
  if (!AddRunOnce(kRunOnceName, command, true))
    throw IEInstall("Cannot register the install to be run on reboot in the RunOnce key in the registry");
}

void TCustomInstall::RebootWindows() {
  const TOSVerType os = GetWindowsVersion();
  bool done = false;
  if (os == oswin95 || os == oswin98 || os == oswinME) {
    done = platform::ExitWindowsEx(platform::EWX_REBOOT, 0);
  } else if (NTFamily.Contains(os)) {
    platform::TokenHandle token;
    uint64_t luid = 0;
    done = platform::OpenProcessToken(platform::TOKEN_ADJUST_PRIVILEGES | platform::TOKEN_QUERY, token) &&
           platform::LookupPrivilegeValue("SeShutdownPrivilege", luid) &&
           platform::AdjustTokenPrivileges(token, luid, platform::SE_PRIVILEGE_ENABLED) &&
           platform::ExitWindowsEx(platform::EWX_REBOOT, 0);
  }
  if (done) return;
  if (OnFailedReboot) OnFailedReboot(this);
  else ShowMessage(LocalizeMessage("Could not reboot windows. Please manually reboot windows."));
}

void TCustomInstall::CleanupSetupFiles() {
  if (!use_loading_program_ || !HasSwitch(kSwitchCleanup) || HasSwitch(kSwitchDebug) || IsDesigning()) return;
  bool go_on = true;
  OnBeforeCleanup(this, go_on);
  if (!go_on) return;

  const std::string program = TApplication::Instance().ExeName();
  const std::string directory = ProgramDirectory();
  for (const platform::FindData& entry : platform::FindFiles(directory + "\\*.*")) {
    if (entry.name == "." || entry.name == "..") continue;
    platform::DeleteFile(directory + "\\" + entry.name);  // the running program itself stays
  }
  platform::RemoveDirectory(directory);

  // What is still in use goes once this program has ended: a batch file,
  // started hidden when the engine is destroyed.
  const std::string batch = ChangeFileExt(CreateTempFileName(false), ".bat");
  const std::string text = "ERASE " + program + "\r\n" + "DELTREE /Y " + directory + "\r\n" + "ERASE " +
                           ChangeFileExt(batch, ".PIF") + "\r\n" + "ERASE " + batch + "\r\n";
  try {
    TFileStream out(batch, fmCreate);
    out.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  } catch (const Exception&) {
    return;  // without a batch file what is left stays
  }
  cleanup_batch_ = batch;
  cleanup_pending_ = true;
}

void TCustomInstall::RunFilesAfterInstall() {
  for (int i = 0; i < AllInstallFiles().Count(); ++i) {
    TCustomInstallFile* file = AllInstallFiles().Items(i);
    if (!file->RunAfterInstall()) continue;
    bool default_action = true;
    OnBeforeRunFile(this, file, default_action);
    if (!file->RunAfterInstall() || !default_action) continue;
    ComponentPtr<TProgramLauncher> launcher = CreateUnowned<TProgramLauncher>();
    launcher->SetFileName(file->DestinationPath());
    launcher->SetShowMode(smNormal);
    launcher->Launch();
  }
}

void TCustomInstall::Shutdown() {
  bool quit = true;
  OnBeforeShutdown(this, quit);
  if (quit) TApplication::Instance().Terminate();
}

bool TCustomInstall::ConfirmUserAbort() {
  bool quit = true;
  OnUserAbort(this, quit);
  return quit;
}

void TCustomInstall::HandleException(const std::exception& e) {
  TApplication& app = TApplication::Instance();
  if (!running_) {
    if (result_ == RunResult::NotRun) result_ = RunResult::Failed;
    app.ShowException(e);
    return;
  }
  running_ = false;
  aborted_ = true;
  try {
    if (dynamic_cast<const EAIUserAbort*>(&e)) {
      result_ = RunResult::Aborted;
      NotifyBadInstall();
      CleanupSetupFiles();
      RemoveInstallRecord();
      if (run_automatic_) Shutdown();
    } else {
      result_ = RunResult::Failed;
      NotifyBadInstall();
      app.ShowException(e);
      Shutdown();
    }
  } catch (const std::exception&) {
    if (run_automatic_) app.Terminate();
  }
}

void TCustomInstall::ResumeAfterReboot() {
  running_ = true;
  try {
    CurrentRecordKey() = FindInstallRecord(false);
    LoadLanguageIntoTranslator();
    TStringList entries;
    ReadUnfinished(entries);
    for (int i = 0; i < entries.Count(); ++i) {
      const std::string& entry = entries[i];
      std::string name;
      int kind = 0;
      if (!SplitUnfinishedEntry(entry, name, kind))
        throw IEInstall("There is an invalid entry for the unfinished install list %s", entry);
      if (kind == 1) {
        platform::DeleteFile(name);
      } else if (kind == 0) {
        const std::vector<TInstallContainer*> objects = InstallContainers().All();
        for (TInstallContainer* object : objects)
          if (CompareText(object->Name(), name) == 0) object->ResumeAfterReboot();
      }
    }
    // Cleared once every entry is done (each is safe to do twice): a resumption
    // that is interrupted is resumed again in full.
    ClearUnfinished();
    FinishGoodInstall();
  } catch (const std::exception& e) {
    HandleException(e);
  }
}

}  // namespace wenmoor
