#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/script_fixture.h"
#include "engine/cmp_TInstall.h"
#include "paths/specifiers_windows.h"
#include "script/script_exceptions.h"

namespace wenmoor {
namespace {

class InstallTest : public testing::ScriptFixture {
 protected:
  InstallTest() { TApplication::Instance().SetExeName("C:\\Setup\\setup.exe"); }
  ~InstallTest() override {
    TApplication::Instance().SetParams({});
    TApplication::Instance().SetMainForm(nullptr);
  }
  // An engine on the form, loaded with `args` as the command line.
  TCustomInstall* LoadedInstall(std::vector<std::string> args, TInstallTypeSet types = {itFull}) {
    TApplication::Instance().SetParams(std::move(args));
    auto* install = Create<TInstall>(form());
    install->BeginLoading();
    install->SetInstallTypes(types);
    install->Loaded();
    return install;
  }
};

TEST_F(InstallTest, CommandLineSwitches) {
  struct Case {
    std::vector<std::string> args;
    StartupMode mode;
    std::string source;
  };
  const Case cases[] = {
      {{}, StartupMode::Install, "C:\\Setup"},
      {{"*x", "*TODISK"}, StartupMode::Install, "C:\\Setup"},
      {{"-B"}, StartupMode::Build, "C:\\Setup"},
      {{"-b", "-f", "-r"}, StartupMode::Build, "C:\\Setup"},
      {{"-f", "-r"}, StartupMode::FloppyTransfer, "C:\\Setup"},
      {{"-r", "-sD:\\First", "-sC:\\My Build"}, StartupMode::Resume, "C:\\My Build"},
  };
  for (const auto& c : cases) {
    TCustomInstall* install = LoadedInstall(c.args);
    EXPECT_EQ(install->Mode(), c.mode) << ::testing::PrintToString(c.args);
    EXPECT_EQ(install->SourceDir(), c.source) << ::testing::PrintToString(c.args);
    install->Free();
  }
}

TEST_F(InstallTest, InvalidArgumentsAreRefused) {
  for (std::string bad : {"-x", "-", "x", "/b", "-?"}) {
    TApplication::Instance().SetParams({bad});
    auto* install = Create<TInstall>(form());
    try {
      install->ParseCommandLine();
      ADD_FAILURE() << bad;
    } catch (const IException& e) {
      EXPECT_EQ(e.Message(), "Invalid parameter <" + bad +
                                 ">. Valid command line parameters are: -b (Build), -d (Debug), -f (Transfer to "
                                 "floppies), -e (Called by self-extractor), -r (After reboot)");
    }
    install->Free();
  }
}

TEST_F(InstallTest, DebugNeedsASourceDirectory) {
  for (auto args : std::vector<std::vector<std::string>>{{"-d"}, {"-d", "-s"}, {"-d", "-s   "}}) {
    EXPECT_THROW(LoadedInstall(args), IEInstall) << ::testing::PrintToString(args);
    CurrentInstall()->Free();
  }
  TCustomInstall* ok = LoadedInstall({"-d", "-sC:\\My Build"});
  EXPECT_EQ(ok->SourceDir(), "C:\\My Build");
}

TEST_F(InstallTest, StartingInstallType) {
  struct Case {
    TInstallTypeSet types;
    TInstallType start;
  };
  for (const Case& c : {Case{{itFull, itCompact}, itCompact}, Case{{itFull, itDefault, itCompact}, itDefault},
                        Case{{itCustom}, itFull}}) {
    TCustomInstall* install = LoadedInstall({}, c.types);
    EXPECT_EQ(install->CurrentInstallType(), c.start);
    install->Free();
  }
}

TEST_F(InstallTest, OnlyOneEngineAndOnlyOnAForm) {
  auto* first = Create<TInstall>(form());
  try {
    Create<TInstall>(form());
    FAIL();
  } catch (const IEInstall& e) {
    EXPECT_EQ(e.Message(), "The TInstall component does not currently support the use of 2 TInstall components in the same project");
  }
  EXPECT_EQ(CurrentInstall(), first);
  first->Free();
  EXPECT_EQ(CurrentInstall(), nullptr);
  auto holder = CreateUnowned<TComponent>();
  EXPECT_THROW(Create<TInstall>(holder.get()), IEInstall);
  EXPECT_EQ(CurrentInstall(), nullptr);
}

TEST_F(InstallTest, NewEngineDefaults) {
  auto* install = Create<TInstall>(form());
  EXPECT_TRUE(dynamic_cast<TpsProgramFiles*>(install->DestDirType()));
  EXPECT_TRUE(dynamic_cast<TpsMainArchiveFile*>(install->ArchiveFileType()));
  EXPECT_EQ(install->DestDir(), "\\MyApplication");
  EXPECT_EQ(install->InstallTypes(), TInstallTypeSet{itFull});
  EXPECT_EQ(install->DialogThemeBitmap()->Width(), 117);
  EXPECT_EQ(install->DialogThemeBitmap()->Height(), 290);
  EXPECT_EQ(install->BuildInfo()->WnmrVersion(), "5.20.00");
  EXPECT_EQ(install->FileContainerSpecifier(), nullptr);  // the engine gets no container specifier
}

TEST_F(InstallTest, SettersHaveSideEffectsOnlyOutsideLoading) {
  auto* install = Create<TInstall>(form());
  install->SetAutoMaximizeWindow(true);
  install->SetHideMainForm(true);
  EXPECT_FALSE(install->AutoMaximizeWindow());
  install->SetAutoMaximizeWindow(true);
  EXPECT_FALSE(install->HideMainForm());

  install->BeginLoading();
  install->SetHideMainForm(true);
  install->SetAutoMaximizeWindow(true);
  EXPECT_TRUE(install->HideMainForm());
  EXPECT_TRUE(install->AutoMaximizeWindow());
}

TEST_F(InstallTest, DistributeTypeIsADesignTimeSetting) {
  auto* install = Create<TInstall>(form());
  try {
    install->SetDistributeType(dtWeb);
    FAIL();
  } catch (const IEInstall& e) {
    EXPECT_EQ(e.Message(), "DistributeType can only be set at design-time");
  }
  form()->SetDesigning(true);
  EXPECT_THROW(install->SetDistributeType(dtWeb), IEInstallNetLocNil);
  install->SetDistributeType(dtTraditional);
  EXPECT_EQ(install->DistributeType(), dtTraditional);
}

TEST_F(InstallTest, PresetupFilesLoseBlankLines) {
  auto* install = Create<TInstall>(form());
  TStringList files{"C:\\a.dll", "", "   ", "C:\\b.dll"};
  install->SetPresetupFiles(files);
  EXPECT_EQ(install->PresetupFiles()->Lines(), (std::vector<std::string>{"C:\\a.dll", "C:\\b.dll"}));
  EXPECT_EQ(files.Count(), 2);  // the caller's list is cleaned too
}

TEST_F(InstallTest, FirstActivationRunsTheInstallationOnce) {
  TApplication::Instance().SetMainForm(form());
  int own_handler_calls = 0;
  form()->OnActivate.Assign([&](TObject*) { ++own_handler_calls; });
  TCustomInstall* install = LoadedInstall({"-sC:\\Setup"});
  int runs = 0;
  install->OnBeforeProcess.Assign([&](TInstallContainer*) { ++runs; });
  form()->Activate();
  form()->Activate();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(own_handler_calls, 2);  // the form's handler is called, then put back
  EXPECT_EQ(form()->WindowState(), wsMaximized);
  EXPECT_EQ(install->Result(), RunResult::Completed);
}

TEST_F(InstallTest, WithoutRunAutomaticActivationOnlyMaximises) {
  TApplication::Instance().SetMainForm(form());
  TApplication::Instance().SetParams({});
  auto* install = Create<TInstall>(form());
  install->BeginLoading();
  install->SetRunAutomatic(false);
  install->Loaded();
  int runs = 0;
  install->OnBeforeProcess.Assign([&](TInstallContainer*) { ++runs; });
  form()->Activate();
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(form()->WindowState(), wsMaximized);
  EXPECT_TRUE(install->Activated());
}

}  // namespace
}  // namespace wenmoor
