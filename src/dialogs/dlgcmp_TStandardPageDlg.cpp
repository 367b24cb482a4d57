#include "dialogs/dlgcmp_TStandardPageDlg.h"

#include "dialogs/ordlg_StandardPage.h"
#include "platform/ui/edits.h"

namespace wenmoor {

TStandardPageDlg::TStandardPageDlg(TComponent* owner, int order, TManagerType phase, int unmanaged_event)
    : TBaseInstallDlg(owner), unmanaged_event_(unmanaged_event) {
  SetOrder(order);
  SetDialogManager(FindDialogManager(phase));
}

void TStandardPageDlg::AssignDialogProperties() {
  TBaseInstallDlg::AssignDialogProperties();
  dynamic_cast<TStandardInstallForm&>(*Form()).TakeDialogSettings(*this);
}

void TStandardPageDlg::ReceiveInformation(TObject* sender, int code, TObject* po) {
  TBaseInstallDlg::ReceiveInformation(sender, code, po);
  if (!DialogManager() && code == unmanaged_event_) Execute();
}

TTextPageDlg::TTextPageDlg(TComponent* owner, int order, TManagerType phase, int unmanaged_event)
    : TStandardPageDlg(owner, order, phase, unmanaged_event), text_(std::make_unique<TStringList>()) {}

TTextPageDlg::~TTextPageDlg() = default;

void TTextPageDlg::AssignDialogProperties() {
  TStandardPageDlg::AssignDialogProperties();
  TextBox(*Form())->Lines()->Assign(*text_);
}

WENMOOR_REGISTER_CLASS(TStandardPageDlg) {}
WENMOOR_REGISTER_CLASS(TTextPageDlg) {}

}  // namespace wenmoor
