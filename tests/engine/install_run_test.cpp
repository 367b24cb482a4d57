// The installation run, observed from outside: the engine's events, the
// phase broadcasts a dialog would hear and the status texts, in order; the
// record, the RunOnce entry and the emulated restart; and runs that break
// off at various points followed by a run that must complete.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/script_fixture.h"
#include "engine/cmp_TInstall.h"
#include "engine/cmp_TUninstallEXE.h"
#include "engine/engine_helpers.h"
#include "paths/specifiers_windows.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/files.h"
#include "platform/win/registry_store.h"
#include "platform/win/shutdown.h"
#include "platform/win/win_error.h"
#include "registry/cmp_TInstallRegistry.h"
#include "registry/cmp_TWnmrRegistry.h"
#include "registry/routines_Registry.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/event_parameters.h"
#include "script/script_exceptions.h"
#include "support/temp_prefix.h"
#include "translation/cmp_TTranslator.h"

namespace wenmoor {

// Stands where a dialog manager stands (rank 9000, a child of the engine)
// and hears the same broadcasts; it can also be named in the unfinished
// business, like an install file whose registration waits for the restart.
class TPhaseListener : public TInstallObject {
  WENMOOR_CLASS(TPhaseListener, TInstallObject)
 public:
  explicit TPhaseListener(TComponent* owner) : TInstallObject(owner) {}
  int RegisteredType() const override { return kRankDialog; }
  void ReceiveInformation(TObject*, int code, TObject* po) override {
    if (on_receive) on_receive(code, po);
  }
  void ResumeAfterReboot() override {
    if (on_resume) on_resume();
  }
  std::function<void(int, TObject*)> on_receive;
  std::function<void()> on_resume;
};
WENMOOR_REGISTER_CLASS(TPhaseListener) {}

namespace {

using Log = std::vector<std::string>;
using platform::RootKey;

constexpr char kProgram[] = "C:\\dist\\setup.exe";
constexpr char kTarget[] = "C:\\Program Files\\Demo";
constexpr char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// One setup program's script, built as the form loader builds it: objects
// first, the engine's Loaded last (which starts a resumption at once).
struct Scene {
  ComponentPtr<TForm> form = CreateUnowned<TForm>();
  TCustomInstall* install = nullptr;
  TInstallDirectory* dir = nullptr;
  TCustomInstallFile* a = nullptr;
  TCustomInstallFile* b = nullptr;
  TPhaseListener* listener = nullptr;
  TTranslator* translator = nullptr;
  Log log;

  void Build(const std::vector<std::string>& args) {
    TApplication::Instance().SetExeName(kProgram);
    TApplication::Instance().SetParams(args);
    TApplication::Instance().SetMainForm(form.get());
    translator = Create<TTranslator>(form.get());
    install = Create<TInstall>(form.get());
    install->BeginLoading();
    install->Information()->SetProductName("Demo");
    dir = Create<TInstallDirectory>(form.get());
    dir->SetName("AppDir");
    dir->SetContainer(install);
    dir->SetDestDirType(nullptr);
    dir->SetDestDir(kTarget);
    dir->SetArchiveFileType(StandardPathSpecifiers().FindSpecifier(TpsContainerArchiveFile::StaticClass()));
    a = TCustomInstallFile::CreateInContainer(form.get(), dir, "C:\\src\\a.txt");
    a->SetName("IFa_txt");
    b = TCustomInstallFile::CreateInContainer(form.get(), dir, "C:\\src\\b.txt");
    b->SetName("IFb_txt");
    b->SetRunAfterInstall(true);
    for (const char* name : {"Keys1", "Keys2"}) {
      auto* keys = Create<TInstallRegistry>(form.get());
      keys->SetName(name);
      keys->SetContainer(install);
      keys->SetKey(std::string("\\SOFTWARE\\Demo\\") + name);
    }
    listener = Create<TPhaseListener>(form.get());
    listener->SetName("Listener");
    listener->SetContainer(install);
    Record();
  }

  // Every event of the engine, the phase broadcasts and the status texts.
  void Record() {
    auto note = [this](std::string what) { return [this, what](auto&&...) { log.push_back(what); }; };
    install->OnBeforeReadArchiveInfo.Assign(note("OnBeforeReadArchiveInfo"));
    install->OnAfterReadArchiveInfo.Assign(note("OnAfterReadArchiveInfo"));
    install->OnAfterInitialized.Assign(note("OnAfterInitialized"));
    install->OnBeforeInstallObjects.Assign(note("OnBeforeInstallObjects"));
    install->OnAfterInstallObjects.Assign(note("OnAfterInstallObjects"));
    install->OnBeforeNotifyGoodInstall.Assign(note("OnBeforeNotifyGoodInstall"));
    install->OnAfterNotifyGoodInstall.Assign(note("OnAfterNotifyGoodInstall"));
    install->OnBeforeNotifyBadInstall.Assign(note("OnBeforeNotifyBadInstall"));
    install->OnAfterNotifyBadInstall.Assign(note("OnAfterNotifyBadInstall"));
    install->OnBeforeCleanup.Assign(note("OnBeforeCleanup"));
    install->OnBeforeShutdown.Assign(note("OnBeforeShutdown"));
    install->OnBeforeReboot.Assign(note("OnBeforeReboot"));
    install->OnFailedReboot.Assign(note("OnFailedReboot"));
    install->OnBeforeRunFile.Assign([this](TCustomInstall*, TCustomInstallFile* f, bool& default_action) {
      log.push_back("OnBeforeRunFile " + f->Name());
      default_action = false;  // a text file is nothing to start
    });
    for (TCustomInstallFile* f : {a, b})
      f->OnAfterInstall.Assign([this](TCustomInstallFile* f) { log.push_back("installed " + f->Name()); });
    listener->on_resume = [this] { log.push_back("resumed Listener"); };
    listener->on_receive = [this](int code, TObject* po) {
      switch (code) {
        case -986: case -980: case -987: case -995: case -979: case -994: case -978: case -984: case -983:
        case -973:
          log.push_back(std::to_string(code));
          break;
        case -974:
          log.push_back("-974 " + static_cast<TMessageParameter*>(po)->Text);
          break;
        default:
          break;
      }
    };
  }

  void Load() { install->Loaded(); }
  void Run() {
    Load();
    form->Activate();
  }
};

class RunTest : public testing::ScriptFixture {
 protected:
  RunTest() {
    CurrentRecordKey().clear();
    WriteDistribution();
  }
  // The program, the sources and the distribution's files.1 beside the
  // program, on the current machine.
  static void WriteDistribution() {
    test::WriteProgram(kProgram, "the setup program", 2001);
    test::WriteProgram("C:\\src\\a.txt", "new a", 2003);
    test::WriteProgram("C:\\src\\b.txt", "new b", 2003);
    Scene build;
    build.Build({"-sC:\\dist"});
    build.Load();
    build.install->Compress({coForceNetFilesLocal, coIncludeAll});
  }
  ~RunTest() override {
    CurrentRecordKey().clear();
    TApplication::Instance().SetParams({});
    TApplication::Instance().SetMainForm(nullptr);
  }

  static std::vector<std::string> Records() {
    TwnmrRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKey("\\SOFTWARE\\OAK\\Install", false)) return {};
    return registry.KeyNames();
  }
  // The RunOnce values of the NT family (HKEY_CURRENT_USER) as name=command.
  static std::vector<std::string> RunOnceValues() {
    std::vector<std::string> out;
    platform::RegistryStore& store = platform::CurrentRegistry();
    for (const std::string& name : store.ValueNames(RootKey::CurrentUser, kRunOnce))
      out.push_back(name + "=" + *store.QueryValue(RootKey::CurrentUser, kRunOnce, name)->AsString());
    return out;
  }
  // The file a.txt exists at the destination and cannot be replaced now.
  static void PutFileInUse() {
    test::WriteProgram(std::string(kTarget) + "\\a.txt", "old a", 1999);
    ASSERT_TRUE(platform::SetFileAttributes(std::string(kTarget) + "\\a.txt", platform::FILE_ATTRIBUTE_READONLY));
  }
};

// The documented order of a run, start to end.
const Log kBeforeObjects = {
    "OnBeforeReadArchiveInfo", "-984", "-974 Reading file information...", "-973", "OnAfterReadArchiveInfo", "-983",
    "OnAfterInitialized",      "-986", "-980",
};
const Log kObjects = {
    "OnBeforeInstallObjects", "installed IFb_txt", "installed IFa_txt", "-974 Installing registry keys...", "-973",
    "OnAfterInstallObjects",
};
const Log kGoodEnd = {
    "OnBeforeNotifyGoodInstall", "-995", "-979", "OnAfterNotifyGoodInstall",
};
const Log kBadEnd = {
    "OnBeforeNotifyBadInstall", "-994", "-978", "OnAfterNotifyBadInstall", "OnBeforeShutdown",
};

Log Join(std::initializer_list<Log> parts) {
  Log all;
  for (const Log& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST_F(RunTest, GoodRunInDocumentedOrderLeavesNoRecord) {
  Scene s;
  s.Build({"-sC:\\dist"});
  std::vector<std::string> records_during_run;
  s.install->OnAfterInitialized.Assign([&](TObject*) {
    s.log.push_back("OnAfterInitialized");
    records_during_run = Records();
  });
  s.Run();
  EXPECT_EQ(s.log, Join({kBeforeObjects, kObjects, kGoodEnd,
                         {"OnBeforeShutdown", "OnBeforeRunFile IFb_txt"}}));
  EXPECT_EQ(s.install->Result(), RunResult::Completed);
  EXPECT_EQ(ExitStatusOf(s.install->Result()), 0);
  EXPECT_EQ(records_during_run, std::vector<std::string>{"Install0"});
  EXPECT_TRUE(Records().empty());
  EXPECT_TRUE(RunOnceValues().empty());
  EXPECT_EQ(test::ReadWindowsFile(std::string(kTarget) + "\\a.txt"), "new a");
  EXPECT_FALSE(s.install->Running());
  EXPECT_TRUE(TApplication::Instance().Terminated());
}

TEST_F(RunTest, UserAbortInTheWizardEndsWithoutInstallingAndWithoutRecord) {
  Scene s;
  s.Build({"-sC:\\dist"});
  auto recorder = s.listener->on_receive;
  s.listener->on_receive = [&](int code, TObject* po) {
    recorder(code, po);
    // A confirmed Cancel raises in the wizard's event handler, which hands
    // it to the application while the run waits for the dialog.
    if (code == kNotifyBeforeInstallDialogs) TApplication::Instance().HandleException(EAIUserAbort());
  };
  s.Run();
  EXPECT_EQ(s.log, Join({kBeforeObjects, kBadEnd}));
  EXPECT_EQ(s.install->Result(), RunResult::Aborted);
  EXPECT_EQ(ExitStatusOf(s.install->Result()), 2);
  EXPECT_TRUE(s.install->Aborted());
  EXPECT_TRUE(Records().empty());
  EXPECT_FALSE(platform::FileExists(std::string(kTarget) + "\\a.txt"));
}

TEST_F(RunTest, FailureKeepsTheRecordAndReportsAfterTheObjects) {
  Scene s;
  s.Build({"-sC:\\dist"});
  s.a->OnBeforeInstall.Assign([](TCustomInstallFile*) { throw Exception("The disk is on fire"); });
  s.Run();
  EXPECT_EQ(s.log, Join({kBeforeObjects, {"OnBeforeInstallObjects", "installed IFb_txt", "OnAfterInstallObjects"},
                         kBadEnd}));
  EXPECT_EQ(s.install->Result(), RunResult::Failed);
  EXPECT_EQ(ExitStatusOf(s.install->Result()), 1);
  EXPECT_EQ(Records(), std::vector<std::string>{"Install0"});
}

TEST_F(RunTest, WithoutTheLoadingProgramsSwitchTheRunFails) {
  Scene s;
  s.Build({});
  s.Run();
  EXPECT_EQ(s.install->Result(), RunResult::Failed);
  EXPECT_EQ(s.log, kBadEnd);
}

TEST_F(RunTest, FileInUseRestartsTheMachineAndTheResumptionFinishes) {
  PutFileInUse();
  WriteRegistryString(hkLocalMachine, "\\SOFTWARE\\Demo", "x", "y");
  test::WriteProgram("C:\\windows\\temp\\done.bat", "erase x", 2003);
  {
    Scene s;
    s.Build({"-sC:\\dist", "-c"});
    s.translator->SetTranslateIntoLanguage(wlGerman);
    s.b->OnAfterInstall.Assign([&](TCustomInstallFile*) {
      s.log.push_back("installed IFb_txt");
      s.install->AddUnfinished("Listener", 0);
      s.install->AddUnfinished("C:\\windows\\temp\\done.bat", 1);
    });
    s.Run();
    EXPECT_EQ(s.log, Join({kBeforeObjects, kObjects, {"-987", "OnBeforeReboot"}}));
    EXPECT_TRUE(s.install->Reboot());
    EXPECT_EQ(s.install->Result(), RunResult::RestartPending);
    EXPECT_EQ(ExitStatusOf(s.install->Result()), 3);
  }
  EXPECT_TRUE(platform::RestartPending());
  EXPECT_EQ(RunOnceValues(),
            std::vector<std::string>{"WenmoorUnfinished=\"C:\\dist\\setup.exe\" -r \"-sC:\\dist\" -c"});
  ASSERT_EQ(Records(), std::vector<std::string>{"Install0"});
  const std::string record = "\\SOFTWARE\\OAK\\Install\\Install0";
  EXPECT_EQ(ReadRegistryInteger(hkLocalMachine, record, "Language", -1), wlGerman);
  // The file waits under its new name for the restart to swap it in.
  EXPECT_EQ(test::ReadWindowsFile(std::string(kTarget) + "\\a.1"), "new a");

  // After the restart the program comes back with -r.
  platform::ClearRestartPending();
  DeleteRegistryKey(hkCurrentUser, std::string("\\") + kRunOnce);
  CurrentRecordKey().clear();
  TApplication::Instance().ClearTerminated();
  Scene resumed;
  resumed.Build({"-r", "-sC:\\dist", "-c"});
  resumed.Load();
  EXPECT_EQ(resumed.log, Join({{"resumed Listener"}, kGoodEnd, {"OnBeforeCleanup", "OnBeforeShutdown",
                                                                "OnBeforeRunFile IFb_txt"}}));
  EXPECT_EQ(resumed.install->Mode(), StartupMode::Resume);
  EXPECT_EQ(resumed.install->Result(), RunResult::Completed);
  EXPECT_EQ(resumed.translator->TranslateIntoLanguage(), wlGerman);
  EXPECT_FALSE(platform::FileExists("C:\\windows\\temp\\done.bat"));
  EXPECT_TRUE(Records().empty());
  // The temporary copy of the program goes; a batch removes what was in use.
  EXPECT_FALSE(platform::FileExists(kProgram));
  ASSERT_TRUE(resumed.install->CleanupPending());
  const std::string batch = resumed.install->CleanupBatch();
  EXPECT_EQ(ExtractFileExt(batch), ".bat");
  EXPECT_EQ(test::ReadWindowsFile(batch), "ERASE C:\\dist\\setup.exe\r\nDELTREE /Y C:\\dist\r\nERASE " +
                                              ChangeFileExt(batch, ".PIF") + "\r\nERASE " + batch + "\r\n");
}

TEST_F(RunTest, ResumptionRefusesAnInvalidEntryAndKeepsTheRecord) {
  {
    Scene s;
    s.Build({"-sC:\\dist"});
    s.Load();
    CurrentRecordKey() = s.install->FindInstallRecord(true);
    s.install->AddUnfinished("Listener", 0);
    WriteRegistryString(hkLocalMachine, CurrentRecordKey() + "\\Unfinished", "Zone", "zero");
  }
  CurrentRecordKey().clear();
  Scene resumed;
  resumed.Build({"-r", "-sC:\\dist"});
  resumed.Load();
  EXPECT_EQ(resumed.install->Result(), RunResult::Failed);
  EXPECT_EQ(resumed.log, Join({{"resumed Listener"}, kBadEnd}));
  EXPECT_EQ(Records(), std::vector<std::string>{"Install0"});
  TStringList left;
  resumed.install->ReadUnfinished(left);
  EXPECT_EQ(left.Count(), 2);  // nothing is lost: a repaired entry can be resumed
}

// A run that breaks off anywhere leaves a machine on which the next run
// completes: the record is found again, its unfinished business starts
// afresh, and no second RunOnce entry appears.
TEST_F(RunTest, RunBrokenOffAtAnyPointIsCompletedByTheNextRun) {
  struct Case {
    const char* where;
    bool in_use;  // the run restarts the machine
    std::function<void(Scene&)> inject;
  };
  const auto fail = [](auto&&...) { throw std::runtime_error("killed"); };
  const Case cases[] = {
      {"after initialisation", false, [&](Scene& s) { s.install->OnAfterInitialized.Assign(fail); }},
      {"between two files", false, [&](Scene& s) { s.b->OnAfterInstall.Assign(fail); }},
      {"in the registry keys", false,
       [&](Scene& s) {
         s.listener->on_receive = [](int code, TObject* po) {
           const bool keys = code == kNotifyStatusMessage &&
                             static_cast<TMessageParameter*>(po)->Text == "Installing registry keys...";
           if (keys) throw std::runtime_error("killed");
         };
       }},
      {"before the success report", false, [&](Scene& s) { s.install->OnBeforeNotifyGoodInstall.Assign(fail); }},
      {"before the restart", true, [&](Scene& s) { s.install->OnBeforeReboot.Assign(fail); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    test::TempPrefix machine;  // each case on a machine of its own
    WriteDistribution();
    if (c.in_use) PutFileInUse();
    {
      Scene broken;
      broken.Build({"-sC:\\dist"});
      c.inject(broken);
      broken.Run();
      EXPECT_EQ(broken.install->Result(), RunResult::Failed);
    }
    CurrentRecordKey().clear();
    TApplication::Instance().ClearTerminated();
    {
      Scene again;
      again.Build({"-sC:\\dist"});
      again.Run();
      EXPECT_EQ(again.install->Result(), c.in_use ? RunResult::RestartPending : RunResult::Completed);
    }
    if (c.in_use) {
      EXPECT_EQ(RunOnceValues().size(), 1u);
      platform::ClearRestartPending();
      CurrentRecordKey().clear();
      TApplication::Instance().ClearTerminated();
      Scene resumed;
      resumed.Build({"-r", "-sC:\\dist"});
      resumed.Load();
      EXPECT_EQ(resumed.install->Result(), RunResult::Completed);
    } else {
      EXPECT_EQ(test::ReadWindowsFile(std::string(kTarget) + "\\a.txt"), "new a");
      EXPECT_EQ(test::ReadWindowsFile(std::string(kTarget) + "\\b.txt"), "new b");
    }
    EXPECT_TRUE(Records().empty());
    CurrentRecordKey().clear();
    TApplication::Instance().ClearTerminated();
  }
}

}  // namespace
}  // namespace wenmoor

namespace wenmoor {
namespace {

// The uninstaller's file writes the product's entry in the list of
// installed programs; icon and read-me only for files this run installed.
TEST_F(RunTest, UninstallEntryNamesTheInstalledUninstallerAndTheInstalledFilesOnly) {
  test::WriteProgram("C:\\src\\uninstall.exe", "uninstaller", 2003);
  test::WriteProgram("C:\\src\\demo.ico", "icon", 2003);
  test::WriteProgram("C:\\src\\readme.txt", "read me", 2003);
  struct Case {
    std::string product;
    bool readme_included;
    std::vector<std::string> values;  // name=data
  };
  const std::string uninstaller = std::string(kTarget) + "\\uninstall.exe";
  const Case cases[] = {
      {"  Demo  ", true,
       {"DisplayName=Demo", "UninstallString=" + uninstaller + " Demo", "Comments=Nice",
        "DisplayIcon=" + std::string(kTarget) + "\\demo.ico", "DisplayVersion=1.0", "Publisher=Acme",
        "Readme=" + std::string(kTarget) + "\\readme.txt", "RegOwner=Pat"}},
      // Nothing to name the entry after: the name stays empty, the command
      // ends with the uninstaller and a blank. The read-me was not installed.
      {"", false,
       {"DisplayName=", "UninstallString=" + uninstaller + " ", "Comments=Nice",
        "DisplayIcon=" + std::string(kTarget) + "\\demo.ico", "DisplayVersion=1.0", "Publisher=Acme",
        "RegOwner=Pat"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.product);
    Scene s;
    s.Build({"-sC:\\dist"});
    s.install->Information()->SetProductName(c.product);
    s.install->Information()->SetVersion("1.0");
    s.install->Information()->SetCompanyName("Acme");
    s.install->Win2KExtendedInformation()->SetComments("Nice");
    s.install->RegistrationInformation()->RegOwner = "Pat";
    auto* uninstall = Create<TUninstallEXE>(s.form.get());
    uninstall->SetName("Uninstaller");
    uninstall->SetContainer(s.dir);
    uninstall->SetIncludeFromDir("C:\\src");
    uninstall->SetFileName("uninstall.exe");
    uninstall->SetNet(false);
    TCustomInstallFile* icon = TCustomInstallFile::CreateInContainer(s.form.get(), s.dir, "C:\\src\\demo.ico");
    TCustomInstallFile* readme = TCustomInstallFile::CreateInContainer(s.form.get(), s.dir, "C:\\src\\readme.txt");
    s.install->Win2KExtendedInformation()->SetDisplayIcon(icon);
    s.install->Win2KExtendedInformation()->SetReadMe(readme);
    s.Load();
    s.install->Compress({coForceNetFilesLocal, coIncludeAll});
    readme->SetInclude(c.readme_included);
    s.form->Activate();
    ASSERT_EQ(s.install->Result(), RunResult::Completed);

    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + c.product;
    platform::RegistryStore& store = platform::CurrentRegistry();
    std::vector<std::string> values;
    for (const std::string& name : store.ValueNames(RootKey::LocalMachine, key))
      if (auto text = store.QueryValue(RootKey::LocalMachine, key, name)->AsString())
        values.push_back(name + "=" + *text);
    std::vector<std::string> expected = c.values;
    std::sort(expected.begin(), expected.end());
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, expected);
    EXPECT_EQ(test::ReadWindowsFile(uninstaller), "uninstaller");
    DeleteRegistryKey(hkLocalMachine, "\\" + key);
    TApplication::Instance().ClearTerminated();
  }
}

TEST_F(RunTest, RemovingTheUninstallersFileClearsTheBuildMark) {
  Scene s;
  s.Build({"-sC:\\dist"});
  auto* uninstall = Create<TUninstallEXE>(s.form.get());
  EXPECT_TRUE(uninstall->Net());
  EXPECT_TRUE(s.install->BuildInfo()->AddUninstallOnCreate());
  uninstall->Free();
  EXPECT_FALSE(s.install->BuildInfo()->AddUninstallOnCreate());
}

TEST_F(RunTest, UninstallEntryNeedsAnEngine) {
  ComponentPtr<TForm> form = CreateUnowned<TForm>();
  auto* uninstall = Create<TUninstallEXE>(form.get());
  uninstall->SetName("Uninstaller");
  try {
    uninstall->RegisterUninstall("\\Software\\X");
    FAIL();
  } catch (const IEUninstallEXE& e) {
    EXPECT_EQ(e.Message(),
              "Uninstaller could not write information about the uninstall to the registry because there was no "
              "TInstall component");
  }
}

}  // namespace
}  // namespace wenmoor

namespace wenmoor {
namespace {

// The restart is asked for by the Windows family: the 9x family directly,
// NT 4, 2000 and XP after enabling the shutdown privilege; any other
// system refuses, which the script hears through OnFailedReboot.
TEST_F(RunTest, RebootByWindowsFamily) {
  const std::pair<const char*, bool> cases[] = {
      {"win95", true}, {"win98", true}, {"winme", true}, {"nt40", true}, {"win2k", true},
      {"winxp", true}, {"nt351", false}, {"win31", false}, {"win7", false},
  };
  for (const auto& [version, restarts] : cases) {
    SCOPED_TRACE(version);
    test::TempPrefix machine(version);
    ComponentPtr<TForm> form = CreateUnowned<TForm>();
    auto* install = Create<TInstall>(form.get());
    int failures = 0;
    install->OnFailedReboot.Assign([&](TObject*) { ++failures; });
    install->RebootWindows();
    EXPECT_EQ(platform::RestartPending(), restarts);
    EXPECT_EQ(failures, restarts ? 0 : 1);
  }
}

TEST_F(RunTest, TheNTFamilyRefusesARestartWithoutTheShutdownPrivilege) {
  platform::TokenHandle token;
  uint64_t luid = 0;
  ASSERT_TRUE(platform::OpenProcessToken(platform::TOKEN_ADJUST_PRIVILEGES | platform::TOKEN_QUERY, token));
  ASSERT_TRUE(platform::LookupPrivilegeValue("SeShutdownPrivilege", luid));
  ASSERT_TRUE(platform::AdjustTokenPrivileges(token, luid, 0));
  EXPECT_FALSE(platform::ExitWindowsEx(platform::EWX_REBOOT, 0));
  EXPECT_EQ(platform::GetLastError(), platform::ERROR_PRIVILEGE_NOT_HELD);
  EXPECT_FALSE(platform::RestartPending());

  platform::TokenHandle query_only;
  platform::OpenProcessToken(platform::TOKEN_QUERY, query_only);
  EXPECT_FALSE(platform::AdjustTokenPrivileges(query_only, luid, platform::SE_PRIVILEGE_ENABLED));
  EXPECT_FALSE(platform::LookupPrivilegeValue("SeNoSuchPrivilege", luid));
  EXPECT_EQ(platform::GetLastError(), platform::ERROR_NO_SUCH_PRIVILEGE);

  ASSERT_TRUE(platform::AdjustTokenPrivileges(token, luid = 19, platform::SE_PRIVILEGE_ENABLED));
  EXPECT_TRUE(platform::ExitWindowsEx(platform::EWX_REBOOT, 0));
  EXPECT_TRUE(platform::RestartPending());
  platform::ClearRestartPending();
  EXPECT_FALSE(platform::RestartPending());
}

// The loading program's temporary copy goes only when the program says it
// runs from one (-c), from a loading program, and not in a debug session.
TEST_F(RunTest, CleanupOnlyOfATemporaryCopyOutsideDebugging) {
  struct Case {
    std::vector<std::string> args;
    bool use_loading_program;
    bool allowed;  // OnBeforeCleanup lets it go on
    bool cleaned;
  };
  const Case cases[] = {
      {{"-sC:\\dist"}, true, true, false},
      {{"-sC:\\dist", "-c", "-d"}, true, true, false},
      {{"-sC:\\dist", "-c"}, false, true, false},
      {{"-sC:\\dist", "-c"}, true, false, false},
      // Last: its batch runs when its engine goes and removes C:\dist.
      {{"-sC:\\dist", "-c"}, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args) + (c.use_loading_program ? "" : " direct") +
                 (c.allowed ? "" : " refused"));
    test::WriteProgram(kProgram, "the setup program", 2001);
    test::WriteProgram("C:\\dist\\files.1", "archive", 2001);
    Scene s;
    s.Build(c.args);
    s.Load();
    s.install->SetUseLoadingProgram(c.use_loading_program);
    s.install->OnBeforeCleanup.Assign([&](TCustomInstall*, bool& go_on) { go_on = c.allowed; });
    s.install->CleanupSetupFiles();
    EXPECT_EQ(s.install->CleanupPending(), c.cleaned);
    EXPECT_EQ(platform::DirectoryExists("C:\\dist"), !c.cleaned);
    if (c.cleaned) {
      // Started when the engine goes; gone once it has run.
      const std::string batch = s.install->CleanupBatch();
      EXPECT_TRUE(platform::FileExists(batch));
    }
  }
}

}  // namespace
}  // namespace wenmoor
