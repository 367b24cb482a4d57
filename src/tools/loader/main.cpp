// WenmoorLoadProgram.exe: the loading program that a distribution carries
// as setup.exe. It reads the self-extract block at its own end, unpacks the
// install program and the presetup files from setup.1 (inside itself, or
// beside it) into a fresh temporary directory of the emulated machine and
// starts the install program there:
//
//   <tmp>\<program> -s<directory of setup.exe> [-e<setup.exe's name>] -c [-f]
//
// -e when the distribution is one self-extracting file; -f when the user
// asked for floppies with "*TODISK". The install program removes its
// temporary copy at the end of its run (-c); what is left when it ended in
// another way is removed here, unless a restart is pending (the program is
// started again from there after the restart). The exit status is the
// install program's; 1 with one line on standard error when it cannot be
// started.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "archive/archive_extractor.h"
#include "archive/cmp_TWnmrCompress.h"
#include "engine/self_extract_info.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/executable.h"
#include "platform/win/files.h"
#include "platform/win/machine.h"
#include "platform/win/own_program.h"
#include "platform/win/paths.h"
#include "platform/win/process.h"
#include "platform/rtl/typeinfo.h"
#include "platform/win/win_error.h"
#include "script/script_exceptions.h"

namespace wenmoor {
namespace {

constexpr uint32_t kRestartPending = 3;

class LoaderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where setup.1 lies: inside setup.exe at an offset, or beside it.
struct Setup1Location {
  std::string path;
  int offset = 0;
  bool self_extracting = false;
};

Setup1Location LocateSetup1(const std::string& self, const std::string& dir) {
  const std::string damaged = "The installation program " + self +
                              " is damaged: its self-extract information is missing or invalid. Please obtain a new "
                              "copy of the installation.";
  SelfExtractInfo info;
  try {
    info = ReadSelfExtractInfo(self);
  } catch (const std::exception&) {
    throw LoaderError(damaged);
  }
  if (info.NotSelfExtract()) {
    const std::string setup1 = dir + "\\setup.1";
    if (!platform::FileExists(setup1))
      throw LoaderError("The file " + setup1 + " is missing. It must be in the same directory as " +
                        ExtractFileName(self) + ".");
    return {setup1, 0, false};
  }
  if (!info.SelfExtracting()) throw LoaderError(damaged);
  if (!info.LayoutFits(platform::GetFileSize(self).value_or(0))) throw LoaderError(damaged);
  return {self, info.setup1_start, true};
}

// A new, empty directory below the machine's temporary directory.
std::string MakeTempDirectory() {
  const std::string temp = platform::GetTempPath();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto name = platform::GetTempFileName(temp, "wns", 0);
    if (!name) break;
    // The reserved name becomes the directory.
    platform::DeleteFile(*name);
    const std::string dir = ChangeFileExt(*name, "");
    if (platform::CreateDirectory(dir)) return dir;
  }
  throw LoaderError("Cannot create a temporary directory in " + temp + ": " +
                    platform::FormatMessage(platform::GetLastError()));
}

void RemoveTree(const std::string& dir) {
  for (const platform::FindData& entry : platform::FindFiles(dir + "\\*")) {
    const std::string path = dir + "\\" + entry.name;
    if (entry.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(path);
    } else {
      platform::SetFileAttributes(path, platform::FILE_ATTRIBUTE_NORMAL);
      platform::DeleteFile(path);
    }
  }
  platform::RemoveDirectory(dir);
}

// Unpacks every member of setup.1 into `dir`; the path of the first member
// (the install program).
std::string Unpack(const Setup1Location& setup1, const std::string& dir) {
  ComponentPtr<TWnmrCompress> archive = CreateUnowned<TWnmrCompress>();
  archive->SetCompressedFile(setup1.path);
  archive->SetOffset(setup1.offset);
  archive->SetExtractDirectory(dir);
  archive->SetOverwrite(owAlways);
  std::string program;
  try {
    archive->ReadHeaders();
    if (archive->FileCount() == 0) throw EWnmrCompress("the archive holds no install program");
    TStringList members;
    for (int i = 0; i < archive->FileCount(); ++i) members.Add(archive->Headers().GetFileHeaders(i).Rec.FileName);
    program = dir + "\\" + ArchiveExtractor::FileNamePart(members[0]);
    archive->SetFilesToProcess(members);
    archive->Extract();
  } catch (const std::exception& e) {
    throw LoaderError("The installation archive " + setup1.path +
                      " is damaged and cannot be unpacked (" + e.what() + "). Please obtain a new copy of the "
                      "installation.");
  }
  if (!platform::FileExists(program) || !platform::MarkExecutable(program))
    throw LoaderError("The install program could not be unpacked to " + program);
  return program;
}

int Run(const std::vector<std::string>& args) {
  const std::string self = platform::Machine::Current().Paths().ToWindows(platform::OwnProgramFile());
  const std::string dir = ExcludeTrailingBackslash(ExtractFilePath(self));
  bool to_disk = false;
  for (const std::string& a : args) to_disk = to_disk || SameText(a, "*TODISK");

  const Setup1Location setup1 = LocateSetup1(self, dir);
  const std::string temp_dir = MakeTempDirectory();
  int status = 1;
  try {
    const std::string program = Unpack(setup1, temp_dir);
    std::string command = platform::QuoteArgument(program) + " " + platform::QuoteArgument("-s" + dir);
    if (setup1.self_extracting) command += " " + platform::QuoteArgument("-e" + ExtractFileName(self));
    command += " -c";
    if (to_disk) command += " -f";
    platform::StartupInfo startup;
    startup.current_directory = temp_dir;
    std::unique_ptr<platform::Process> process = platform::Process::Create(program, command, startup);
    if (!process)
      throw LoaderError("Cannot start the install program " + program + ": " +
                        platform::FormatMessage(platform::GetLastError()));
    process->Wait();
    status = static_cast<int>(process->ExitCode());
  } catch (...) {
    RemoveTree(temp_dir);
    throw;
  }
  if (status != static_cast<int>(kRestartPending) && platform::DirectoryExists(temp_dir)) RemoveTree(temp_dir);
  return status;
}

}  // namespace
}  // namespace wenmoor

int main(int argc, char** argv) {
  try {
    return wenmoor::Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "setup: %s\n", e.what());
    return 1;
  }
}
