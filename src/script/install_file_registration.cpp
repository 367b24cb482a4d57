// What an install file does around the writing of its destination: the
// replacement of a file in use at the next start of Windows, and the
// registrations after installing (help file, shared-DLL count, ActiveX
// servers and type libraries, the records for the uninstaller).
#include <cstdint>
#include <memory>
#include <string>

#include "engine/cmp_TInstall.h"
#include "platform/rtl/cleanup.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "platform/win/ini_file.h"
#include "platform/win/library.h"
#include "platform/win/machine.h"
#include "platform/win/paths.h"
#include "platform/win/type_library.h"
#include "platform/win/win_error.h"
#include "registry/cmp_TWnmrRegistry.h"
#include "registry/routines_Registry.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/event_parameters.h"
#include "script/script_exceptions.h"
#include "support/cmp_TProgramLauncher.h"
#include "support/cmp_TVersion.h"
#include "support/routines_API.h"

namespace wenmoor {
namespace {

const char kHelpKey[] = "\\SOFTWARE\\Microsoft\\Windows\\Help";
const char kSharedDllsKey[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char kCannotRegisterMove[] =
    "%s cannot register a routine in the register to move the files after the computer is reboot";

// How many "Files" keys (Files, Files1, ...) a file record tries before the
// write error passes on: a key refuses values only when the registry does,
// and then every further key refuses them too.
constexpr int kMaxFileListKeys = 10;

// The path the short form names, or the long path when the system gives none.
std::string ShortOrLong(const std::string& path) {
  std::string s = GetShortPath(path);
  return s.empty() ? path : s;
}

// A batch-file argument: blanks would split it, so such a path is quoted.
std::string BatchArgument(const std::string& path) {
  return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

// The whole number of an "Entries" value; EConvertError when it is none, so
// that a damaged count never makes a record overwrite an earlier one.
int EntriesOf(const std::string& key) {
  std::string text;
  ReadRegistryString(hkLocalMachine, key, "Entries", text, "0");
  return static_cast<int>(StrToInt(text));
}

// Makes a directory current for the time of a registration; a failure to
// change, or to change back, is ignored as Windows programs ignore it.
class CurrentDirectoryScope {
 public:
  explicit CurrentDirectoryScope(const std::string& dir)
      : saved_(platform::Machine::Current().Paths().CurrentDirectory()) {
    platform::Machine::Current().Paths().SetCurrentDirectory(dir);
  }
  ~CurrentDirectoryScope() { platform::Machine::Current().Paths().SetCurrentDirectory(saved_); }
  CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
  CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

 private:
  std::string saved_;
};

}  // namespace

void RegisterDeferredFiles() {
  TCustomInstallFileList& list = DeferredRegistrations();
  std::vector<TCustomInstallFile*> files;
  for (int i = 0; i < list.Count(); ++i) files.push_back(list.Items(i));
  list.Clear();
  for (TCustomInstallFile* f : files) f->RegisterActiveX();
}

// --- a destination in use -------------------------------------------------------

void TCustomInstallFile::PrepareReplace() {
  OnReplacing(this);
  NotifyHelpers(this, kNotifyReplacing, this);
  Report(kReportReplacing, this);
  will_copy_ = true;

  const std::string in_use = DestinationPath();
  // Only an existing destination is tried: the test for a holder of the
  // file scans the machine's processes and costs far more than the look.
  if (!platform::FileExists(in_use) || platform::DeleteFile(in_use)) return;

  replaced_at_restart_ = true;
  const std::string dir = IncludeTrailingBackslash(GetDestinationDir());
  std::string new_name;
  for (int n = 1;; ++n) {
    new_name = ChangeFileExt(dest_name_, "." + IntToStr(n));
    if (!platform::FileExists(dir + new_name)) break;
  }
  name_before_replacement_ = dest_name_;
  SetDestName(new_name);
  ScheduleReplacement(in_use, dir + new_name);
}

void TCustomInstallFile::ScheduleReplacement(const std::string& in_use, const std::string& replacement) {
  const std::string short_in_use = ShortOrLong(in_use);
  const std::string short_replacement =
      IncludeTrailingBackslash(ExtractFileDir(short_in_use)) + ExtractFileName(replacement);
  TCustomInstall* install = CurrentInstall();
  if (install) install->SetReboot(true);

  const TOSVerType os = GetWindowsVersion();
  if (os == oswin95 || os == oswin98 || os == oswinME) {
    // A lost entry would leave the new file beside the old one for good.
    if (!platform::WritePrivateProfileString("Rename", short_in_use, short_replacement,
                                             IncludeTrailingBackslash(GetWindowsDir()) + "WININIT.INI"))
      throw IECustomInstallFile(kCannotRegisterMove, Name());
    return;
  }
  if (platform::MoveFileEx(replacement, in_use,
                           platform::MOVEFILE_REPLACE_EXISTING | platform::MOVEFILE_DELAY_UNTIL_REBOOT))
    return;
  WriteReplacementBatch(short_in_use, short_replacement);
}

void TCustomInstallFile::WriteReplacementBatch(const std::string& short_in_use,
                                               const std::string& short_replacement) {
  // The reserved temporary file stays, so that the next batch file cannot
  // be given the same name.
  const std::string batch = ChangeFileExt(CreateTempFileName(true), ".bat");
  const std::string text = "erase " + BatchArgument(short_in_use) + "\r\nmove " + BatchArgument(short_replacement) +
                           " " + BatchArgument(short_in_use) + "\r\n";
  {
    TFileStream out(batch, fmCreate);
    out.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  }
  if (TCustomInstall* install = CurrentInstall()) install->AddUnfinished(batch, 1);
  if (!AddRunOnce("WenmoorBatFile", batch, true)) throw IECustomInstallFile(kCannotRegisterMove, Name());
}

std::string TCustomInstallFile::FinalDestinationPath() {
  return IncludeTrailingBackslash(GetDestinationDir()) +
         (replaced_at_restart_ ? name_before_replacement_ : dest_name_);
}

// --- after installing ------------------------------------------------------------

void TCustomInstallFile::AfterInstalled() {
  if (register_as_help_) {
    const std::string final_name = ExtractFileName(FinalDestinationPath());
    WriteRegistryString(hkLocalMachine, kHelpKey, UpperCase(final_name), GetDestinationDir());
  }
  if (update_dll_counter_ && !IncrementSharedDLLCount())
    throw IECustomInstallFile("Cannot update the DLL count for the following file :%s:", file_name_);
  TCustomInstall* install = CurrentInstall();
  if (replaced_at_restart_) {
    // The file under its real name exists only after the restart; it is
    // registered then (ResumeAfterReboot).
    if (install) install->AddUnfinished(Name(), 0);
    return;
  }
  if (!active_x_) return;
  try {
    RegisterActiveX();
  } catch (const EAbort&) {
    throw;
  } catch (const std::exception&) {
    if (!DeferRegistration()) throw;
    DeferredRegistrations().Add(this);
  }
}

bool TCustomInstallFile::IncrementSharedDLLCount() {
  TwnmrRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(kSharedDllsKey, true))
    throw IECustomInstallFile(
        "Could not open the key SharedDLLs key in the registry. File component %s. GetLastError return: %d", Name(),
        static_cast<int64_t>(platform::GetLastError()));
  const std::string long_path = FinalDestinationPath();
  const std::string short_path = GetShortPath(long_path);
  if (!short_path.empty() && registry.ValueExists(short_path) && registry.GetDataType(short_path) == rdInteger) {
    registry.WriteInteger(short_path, registry.ReadInteger(short_path) + 1);
    return true;
  }
  int32_t count = 0;
  if (registry.ValueExists(long_path) && registry.GetDataType(long_path) == rdInteger)
    count = registry.ReadInteger(long_path);
  registry.WriteInteger(long_path, count + 1);
  return true;
}

// --- ActiveX ---------------------------------------------------------------------

void TCustomInstallFile::RegisterActiveX() {
  const std::string ext = UpperCase(ExtractFileExt(file_name_));
  if (ext == ".EXE") RegisterEXEServer();
  else if (ext == ".TLB") RegisterTypeLibrary();
  else RegisterDLLServer();
}

std::string TCustomInstallFile::RegistrationTarget() {
  const std::string path = DestinationPath();
  if (Trim(IncludeTrailingBackslash(GetDestinationDir()) + dest_name_).empty() || !platform::FileExists(path))
    throw IECustomInstallFile(kBlankDestination, Name());
  return path;
}

void TCustomInstallFile::RegisterDLLServer() {
  const std::string path = RegistrationTarget();
  CurrentDirectoryScope in_destination(GetDestinationDir());
  std::unique_ptr<platform::Library> library = platform::Library::Load(path);
  if (!library)
    throw IECustomInstallFile(
        "Could not register the ActiveX component, %s, because the LoadLibrary(%s) procedure returned a value of 0. "
        "The file component is %s. The following value is the value of the GetLastError function: %d",
        path, path, Name(), static_cast<int64_t>(platform::GetLastError()));
  using RegisterServer = int32_t (*)();
  auto* entry = reinterpret_cast<RegisterServer>(library->ProcAddress("DllRegisterServer"));
  if (!entry)
    throw IECustomInstallFile(
        "Could not register the ActiveX component, %s, because the DllRegisterServer function could not be found. "
        "The file component is %s. The following value is the value of the GetLastError function: %d",
        path, Name(), static_cast<int64_t>(platform::GetLastError()));
  if (const int32_t result = entry(); result != 0)
    throw IECustomInstallFile(
        "Could not register the ActiveX component, %s, because the DllRegisterServer function returned a value of "
        "%d. The file component is %s",
        path, static_cast<int64_t>(result), Name());
}

void TCustomInstallFile::RegisterTypeLibrary() {
  const std::string path = RegistrationTarget();
  CurrentDirectoryScope in_destination(GetDestinationDir());
  platform::TypeLibraryInfo info;
  if (const int32_t hr = platform::LoadTypeLib(path, info); hr != 0) throw EOleError(hr);
  const std::string help_dir = ExtractFileDir(info.help_file);
  if (const int32_t hr = platform::RegisterTypeLib(info, path, help_dir); hr != 0) throw EOleError(hr);
}

void TCustomInstallFile::RegisterEXEServer() {
  const std::string path = RegistrationTarget();
  CurrentDirectoryScope in_destination(GetDestinationDir());
  ComponentPtr<TProgramLauncher> launcher = CreateUnowned<TProgramLauncher>();
  launcher->SetFileName(path);
  launcher->SetParameters("/REGSERVER");
  launcher->SetShowMode(smHide);
  launcher->Launch();
}

bool TCustomInstallFile::HasOLESelfRegister(const std::string& path) {
  const std::optional<PeVersionInfo> info = ReadVersionInfo(path);
  if (!info || !info->translations || info->translations->empty()) return false;
  const VersionTranslation& first = info->translations->front();
  return info->FindString(PeVersionInfo::TableKey(first.language, first.code_page), "OLESelfRegister") != nullptr;
}

// --- after the restart and for the uninstaller -----------------------------------

void TCustomInstallFile::ResumeAfterReboot() {
  if (active_x_) RegisterActiveX();
  SetFileAttributesFromSet(DestinationPath(), install_attributes_);
}

void TCustomInstallFile::RegisterUninstall(const std::string& key) {
  const std::string path = FinalDestinationPath();
  if (active_x_) {
    const std::string list_key = IncludeTrailingBackslash(key) + "ActiveX";
    const std::string ext = UpperCase(ExtractFileExt(file_name_));
    const char* kind = ext == ".TLB" ? "2" : ext == ".EXE" ? "1" : "0";
    const int n = EntriesOf(list_key) + 1;
    WriteRegistryString(hkLocalMachine, list_key, "File" + IntToStr(n), path + ";" + kind);
    WriteRegistryString(hkLocalMachine, list_key, "Entries", IntToStr(n));
    return;
  }
  for (int k = 0;; ++k) {
    const std::string list_key = IncludeTrailingBackslash(key) + "Files" + (k == 0 ? "" : IntToStr(k));
    const int n = EntriesOf(list_key) + 1;
    try {
      WriteRegistryString(hkLocalMachine, list_key, "File" + IntToStr(n), path);
    } catch (const EIRCannotWriteValue&) {
      if (k + 1 >= kMaxFileListKeys) throw;
      continue;
    }
    WriteRegistryString(hkLocalMachine, list_key, "Entries", IntToStr(n));
    return;
  }
}

}  // namespace wenmoor
