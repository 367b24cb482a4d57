// The licence page: the agreement in a read-only text box, accepted with
// "Accept >".
#pragma once

#include "dialogs/ordlg_StandardPage.h"
#include "platform/ui/edits.h"

namespace wenmoor {

class TLicenseForm : public TStandardInstallForm {
  WENMOOR_CLASS(TLicenseForm, TStandardInstallForm)
 public:
  explicit TLicenseForm(TComponent* owner);
  TRichEdit* Agreement() const { return FindControl<TRichEdit>(*this, "Agreement"); }
  void PrepareForm() override;
};

}  // namespace wenmoor
