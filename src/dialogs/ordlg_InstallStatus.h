// The status window: one line of text ("Installing registry keys...") in a
// borderless window, sized to the text.
#pragma once

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/labels.h"

namespace wenmoor {

class TInstallStatusForm : public TForm {
  WENMOOR_CLASS(TInstallStatusForm, TForm)
 public:
  explicit TInstallStatusForm(TComponent* owner);

  TPanel* OuterPanel() const { return Find<TPanel>("Panel1"); }
  TPanel* MessagePanel() const { return Find<TPanel>("Panel2"); }
  TLabel* Message() const { return Find<TLabel>("lblMessage"); }

 private:
  template <class C>
  C* Find(const char* name) const {
    return dynamic_cast<C*>(FindComponent(name));
  }
};

}  // namespace wenmoor
