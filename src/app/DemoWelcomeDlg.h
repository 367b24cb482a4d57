// The welcome page: what the program installs and what to close first.
#pragma once

#include "app/quarry_page.h"

namespace quarry {

class TWelcomeForm : public TQuarryPage {
  WENMOOR_CLASS(TWelcomeForm, TQuarryPage)
 public:
  explicit TWelcomeForm(wenmoor::TComponent* owner);
};

}  // namespace quarry
