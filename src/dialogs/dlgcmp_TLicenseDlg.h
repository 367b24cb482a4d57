// The license dialog: shows the licence agreement, accepted with "Accept >" (TLicenseForm).
#pragma once

#include "dialogs/dlgcmp_TStandardPageDlg.h"

namespace wenmoor {

class TLicenseDlg : public TTextPageDlg {
  WENMOOR_CLASS(TLicenseDlg, TTextPageDlg)
 public:
  explicit TLicenseDlg(TComponent* owner);

  TStrings* LicenseAgreement() const { return Text(); }
  // Copies the lines.
  void SetLicenseAgreement(const TStrings& lines) { Text()->Assign(lines); }

  const TClassInfo& FormClass() const override;

 protected:
  TRichEdit* TextBox(TCustomForm& page) const override;
};

}  // namespace wenmoor
