#include "app/entry.h"

#include "app/frmMain.h"
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
  return form;
}

}  // namespace quarry
