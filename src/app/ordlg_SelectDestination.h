// The destination page: shows the engine's destination directory and lets
// the user type another or browse for one. The script's directories are
// relative to the engine's destination, so the whole installation follows.
#pragma once

#include "app/quarry_page.h"
#include "platform/ui/choices.h"
#include "platform/ui/edits.h"

namespace wenmoor {
class TCustomInstall;
}

namespace quarry {

class TSelectDestinationForm : public TQuarryPage {
  WENMOOR_CLASS(TSelectDestinationForm, TQuarryPage)
 public:
  explicit TSelectDestinationForm(wenmoor::TComponent* owner);

  wenmoor::TEdit* DestDirEdit() const { return Find<wenmoor::TEdit>("edDestDir"); }
  wenmoor::TGroupBox* DirectoryGroup() const { return Find<wenmoor::TGroupBox>("gbDirectory"); }

  // Shows the engine's full destination directory.
  void PrepareForm() override;
  // A typed directory is taken as an absolute destination.
  void DestDirChange(wenmoor::TObject* sender);
  // Browses from the current destination; the chosen folder keeps the
  // destination's last component ("\Quarry").
  void BrowseBtnClick(wenmoor::TObject* sender);

  void Notification(wenmoor::TComponent* c, wenmoor::TOperation operation) override;

 private:
  void ShowDestination(const std::string& text);

  wenmoor::TCustomInstall* install_ = nullptr;
  bool updating_ = false;
};

}  // namespace quarry
