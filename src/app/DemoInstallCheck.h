// The confirmation page: the settings of the installation, before it starts.
#pragma once

#include "app/quarry_page.h"
#include "platform/ui/edits.h"

namespace quarry {

class TConfirmInstall : public TQuarryPage {
  WENMOOR_CLASS(TConfirmInstall, TQuarryPage)
 public:
  explicit TConfirmInstall(wenmoor::TComponent* owner);
  wenmoor::TMemo* Memo1() const { return Find<wenmoor::TMemo>("Memo1"); }
  // The settings, freshly gathered, then the common steps.
  void PrepareForm() override;
};

}  // namespace quarry
