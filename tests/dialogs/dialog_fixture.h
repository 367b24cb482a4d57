// A fresh machine, a main form holding an engine, and the headless backend
// answering from a text given by the test: the setting of every dialog test.
// Also a small wizard page class (three buttons, a page that may be
// skipped) and a dialog component that shows it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/script_fixture.h"
#include "dialogs/dlgcmp_TBaseContainer.h"
#include "engine/cmp_TInstall.h"
#include "platform/ui/buttons.h"
#include "ui/ui_fixture.h"

namespace wenmoor::testing {

class DialogFixture : public UiFixture {
 protected:
  DialogFixture();
  ~DialogFixture() override;

  TForm* form() { return form_.get(); }
  TCustomInstall* install() { return install_; }
  // A manager of `type` on the main form, contained by the engine.
  TDialogManager* AddManager(TManagerType type, const std::string& name);
  // The engine's OnUserAbort answers `quit` and counts its calls.
  void AnswerAbortQuestion(bool quit);
  int abort_questions_ = 0;

 private:
  std::filesystem::path dir_;
  platform::Machine::TestScope machine_;
  ComponentPtr<TForm> form_;
  TCustomInstall* install_ = nullptr;
};

// What the test pages saw, in order: "<page>:prepare", ...
std::vector<std::string>& PageLog();

// A wizard page for tests: Back, Next and Cancel, a caption from its
// dialog or its name, and a flag that makes it skipped.
class TTestPageForm : public TBaseInstallForm {
  WENMOOR_CLASS(TTestPageForm, TBaseInstallForm)
 public:
  explicit TTestPageForm(TComponent* owner);
  bool SkipPage() override;
  void PrepareForm() override;
};

// A page dialog that shows a TTestPageForm; Skip makes its page skipped.
class TTestPageDlg : public TBaseInstallDlg {
  WENMOOR_CLASS(TTestPageDlg, TBaseInstallDlg)
 public:
  explicit TTestPageDlg(TComponent* owner);
  const TClassInfo& FormClass() const override;
  void AssignDialogProperties() override;
  bool skip = false;
  // Whether IsFirstPage / IsLastPage held when the page was last prepared.
  bool was_first = false;
  bool was_last = false;
  // Where the wizard window stood.
  TPoint window_at;
};

}  // namespace wenmoor::testing
