#include "app/entry.h"

#include "app/DemoDelphiVer.h"
#include "app/DemoGoodInstall.h"
#include "app/DemoInstallCheck.h"
#include "app/DemoWelcomeDlg.h"
#include "app/frmMain.h"
#include "app/ordlg_SelectDestination.h"
#include "platform/ui/application.h"

namespace quarry {

using namespace wenmoor;

ComponentPtr<TForm> CreateMainForm(std::string_view text, const std::string& file_name) {
  TApplication& app = TApplication::Instance();
  ComponentPtr<TMainForm> form = CreateUnowned<TMainForm>();
  app.SetMainForm(form.get());
  try {
    form->LoadFromText(text, file_name);
  } catch (...) {
    app.SetMainForm(nullptr);
    throw;
  }
  // One instance of each page, as the program has always made them; the
  // wizards make their own from the registered classes. They go with the
  // main form, whose script they refer to.
  Create<TBeforeInstallDialog1>(form.get());
  Create<TWelcomeForm>(form.get());
  Create<TConfirmInstall>(form.get());
  Create<TSelectDestinationForm>(form.get());
  Create<TAfterGoodInstallDlg>(form.get());
  return form;
}

}  // namespace quarry
