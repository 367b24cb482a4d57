// An install script that places its dialogs as form text, driven by the
// engine's broadcasts as an installation run sends them.
#include <gtest/gtest.h>

#include "common/script_fixture.h"
#include "dialogs/dlgcmp_TCopyFileDlg.h"
#include "dialogs/dlgcmp_TInstallStatusDlg.h"
#include "dialogs/dlgcmp_TLicenseDlg.h"
#include "dialogs/dlgcmp_TReadmeDlg.h"
#include "engine/cmp_TInstall.h"
#include "platform/rtl/form_reader.h"
#include "script/event_parameters.h"
#include "ui/ui_fixture.h"

namespace wenmoor::testing {
namespace {

constexpr const char* kScript = R"(object MainForm: TForm
  Caption = 'Quarry Setup'
  object Install1: TInstall
  end
  object BeforeInstall: TDialogManager
    Container = Install1
  end
  object AfterGoodInstall: TDialogManager
    Container = Install1
    ManagerType = dmAfterGoodInstall
    Position = wdpTopLeft
  end
  object DuringCopy: TDialogManager
    Container = Install1
    ManagerType = dmDuringCopyFiles
  end
  object LicenseDlg: TLicenseDlg
    Container = Install1
    DialogManager = BeforeInstall
    LicenseAgreement.Strings = (
      'Quarry may be used on one machine.'
      'It may not be sold.')
  end
  object ReadmeDlg1: TReadmeDlg
    Container = Install1
    DialogManager = AfterGoodInstall
    ReadmeText.Strings = (
      'Thank you for installing Quarry.')
  end
  object CopyFileDlg: TCopyFileDlg
    Container = Install1
    DialogManager = DuringCopy
    Position = wdpTopRight
    RelativeTopOffset = 5
  end
  object InstallStatusDlg: TInstallStatusDlg
    Container = Install1
  end
end
)";

class DialogScriptTest : public UiFixture {
 protected:
  DialogScriptTest() : dir_(MakeTempDir()), machine_(dir_ / "prefix") {
    TApplication::Instance().SetParams({});
    script_ = ReadComponentFromText(kScript, "setup.dfm");
    install_ = CurrentInstall();
  }
  ~DialogScriptTest() override {
    TApplication::Instance().ReleaseForms();
    script_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  template <class T>
  T* Find(const char* name) {
    return dynamic_cast<T*>(script_->FindComponent(name));
  }
  void Broadcast(int code, TObject* po = nullptr) { install_->NotifyHelpers(install_, code, po); }

  std::filesystem::path dir_;
  platform::Machine::TestScope machine_;
  ComponentPtr<> script_;
  TCustomInstall* install_ = nullptr;
};

TEST_F(DialogScriptTest, TheScriptsDialogsAnswerTheRunsBroadcasts) {
  ASSERT_NE(install_, nullptr);
  auto* licence = Find<TLicenseDlg>("LicenseDlg");
  auto* copy = Find<TCopyFileDlg>("CopyFileDlg");
  ASSERT_TRUE(licence && copy);
  EXPECT_EQ(licence->DialogManager(), Find<TDialogManager>("BeforeInstall"));
  EXPECT_EQ(licence->Order(), 20) << "the default stays where the script says nothing";
  EXPECT_EQ(copy->Position(), wdpTopRight);
  EXPECT_EQ(copy->Width(), 474);

  // Before the installation: the licence.
  Broadcast(kNotifyBeforeInstallDialogs);
  EXPECT_TRUE(TranscriptHas("    | Quarry may be used on one machine.")) << TranscriptText();
  EXPECT_TRUE(TranscriptHas("-> press ProceedBtn [Accept >] (focused button)")) << TranscriptText();

  // While files are copied: status texts and the progress form.
  TMessageParameter status("Installing files...");
  Broadcast(kNotifyStatusMessage, &status);
  TFileStatusParameter progress;
  progress.FileName = "quarry.dll";
  progress.FilePercentDone = 50;
  progress.TotalPercentDone = 10;
  Broadcast(kNotifyProgress, &progress);
  TCustomForm* copy_form = copy->Form();
  ASSERT_NE(copy_form, nullptr);
  EXPECT_EQ(copy_form->BoundsRect(), (TRect{1024 - 474, 5, 1024, 5 + 146}));
  Broadcast(kNotifyOperationEnded);
  Broadcast(kNotifyClearStatusMessage);
  EXPECT_FALSE(copy_form->Visible());
  EXPECT_FALSE(Find<TInstallStatusDlg>("InstallStatusDlg")->Form()->Visible());

  // After a good installation: the read-me, on its own in the wizard.
  Broadcast(kNotifyAfterGoodInstallDialogs);
  EXPECT_TRUE(TranscriptHas("    | Thank you for installing Quarry.")) << TranscriptText();
  const std::string t = TranscriptText();
  EXPECT_EQ(t.find("BackBtn", t.find("=== form \"Installation successful\"")), std::string::npos)
      << "the only page has no Back button";
}

}  // namespace
}  // namespace wenmoor::testing
