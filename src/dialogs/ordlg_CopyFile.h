// The copy-progress form: the file being processed, its progress and the
// progress of the whole operation, and a Cancel button that stops copying
// and downloading at their next check.
#pragma once

#include "dialogs/dlgcmp_TBaseContainer.h"
#include "platform/ui/comctrls.h"
#include "platform/ui/translate_controls.h"

namespace wenmoor {

class TCopyFileForm : public TBaseDuringCopyForm {
  WENMOOR_CLASS(TCopyFileForm, TBaseDuringCopyForm)
 public:
  explicit TCopyFileForm(TComponent* owner);

  TImage* UnZipImage() const { return FindControl<TImage>(*this, "UnZipImage"); }
  TImage* TransferBitmap() const { return FindControl<TImage>(*this, "TransferBitmap"); }
  TLabel* CopyingFile() const { return FindControl<TLabel>(*this, "lblCopyingFile"); }
  TProgressBar* FileProgress() const { return FindControl<TProgressBar>(*this, "ProgressBar1"); }
  TProgressBar* TotalProgress() const { return FindControl<TProgressBar>(*this, "ProgressBar2"); }
  TTranslateBitBtn* CancelBtn() const { return FindControl<TTranslateBitBtn>(*this, "CancelBtn"); }

  // A file's progress (both bars), or a download's (the file bar, with the
  // transfer picture over the unpacking one).
  void UpdateStatus(TFileStatusParameter* file_status, TDownloadStatusParameter* download_status) override;

 private:
};

}  // namespace wenmoor
