// A small script loaded from form text (an engine, a group, directories,
// files and a registry component) is compressed into an archive and
// installed from it into a fresh machine; the events, the reports that reach
// the engine and the broadcasts it makes come in the documented order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/cmp_TInstall.h"
#include "platform/rtl/form_reader.h"
#include "platform/ui/application.h"
#include "platform/ui/forms.h"
#include "platform/win/files.h"
#include "registry/cmp_TInstallRegistry.h"
#include "registry/routines_Registry.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/event_parameters.h"
#include "support/temp_prefix.h"

namespace wenmoor {

namespace {
// What happened, in order. Progress (report 1008, broadcast -998) is left
// out: how often it comes depends on the archive's block size.
std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}
int progress_heard = 0;
}  // namespace

// The engine, noting every report that reaches it before handling it.
class TRecordingInstall : public TInstall {
  WENMOOR_CLASS(TRecordingInstall, TInstall)
 public:
  explicit TRecordingInstall(TComponent* owner) : TInstall(owner) {}
  void DoInformationEventControl(TObject* sender, int code, TObject* po) override {
    // Named by what the report is about: the file or container it carries.
    if (code != kReportInstallProgress) {
      auto* about = dynamic_cast<TComponent*>(po);
      if (!about) about = dynamic_cast<TComponent*>(sender);
      Log().push_back("report " + std::to_string(code) + " " + (about ? about->Name() : "?"));
    }
    TInstall::DoInformationEventControl(sender, code, po);
  }
};
WENMOOR_REGISTER_CLASS(TRecordingInstall) {}

// A listener below the engine: hears what the engine broadcasts.
class TOrderListener : public TInstallObject {
  WENMOOR_CLASS(TOrderListener, TInstallObject)
 public:
  explicit TOrderListener(TComponent* owner) : TInstallObject(owner) {}
  int RegisteredType() const override { return kRankDialog; }
  void ReceiveInformation(TObject*, int code, TObject* po) override {
    if (code == kNotifyProgress) {
      ++progress_heard;
      return;
    }
    std::string entry = "hear " + std::to_string(code);
    if (auto* message = dynamic_cast<TMessageParameter*>(po)) entry += " " + message->Text;
    Log().push_back(entry);
  }
};
WENMOOR_REGISTER_CLASS(TOrderListener) {
  c.Prop("Container", &T::Container, &T::SetContainer);
}

namespace {

const char kScript[] = R"(object MainForm: TForm
  object psContainerDestDir: TpsContainerDestDir
  end
  object psContainerArchiveFile: TpsContainerArchiveFile
  end
  object Install1: TRecordingInstall
    DestDir = 'C:\Program Files\Demo'
    UseLoadingProgram = False
    Information.ProductName = 'Demo'
  end
  object Listener: TOrderListener
    Container = Install1
  end
  object Tools: TInstallGroup
    Container = Install1
    DestDir = '\Tools'
    DestDirType = psContainerDestDir
    ArchiveFileType = psContainerArchiveFile
  end
  object MainDir: TInstallDirectory
    Container = Install1
    DestDirType = psContainerDestDir
    ArchiveFileType = psContainerArchiveFile
  end
  object HelpDir: TInstallDirectory
    Container = MainDir
    DestDir = '\Help'
    DestDirType = psContainerDestDir
    ArchiveFileType = psContainerArchiveFile
  end
  object IFtool_exe: TInstallFile
    Container = Tools
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'tool.exe'
    FileName = 'tool.exe'
    IncludeFromDir = 'C:\src'
    UniqueID = 10
  end
  object IFreadme_txt: TInstallFile
    Container = MainDir
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'readme.txt'
    FileName = 'readme.txt'
    IncludeFromDir = 'C:\src'
    UniqueID = 11
  end
  object IFdemo_hlp: TInstallFile
    Container = HelpDir
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'demo.hlp'
    FileName = 'demo.hlp'
    IncludeFromDir = 'C:\src'
    RegisterAsHelp = True
    UniqueID = 12
  end
  object Settings: TInstallRegistry
    Container = Install1
    Key = '\Software\Demo'
    KeySpecifierType = ksAbsolute
    Entries = <
      item
        Ident = 'Version'
        Text = '1.0'
      end>
  end
end
)";

// The documented order of a run without a restart (the engine's phases,
// then each object as the tree and the ranks order it).
const std::vector<std::string> kExpected = {
    // Reading the archive information.
    "Install1.OnBeforeReadArchiveInfo",
    "hear -984",
    "hear -974 Reading file information...",
    "hear -973",
    "Install1.OnAfterReadArchiveInfo",
    "hear -983",
    "Install1.OnAfterInitialized",
    // The before-install dialogs.
    "hear -986",
    "hear -980",
    // The engine's own tree: the engine is processed as a container.
    "Install1.OnBeforeProcess",
    "hear -990",
    "hear -999",
    "hear -992",
    "Install1.OnBeforeInstallObjects",
    // The group (rank 500) before the directory (1000).
    "Tools.OnBeforeProcess",
    "report 1012 Tools",
    "Tools.OnBeforeInstallObjects",
    "report 1002 IFtool_exe",
    "IFtool_exe.OnBeforeInstall",
    "IFtool_exe.OnReplacing",
    "Tools.OnReplacing",
    "report 1003 IFtool_exe",
    "Install1.OnReplacing",
    "hear -997",
    "IFtool_exe.OnAfterInstall",
    "report 1001 IFtool_exe",
    "report 1013 Tools",
    "Tools.OnAfterInstallObjects",
    "Tools.OnAfterProcess",
    // The directory: its sub-directory (1000) before its file (2000).
    "MainDir.OnBeforeProcess",
    "report 1012 MainDir",
    "MainDir.OnBeforeInstallObjects",
    "HelpDir.OnBeforeProcess",
    "report 1012 HelpDir",
    "HelpDir.OnBeforeInstallObjects",
    "report 1002 IFdemo_hlp",
    "IFdemo_hlp.OnBeforeInstall",
    "IFdemo_hlp.OnReplacing",
    "HelpDir.OnReplacing",
    "MainDir.OnReplacing",
    "report 1003 IFdemo_hlp",
    "Install1.OnReplacing",
    "hear -997",
    "IFdemo_hlp.OnAfterInstall",
    "report 1001 IFdemo_hlp",
    "report 1013 HelpDir",
    "HelpDir.OnAfterInstallObjects",
    "HelpDir.OnAfterProcess",
    "report 1002 IFreadme_txt",
    "IFreadme_txt.OnBeforeInstall",
    "IFreadme_txt.OnReplacing",
    "MainDir.OnReplacing",
    "report 1003 IFreadme_txt",
    "Install1.OnReplacing",
    "hear -997",
    "IFreadme_txt.OnAfterInstall",
    "report 1001 IFreadme_txt",
    "report 1013 MainDir",
    "MainDir.OnAfterInstallObjects",
    "MainDir.OnAfterProcess",
    // The engine's tree is done (it fires no after-install event of its own here).
    "hear -996",
    "Install1.OnAfterProcess",
    "hear -989",
    // Then the objects of the registry rank.
    "hear -974 Installing registry keys...",
    "Settings.OnBeforeProcess",
    "Settings.OnAfterProcess",
    "hear -973",
    "Install1.OnAfterInstallObjects",
    // The success report and the end.
    "Install1.OnBeforeNotifyGoodInstall",
    "hear -995",
    "hear -979",
    "Install1.OnAfterNotifyGoodInstall",
    "Install1.OnBeforeShutdown",
};

// Mismatches are easier to read as one line each.
std::string Lines(const std::vector<std::string>& v) {
  std::string s;
  for (const std::string& line : v) s += line + "\n";
  return s;
}

TEST(InstallOrder, ArchiveInstalledIntoAFreshMachineInTheDocumentedOrder) {
  test::TempPrefix build;
  build.WriteFile("C:\\src\\tool.exe", std::string(5000, 't'));
  build.WriteFile("C:\\src\\readme.txt", "Read me.\r\n");
  build.WriteFile("C:\\src\\demo.hlp", "help");
  TApplication::Instance().SetExeName("C:\\build\\setup.exe");
  TApplication::Instance().SetParams({});
  ComponentPtr<TForm> form = CreateUnowned<TForm>();
  ReadRootComponentFromText(kScript, "order.dfm", *form);
  auto* install = dynamic_cast<TCustomInstall*>(form->FindComponent("Install1"));
  ASSERT_TRUE(install);
  install->Compress({coForceNetFilesLocal, coIncludeAll});
  const std::string archive = build.ReadFile("C:\\build\\files.1");
  ASSERT_FALSE(archive.empty());

  // The same distribution on another machine.
  test::TempPrefix target;
  target.WriteFile("C:\\build\\files.1", archive);
  Log().clear();
  progress_heard = 0;
  auto note = [](const std::string& entry) { return [entry](auto&&...) { Log().push_back(entry); }; };
  for (const char* name : {"Tools", "MainDir", "HelpDir", "Install1"}) {
    auto* c = dynamic_cast<TFileContainer*>(form->FindComponent(name));
    ASSERT_TRUE(c) << name;
    const std::string n = name;
    c->OnBeforeProcess.Assign(note(n + ".OnBeforeProcess"));
    c->OnAfterProcess.Assign(note(n + ".OnAfterProcess"));
    c->OnBeforeInstallObjects.Assign(note(n + ".OnBeforeInstallObjects"));
    c->OnAfterInstallObjects.Assign(note(n + ".OnAfterInstallObjects"));
    c->OnReplacing.Assign(note(n + ".OnReplacing"));
  }
  for (const char* name : {"IFtool_exe", "IFreadme_txt", "IFdemo_hlp"}) {
    auto* f = dynamic_cast<TCustomInstallFile*>(form->FindComponent(name));
    ASSERT_TRUE(f) << name;
    const std::string n = name;
    f->OnBeforeInstall.Assign(note(n + ".OnBeforeInstall"));
    f->OnReplacing.Assign(note(n + ".OnReplacing"));
    f->OnAfterInstall.Assign(note(n + ".OnAfterInstall"));
  }
  auto* settings = dynamic_cast<TInstallRegistry*>(form->FindComponent("Settings"));
  ASSERT_TRUE(settings);
  settings->OnBeforeProcess.Assign(note("Settings.OnBeforeProcess"));
  settings->OnAfterProcess.Assign(note("Settings.OnAfterProcess"));
  install->OnBeforeReadArchiveInfo.Assign(note("Install1.OnBeforeReadArchiveInfo"));
  install->OnAfterReadArchiveInfo.Assign(note("Install1.OnAfterReadArchiveInfo"));
  install->OnAfterInitialized.Assign(note("Install1.OnAfterInitialized"));
  install->OnBeforeNotifyGoodInstall.Assign(note("Install1.OnBeforeNotifyGoodInstall"));
  install->OnAfterNotifyGoodInstall.Assign(note("Install1.OnAfterNotifyGoodInstall"));
  install->OnBeforeShutdown.Assign(note("Install1.OnBeforeShutdown"));

  form->Activate();

  EXPECT_EQ(install->Result(), RunResult::Completed);
  EXPECT_EQ(Lines(Log()), Lines(kExpected));
  EXPECT_GT(progress_heard, 0);
  // What the run left on the machine.
  EXPECT_EQ(target.ReadFile("C:\\Program Files\\Demo\\Tools\\tool.exe"), std::string(5000, 't'));
  EXPECT_EQ(target.ReadFile("C:\\Program Files\\Demo\\readme.txt"), "Read me.\r\n");
  EXPECT_EQ(target.ReadFile("C:\\Program Files\\Demo\\Help\\demo.hlp"), "help");
  std::string value;
  ReadRegistryString(hkLocalMachine, "\\SOFTWARE\\Microsoft\\Windows\\Help", "DEMO.HLP", value, "");
  EXPECT_EQ(value, "C:\\Program Files\\Demo\\Help");
  ReadRegistryString(hkLocalMachine, "\\Software\\Demo", "Version", value, "");
  EXPECT_EQ(value, "1.0");
  const std::string files = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo\\Files";
  ReadRegistryString(hkLocalMachine, files, "Entries", value, "");
  EXPECT_EQ(value, "3");
  form.reset();
}

}  // namespace
}  // namespace wenmoor
