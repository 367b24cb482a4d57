// What the product's five wizard pages share: the framework's standard page
// layout with the product's button strip, their registration as pages
// without a dialog component, and the common preparation of a page.
#pragma once

#include <string>

#include "dialogs/ordlg_StandardPage.h"

namespace quarry {

class TMainForm;

// A page of the product. Derived pages publish their own handlers, then
// call BuildPage from their constructor.
class TQuarryPage : public wenmoor::TStandardInstallForm {
  WENMOOR_CLASS(TQuarryPage, wenmoor::TStandardInstallForm)
 public:
  explicit TQuarryPage(wenmoor::TComponent* owner);

  // Back visible unless this is the first page; Next takes the focus.
  void PrepareForm() override;

 protected:
  struct Layout {
    const char* name;        // "WelcomeForm"
    const char* class_name;  // "TWelcomeForm"
    const char* caption;
    int border;              // the text area's border
    std::string content;     // the controls of the text area, top to bottom
    bool completion = false; // Finish in place of Cancel
  };
  void BuildPage(const Layout& layout, wenmoor::TManagerType type, int order);

  // The application's main form, null without one (a page shown on its own).
  static TMainForm* Main();
};

}  // namespace quarry
