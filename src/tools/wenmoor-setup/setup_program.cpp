#include "setup_program.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/cmp_TInstall.h"
#include "platform/rtl/form_error.h"
#include "platform/rtl/form_reader.h"
#include "platform/ui/forms.h"
#include "platform/win/machine.h"
#include "platform/win/own_program.h"
#include "platform/win/paths.h"

namespace wenmoor {
namespace {

// The standard error report of the platform: without a window system, one
// line on standard error.
void ShowError(const std::exception& e) {
  if (auto* form_error = dynamic_cast<const EFormError*>(&e)) {
    std::fprintf(stderr, "%s\n", form_error->what());
    return;
  }
  std::fprintf(stderr, "%s\n", e.what());
}

}  // namespace

int RunSetupProgram(const std::vector<std::string>& args, const std::string* script,
                    const MainFormFactory& create_form) {
  TApplication& app = TApplication::Instance();
  try {
    const std::filesystem::path exe = platform::OwnProgramFile();
    app.SetExeName(platform::Machine::Current().Paths().ToWindows(exe));
    app.SetParams(args);

    std::string text;
    std::string file_name;
    if (script) {
      text = *script;
      file_name = "(built-in script)";
    } else {
      std::filesystem::path dfm = exe;
      dfm.replace_extension(".dfm");
      std::ifstream in(dfm, std::ios::binary);
      if (!in) {
        std::fprintf(stderr, "Cannot open the install script \"%s\"\n", dfm.c_str());
        return 1;
      }
      std::ostringstream content;
      content << in.rdbuf();
      text = content.str();
      file_name = dfm.string();
    }

    ComponentPtr<TForm> form;
    if (create_form) {
      form = create_form(text, file_name);
    } else {
      form = CreateUnowned<TForm>();
      app.SetMainForm(form.get());
      ReadRootComponentFromText(text, file_name, *form);
    }
    TCustomInstall* install = CurrentInstall();
    if (!install) {
      std::fprintf(stderr, "%s: the install script has no TInstall component\n", file_name.c_str());
      return 1;
    }
    switch (install->Mode()) {
      case StartupMode::Build:
      case StartupMode::FloppyTransfer:
      case StartupMode::Resume:
      case StartupMode::Design:
        break;
      case StartupMode::Install:
        form->SetVisible(true);
        form->Activate();
        break;
    }
    int status = ExitStatusOf(install->Result());
    form.reset();
    return status;
  } catch (const std::exception& e) {
    ShowError(e);
    return 1;
  }
}

}  // namespace wenmoor
