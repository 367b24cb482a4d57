// The readme dialog: shows its ReadmeText on a TReadmeForm page.
#pragma once

#include <memory>

#include "dialogs/dlgcmp_TBaseDlg.h"
#include "platform/rtl/strings.h"

namespace wenmoor {

class TReadmeDlg : public TBaseInstallDlg {
  WENMOOR_CLASS(TReadmeDlg, TBaseInstallDlg)
 public:
  explicit TReadmeDlg(TComponent* owner);

  TStrings* ReadmeText() const { return text_.get(); }
  // Copies the lines.
  void SetReadmeText(const TStrings& lines) { text_->Assign(lines); }

  const TClassInfo& FormClass() const override;
  void AssignDialogProperties() override;
  void ReceiveInformation(TObject* sender, int code, TObject* po) override;

 private:
  std::unique_ptr<TStringList> text_;
};

}  // namespace wenmoor
