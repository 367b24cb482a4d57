// TMainForm: the Quarry setup program's main form. It carries the whole
// install script as its components (read from its stored description when
// it is created) and adds the product's own pieces: it adjusts the script
// when it is created, reuses the directory of an earlier installation,
// registers the design-time package with every chosen IDE just before the
// success report, and keeps the installation log. The wizard pages use its
// operations (SelectIDEs, AnyProductPresent, FillSettingsMemo, ...).
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "app/VCLInstall.h"
#include "app/ide_table.h"
#include "platform/ui/forms.h"

namespace wenmoor {
class TCustomInstall;
class TFileContainer;
class TStrings;
}  // namespace wenmoor

namespace quarry {

class TMainForm : public wenmoor::TForm {
  WENMOOR_CLASS(TMainForm, wenmoor::TForm)
 public:
  // Publishes the handlers the stored description names. The description
  // itself is read by LoadFromText (ReadMainForm does both).
  explicit TMainForm(wenmoor::TComponent* owner);
  ~TMainForm() override;

  // --- handlers of the stored description ------------------------------------
  void FormCreate(wenmoor::TObject* sender);
  void FormDestroy(wenmoor::TObject* sender);
  void Install1AfterInitialized(wenmoor::TObject* sender);
  void Install1BeforeNotifyGoodInstall(wenmoor::TObject* sender);

  // --- operations of the wizard pages ---------------------------------------
  // Stores the choice and includes an IDE's directory component exactly when
  // it was chosen and holds files.
  void SelectIDEs(const std::array<bool, kIdeCount>& flags);
  const std::array<bool, kIdeCount>& SelectedIDEs() const { return selected_ides_; }
  // Whether the script carries files for IDE `ide`; false outside 0..5. Logged.
  bool CheckComponentSupportVersion(int ide);
  // How many of the IDE directory components hold files. Logged.
  int GetComponentInstallationCount();
  // Whether some IDE that the script carries files for is installed.
  bool AnyProductPresent();
  std::string ProductDescription() const { return "Quarry evaluation version for Delphi 4"; }
  // Fills `memo` with the settings of the installation and logs them.
  void FillSettingsMemo(wenmoor::TStrings& memo);

  // --- script objects -----------------------------------------------------------
  wenmoor::TCustomInstall* Install1() const;
  // The directory component of IDE `ide`; null when the script has none.
  wenmoor::TFileContainer* IdeDirectory(int ide) const;
  TPackageInstaller* PackageInstaller() const { return package_installer_.get(); }

 private:
  // The script component of that name; EComponentError when it is missing
  // or of another kind.
  template <class T>
  T& Part(std::string_view name) const;
  bool HoldsFiles(int ide) const;

  std::array<bool, kIdeCount> selected_ides_{};
  std::unique_ptr<TPackageInstaller> package_installer_;
};

// The main form (the application's), or null before it exists.
TMainForm* MainForm();

// The install script built into the program.
const std::string& BuiltInScript();

}  // namespace quarry
