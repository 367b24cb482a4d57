// Install files and file containers at work: defaults that follow from
// names and types, the progress arithmetic of the reports, and a directory
// compressed into an archive and installed from it into the machine.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "archive/cmp_TWnmrCompress.h"
#include "common/script_fixture.h"
#include "engine/cmp_TInstall.h"
#include "paths/specifiers_windows.h"
#include "platform/win/files.h"
#include "platform/win/machine.h"
#include "platform/win/paths.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/event_parameters.h"
#include "script/script_exceptions.h"

namespace wenmoor {

// A directory whose operation a test can start by hand.
class TTestDirectory : public TInstallDirectory {
  WENMOOR_CLASS(TTestDirectory, TInstallDirectory)
 public:
  explicit TTestDirectory(TComponent* owner) : TInstallDirectory(owner) {}
  void Begin(TInstallFileState kind, int64_t size) { BeginOperation(kind, size); }
};
WENMOOR_REGISTER_CLASS(TTestDirectory) {}

namespace {

namespace fs = std::filesystem;

class FileOpsTest : public testing::ScriptFixture {
 protected:
  fs::path Host(const std::string& windows_path) { return *platform::Machine::Current().Paths().ToHost(windows_path); }
  void WriteFile(const std::string& windows_path, const std::string& content) {
    fs::path host = Host(windows_path);
    fs::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary) << content;
  }
  std::string ReadFile(const std::string& windows_path) {
    std::ifstream in(Host(windows_path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // A file of `size` bytes at C:\src\<name>, as an install file in `container`.
  TCustomInstallFile* SourceFile(TInstallContainer* container, const std::string& name, size_t size) {
    WriteFile("C:\\src\\" + name, std::string(size, 'x'));
    TCustomInstallFile* f = TCustomInstallFile::CreateInContainer(form(), container, "C:\\src\\" + name);
    f->ReadSourceInfo();
    return f;
  }
};

TEST_F(FileOpsTest, DefaultsFollowFromNameAndType) {
  auto* dir = Create<TInstallDirectory>(form());
  WriteFile("C:\\src\\readme.txt", "read me");
  TCustomInstallFile* readme = TCustomInstallFile::CreateInContainer(form(), dir, "C:\\src\\readme.txt");
  EXPECT_EQ(readme->DestName(), "readme.txt");
  EXPECT_EQ(readme->InstallAttributes(), TWnmrFileAttributesSet{});

  WriteFile("C:\\src\\locked.txt", "x");
  platform::SetFileAttributes("C:\\src\\locked.txt", platform::FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(TCustomInstallFile::CreateFromPath(form(), "C:\\src\\locked.txt")->InstallAttributes(),
            TWnmrFileAttributesSet{wfaReadOnly});

  for (const char* name : {"x.hlp", "X.CNT"}) {
    auto* help = Create<TInstallFile>(form());
    help->SetFileName(name);
    EXPECT_TRUE(help->RegisterAsHelp()) << name;
  }

  auto* ocx = Create<TInstallFile>(form());
  ocx->SetFileName("x.ocx");
  EXPECT_TRUE(ocx->ActiveX());
  EXPECT_EQ(ocx->FileType(), iftSystemWideDLL);
  EXPECT_TRUE(ocx->UpdateDLLCounter());
  EXPECT_EQ(ocx->OverwriteMode(), owVersionDate);
  EXPECT_EQ(ocx->DestDir(), "");
  EXPECT_TRUE(dynamic_cast<TpsSystem*>(ocx->DestDirType()));

  auto* vendor = Create<TInstallFile>(form());
  vendor->SetFileName("v.dll");
  vendor->SetFileType(iftVendorSharedDLL);
  EXPECT_EQ(vendor->DestDir(), "\\System");
  EXPECT_TRUE(dynamic_cast<TpsCommonFiles*>(vendor->DestDirType()));
  EXPECT_TRUE(vendor->UpdateDLLCounter());
  EXPECT_EQ(vendor->OverwriteMode(), owVersionDate);

  struct WindowsDirCase {
    const char* name;
    TOverwriteType want;
  };
  for (const auto& c : {WindowsDirCase{"a.dll", owVersionDate}, WindowsDirCase{"a.exe", owVersionDate},
                        WindowsDirCase{"a.dat", owAlways}, WindowsDirCase{"a.dl", owAlways}}) {
    auto* f = Create<TInstallFile>(form());
    f->SetFileName(c.name);
    f->SetDestDirType(StandardPathSpecifiers().FindSpecifier(TpsWindow::StaticClass()));
    EXPECT_EQ(f->OverwriteMode(), c.want) << c.name;
  }
}

TEST_F(FileOpsTest, OneSourcePathPerContainer) {
  auto* dir = Create<TInstallDirectory>(form());
  TCustomInstallFile::CreateInContainer(form(), dir, "C:\\src\\a.txt");
  try {
    TCustomInstallFile::CreateInContainer(form(), dir, "C:\\SRC\\A.TXT");
    FAIL();
  } catch (const IEfcDuplicateFile& e) {
    EXPECT_EQ(e.Message(), "There is already a file with the name :C:\\SRC\\A.TXT");
  }
  TCustomInstallFile::CreateInContainer(form(), dir, "C:\\other\\a.txt");
  EXPECT_EQ(dir->FileCount(), 2);
  // A file can only hang below a file container.
  auto* not_a_container = Create<TInstallFile>(form());
  EXPECT_THROW(Create<TInstallFile>(form())->SetContainer(not_a_container), IECustomInstallFile);
}

TEST_F(FileOpsTest, ProgressIsComputedPerLevelWithHalvesToEven) {
  auto* outer = Create<TTestDirectory>(form());
  auto* d = Create<TTestDirectory>(form());
  d->SetContainer(outer);
  TCustomInstallFile* earlier = SourceFile(d, "earlier.bin", 1000);
  TCustomInstallFile* elsewhere = SourceFile(outer, "elsewhere.bin", 2000);
  TCustomInstallFile* file = SourceFile(d, "file.bin", 1000);
  outer->Begin(ifsInstall, 10000);
  d->Begin(ifsInstall, 4000);
  // Files kept by the overwrite rule still count as done.
  d->DoInformationEventControl(earlier, kReportFileKept, earlier);
  outer->DoInformationEventControl(elsewhere, kReportFileKept, elsewhere);
  ASSERT_EQ(d->OperationDone(), 1000);
  ASSERT_EQ(outer->OperationDone(), 3000);

  std::vector<int> d_percent, outer_percent;
  d->OnStatus.Assign([&](TCustomInstallFile*, int, int total) { d_percent.push_back(total); });
  outer->OnStatus.Assign([&](TCustomInstallFile*, int, int total) { outer_percent.push_back(total); });
  TFileStatusParameter parameter;
  parameter.BytesDone = 500;
  parameter.FilePercentDone = 50;
  TList list{file, &parameter};
  d->DoInformationEventControl(file, kReportInstallProgress, &list);
  EXPECT_EQ(d_percent.back(), 38);      // 1500 / 4000 = 37.5 -> 38
  EXPECT_EQ(outer_percent.back(), 35);  // 3500 / 10000

  parameter.BytesDone = 1000;
  parameter.FileStats.FileDone = true;
  parameter.FileStats.FileSize = 1000;
  d->DoInformationEventControl(file, kReportInstallProgress, &list);
  EXPECT_EQ(d->OperationDone(), 2000);
  EXPECT_EQ(outer->OperationDone(), 4000);

  // 146 of 400 is 36.5: the even neighbour, 36.
  auto* small = Create<TTestDirectory>(form());
  TCustomInstallFile* part = SourceFile(small, "part.bin", 146);
  small->Begin(ifsInstall, 400);
  small->OnStatus.Assign([&](TCustomInstallFile*, int, int total) { d_percent.push_back(total); });
  small->DoInformationEventControl(part, kReportFileKept, part);
  EXPECT_EQ(d_percent.back(), 36);

  // No total: 0 %. No operation: the report goes no further.
  auto* empty = Create<TTestDirectory>(form());
  empty->SetContainer(outer);
  TCustomInstallFile* zero = SourceFile(empty, "zero.bin", 0);
  empty->Begin(ifsInstall, 0);
  empty->OnStatus.Assign([&](TCustomInstallFile*, int, int total) { d_percent.push_back(total); });
  empty->DoInformationEventControl(zero, kReportFileKept, zero);
  EXPECT_EQ(d_percent.back(), 0);
  auto* idle = Create<TTestDirectory>(form());
  idle->SetContainer(outer);
  TCustomInstallFile* unseen = SourceFile(idle, "unseen.bin", 10);
  const int64_t before = outer->OperationDone();
  idle->DoInformationEventControl(unseen, kReportFileKept, unseen);
  EXPECT_EQ(outer->OperationDone(), before);
}

TEST_F(FileOpsTest, BadReportsAreCallerErrors) {
  auto* d = Create<TTestDirectory>(form());
  d->SetName("D");
  TCustomInstallFile* file = SourceFile(d, "f.bin", 10);
  d->Begin(ifsInstall, 10);
  TFileStatusParameter status;
  TDiskParameter disk;
  TList short_list{file};
  TList wrong_first{&status, &status};
  TList wrong_second{file, &disk};
  TList disk_wrong{file, &status};
  struct Case {
    int code;
    TObject* po;
    const char* message;
  };
  const Case cases[] = {
      {kReportInstallProgress, nullptr, "D got a nil PO parameter"},
      {kReportInstallProgress, file, "DoInformationEventControl--PO is not a TList object"},
      {kReportInstallProgress, &short_list, "DoInformationEventControl--Not engouh parameters for status event"},
      {kReportInstallProgress, &wrong_first, "DoInformationEventControl says bad first parameter"},
      {kReportInstallProgress, &wrong_second, "DoInformationEventControl says bad second parameter"},
      {kReportReplacing, &status, "DoInformationEventControl parameter is not TInstallFile"},
      {kReportNewDisk, &disk_wrong, "DoInformationEventControl says bad 2 parameter"},
      {kReportDownloadProgress, &status, "The PO object passed to D is not a TDownloadStatusParameter object"},
      {kReportFileKept, &status, "DoInformationEventControl says bad first parameter"},
  };
  for (const auto& c : cases) {
    try {
      d->DoInformationEventControl(file, c.code, c.po);
      ADD_FAILURE() << c.message;
    } catch (const IEFileContainer& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

class ArchiveRoundTrip : public FileOpsTest {
 protected:
  ArchiveRoundTrip() {
    TApplication::Instance().SetExeName("C:\\build\\setup.exe");
    TApplication::Instance().SetParams({});
    install_ = Create<TInstall>(form());
    install_->BeginLoading();
    install_->SetUseLoadingProgram(false);  // started directly, without -s
    install_->Loaded();
    dir_ = Create<TInstallDirectory>(form());
    dir_->SetName("AppDir");
    dir_->SetContainer(install_);
    dir_->SetDestDirType(nullptr);
    dir_->SetDestDir("C:\\Program Files\\Demo");
    dir_->SetArchiveFileType(StandardPathSpecifiers().FindSpecifier(TpsContainerArchiveFile::StaticClass()));
  }
  ~ArchiveRoundTrip() override { TApplication::Instance().SetParams({}); }
  TCustomInstall* install_;
  TInstallDirectory* dir_;
};

TEST_F(ArchiveRoundTrip, CompressThenInstallPutsEveryFileInPlace) {
  WriteFile("C:\\src\\readme.txt", "Read me first.\r\n");
  WriteFile("C:\\src\\app.exe", std::string(70000, 'A') + "end");
  TCustomInstallFile* readme = TCustomInstallFile::CreateInContainer(form(), dir_, "C:\\src\\readme.txt");
  TCustomInstallFile* app = TCustomInstallFile::CreateInContainer(form(), dir_, "C:\\src\\app.exe");
  app->SetDestName("demo.exe");

  std::vector<std::string> events;
  readme->OnBeforeCompress.Assign([&](TCustomInstallFile*) { events.push_back("compress readme"); });
  app->OnAfterCompress.Assign([&](TCustomInstallFile*) { events.push_back("compressed app"); });
  install_->Compress({coRelocateArchives, coForceNetFilesLocal, coIncludeAll});
  EXPECT_TRUE(platform::FileExists("C:\\build\\files.1"));
  EXPECT_EQ(readme->CompressState(), 2);
  EXPECT_EQ(readme->CompressedArchive(), "C:\\build\\files.1");
  // The archive settings the build arranged are back as they were.
  EXPECT_TRUE(dynamic_cast<TpsContainerArchiveFile*>(readme->ArchiveFileType()));
  EXPECT_EQ(readme->AddToArchive(), lzcOverwrite);

  std::vector<int> totals;
  install_->OnStatus.Assign([&](TCustomInstallFile*, int, int total) { totals.push_back(total); });
  readme->OnAfterInstall.Assign([&](TCustomInstallFile*) { events.push_back("installed readme"); });
  form()->Activate();
  EXPECT_EQ(install_->Result(), RunResult::Completed);
  EXPECT_EQ(ReadFile("C:\\Program Files\\Demo\\readme.txt"), "Read me first.\r\n");
  EXPECT_EQ(ReadFile("C:\\Program Files\\Demo\\demo.exe"), std::string(70000, 'A') + "end");
  ASSERT_FALSE(totals.empty());
  EXPECT_EQ(totals.back(), 100);
  // Children of one rank run newest first: the later app before the readme.
  EXPECT_EQ(events, (std::vector<std::string>{"compressed app", "compress readme", "installed readme"}));
}

TEST_F(ArchiveRoundTrip, NeverOverwriteKeepsTheFileAndStillCountsIt) {
  WriteFile("C:\\src\\config.ini", "[new]\r\n");
  TCustomInstallFile* config = TCustomInstallFile::CreateInContainer(form(), dir_, "C:\\src\\config.ini");
  install_->Compress({coForceNetFilesLocal, coIncludeAll});
  WriteFile("C:\\Program Files\\Demo\\config.ini", "[mine]\r\n");
  config->SetOverwriteMode(owNever);
  bool after_install = false;
  config->OnAfterInstall.Assign([&](TCustomInstallFile*) { after_install = true; });
  std::vector<int> totals;
  dir_->OnStatus.Assign([&](TCustomInstallFile*, int file, int total) { totals.push_back(file * 1000 + total); });
  form()->Activate();
  EXPECT_EQ(ReadFile("C:\\Program Files\\Demo\\config.ini"), "[mine]\r\n");
  EXPECT_TRUE(after_install);
  EXPECT_FALSE(config->WillCopy());
  EXPECT_EQ(totals, std::vector<int>{100 * 1000 + 100});
}

TEST_F(ArchiveRoundTrip, SilentAbortBeforeInstallSkipsOnlyThatFile) {
  WriteFile("C:\\src\\a.txt", "a");
  WriteFile("C:\\src\\b.txt", "b");
  TCustomInstallFile* a = TCustomInstallFile::CreateInContainer(form(), dir_, "C:\\src\\a.txt");
  TCustomInstallFile::CreateInContainer(form(), dir_, "C:\\src\\b.txt");
  install_->Compress({coForceNetFilesLocal});
  a->OnBeforeInstall.Assign([](TCustomInstallFile*) { throw EAbort(); });
  form()->Activate();
  EXPECT_EQ(install_->Result(), RunResult::Completed);
  EXPECT_FALSE(platform::FileExists("C:\\Program Files\\Demo\\a.txt"));
  EXPECT_TRUE(platform::FileExists("C:\\Program Files\\Demo\\b.txt"));
}

TEST_F(ArchiveRoundTrip, CompressPutsArchiveSettingsBackWhenAFileFails) {
  WriteFile("C:\\src\\ok.txt", "ok");
  TCustomInstallFile* ok = TCustomInstallFile::CreateInContainer(form(), dir_, "C:\\src\\ok.txt");
  TCustomInstallFile* missing = TCustomInstallFile::CreateInContainer(form(), dir_, "C:\\src\\missing.txt");
  missing->SetInclude(false);
  EXPECT_THROW(install_->Compress({coIncludeAll, coForceNetFilesLocal}), IECustomInstallFile);
  for (TCustomInstallFile* f : {ok, missing}) {
    EXPECT_TRUE(dynamic_cast<TpsContainerArchiveFile*>(f->ArchiveFileType())) << f->Name();
    EXPECT_EQ(f->AddToArchive(), lzcOverwrite) << f->Name();
  }
  EXPECT_FALSE(missing->Include());
  EXPECT_EQ(dir_->Operation(), ifsNone);
}

TEST_F(FileOpsTest, LoadedIdentifiersAreKeptAndNewFilesTakeTheLowestFreeOne) {
  std::vector<TCustomInstallFile*> loaded;
  for (int id = 10; id <= 104; ++id) {
    auto* f = Create<TInstallFile>(form());
    f->BeginLoading();
    f->SetUniqueID(id);
    loaded.push_back(f);
  }
  for (TCustomInstallFile* f : loaded) f->Loaded();
  EXPECT_EQ(Create<TInstallFile>(form())->UniqueID(), 0);
  EXPECT_EQ(Create<TInstallFile>(form())->UniqueID(), 1);
}

}  // namespace
}  // namespace wenmoor
