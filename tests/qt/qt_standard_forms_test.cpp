// Every standard form of the dialogs, shown through the Qt backend: it
// becomes a window with a widget for each visible control, and no control
// reaches beyond its parent's client area (nothing is cut off).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/ordlg_BadInstall.h"
#include "dialogs/ordlg_ChangeDisk.h"
#include "dialogs/ordlg_CopyFile.h"
#include "dialogs/ordlg_GoodInstall.h"
#include "dialogs/ordlg_InstallStatus.h"
#include "dialogs/ordlg_License.h"
#include "dialogs/ordlg_Readme.h"
#include "dialogs/ordlg_Reboot.h"
#include "qt/qt_fixture.h"

namespace wenmoor {
namespace {

class QtStandardFormsTest : public QtFixture {
 protected:
  // Checks `parent`'s visible controls, and theirs, against their parent.
  void CheckInside(const TWinControl& parent, const std::string& form) {
    const TRect client = parent.ClientRect();
    for (int i = 0; i < parent.ControlCount(); ++i) {
      const TControl& c = *parent.Controls(i);
      if (!c.Visible()) continue;
      const std::string what = form + "." + c.Name();
      EXPECT_NE(WidgetOf(c), nullptr) << what << " has no widget";
      EXPECT_GE(c.Left(), 0) << what;
      EXPECT_GE(c.Top(), 0) << what;
      EXPECT_LE(c.Left() + c.Width(), client.Width()) << what << " is cut off on the right";
      EXPECT_LE(c.Top() + c.Height(), client.Height()) << what << " is cut off at the bottom";
      if (const auto* inner = dynamic_cast<const TWinControl*>(&c)) CheckInside(*inner, what);
    }
  }
};

TEST_F(QtStandardFormsTest, EachFormIsAWindowWithEveryControlInside) {
  const std::vector<std::pair<std::string, std::function<ComponentPtr<TCustomForm>()>>> forms = {
      {"licence", [] { return ComponentPtr<TCustomForm>(CreateUnowned<TLicenseForm>()); }},
      {"read-me", [] { return ComponentPtr<TCustomForm>(CreateUnowned<TReadmeForm>()); }},
      {"reboot", [] { return ComponentPtr<TCustomForm>(CreateUnowned<TRebootForm>()); }},
      {"failure", [] { return ComponentPtr<TCustomForm>(CreateUnowned<TBadInstallForm>()); }},
      {"success", [] { return ComponentPtr<TCustomForm>(CreateUnowned<TGoodInstallForm>()); }},
      {"change disk", [] { return ComponentPtr<TCustomForm>(CreateUnowned<TChangeDiskForm>()); }},
      {"copy progress", [] { return ComponentPtr<TCustomForm>(CreateUnowned<TCopyFileForm>()); }},
      {"status", [] { return ComponentPtr<TCustomForm>(CreateUnowned<TInstallStatusForm>()); }},
  };
  for (const auto& [name, make] : forms) {
    ComponentPtr<TCustomForm> form = make();
    form->Show();
    backend_->Flush();
    QWidget* window = WidgetOf(*form);
    ASSERT_NE(window, nullptr) << name;
    EXPECT_TRUE(window->isVisible()) << name;
    EXPECT_EQ(window->size(), QSize(form->ClientWidth(), form->ClientHeight())) << name;
    CheckInside(*form, name);
    form->Hide();
  }
}

}  // namespace
}  // namespace wenmoor
