#include "script/cmp_TFileContainer.h"

#include "archive/cmp_TWnmrCompress.h"
#include "archive/lzh_file_stats.h"
#include "engine/cmp_TInstall.h"
#include "platform/rtl/cleanup.h"
#include "net/cmp_TNetInstallLocation.h"
#include "paths/cmp_TPathSpecifier.h"
#include "paths/specifiers_windows.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/files.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/event_parameters.h"
#include "script/script_exceptions.h"
#include "script/shared_archive.h"

namespace wenmoor {
namespace {

int PercentOf(int64_t part, int64_t whole) { return whole == 0 ? 0 : Percent(part, whole); }

}  // namespace

TFileContainer::TFileContainer(TComponent* owner, bool creates_specifier) : TFileRelated(owner) {
  if (creates_specifier && owner) {
    auto* specifier = Create<TpsFileContainer>(owner);
    specifier->TakeAutomaticName();
    specifier->SetFileContainer(this);
    file_container_specifier_ = specifier;
  }
}

void TFileContainer::Destroying() {
  // A container's install files live and die with it; its other children
  // only lose their container.
  FreeFiles();
  TpsFileContainer* specifier = file_container_specifier_;
  file_container_specifier_ = nullptr;
  if (specifier && !specifier->IsDestroying() && specifier->Owner()) specifier->Free();
  TFileRelated::Destroying();
}

int TFileContainer::FileCount() const { return CountHelpersOfClass(TCustomInstallFile::StaticClass()); }

TCustomInstallFile* TFileContainer::Files(int index) const {
  return static_cast<TCustomInstallFile*>(Comp(index, TCustomInstallFile::StaticClass()));
}

void TFileContainer::FreeFiles() {
  for (int i = HelperCount() - 1; i >= 0; --i) {
    if (i >= HelperCount()) continue;
    TInstallObject* child = Helpers(i);
    if (dynamic_cast<TCustomInstallFile*>(child) && child->Owner()) child->Free();
  }
}

void TFileContainer::PassOn(int code, TObject* po) {
  if (Container()) Container()->DoInformationEventControl(this, code, po);
}

void TFileContainer::BeginOperation(TInstallFileState kind, int64_t size) {
  operation_ = kind;
  operation_size_ = size;
  operation_done_ = 0;
}

// --- reporting ---------------------------------------------------------------

void TFileContainer::DoInformationEventControl(TObject*, int code, TObject* po) {
  if (operation_ == ifsNone) return;  // a report outside an operation goes no further
  auto require_po = [&] {
    if (!po) throw IEFileContainer("%s got a nil PO parameter", Name());
  };
  switch (code) {
    case kReportReplacing: {
      require_po();
      auto* file = dynamic_cast<TCustomInstallFile*>(po);
      if (!file) throw IEFileContainer("DoInformationEventControl parameter is not TInstallFile");
      DoReplacing(file);
      break;
    }
    case kReportInstallProgress:
    case kReportCompressProgress:
    case kReportCopyProgress:
      require_po();
      ProgressStep(po);
      break;
    case kReportNewDisk:
      require_po();
      DiskStep(po);
      break;
    case kReportDownloadProgress: {
      require_po();
      auto* p = dynamic_cast<TDownloadStatusParameter*>(po);
      if (!p) throw IEFileContainer("The PO object passed to %s is not a TDownloadStatusParameter object", Name());
      OnDataReceived(this, p->FileName, p->Bytes, p->TotalBytes, p->FileSize, nullptr);
      NotifyHelpers(this, kNotifyDownloadProgress, p);
      break;
    }
    case kReportFileSkipped:
    case kReportFileKept:
      require_po();
      CompletionStep(po);
      break;
    default:
      break;
  }
  PassOn(code, po);
}

namespace {
// The two entries of a progress or disk list, checked.
TList& CheckedList(TObject* po) {
  auto* list = dynamic_cast<TList*>(po);
  if (!list) throw IEFileContainer("DoInformationEventControl--PO is not a TList object");
  if (list->Count() < 2) throw IEFileContainer("DoInformationEventControl--Not engouh parameters for status event");
  return *list;
}
}  // namespace

void TFileContainer::ProgressStep(TObject* po) {
  TList& list = CheckedList(po);
  auto* file = dynamic_cast<TCustomInstallFile*>(list.Items(0));
  if (!file) throw IEFileContainer("DoInformationEventControl says bad first parameter");
  auto* parameter = dynamic_cast<TFileStatusParameter*>(list.Items(1));
  if (!parameter) throw IEFileContainer("DoInformationEventControl says bad second parameter");
  DoStatus(file, *parameter);
}

void TFileContainer::DoStatus(TCustomInstallFile* file, TFileStatusParameter& parameter) {
  const int64_t total_done = operation_done_ + parameter.BytesDone;
  parameter.TotalBytesDone = SaturateInt32(total_done);
  parameter.TotalPercentDone = PercentOf(total_done, operation_size_);
  OnStatus(file, parameter.FilePercentDone, parameter.TotalPercentDone);
  NotifyHelpers(this, kNotifyProgress, &parameter);
  if (parameter.FileStats.FileDone && operation_ != ifsNone) operation_done_ += parameter.FileStats.FileSize;
}

void TFileContainer::CompletionStep(TObject* po) {
  auto* file = dynamic_cast<TCustomInstallFile*>(po);
  if (!file) throw IEFileContainer("DoInformationEventControl says bad first parameter");
  TFileStatusParameter parameter;
  parameter.BytesDone = SaturateInt32(file->Size());
  parameter.FilePercentDone = 100;
  parameter.FileName = file->FileName();
  const int64_t total_done = operation_done_ + file->Size();
  parameter.TotalBytesDone = SaturateInt32(total_done);
  parameter.TotalPercentDone = PercentOf(total_done, operation_size_);
  OnStatus(file, 100, parameter.TotalPercentDone);
  NotifyHelpers(this, kNotifyProgress, &parameter);
  operation_done_ += file->Size();
}

void TFileContainer::DiskStep(TObject* po) {
  auto* list = dynamic_cast<TList*>(po);
  if (!list) throw IEFileContainer("DoInformationEventControl--PO is not a TList object");
  if (list->Count() < 2) throw IEFileContainer("DoInformationEventControl--Not engouh parameters for status event");
  auto* file = dynamic_cast<TCustomInstallFile*>(list->Items(0));
  if (!file) throw IEFileContainer("DoInformationEventControl says bad %d parameter", 1);
  if (!dynamic_cast<TDiskParameter*>(list->Items(1)))
    throw IEFileContainer("DoInformationEventControl says bad %d parameter", 2);
  DoNewDisk(file, *list);
}

void TFileContainer::DoNewDisk(TCustomInstallFile* file, TList& list) {
  auto& parameter = static_cast<TDiskParameter&>(*list.Items(1));
  std::string path = parameter.Path;
  OnNewDisk(file, parameter.NewDisk, path);
  if (OnNewDisk) file->SetTag(1);
  parameter.Path = path;
  NotifyHelpers(this, kNotifyNewDisk, &list);
}

void TFileContainer::DoReplacing(TCustomInstallFile* file) {
  OnReplacing(file);
  NotifyHelpers(this, kNotifyReplacing, file);
}

// --- sizes and information ----------------------------------------------------

int64_t TFileContainer::SumSizes(bool include_all, bool recurse) {
  int64_t sum = 0;
  for (int i = 0; i < HelperCount(); ++i)
    if (auto* file = dynamic_cast<TCustomInstallFile*>(Helpers(i)); file && (include_all || file->IsIncluded()))
      sum += file->Size();
  if (recurse)
    for (int i = 0; i < HelperCount(); ++i)
      if (auto* sub = dynamic_cast<TFileContainer*>(Helpers(i)); sub && (include_all || sub->IsIncluded()))
        sum += sub->TotalSize(include_all);
  return sum;
}

int64_t TFileContainer::SumCompressedSizes(bool include_all) {
  int64_t sum = 0;
  for (int i = 0; i < HelperCount(); ++i)
    if (auto* file = dynamic_cast<TCustomInstallFile*>(Helpers(i)); file && (include_all || file->IsIncluded()))
      sum += file->CompressedSize();
  for (int i = 0; i < HelperCount(); ++i)
    if (auto* sub = dynamic_cast<TFileContainer*>(Helpers(i)); sub && (include_all || sub->IsIncluded()))
      sum += sub->SumCompressedSizes(include_all);
  return sum;
}

void TFileContainer::ReadSourceInfo() {
  const std::vector<TInstallObject*> children = helpers_;
  for (TInstallObject* child : children)
    if (auto* file = dynamic_cast<TCustomInstallFile*>(child)) file->ReadSourceInfo();
  for (TInstallObject* child : children)
    if (auto* sub = dynamic_cast<TFileContainer*>(child)) sub->ReadSourceInfo();
}

void TFileContainer::ReadArchiveInfo() {
  const std::vector<TInstallObject*> children = helpers_;
  for (TInstallObject* child : children)
    if (auto* file = dynamic_cast<TCustomInstallFile*>(child)) file->ReadInfoFromArchive();
  for (TInstallObject* child : children)
    if (auto* sub = dynamic_cast<TFileContainer*>(child)) sub->ReadArchiveInfo();
  SetArchiveInfoRead(true);
}

bool TFileContainer::HasInheritingNetFiles() {
  if (CurrentDistributeType() == dtTraditional) return false;
  for (int i = 0; i < HelperCount(); ++i)
    if (auto* file = dynamic_cast<TCustomInstallFile*>(Helpers(i));
        file && file->Net() && file->Include() && !file->NetLocation())
      return true;
  return false;
}

std::string TFileContainer::GetLocalArchivePath() {
  std::string path;
  if (!FindLocalArchive(path))
    throw IEFileContainer(
        "%s has not yet downloaded the archive file and therefore cannot retrieve the path of the archive file",
        Name());
  return path;
}

// --- install ------------------------------------------------------------------

void TFileContainer::DoProcess() {
  operation_ = ifsInstall;
  WithCleanup(
      [&] {
        if (std::string local; FindLocalArchive(local)) SetLocalArchive(local);
        ReadArchiveInfo();
        NotifyHelpers(this, kNotifyContainerInstalling, nullptr);
        if (Container()) Container()->DoInformationEventControl(this, kReportContainerStarts, this);
        BeginOperation(ifsInstall, TotalSize(false));
        OnBeforeInstallObjects(this);
        TFileRelated::DoProcess();
        if (Container()) Container()->DoInformationEventControl(this, kReportContainerEnded, this);
      },
      [&] {
        WithCleanup(
            [&] {
              const bool was_aborted = SharedArchive().Abort();
              NotifyHelpers(this, kNotifyOperationEnded, nullptr);
              if (fire_after_install_objects_) OnAfterInstallObjects(this, was_aborted);
            },
            [&] { operation_ = ifsNone; });
      });
}

// --- compress -----------------------------------------------------------------

void TFileContainer::Compress(TCompressOptions options) {
  if (options.Contains(coForceNetFilesLocal) && options.Contains(coForceFilesNet))
    throw IEFileContainer("Cannot pass both coForceNetFilesLocal and coForceFilesNet to Compress");
  WithCleanup(
      [&] {
        operation_ = ifsCompress;
        OnBeforeProcess(this);
        if (!Include()) return;
        PassOn(kReportContainerStarts, this);
        ReadSourceInfo();
        BeginOperation(ifsCompress, TotalSize(options.Contains(coIncludeAll)));

        const std::string archive_dir = ExcludeTrailingBackslash(ExtractFilePath(GetArchivePath()));
        try {
          SetLocalArchive(archive_dir + "\\" + GetNetDirectory() + "\\" + Name() + ".1");
        } catch (const IEFileRel_NoNetLocation&) {
          if (!options.Contains(coForceNetFilesLocal)) throw;
        }

        // Old archives go first, so that appending starts from nothing.
        auto remove_archive = [&](const std::string& path) {
          if (platform::FileExists(path) && !platform::DeleteFile(path))
            throw IEFileContainer("%s cannot delete the archive file %s", Name(), path);
        };
        if (AddToArchive() == lzcOverwrite) remove_archive(ChangeFileExt(GetArchivePath(), ".1"));
        bool has_net_file = false, has_file = false;
        for (int i = 0; i < HelperCount(); ++i)
          if (auto* f = dynamic_cast<TCustomInstallFile*>(Helpers(i))) {
            has_file = true;
            has_net_file = has_net_file || f->Net();
          }
        if ((has_net_file || (options.Contains(coForceFilesNet) && has_file)) && !Trim(LocalArchive()).empty())
          remove_archive(LocalArchive());

        const std::vector<TInstallObject*> children = helpers_;
        for (TInstallObject* child : children)
          if (auto* related = dynamic_cast<TFileRelated*>(child)) CompressChild(*related, options, archive_dir);

        OnAfterProcess(this);
        PassOn(kReportContainerEnded, this);
      },
      [&] {
        operation_ = ifsNone;
        NotifyHelpers(this, kNotifyOperationEnded, nullptr);
      });
}

// Compresses one child with its archive settings arranged for this build,
// and puts the settings back on every way out.
void TFileContainer::CompressChild(TFileRelated& child, TCompressOptions options, const std::string& archive_dir) {
  auto* file = dynamic_cast<TCustomInstallFile*>(&child);
  const bool net_file =
      file && !options.Contains(coForceNetFilesLocal) && (child.Net() || options.Contains(coForceFilesNet));

  const TlzhCommand saved_add = child.AddToArchive();
  const std::string saved_file = child.ArchiveFile();
  TCustomPathSpecifier* const saved_type = child.ArchiveFileType();
  const bool saved_include = child.Include();
  auto own_net_archive = [&] { return archive_dir + "\\" + child.GetNetDirectory() + "\\" + child.Name() + ".1"; };

  WithCleanup(
      [&] {
        if (!child.Include() && options.Contains(coIncludeAll)) child.SetInclude(true);
        if (net_file && child.NetLocation()) {
          child.SetAddToArchive(lzcOverwrite);
          child.SetArchiveFileType(nullptr);
          child.SetArchiveFile(own_net_archive());
        } else if (!net_file) {
          TCustomPathSpecifier* type = child.ArchiveFileType();
          if (dynamic_cast<TpsContainerArchiveFile*>(type)) {
            child.SetAddToArchive(lzcOnlyAdd);
          } else if (dynamic_cast<TpsInstallSource*>(type)) {
            TCustomInstall* install = CurrentInstall();
            const std::string base =
                install ? ExcludeTrailingBackslash(ExtractFilePath(install->GetArchivePath())) : archive_dir;
            const std::string fragment = child.ArchiveFile();
            child.SetArchiveFileType(nullptr);
            child.SetArchiveFile(base + fragment);
            child.SetAddToArchive(lzcOverwrite);
          } else if (options.Contains(coRelocateArchives)) {
            const std::string path = child.GetArchivePath();
            const size_t colon = path.find(':');
            child.SetArchiveFileType(nullptr);
            child.SetArchiveFile(archive_dir + (colon == std::string::npos ? path : path.substr(colon + 1)));
            child.SetAddToArchive(lzcOverwrite);
          }
        } else {
          child.SetAddToArchive(lzcOnlyAdd);
          child.SetArchiveFileType(nullptr);
          child.SetArchiveFile(file->NeedsOwnNetArchive() ? own_net_archive() : LocalArchive());
        }
        if (auto* sub = dynamic_cast<TFileContainer*>(&child)) sub->Compress(options);
        else if (file) file->Compress();
      },
      [&] {
        child.SetAddToArchive(saved_add);
        child.SetArchiveFileType(saved_type);
        child.SetArchiveFile(saved_file);
        child.SetInclude(saved_include);
      });
}

// --- copy and the other operations --------------------------------------------

void TFileContainer::Copy() {
  WithCleanup(
      [&] {
        operation_ = ifsCopying;
        OnBeforeProcess(this);
        if (!Include()) return;
        PassOn(kReportContainerStarts, this);
        ReadSourceInfo();
        BeginOperation(ifsCopying, TotalSize(false));
        const std::vector<TInstallObject*> children = helpers_;
        for (TInstallObject* child : children)
          if (auto* file = dynamic_cast<TCustomInstallFile*>(child)) file->Copy();
        for (TInstallObject* child : children)
          if (auto* sub = dynamic_cast<TFileContainer*>(child)) sub->Copy();
        OnAfterProcess(this);
        PassOn(kReportContainerEnded, this);
      },
      [&] {
        operation_ = ifsNone;
        NotifyHelpers(this, kNotifyOperationEnded, nullptr);
      });
}

void TFileContainer::RunOperation(TInstallFileState kind) {
  // No reflection service is registered in this system: ifsReflect only
  // marks the operation while it lasts.
  WithCleanup(
      [&] {
        switch (kind) {
          case ifsCompress: Compress({}); break;
          case ifsInstall: Process(); break;
          case ifsCopying: Copy(); break;
          case ifsReflect: operation_ = ifsReflect; break;
          case ifsNone: break;
        }
      },
      [&] { operation_ = ifsNone; });
}

// --- groups and directories ---------------------------------------------------

TCustomInstallGroup::TCustomInstallGroup(TComponent* owner) : TFileContainer(owner) {}

void TCustomInstallGroup::SetContainer(TInstallContainer* v) {
  TFileContainer::SetContainer(v);
  if (v && !dynamic_cast<TCustomInstall*>(v) && !dynamic_cast<TCustomInstallGroup*>(v))
    throw IEInstallGroup("A TInstallGroup component can only be contained by a TInstall, or another TInstallGroup component");
  if (!v && CurrentInstall() && !IsDestroying()) TFileContainer::SetContainer(CurrentInstall());
}

TInstallDirectory::TInstallDirectory(TComponent* owner) : TFileContainer(owner) {
  SetProcessedWithContainer(true);
  SetInclude(true);
  if (IsDesigning()) {
    int containers = 0;
    for (TInstallContainer* c : InstallContainers().All())
      if (dynamic_cast<TFileContainer*>(c)) ++containers;
    SetDescription("Install Directory " + std::to_string(containers));
  }
}

void TInstallDirectory::RemoveMissingFiles() {
  for (int i = HelperCount() - 1; i >= 0; --i) {
    if (i >= HelperCount()) continue;
    auto* file = dynamic_cast<TCustomInstallFile*>(Helpers(i));
    if (file && !platform::FileExists(IncludeTrailingBackslash(file->IncludeFromDir()) + file->FileName()))
      file->Free();
  }
}

WENMOOR_REGISTER_CLASS(TFileContainer) {}

WENMOOR_REGISTER_CLASS(TInstallGroupDialogOptions) {
  c.Prop("AllowChangeDir", &T::AllowChangeDir, &T::SetAllowChangeDir).Default(true);
  c.Prop("AllowExcludeInclude", &T::AllowExcludeInclude, &T::SetAllowExcludeInclude).Default(true);
  c.Object("Description", &T::Description);
  c.Prop("DisplayDirectory", &T::DisplayDirectory, &T::SetDisplayDirectory).Default(true);
  c.Prop("ShowRegardlessOfInclude", &T::ShowRegardlessOfInclude, &T::SetShowRegardlessOfInclude).Default(true);
}

WENMOOR_REGISTER_CLASS(TCustomInstallGroup) {}

namespace {

// The properties that the script's directories and groups publish alike.
template <class T>
void DescribeScriptContainer(ClassBuilder<T>& c) {
  c.Prop("AddToArchive", &T::AddToArchive, &T::SetAddToArchive).Default(lzcOverwrite);
  c.Prop("ArchiveFile", &T::ArchiveFile, &T::SetArchiveFile);
  c.Prop("ArchiveFileType", &T::ArchiveFileType, &T::SetArchiveFileType);
  c.Prop("Container", &T::Container, &T::SetContainer);
  c.Prop("Description", &T::Description, &T::SetDescription);
  c.Prop("DestDir", &T::DestDir, &T::SetDestDir);
  c.Prop("DestDirType", &T::DestDirType, &T::SetDestDirType);
  c.Prop("Include", &T::Include, &T::SetInclude).Default(true);
  c.Prop("InstallTypes", &T::InstallTypes, &T::SetInstallTypes)
      .Default(TInstallTypeSet{itFull, itDefault, itCompact, itCustom});
  c.Prop("NetLocation", &T::NetLocation, &T::SetNetLocation);
  c.Prop("OS", &T::OS, &T::SetOS);
}

}  // namespace

WENMOOR_REGISTER_CLASS(TInstallGroup) {
  DescribeScriptContainer(c);
  c.Object("DialogOptions", &T::DialogOptions);
  DescribeFileContainerEvents(c);
}

WENMOOR_REGISTER_CLASS(TInstallDirectory) {
  DescribeScriptContainer(c);
  DescribeFileContainerEvents(c);
}

}  // namespace wenmoor
