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

  TTranslateLabel* PromptDiskLabel() const { return Find<TTranslateLabel>("PromptDiskLabel"); }
  TEdit* PathEdit() const { return Find<TEdit>("PathEdit"); }
  TTranslateBitBtn* BrowseBtn() const { return Find<TTranslateBitBtn>("BrowseBtn"); }
  TTranslateBitBtn* InstallBtn() const { return Find<TTranslateBitBtn>("InstallBtn"); }
  TTranslateBitBtn* CancelBtn() const { return Find<TTranslateBitBtn>("CancelBtn"); }

 private:
  template <class C>
  C* Find(const char* name) const {
    return dynamic_cast<C*>(FindComponent(name));
  }
  void FormShow(TObject* sender);
  void PathEditChange(TObject* sender);
  void BrowseBtnClick(TObject* sender);
  // Shows the parameter's path in the edit without writing it back.
  void ShowPath();

  bool updating_ = false;
};

}  // namespace wenmoor
