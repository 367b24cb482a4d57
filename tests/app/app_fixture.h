// The Quarry setup program's main form with its built-in script, on a fresh
// machine, with the headless operator answering (defaults unless the test
// gives answers), without running the installation.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/entry.h"
#include "app/frmMain.h"
#include "app/install_log.h"
#include "platform/ui/application.h"
#include "registry/routines_Registry.h"
#include "support/temp_prefix.h"
#include "ui/ui_fixture.h"

namespace quarry::test {

class MainFormFixture : public wenmoor::UiFixture {
 protected:
  // Machines may be prepared (IDEs registered) before the form is created.
  void SetUp() override {
    // The machine's user speaks English, whatever the locale of the test run:
    // the script carries German texts too.
    wenmoor::WriteRegistryString(wenmoor::hkCurrentUser, "\\Control Panel\\International", "LocaleName", "en-US");
    InstallLog().Clear();
    InstallLog().SetLogDir("");
    wenmoor::TApplication::Instance().SetParams({});
  }
  void TearDown() override { Destroy(); }

  TMainForm& Create() {
    form_ = CreateMainForm(BuiltInScript(), "quarry-setup.dfm");
    return *MainForm();
  }
  void Destroy() {
    form_.reset();
    wenmoor::TApplication::Instance().SetMainForm(nullptr);
  }
  TMainForm& form() { return *MainForm(); }

  wenmoor::test::TempPrefix prefix_;

 private:
  wenmoor::ComponentPtr<wenmoor::TForm> form_;
};

}  // namespace quarry::test
