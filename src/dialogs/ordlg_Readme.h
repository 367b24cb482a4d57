// The read-me page: information about the product after a good
// installation, in a read-only text box.
#pragma once

#include "dialogs/ordlg_StandardPage.h"
#include "platform/ui/edits.h"

namespace wenmoor {

class TReadmeForm : public TStandardInstallForm {
  WENMOOR_CLASS(TReadmeForm, TStandardInstallForm)
 public:
  explicit TReadmeForm(TComponent* owner);
  TRichEdit* Information() const { return FindControl<TRichEdit>(*this, "Information"); }
  void PrepareForm() override;
};

}  // namespace wenmoor
