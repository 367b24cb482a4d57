// The status window: one line of text ("Installing registry keys...") in a
// borderless window, sized to the text.
#pragma once

#include "dialogs/dlgcmp_TBaseContainer.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/labels.h"

namespace wenmoor {

class TInstallStatusForm : public TForm {
  WENMOOR_CLASS(TInstallStatusForm, TForm)
 public:
  explicit TInstallStatusForm(TComponent* owner);

  TPanel* OuterPanel() const { return FindControl<TPanel>(*this, "Panel1"); }
  TPanel* MessagePanel() const { return FindControl<TPanel>(*this, "Panel2"); }
  TLabel* Message() const { return FindControl<TLabel>(*this, "lblMessage"); }

 private:
};

}  // namespace wenmoor
