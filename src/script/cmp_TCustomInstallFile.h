// Install files: one file of the product. Where it comes from on the
// developer's machine (IncludeFromDir, FileName), which archive holds it
// (its UniqueID is the member's FileID), where and under which name it is
// installed (DestDirType, DestDir, DestName), and the rule for an existing
// destination (OverwriteMode). A file's container runs the operations:
// compress (build time), copy (build time, uncompressed), install.
//
// Outside loading, changing the name, source directory, type, destination
// or container recomputes the defaults that follow from them
// (ChangeFileProperties): the destination name, the attributes, the help
// and ActiveX marks, the type, the overwrite rule and the shared-DLL count.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/stream.h"
#include "platform/win/file_time.h"
#include "script/cmp_TFileContainer.h"
#include "support/file_compare_types.h"
#include "support/routines_FileSystem.h"

namespace wenmoor {

class TWnmrCompress;
struct TlzhFileStats;

enum TInstallFileType : uint8_t {
  iftNormal,
  iftJustADLL,
  iftApplicationSpecificDLL,
  iftVendorSharedDLL,
  iftSystemWideDLL,
};
WENMOOR_ENUM(TInstallFileType, iftNormal, iftJustADLL, iftApplicationSpecificDLL, iftVendorSharedDLL,
             iftSystemWideDLL)

class TCustomInstallFile : public TFileRelated {
  WENMOOR_CLASS(TCustomInstallFile, TFileRelated)
 public:
  // Identifiers 0..1999 tie a file to its archive member.
  static constexpr int kUniqueIdCount = 2000;

  explicit TCustomInstallFile(TComponent* owner);
  ~TCustomInstallFile() override;
  // A file for the source file `path` (directory and name through their setters).
  static TCustomInstallFile* CreateFromPath(TComponent* owner, const std::string& path);
  static TCustomInstallFile* CreateInContainer(TComponent* owner, TInstallContainer* container,
                                               const std::string& path);

  int RegisteredType() const override { return kRankInstallFile; }

  // --- published properties ------------------------------------------------
  TWnmrFileAttributesSet InstallAttributes() const { return install_attributes_; }
  void SetInstallAttributes(TWnmrFileAttributesSet v) { install_attributes_ = v; }
  bool ActiveX() const { return active_x_; }
  virtual void SetActiveX(bool v);
  const std::string& DestName() const { return dest_name_; }
  virtual void SetDestName(const std::string& v);
  const std::string& FileName() const { return file_name_; }
  virtual void SetFileName(const std::string& v);
  TInstallFileType FileType() const { return file_type_; }
  virtual void SetFileType(TInstallFileType v);
  const std::string& IncludeFromDir() const { return include_from_dir_; }
  virtual void SetIncludeFromDir(const std::string& v);
  TOverwriteType OverwriteMode() const { return overwrite_mode_; }
  void SetOverwriteMode(TOverwriteType v) { overwrite_mode_ = v; }
  bool RegisterAsHelp() const { return register_as_help_; }
  void SetRegisterAsHelp(bool v) { register_as_help_ = v; }
  bool RunAfterInstall() const { return run_after_install_; }
  void SetRunAfterInstall(bool v) { run_after_install_ = v; }
  bool UpdateDLLCounter() const { return update_dll_counter_; }
  void SetUpdateDLLCounter(bool v) { update_dll_counter_ = v; }
  int UniqueID() const { return unique_id_; }
  void SetUniqueID(int v) { unique_id_ = v; }
  TInstallFileState State() const { return state_; }
  // ifsCompress runs Compress, ifsInstall Process, ifsCopying Copy; then ifsNone.
  virtual void SetState(TInstallFileState v);

  void SetDestDir(const std::string& v) override;
  void SetDestDirType(TCustomPathSpecifier* v) override;
  void SetContainer(TInstallContainer* v) override;

  TInstallFileNotifyEvent OnAfterCompress, OnAfterCopy, OnAfterInstall;
  TInstallFileNotifyEvent OnBeforeCompress, OnBeforeCopy, OnBeforeInstall;
  TInstallFileStatusEvent OnStatus;
  TInstallFileNewDiskEvent OnNewDisk;
  TInstallFileNotifyEvent OnReplacing;

  // --- run-time information ----------------------------------------------------
  int64_t Size() const { return size_; }
  int64_t CompressedSize() const { return compressed_size_; }
  TDateTime FileDate() const { return file_date_; }
  const std::string& FileVersion() const { return file_version_; }
  int CompressState() const { return compress_state_; }
  void SetCompressState(int v) { compress_state_ = v; }
  const std::string& CompressedArchive() const { return compressed_archive_; }
  bool WillCopy() const { return will_copy_; }
  bool ReplacedAtRestart() const { return replaced_at_restart_; }
  void SetReplacedAtRestart(bool v) { replaced_at_restart_ = v; }

  // IncludeFromDir\FileName and GetDestinationDir\DestName.
  std::string SourcePath() const;
  std::string DestinationPath();
  // A net file travels in an archive of its own when it has its own
  // location or its overwrite rule needs its header before the download.
  bool NeedsOwnNetArchive() const;

  // --- operations ----------------------------------------------------------------
  std::string GetArchivePath() override;
  virtual void Compress();
  virtual void Copy();
  void DoProcess() override;  // install
  virtual void ReadSourceInfo();
  virtual void ReadInfoFromArchive();
  // Raises the user abort; the archive component's abort handler.
  virtual void AbortOperation();
  // The 80-byte record of the build's catalogue.
  void WriteCatalogueRecord(TStream& stream) const;
  // Takes the size, date and version that a net distribution's remote list
  // of files gives for this file (engine/install_net.h).
  void TakeListedInfo(int64_t size, TDateTime date, const std::string& version);
  void Loaded() override;

  // --- files in use and the registrations after installing --------------------
  // Before the file is written: the replacing notice, then, when the
  // destination exists and cannot be deleted (in use, read-only), the file
  // is extracted under a new name (a.1, a.2, ...) that the next start of
  // Windows moves onto the destination: WININIT.INI [Rename] on the 9x
  // family, the delayed move (PendingFileRenameOperations) on the NT family,
  // else a batch file run once at the next logon ("WenmoorBatFile"). Sets
  // ReplacedAtRestart and the engine's Reboot.
  virtual void PrepareReplace();
  // The steps after every installation of the file, written or kept: the
  // help file entry, the shared-DLL count, the unfinished business of a
  // file replaced at the restart (kind 0), else the ActiveX registration,
  // which during a run goes on DeferredRegistrations() when it fails.
  virtual void AfterInstalled();
  // Registers the installed file by the kind of its FileName: a program
  // (".EXE") with "/REGSERVER", a type library (".TLB"), else a server
  // library through its DllRegisterServer. Raises IECustomInstallFile (or
  // the launcher's or the type library's error) on failure.
  void RegisterActiveX();
  virtual void RegisterDLLServer();
  virtual void RegisterTypeLibrary();
  virtual void RegisterEXEServer();
  // Whether the version resource of `path` (the source file) carries the
  // string "OLESelfRegister" in its first translation's table.
  virtual bool HasOLESelfRegister(const std::string& path);
  // Adds one to the SharedDLLs count of the destination, by its short name
  // when such a value exists, else by its long name.
  virtual bool IncrementSharedDLLCount();
  // After the restart: the ActiveX registration, then InstallAttributes.
  void ResumeAfterReboot() override;
  // Records the destination for the uninstaller below `key`: "ActiveX"
  // for a registered server (kind 0 a library, 1 a program, 2 a type
  // library), else "Files", "Files1", ... (the first that takes the value).
  void RegisterUninstall(const std::string& key) override;
  // The path the installed file has once every pending replacement is done:
  // the destination under its stored name, also while DestName is the
  // temporary name of a file replaced at the restart.
  std::string FinalDestinationPath();

  // Upward reports of this file (progress, disk requests).
  void ReportProgress(const TlzhFileStats& stats);
  void ReportNewDisk(TWnmrCompress& archive, int disk, std::string& path);

 protected:
  void Destroying() override;
  void ChangeFileProperties(TInstallContainer* container, const std::string& include_from_dir, bool active_x,
                            TInstallFileType file_type, TCustomPathSpecifier* dest_dir_type,
                            const std::string& dest_name, const std::string& dest_dir, const std::string& file_name);
  void Report(int code, TObject* po);

 private:
  void Install(TWnmrCompress& archive);
  void AfterWriteOrKeep();
  // The replacement at the restart, by the family of the running system.
  void ScheduleReplacement(const std::string& in_use, const std::string& replacement);
  void WriteReplacementBatch(const std::string& short_in_use, const std::string& short_replacement);
  // The destination the registrations work on; IECustomInstallFile when it
  // is blank or missing.
  std::string RegistrationTarget();

  TWnmrFileAttributesSet install_attributes_;
  bool active_x_ = false;
  std::string dest_name_;
  std::string file_name_;
  TInstallFileType file_type_ = iftNormal;
  std::string include_from_dir_;
  TOverwriteType overwrite_mode_ = owAlways;
  bool register_as_help_ = false;
  bool run_after_install_ = false;
  bool update_dll_counter_ = false;
  int unique_id_ = 0;
  TInstallFileState state_ = ifsNone;
  int64_t size_ = 0;
  int64_t compressed_size_ = 0;
  TDateTime file_date_ = 0;
  std::string file_version_;
  int compress_state_ = 0;
  std::string compressed_archive_;
  bool will_copy_ = false;
  bool replaced_at_restart_ = false;
  std::string name_before_replacement_;  // DestName while the file waits for the restart
};

class TInstallFile : public TCustomInstallFile {
  WENMOOR_CLASS(TInstallFile, TCustomInstallFile)
 public:
  explicit TInstallFile(TComponent* owner) : TCustomInstallFile(owner) {}
};

// A list of install files in order of addition; it never owns them.
class TCustomInstallFileList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TCustomInstallFile* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  // IECustomInstallFileList "Cannot add a blank entry to the TCustomInstallFileList object" for nil.
  void Add(TCustomInstallFile* f);
  void Remove(TCustomInstallFile* f);
  void Clear() { items_.clear(); }

 private:
  std::vector<TCustomInstallFile*> items_;
};

// Every install file in existence, in order of creation.
TCustomInstallFileList& AllInstallFiles();
// Files whose ActiveX registration failed during a run, tried again at its end.
// The engine empties it when a run starts (with DeferRegistration() set)
// and calls RegisterDeferredFiles() once the tree is installed.
TCustomInstallFileList& DeferredRegistrations();
// RegisterActiveX for every file of DeferredRegistrations(), in list order;
// the first failure passes on (a second failure is an error of the run).
// The list is empty afterwards, also when a registration fails.
void RegisterDeferredFiles();

// Publishes what every published install file shares (TInstallFile, the
// uninstaller's file).
template <class T>
void DescribeInstallFileCommon(ClassBuilder<T>& c) {
  c.Prop("ArchiveFile", &T::ArchiveFile, &T::SetArchiveFile);
  c.Prop("ArchiveFileType", &T::ArchiveFileType, &T::SetArchiveFileType);
  c.Prop("AddToArchive", &T::AddToArchive, &T::SetAddToArchive).Default(lzcOverwrite);
  c.Prop("Container", &T::Container, &T::SetContainer);
  c.Prop("DestDir", &T::DestDir, &T::SetDestDir);
  c.Prop("DestDirType", &T::DestDirType, &T::SetDestDirType);
  c.Prop("Include", &T::Include, &T::SetInclude).Default(true);
  c.Prop("InstallTypes", &T::InstallTypes, &T::SetInstallTypes)
      .Default(TInstallTypeSet{itFull, itDefault, itCompact, itCustom});
}

// Publishes the events of every published install file.
template <class T>
void DescribeInstallFileEvents(ClassBuilder<T>& c) {
  c.Event("OnAfterCompress", &T::OnAfterCompress);
  c.Event("OnAfterCopy", &T::OnAfterCopy);
  c.Event("OnAfterInstall", &T::OnAfterInstall);
  c.Event("OnBeforeCompress", &T::OnBeforeCompress);
  c.Event("OnBeforeCopy", &T::OnBeforeCopy);
  c.Event("OnBeforeInstall", &T::OnBeforeInstall);
  c.Event("OnNewDisk", &T::OnNewDisk);
  c.Event("OnReplacing", &T::OnReplacing);
  c.Event("OnStatus", &T::OnStatus);
}

}  // namespace wenmoor
