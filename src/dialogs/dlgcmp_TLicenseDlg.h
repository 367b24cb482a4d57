// The license dialog: shows its LicenseAgreement on a TLicenseForm page.
#pragma once

#include <memory>

#include "dialogs/dlgcmp_TBaseDlg.h"
#include "platform/rtl/strings.h"

namespace wenmoor {

class TLicenseDlg : public TBaseInstallDlg {
  WENMOOR_CLASS(TLicenseDlg, TBaseInstallDlg)
 public:
  explicit TLicenseDlg(TComponent* owner);

  TStrings* LicenseAgreement() const { return text_.get(); }
  // Copies the lines.
  void SetLicenseAgreement(const TStrings& lines) { text_->Assign(lines); }

  const TClassInfo& FormClass() const override;
  void AssignDialogProperties() override;
  void ReceiveInformation(TObject* sender, int code, TObject* po) override;

 private:
  std::unique_ptr<TStringList> text_;
};

}  // namespace wenmoor
