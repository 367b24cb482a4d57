#include "script/cmp_TCustomInstallFile.h"

#include <algorithm>
#include <bitset>
#include <cstring>
#include <memory>

#include "archive/cmp_TWnmrCompress.h"
#include "archive/file_header_rec.h"
#include "archive/lzh_file_stats.h"
#include "engine/cmp_TInstall.h"
#include "platform/rtl/cleanup.h"
#include "paths/specifiers_windows.h"
#include "platform/rtl/sysutils.h"
#include "net/cmp_TNetInstallLocation.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/forms.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "script/event_parameters.h"
#include "script/script_exceptions.h"
#include "script/shared_archive.h"
#include "support/cmp_TVersion.h"

namespace wenmoor {
namespace {

// Which identifiers are taken; the first file that finishes loading
// discards what the constructors handed out while the script was read.
struct UniqueIdTable {
  std::bitset<TCustomInstallFile::kUniqueIdCount> taken;
  bool prepared = false;
};
UniqueIdTable& Ids() {
  static UniqueIdTable table;
  return table;
}
bool InRange(int id) { return id >= 0 && id < TCustomInstallFile::kUniqueIdCount; }


const char kBlankArchive[] =
    "Cannot either compress or decompress the following file because it's archive file property is blank. File is :%s";

}  // namespace

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

// --- life ---------------------------------------------------------------------

TCustomInstallFile::TCustomInstallFile(TComponent* owner) : TFileRelated(owner) {
  SetInclude(true);
  SetNet(false);
  AllInstallFiles().Add(this);
  UniqueIdTable& ids = Ids();
  for (int id = 0; id < kUniqueIdCount; ++id) {
    if (!ids.taken[static_cast<size_t>(id)]) {
      ids.taken[static_cast<size_t>(id)] = true;
      unique_id_ = id;
      break;
    }
  }
}

TCustomInstallFile::~TCustomInstallFile() {
  DeferredRegistrations().Remove(this);
  AllInstallFiles().Remove(this);
  if (InRange(unique_id_)) Ids().taken[static_cast<size_t>(unique_id_)] = false;
}

void TCustomInstallFile::Destroying() { TFileRelated::Destroying(); }

TCustomInstallFile* TCustomInstallFile::CreateFromPath(TComponent* owner, const std::string& path) {
  auto* file = Create<TInstallFile>(owner);
  file->SetIncludeFromDir(ExcludeTrailingBackslash(ExtractFilePath(path)));
  file->SetFileName(ExtractFileName(path));
  return file;
}

TCustomInstallFile* TCustomInstallFile::CreateInContainer(TComponent* owner, TInstallContainer* container,
                                                          const std::string& path) {
  TCustomInstallFile* file = CreateFromPath(owner, path);
  file->SetContainer(container);
  return file;
}

void TCustomInstallFile::Loaded() {
  TFileRelated::Loaded();
  UniqueIdTable& ids = Ids();
  if (!ids.prepared) {
    ids.taken.reset();
    ids.prepared = true;
  }
  if (InRange(unique_id_)) ids.taken[static_cast<size_t>(unique_id_)] = true;
}

// --- properties and their defaults --------------------------------------------

void TCustomInstallFile::SetActiveX(bool v) {
  if (IsLoading()) active_x_ = v;
  else ChangeFileProperties(Container(), include_from_dir_, v, file_type_, DestDirType(), dest_name_, DestDir(), file_name_);
}

void TCustomInstallFile::SetDestName(const std::string& v) {
  if (IsLoading()) dest_name_ = v;
  else ChangeFileProperties(Container(), include_from_dir_, active_x_, file_type_, DestDirType(), v, DestDir(), file_name_);
}

void TCustomInstallFile::SetFileName(const std::string& v) {
  if (IsLoading()) file_name_ = v;
  else ChangeFileProperties(Container(), include_from_dir_, active_x_, file_type_, DestDirType(), dest_name_, DestDir(), v);
}

void TCustomInstallFile::SetFileType(TInstallFileType v) {
  if (IsLoading()) file_type_ = v;
  else ChangeFileProperties(Container(), include_from_dir_, active_x_, v, DestDirType(), dest_name_, DestDir(), file_name_);
}

void TCustomInstallFile::SetIncludeFromDir(const std::string& v) {
  if (IsLoading()) include_from_dir_ = v;
  else ChangeFileProperties(Container(), v, active_x_, file_type_, DestDirType(), dest_name_, DestDir(), file_name_);
}

void TCustomInstallFile::SetDestDir(const std::string& v) {
  if (IsLoading()) TFileRelated::SetDestDir(v);
  else ChangeFileProperties(Container(), include_from_dir_, active_x_, file_type_, DestDirType(), dest_name_, v, file_name_);
}

void TCustomInstallFile::SetDestDirType(TCustomPathSpecifier* v) {
  if (IsLoading()) TFileRelated::SetDestDirType(v);
  else ChangeFileProperties(Container(), include_from_dir_, active_x_, file_type_, v, dest_name_, DestDir(), file_name_);
}

void TCustomInstallFile::SetContainer(TInstallContainer* v) {
  if (IsLoading()) TFileRelated::SetContainer(v);
  else ChangeFileProperties(v, include_from_dir_, active_x_, file_type_, DestDirType(), dest_name_, DestDir(), file_name_);
}

void TCustomInstallFile::ChangeFileProperties(TInstallContainer* container, const std::string& include_from_dir,
                                              bool active_x, TInstallFileType file_type,
                                              TCustomPathSpecifier* dest_dir_type, const std::string& dest_name_in,
                                              const std::string& dest_dir_in, const std::string& file_name) {
  std::string dest_name = dest_name_in;
  std::string dest_dir = dest_dir_in;
  const bool container_changed = container != Container();
  const bool type_changed = dest_dir_type != DestDirType();
  const bool name_changed = CompareText(file_name, file_name_) != 0;
  const bool dir_changed = CompareText(include_from_dir, include_from_dir_) != 0;
  const std::string source = IncludeTrailingBackslash(include_from_dir) + file_name;

  auto* file_container = dynamic_cast<TFileContainer*>(container);
  if (container && !file_container)
    throw IECustomInstallFile(
        "The following TInstallFile component %s requires the Container property to be a component descended from "
        "the TFileContainer component",
        Name());
  if (file_container && (name_changed || container_changed || dir_changed)) {
    // One walk over the children: Files(i) would look each index up anew.
    for (int i = 0; i < file_container->HelperCount(); ++i) {
      auto* other = dynamic_cast<TCustomInstallFile*>(file_container->Helpers(i));
      if (other && other != this && CompareText(other->SourcePath(), source) == 0)
        throw IEfcDuplicateFile("There is already a file with the name :%s", source);
    }
  }
  if (name_changed && !Trim(file_name).empty()) {
    dest_name = file_name;
    const uint32_t attributes = platform::GetFileAttributes(source);
    install_attributes_ = attributes != platform::INVALID_FILE_ATTRIBUTES &&
                                  (attributes & platform::FILE_ATTRIBUTE_READONLY) &&
                                  !(attributes & platform::FILE_ATTRIBUTE_DIRECTORY)
                              ? TWnmrFileAttributesSet{wfaReadOnly}
                              : TWnmrFileAttributesSet{};
  }
  const std::string ext = UpperCase(ExtractFileExt(file_name));
  if (name_changed || dir_changed) {
    register_as_help_ = ext == ".HLP" || ext == ".CNT";
    if (ext == ".TLB" || ext == ".OCX") {
      active_x = true;
    } else {
      try {
        active_x = HasOLESelfRegister(source);
      } catch (const std::exception&) {
        active_x = false;
      }
    }
  }
  if (active_x && active_x != active_x_) file_type = iftSystemWideDLL;
  if (type_changed && ext.size() == 4 && std::string_view(".DLL,.OCX,.BLL,.EXE").find(ext) != std::string_view::npos) {
    if (dynamic_cast<TpsWindow*>(dest_dir_type) || dynamic_cast<TpsBDEDLL*>(dest_dir_type)) overwrite_mode_ = owVersionDate;
    else if (dynamic_cast<TpsSystem*>(dest_dir_type)) file_type = iftSystemWideDLL;
  }
  if (file_type != file_type_) {
    if (file_type == iftJustADLL || file_type == iftApplicationSpecificDLL) {
      overwrite_mode_ = owVersionDate;
    } else if (file_type == iftVendorSharedDLL || file_type == iftSystemWideDLL) {
      update_dll_counter_ = true;
      overwrite_mode_ = owVersionDate;
    }
  }
  TInstallContainer::SetDestDirType(dest_dir_type);
  TFileRelated::SetContainer(container);
  // The defaults of a type are defaults: assigned without asking the
  // specifier, which may not be able to answer yet (no install component).
  auto built_in = [](const TClassInfo& cls) { return StandardPathSpecifiers().FindSpecifier(cls); };
  switch (file_type) {
    case iftApplicationSpecificDLL:
      dest_dir = "\\System";
      StoreDestDirType(built_in(TpsMainInstall::StaticClass()));
      break;
    case iftVendorSharedDLL:
      dest_dir = "\\System";
      StoreDestDirType(built_in(TpsCommonFiles::StaticClass()));
      break;
    case iftSystemWideDLL:
      dest_dir.clear();
      StoreDestDirType(built_in(TpsSystem::StaticClass()));
      break;
    default:
      break;
  }
  include_from_dir_ = include_from_dir;
  file_name_ = file_name;
  TFileRelated::SetDestDir(dest_dir);
  dest_name_ = dest_name;
  file_type_ = file_type;
  active_x_ = active_x;
}

void TCustomInstallFile::SetState(TInstallFileState v) {
  WithCleanup(
      [&] {
        switch (v) {
          case ifsCompress: Compress(); break;
          case ifsInstall: Process(); break;
          case ifsCopying: Copy(); break;
          default: break;
        }
      },
      [&] { state_ = ifsNone; });
}

// --- paths --------------------------------------------------------------------

std::string TCustomInstallFile::SourcePath() const { return IncludeTrailingBackslash(include_from_dir_) + file_name_; }

std::string TCustomInstallFile::DestinationPath() { return IncludeTrailingBackslash(GetDestinationDir()) + dest_name_; }

bool TCustomInstallFile::NeedsOwnNetArchive() const {
  return NetLocation() || overwrite_mode_ == owVersion || overwrite_mode_ == owDate || overwrite_mode_ == owVersionDate;
}

std::string TCustomInstallFile::GetArchivePath() {
  const TDistributeType type = CurrentDistributeType();
  if ((type == dtWeb || (type != dtTraditional && Net())) && state_ == ifsInstall) {
    if (NeedsOwnNetArchive() && IsArchiveDownloaded()) return LocalArchive();
    if (auto* container = dynamic_cast<TFileContainer*>(Container()); container && container->IsArchiveDownloaded())
      return container->GetLocalArchivePath();
  }
  return TFileRelated::GetArchivePath();
}

// --- reports ------------------------------------------------------------------

void TCustomInstallFile::Report(int code, TObject* po) {
  if (Container()) Container()->DoInformationEventControl(this, code, po);
}

void TCustomInstallFile::ReportProgress(const TlzhFileStats& stats) {
  TFileStatusParameter parameter;
  parameter.BytesDone = stats.FileBytesDone;
  parameter.FilePercentDone = stats.FilePercent;
  parameter.FileName = file_name_;
  parameter.FileStats = stats;
  parameter.TotalBytesDone = stats.TotalBytesDone;
  parameter.TotalPercentDone = stats.TotalPercent;
  TList list{this, &parameter};
  OnStatus(this, stats.FilePercent, stats.TotalPercent);
  NotifyHelpers(this, kNotifyProgress, &parameter);
  switch (state_) {
    case ifsCompress: Report(kReportCompressProgress, &list); break;
    case ifsInstall: Report(kReportInstallProgress, &list); break;
    case ifsCopying: Report(kReportCopyProgress, &list); break;
    default: break;
  }
}

void TCustomInstallFile::ReportNewDisk(TWnmrCompress& archive, int disk, std::string& path) {
  SetTag(0);
  WithCleanup(
      [&] {
        TDiskParameter parameter;
        parameter.NewDisk = disk;
        parameter.Path = ExcludeTrailingBackslash(ExtractFilePath(GetArchivePath()));
        TList list{this, &parameter};
        std::string copy = parameter.Path;
        OnNewDisk(this, disk, copy);
        parameter.Path = copy;
        NotifyHelpers(this, kNotifyNewDisk, &list);
        Report(kReportNewDisk, &list);
        if (!OnNewDisk && Tag() == 0) {
          // Nobody asked the user: ask here.
          if (MessageDlg(Format(LocalizeMessage("Please insert disk #%d"), disk), mtInformation, {mbOK, mbCancel}) !=
              mrOk)
            archive.SetAbort(true);
        }
        path = ExcludeTrailingBackslash(parameter.Path);
        if (auto* main = dynamic_cast<TpsMainArchiveFile*>(
                StandardPathSpecifiers().Find(TpsMainArchiveFile::StaticClass())))
          main->SetArchiveDir(path);
      },
      [&] { SetTag(0); });
}

// --- information ----------------------------------------------------------------

void TCustomInstallFile::ReadSourceInfo() {
  const std::string source = SourcePath();
  int64_t size = 0;
  try {
    TFileStream stream(source, fmOpenRead | fmShareDenyNone);
    size = stream.Size();
  } catch (const Exception&) {
    throw IECustomInstallFile("Could not open or find the following file when trying to read the Size, Date, and Version :%s",
                              source);
  }
  size_ = size;
  file_date_ = platform::GetFileDate(source).value_or(0);
  TVersionResource& reader = TVersionResource::Shared();
  reader.SetFileName(source);
  file_version_ = CutToCapacity(reader.VersionInfo()->FileVersion(), TFileHeaderRec::kFileVersionCapacity);
}

void TCustomInstallFile::ReadInfoFromArchive() {
  TCustomInstall* install = CurrentInstall();
  if (install && install->Running() && ArchiveInfoRead()) return;
  std::string archive_path;
  const TDistributeType type = CurrentDistributeType();
  if (type == dtTraditional || (type == dtTraditionalNet && !Net())) {
    archive_path = GetArchivePath();
  } else if (NeedsOwnNetArchive() && IsArchiveDownloaded()) {
    archive_path = LocalArchive();
  } else if (auto* container = dynamic_cast<TFileContainer*>(Container())) {
    if (!container->IsArchiveDownloaded()) return;
    archive_path = container->LocalArchive().empty() ? container->GetLocalArchivePath() : container->LocalArchive();
  } else {
    throw IECustomInstallFile(
        "%s cannot perform ReadInfoFromArchive because either no container is assigned or the container is not "
        "TFileContainer",
        Name());
  }
  if (Trim(archive_path).empty()) throw IECustomInstallFile(kBlankArchive, file_name_);

  ComponentPtr<TWnmrCompress> own;
  TWnmrCompress* archive = &SharedArchive();
  if (!install || CompareText(archive_path, install->GetArchivePath()) != 0) {
    own = CreateUnowned<TWnmrCompress>();
    archive = own.get();
  }
  archive->SetCompressedFile(archive_path);
  const int index = archive->IndexOfFileID(unique_id_);
  if (index < 0) return;
  TlzhFileStats stats;
  archive->GetFileStats(index, stats);
  compressed_size_ = stats.Header.CompressedSize;
  file_date_ = stats.Header.FileDate;
  size_ = stats.Header.FileSize;
  file_version_ = CutToCapacity(stats.Header.FileVersion, TFileHeaderRec::kFileVersionCapacity);
  SetArchiveInfoRead(true);
}

// --- compress and copy ----------------------------------------------------------

void TCustomInstallFile::AbortOperation() { throw EAIUserAbort(); }

void TCustomInstallFile::Compress() {
  state_ = ifsCompress;
  WithCleanup(
      [&] {
        try {
          OnBeforeCompress(this);
          Report(kReportCompressStarts, this);
          const std::string archive_path = GetArchivePath();
          if (Trim(archive_path).empty()) throw IECustomInstallFile(kBlankArchive, file_name_);
          if (!Include()) return;
          platform::ForceDirectories(ExcludeTrailingBackslash(ExtractFilePath(archive_path)));
          TWnmrCompress& archive = SharedArchive();
          archive.SetCompressedFile(archive_path);
          archive.OnAborted.Assign([this](TObject*) { AbortOperation(); });
          archive.OnStatus.Assign([this](TWnmrCompress*, const TlzhFileStats& s) { ReportProgress(s); });
          TStringList files{SourcePath()};
          archive.SetFilesToProcess(files);
          WithCleanup([&] { archive.Compress(AddToArchive(), unique_id_); },
                      [&] {
                        archive.OnAborted.Clear();
                        archive.OnStatus.Clear();
                      });
          compress_state_ = 2;
          compressed_archive_ = archive.CompressedFile();
          OnAfterCompress(this);
          Report(kReportCompressEnded, this);
        } catch (const EAbort&) {
          // The silent abort ends this file's compression quietly.
        }
      },
      [&] {
        state_ = ifsNone;
        NotifyHelpers(this, kNotifyOperationEnded, nullptr);
      });
}

void TCustomInstallFile::Copy() {
  state_ = ifsCopying;
  WithCleanup(
      [&] {
        try {
          OnBeforeCopy(this);
          Report(kReportCopyStarts, this);
          if (!Include()) return;
          const std::string dest_dir = GetDestinationDir();
          if (Trim(dest_dir).empty()) throw IECustomInstallFile(kBlankDestination, Name());
          platform::ForceDirectories(dest_dir);
          TWnmrCompress& archive = SharedArchive();
          archive.OnStatus.Assign([this](TWnmrCompress*, const TlzhFileStats& s) { ReportProgress(s); });
          WithCleanup([&] { archive.CopyFile(SourcePath(), DestinationPath()); }, [&] { archive.OnStatus.Clear(); });
          OnAfterCopy(this);
          Report(kReportCopyEnded, this);
        } catch (const EAbort&) {
        }
      },
      [&] {
        state_ = ifsNone;
        NotifyHelpers(this, kNotifyOperationEnded, nullptr);
      });
}

// --- install --------------------------------------------------------------------

void TCustomInstallFile::DoProcess() {
  replaced_at_restart_ = false;
  try {
    Report(kReportBeforeInstall, this);
    OnBeforeInstall(this);
  } catch (const EAbort&) {
    Report(kReportFileSkipped, this);
    return;
  }
  if (Trim(GetDestinationDir()).empty()) throw IECustomInstallFile(kBlankDestination, Name());

  will_copy_ = false;
  bool write = false;
  switch (TVersionResource::IsFileNewer(file_version_, DestinationPath(), overwrite_mode_, file_date_)) {
    case fcError:
    case fcNewer:
      write = true;
      break;
    case fcSame:
    case fcOlder:
      write = false;
      break;
    case fcAsk:
      write = MessageDlg(Format(LocalizeMessage("Copy This File %s?"), file_name_), mtConfirmation, {mbYes, mbNo}) ==
              mrYes;
      break;
  }
  if (write) {
    try {
      PrepareReplace();
    } catch (const EAbort&) {
      write = false;
    }
  }
  will_copy_ = write;
  if (!write) {
    Report(kReportFileKept, this);
    AfterWriteOrKeep();
    return;
  }

  if (std::string local; FindLocalArchive(local)) SetLocalArchive(local);
  ComponentPtr<TWnmrCompress> own;
  TWnmrCompress* archive = &SharedArchive();
  const TDistributeType type = CurrentDistributeType();
  TCustomInstall* install = CurrentInstall();
  if (type != dtTraditional && (Net() || type == dtWeb)) {
    if (NeedsOwnNetArchive()) {
      DownloadArchive();
    } else if (auto* container = dynamic_cast<TFileContainer*>(Container());
               container && !container->IsArchiveDownloaded()) {
      container->DownloadArchive();
    }
    own = CreateUnowned<TWnmrCompress>();
  } else if (!install || CompareText(GetArchivePath(), install->GetArchivePath()) != 0) {
    own = CreateUnowned<TWnmrCompress>();
  }
  if (own) archive = own.get();
  Install(*archive);
}

void TCustomInstallFile::Install(TWnmrCompress& archive) {
  const bool own = &archive != &SharedArchive();
  WithCleanup(
      [&] {
        state_ = ifsInstall;
        platform::ForceDirectories(GetDestinationDir());
        const std::string archive_path = GetArchivePath();
        if (Trim(archive_path).empty()) throw IECustomInstallFile(kBlankArchive, file_name_);
        archive.SetCompressedFile(archive_path);
        archive.SetExtractDirectory(GetDestinationDir());
        archive.SetDestFileName(dest_name_);
        archive.SetOverwrite(overwrite_mode_);
        archive.OnAborted.Assign([this](TObject*) { AbortOperation(); });
        archive.OnNewDisk.Assign([this, &archive](TWnmrCompress*, int disk, std::string& path) {
          ReportNewDisk(archive, disk, path);
        });
        archive.OnStatus.Assign([this](TWnmrCompress*, const TlzhFileStats& s) { ReportProgress(s); });
        TStringList files{SourcePath()};
        archive.SetFilesToProcess(files);
        archive.Extract();
        AfterWriteOrKeep();
      },
      [&] {
        archive.OnNewDisk.Clear();
        archive.OnStatus.Clear();
        archive.OnAborted.Clear();
        if (own && archive.Abort()) SharedArchive().SetAbort(true);
        WithCleanup([&] { NotifyHelpers(this, kNotifyOperationEnded, nullptr); },
                    [&] { state_ = ifsNone; });
      });
}

// After the file was written, or kept by the overwrite rule.
void TCustomInstallFile::AfterWriteOrKeep() {
  AfterInstalled();
  OnAfterInstall(this);
  Report(kReportFileDone, this);
  TFileRelated::DoProcess();  // objects may hang below a file
}

// --- catalogue -------------------------------------------------------------------

void TCustomInstallFile::WriteCatalogueRecord(TStream& stream) const {
  uint8_t record[80] = {};
  PutInt32(record, static_cast<int32_t>(std::clamp<int64_t>(size_, INT32_MIN, INT32_MAX)));
  std::memcpy(record + 8, &file_date_, sizeof(double));  // little-endian host, as the format
  const std::string name = CutToCapacity(Name(), 39);
  std::memcpy(record + 16, name.data(), name.size());
  const std::string version = CutToCapacity(file_version_, 23);
  std::memcpy(record + 56, version.data(), version.size());
  stream.WriteBuffer(record, sizeof record);
}

WENMOOR_REGISTER_CLASS(TCustomInstallFile) {}

WENMOOR_REGISTER_CLASS(TInstallFile) {
  DescribeInstallFileCommon(c);
  c.Prop("Net", &T::Net, &T::SetNet).Default(false);
  c.Prop("NetLocation", &T::NetLocation, &T::SetNetLocation);
  c.Prop("OS", &T::OS, &T::SetOS);
  c.Prop("Uninstall", &T::Uninstall, &T::SetUninstall).Default(true);
  c.Prop("InstallAttributes", &T::InstallAttributes, &T::SetInstallAttributes);
  c.Prop("ActiveX", &T::ActiveX, &T::SetActiveX).Default(false);
  c.Prop("DestName", &T::DestName, &T::SetDestName);
  c.Prop("FileName", &T::FileName, &T::SetFileName);
  c.Prop("FileType", &T::FileType, &T::SetFileType).Default(iftNormal);
  c.Prop("IncludeFromDir", &T::IncludeFromDir, &T::SetIncludeFromDir);
  c.Prop("OverwriteMode", &T::OverwriteMode, &T::SetOverwriteMode).Default(owAlways);
  c.Prop("RegisterAsHelp", &T::RegisterAsHelp, &T::SetRegisterAsHelp).Default(false);
  c.Prop("RunAfterInstall", &T::RunAfterInstall, &T::SetRunAfterInstall).Default(false);
  c.Prop("UpdateDLLCounter", &T::UpdateDLLCounter, &T::SetUpdateDLLCounter).Default(false);
  c.Prop("UniqueID", &T::UniqueID, &T::SetUniqueID);
  DescribeInstallFileEvents(c);
}

}  // namespace wenmoor
