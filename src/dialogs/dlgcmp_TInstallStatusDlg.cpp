#include "dialogs/dlgcmp_TInstallStatusDlg.h"

#include <cmath>

#include "dialogs/ordlg_InstallStatus.h"
#include "platform/ui/application.h"
#include "platform/ui/screen.h"
#include "script/event_parameters.h"

namespace wenmoor {

TInstallStatusDlg::TInstallStatusDlg(TComponent* owner) : TCustomBaseInstallDlg(owner) {}

const TClassInfo& TInstallStatusDlg::FormClass() const { return TInstallStatusForm::StaticClass(); }

void TInstallStatusDlg::Translate() {
  TCustomBaseInstallDlg::Translate();
  SetCurrentLanguage(wlEnglish);
}

void TInstallStatusDlg::ReceiveInformation(TObject* sender, int code, TObject* po) {
  TCustomBaseInstallDlg::ReceiveInformation(sender, code, po);
  if (code == kNotifyStatusMessage) {
    if (!po) throw IException("%s got a nil PO parameter", Name());
    auto* message = dynamic_cast<TMessageParameter*>(po);
    if (!message) throw IException("The PO object passed to %s is not a TMessageParameter object", Name());
    current_message_ = message->Text;
    messages_.Add(message->Text);
    ShowStatus();
  } else if (code == kNotifyClearStatusMessage) {
    if (messages_.Count() > 0) messages_.Delete(messages_.Count() - 1);
    if (messages_.Count() > 0) {
      current_message_ = messages_[messages_.Count() - 1];
      ShowStatus();
    } else if (Form()) {
      Form()->Hide();
      ProcessMessages();
    }
  }
}

void TInstallStatusDlg::ShowStatus() {
  if (!Form()) {
    SetForm(Create<TInstallStatusForm>(TApplication::Instance().FormOwner()));
    AssignDialogProperties();
  }
  auto& form = dynamic_cast<TInstallStatusForm&>(*Form());
  TLabel& label = *form.Message();
  label.SetAlign(alNone);
  label.SetWordWrap(false);
  label.SetCaption(current_message_);
  Translate();
  // Off and on again: the label takes the size of its text.
  label.SetAutoSize(false);
  label.SetAutoSize(true);
  const auto nearest = [](double x) { return static_cast<int>(std::nearbyint(x)); };
  label.SetTop(nearest(form.ClientHeight() / 2.0 - label.Height() / 2.0));
  const int text_width = TextExtent(*form.Font(), label.Caption()).cx;
  form.SetWidth(text_width + form.OuterPanel()->Left() + form.MessagePanel()->Left() + label.Left() + 25);
  form.SetLeft(nearest(Screen().Width() / 2.0 - form.Width() / 2.0));
  form.Show();
  form.BringToFrontWindow();
  form.Repaint();
  ProcessMessages();
}

WENMOOR_REGISTER_CLASS(TInstallStatusDlg) { PublishDialogSettings(c, false); }

}  // namespace wenmoor
