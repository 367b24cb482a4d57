// The choice of the IDE versions to install into. A box can be ticked only
// for an IDE that is installed and for which the script carries files; the
// page is skipped when there is nothing to choose.
#pragma once

#include <array>

#include "app/ide_table.h"
#include "app/quarry_page.h"
#include "platform/ui/choices.h"

namespace quarry {

class TBeforeInstallDialog1 : public TQuarryPage {
  WENMOOR_CLASS(TBeforeInstallDialog1, TQuarryPage)
 public:
  explicit TBeforeInstallDialog1(wenmoor::TComponent* owner);

  // The box of IDE `ide` (D3CB ... D7CB, by IDE index).
  wenmoor::TCheckBox* IdeBox(int ide) const;
  // Refuses with a warning when no installed IDE can be served or none is
  // chosen; otherwise selects the ticked IDEs and moves on.
  void ProceedBtnClick(wenmoor::TObject* sender);
  // At most one IDE directory with files and such an IDE installed: nothing
  // to choose, every IDE is selected and the page is passed over.
  bool SkipPage() override;
};

}  // namespace quarry
