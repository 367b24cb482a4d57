// The distribution builder of the engine (mode -b) and the transfer of a
// self-extracting distribution to floppy disks (mode -f).
//
// A build writes every output under a temporary name in the build
// directory ("~setup.exe", "~setup.1", "~files.1") and gives the outputs
// their real names only when all of them are complete, so that a build that
// fails half-way leaves the previous distribution as it was and nothing
// half-written under a name that a user would take for a distribution.
#include <algorithm>
#include <filesystem>
#include <vector>

#include "archive/cmp_TWnmrCompress.h"
#include "engine/cmp_TInstall.h"
#include "engine/install_net.h"
#include "engine/self_extract_info.h"
#include "platform/rtl/cleanup.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/forms.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "platform/win/machine.h"
#include "platform/win/own_program.h"
#include "platform/win/paths.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/script_exceptions.h"
#include "script/shared_archive.h"

namespace wenmoor {
namespace {

constexpr int64_t kFloppyBlock = 8192;
constexpr const char* kLoaderName = "WenmoorLoadProgram.exe";
constexpr const char* kFrameworkMarker = "W32V52.TXT";
// Outputs are written under this prefix and renamed at the end of a build.
constexpr const char* kPartPrefix = "~";

// "dir\name", or the name alone for an empty build directory (the current
// directory then).
std::string BuildPath(const std::string& build_dir, const std::string& name) {
  return build_dir.empty() ? name : IncludeTrailingBackslash(build_dir) + name;
}
std::string PartPath(const std::string& build_dir, const std::string& name) {
  return BuildPath(build_dir, kPartPrefix + name);
}

// The framework directory: the one the developer's registry names, else the
// framework directory of this build of the programs (beside bin/, or where
// the build put it).
std::string FrameworkDirectory(const std::string& program_dir) {
  std::string dir = WenmoorInfo::LocateFrameworkDirectory(false);
  if (!dir.empty()) return dir;
  std::vector<std::string> candidates{ExtractFilePath(ExcludeTrailingBackslash(program_dir)) + "framework"};
#ifdef WENMOOR_FRAMEWORK_DIR
  candidates.push_back(platform::Machine::Current().Paths().ToWindows(std::filesystem::path(WENMOOR_FRAMEWORK_DIR)));
#endif
  for (const std::string& candidate : candidates)
    if (platform::FileExists(IncludeTrailingBackslash(candidate) + kFrameworkMarker))
      return ExcludeTrailingBackslash(candidate);
  throw IENoWenmoorPath("Cannot find the the Wenmoor directory on the VCL library search path");
}

// Copies `count` bytes of `in` (from its position) to `out` in floppy-sized
// blocks, letting the window repaint after each; false on a short write.
bool CopyBlocks(TStream& in, TStream& out, int64_t count) {
  std::vector<uint8_t> block(static_cast<size_t>(kFloppyBlock));
  while (count > 0) {
    const int64_t want = std::min(count, kFloppyBlock);
    const int64_t got = in.Read(block.data(), want);
    if (got <= 0) return false;
    if (out.Write(block.data(), got) != got) return false;
    count -= got;
    ProcessMessages();
  }
  return true;
}

// Appends the whole file `path` to `out`; the offsets of its first and last
// byte in `out`. IEInstall with `failure` when it does not fit the block's
// 32-bit offsets or comes up short.
std::pair<int32_t, int32_t> AppendWhole(TStream& out, const std::string& path, const IEInstall& failure) {
  TFileStream in(path, fmOpenRead | fmShareDenyWrite);
  const int64_t start = out.Seek(0, soEnd);
  const int64_t size = in.Size();
  if (start + size - 1 > INT32_MAX) throw failure;
  if (out.CopyFrom(in, size) != size) throw failure;
  return {static_cast<int32_t>(start), static_cast<int32_t>(start + size - 1)};
}

void ShowPlainMessage(const std::exception& e) { ShowMessage(e.what()); }

}  // namespace

// ---- build (-b) -----------------------------------------------------------------

void TCustomInstall::BuildFromBuildInf() {
  try {
    const std::string inf = IncludeTrailingBackslash(ProgramDirectory()) + "BUILD.INF";
    if (!platform::FileExists(inf))
      throw IEInstall("Need to have a BUILD.INF file in this directory with the first line specifying the build directory");
    TStringList lines;
    {
      TFileStream in(inf, fmOpenRead | fmShareDenyWrite);
      std::string text(static_cast<size_t>(in.Size()), '\0');
      in.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
      lines.SetText(text);
    }
    if (lines.Count() == 0)
      throw IEInstall("Must be 1 line in BUILD.INF. This line should specify the build directory");
    BuildDistribution(TApplication::Instance().ExeName(), lines[0], true);
    SetResult(RunResult::Completed);
  } catch (const std::exception& e) {
    SetResult(RunResult::Failed);
    ShowPlainMessage(e);
  }
  TApplication::Instance().Terminate();
}

void TCustomInstall::BuildDistribution(const std::string& program, const std::string& build_dir,
                                       bool self_extracting) {
  if (self_extracting && !UseLoadingProgram())
    throw IEInstall(
        "Cannot build a stand alone executable if the UseLoadingProgram property of the TInstall is set to False");
  if (!build_dir.empty() && !platform::ForceDirectories(build_dir))
    throw IEInstall("Cannot create the build directory %s", build_dir);

  // The outputs, each written under its temporary name first.
  struct Output {
    std::string name;
    bool written = false;
  };
  std::vector<Output> outputs{{"files.1"}, {"setup.1"}, {UseLoadingProgram() ? "setup.exe" : ExtractFileName(program)}};
  auto discard_parts = [&] {
    for (const Output& o : outputs) platform::DeleteFile(PartPath(build_dir, o.name));
  };
  discard_parts();

  try {
    CopySetupProgram(build_dir, program);

    TCustomPathSpecifier* const saved_type = ArchiveFileType();
    const std::string saved_file = ArchiveFile();
    WithCleanup(
        [&] {
          StoreArchiveFileType(nullptr);
          SetArchiveFile(PartPath(build_dir, "files.1"));
          for (int i = 0; i < AllInstallFiles().Count(); ++i) AllInstallFiles().Items(i)->SetCompressState(0);
          switch (DistributeType()) {
            case dtTraditional:
              Compress({coRelocateArchives, coForceNetFilesLocal, coIncludeAll});
              break;
            case dtWeb:
              Compress({coRelocateArchives, coForceFilesNet, coIncludeAll});
              WriteFileList(*this);
              break;
            case dtTraditionalNet:
              Compress({coRelocateArchives, coIncludeAll});
              WriteFileList(*this);
              break;
          }
        },
        [&] {
          StoreArchiveFileType(saved_type);
          SetArchiveFile(saved_file);
        });

    if (self_extracting) {
      MakeSelfExtracting(PartPath(build_dir, "setup.exe"), PartPath(build_dir, "setup.1"),
                         PartPath(build_dir, "files.1"));
    } else if (UseLoadingProgram()) {
      AppendSelfExtractInfo(PartPath(build_dir, "setup.exe"));
    }

    // Every output is complete: each replaces its predecessor, setup.exe
    // (what a user starts) last. An output this build did not make (no
    // files.1 without files) does not survive from an earlier build.
    for (Output& o : outputs) o.written = platform::FileExists(PartPath(build_dir, o.name));
    for (const Output& o : outputs) {
      const std::string final_path = BuildPath(build_dir, o.name);
      if (platform::FileExists(final_path) && !platform::DeleteFile(final_path))
        throw IEInstall("Cannot replace %s with the new build", final_path);
      if (o.written && !platform::MoveFile(PartPath(build_dir, o.name), final_path))
        throw IEInstall("Cannot replace %s with the new build", final_path);
    }
  } catch (...) {
    discard_parts();
    throw;
  }
}

void TCustomInstall::CopySetupProgram(const std::string& build_dir, const std::string& program) {
  if (UseLoadingProgram()) {
    try {
      CreateSetupArchive(build_dir, program);
    } catch (const EwcDiskFull&) {
      throw IEInstall(
          "The disk that you have specified has been determined to be either too full or is corrupt while trying to "
          "copy the SETUP.1 archive file. You should probably clear all files off of the drive. Minimally, you should "
          "leave enough space on the drive for the SETUP.1 archive file.");
    }
    std::string framework;
    try {
      framework = FrameworkDirectory(ProgramDirectory());
    } catch (const std::exception&) {
      throw IEInstall("The HKEY_LOCAL_MACHINE | %s key in the registry is either missing or points to an invalid OAK directory",
                      "\\Software\\NORB\\W32V52");
    }
    const std::string loader = framework + "\\" + kLoaderName;
    if (!platform::FileExists(loader)) throw IEInstall("The loader program %s was not found", loader);
    const std::string setup_exe = PartPath(build_dir, "setup.exe");
    if (!platform::CopyFile(loader, setup_exe, platform::IfExists::Overwrite))
      throw IEInstall("Cannot copy the loading program from %s to %s", loader, setup_exe);
  } else {
    const std::string dest = PartPath(build_dir, ExtractFileName(program));
    if ((!build_dir.empty() && !platform::ForceDirectories(build_dir)) ||
        !platform::CopyFile(program, dest, platform::IfExists::Overwrite))
      throw IEInstall("Cannot copy the installation application from %s to %s", program, dest);
  }
}

void TCustomInstall::CreateSetupArchive(const std::string& build_dir, const std::string& program) {
  if (Trim(program).empty()) throw IEInstall("Cannot create setup file. Executable is blank");
  if (!platform::FileExists(program)) throw IEInstall("TInstall: Cannot find the executable file %s", program);
  const std::string setup1 = PartPath(build_dir, "setup.1");
  // A free-standing install file (no owner, no container) per member: the
  // install program first, into a new archive, then each presetup file.
  auto add = [&](const std::string& path, TlzhCommand command) {
    ComponentPtr<TInstallFile> file = CreateUnowned<TInstallFile>();
    file->SetNet(false);
    file->SetFileName(ExtractFileName(path));
    file->SetIncludeFromDir(ExcludeTrailingBackslash(ExtractFilePath(path)));
    file->SetAddToArchive(command);
    file->SetArchiveFileType(nullptr);
    file->SetArchiveFile(setup1);
    file->Compress();
  };
  add(program, lzcOverwrite);
  for (int i = 0; i < PresetupFiles()->Count(); ++i) add((*PresetupFiles())[i], lzcOnlyAdd);
}

void TCustomInstall::MakeSelfExtracting(const std::string& setup_exe, const std::string& setup1,
                                        const std::string& files1) {
  SelfExtractInfo info = SelfExtractInfo::WithMarker(kSelfExtractingMarker);
  TFileStream out(setup_exe, fmOpenReadWrite | fmShareExclusive);
  std::tie(info.setup1_start, info.setup1_end) = AppendWhole(
      out, setup1,
      IEInstall("Cannot create the self-extracting exe because %s could not be loaded onto %s", setup1, setup_exe));
  if (platform::FileExists(files1))
    std::tie(info.files1_start, info.files1_end) = AppendWhole(
        out, files1,
        IEInstall("Cannot create the self-extracting exe because %s could not be loaded onto %s", files1, setup_exe));
  const auto block = info.Encode();
  if (out.Write(block.data(), SelfExtractInfo::kSize) != SelfExtractInfo::kSize)
    throw IEInstall("Cannot add the self-extract info header to %s", setup_exe);
}

void TCustomInstall::AppendSelfExtractInfo(const std::string& path) {
  const auto block = SelfExtractInfo::WithMarker(kNotSelfExtractMarker).Encode();
  try {
    TFileStream out(path, fmOpenReadWrite | fmShareExclusive);
    out.Seek(0, soEnd);
    if (out.Write(block.data(), SelfExtractInfo::kSize) == SelfExtractInfo::kSize) return;
  } catch (const EStreamError&) {
  }
  throw IEInstall("Cannot add the self-extract info header to %s", path);
}

// ---- transfer to floppies (-f) ----------------------------------------------------

void TCustomInstall::TransferToFloppies(const std::string& drive) {
  TCustomForm* const form = HostForm();
  auto set_cursor = [form](TCursor c) {
    if (form) form->SetCursor(c);
  };
  set_cursor(crHourGlass);
  ProcessMessages();
  try {
    if (!HasSwitch(kSwitchSelfExtractor))
      throw IEInstall(
          "Sorry... You can only transfer this installation to floppies through the self-extracting file. Usage "
          "example: setup.exe *TODISK");
    const std::string source = GetArchivePath();
    const SelfExtractInfo info = ReadSelfExtractInfo(source);
    StatusMessage("Transferring this installation to floppies. Please wait...");
    WithCleanup(
        [&] {
          TFileStream in(source, fmOpenRead | fmShareDenyWrite);
          {
            const std::string setup_exe = drive + "\\setup.exe";
            TFileStream out(setup_exe, fmCreate);
            if (!CopyBlocks(in, out, info.setup1_start))
              throw IEInstall("Cannot create setup.exe on the A drive. Probably not enough room");
          }
          AppendSelfExtractInfo(drive + "\\setup.exe");
          {
            TFileStream out(drive + "\\setup.1", fmCreate);
            in.Seek(info.setup1_start, soBeginning);
            if (!CopyBlocks(in, out, int64_t{info.setup1_end} - info.setup1_start + 1))
              throw IEInstall("Cannot create setup.1 on the A drive. Probably not enough room");
          }
          if (!info.HasFiles1()) return;
          TWnmrCompress& archive = SharedArchive();
          const int saved_offset = archive.Offset();
          WithCleanup(
              [&] {
                archive.SetAbort(false);
                archive.OnNewDisk.Assign([&](TWnmrCompress*, int disk, std::string&) {
                  set_cursor(crDefault);
                  const int answer = MessageDlg(Format("Please insert disk %d", disk), mtConfirmation, mbOKCancel);
                  if (answer != mrOk) throw IEInstall("Aborted by user");
                  set_cursor(crHourGlass);
                });
                archive.OnStatus.Assign([](TWnmrCompress*, const TlzhFileStats&) { ProcessMessages(); });
                archive.SetOffset(info.files1_start);
                archive.SetCompressedFile(source);
                archive.SplitToDisks(drive + "\\", "files.1");
              },
              [&] {
                archive.OnNewDisk.Clear();
                archive.OnStatus.Clear();
                archive.SetOffset(saved_offset);
              });
        },
        [&] { ClearStatusMessage(); });
    SetResult(RunResult::Completed);
  } catch (const std::exception& e) {
    SetResult(RunResult::Failed);
    ShowPlainMessage(e);
  }
  set_cursor(crDefault);
  ProcessMessages();
  TApplication::Instance().Terminate();
}

}  // namespace wenmoor
