// The readme dialog: shows the read-me text after a good installation (TReadmeForm).
#pragma once

#include "dialogs/dlgcmp_TStandardPageDlg.h"

namespace wenmoor {

class TReadmeDlg : public TTextPageDlg {
  WENMOOR_CLASS(TReadmeDlg, TTextPageDlg)
 public:
  explicit TReadmeDlg(TComponent* owner);

  TStrings* ReadmeText() const { return Text(); }
  // Copies the lines.
  void SetReadmeText(const TStrings& lines) { Text()->Assign(lines); }

  const TClassInfo& FormClass() const override;

 protected:
  TRichEdit* TextBox(TCustomForm& page) const override;
};

}  // namespace wenmoor
