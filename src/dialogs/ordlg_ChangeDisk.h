// The request for the next disk: which disk to insert, and where its files
// are to be found (typed or browsed). The path chosen is written into the
// request's TDiskParameter.
#pragma once

#include "dialogs/dlgcmp_TBaseContainer.h"
#include "platform/ui/edits.h"
#include "platform/ui/translate_controls.h"

namespace wenmoor {

class TChangeDiskForm : public TBaseChangeDiskForm {
  WENMOOR_CLASS(TChangeDiskForm, TBaseChangeDiskForm)
 public:
  explicit TChangeDiskForm(TComponent* owner);

  TTranslateLabel* PromptDiskLabel() const { return FindControl<TTranslateLabel>(*this, "PromptDiskLabel"); }
  TEdit* PathEdit() const { return FindControl<TEdit>(*this, "PathEdit"); }
  TTranslateBitBtn* BrowseBtn() const { return FindControl<TTranslateBitBtn>(*this, "BrowseBtn"); }
  TTranslateBitBtn* InstallBtn() const { return FindControl<TTranslateBitBtn>(*this, "InstallBtn"); }
  TTranslateBitBtn* CancelBtn() const { return FindControl<TTranslateBitBtn>(*this, "CancelBtn"); }

 private:
  void FormShow(TObject* sender);
  void PathEditChange(TObject* sender);
  void BrowseBtnClick(TObject* sender);
  // Shows the parameter's path in the edit without writing it back.
  void ShowPath();

  bool updating_ = false;
};

}  // namespace wenmoor
