#include "dialogs/dlgcmp_TBaseDlg.h"

#include <algorithm>
#include <cmath>

#include "dialogs/dlgcmp_TBaseContainer.h"
#include "engine/cmp_TInstall.h"
#include "platform/rtl/cleanup.h"
#include "platform/rtl/list.h"
#include "platform/ui/application.h"
#include "platform/ui/forms.h"
#include "platform/ui/screen.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/event_parameters.h"

namespace wenmoor {

namespace {

// A plain exception whose English text goes through the translator before
// its values are filled in.
template <class... A>
Exception Translated(std::string_view format, const A&... args) {
  if constexpr (sizeof...(A) == 0) return Exception(LocalizeMessage(format));
  else return Exception(Format(LocalizeMessage(format), args...));
}

TDialogManager*& CurrentManagerSlot() {
  static TDialogManager* manager = nullptr;
  return manager;
}

// A form of `cls` owned by the application.
TCustomForm* CreateApplicationForm(const TClassInfo& cls) {
  ComponentPtr<> made = cls.Create(TApplication::Instance().FormOwner());
  auto* form = dynamic_cast<TCustomForm*>(made.get());
  if (!form) throw EComponentError("%s is not a form class", cls.Name());
  TApplication::Instance().FormOwner()->InsertComponent(std::move(made));
  return form;
}

}  // namespace

template <class Real>
TPoint DialogOrigin(TWenmoorDialogPosition position, int left_offset, int top_offset, int width, int height,
                    const TScreenMetrics& screen) {
  const auto centred = [](int whole, int part) {
    return static_cast<int>(std::nearbyint(static_cast<Real>(whole) / Real(2) - static_cast<Real>(part) / Real(2)));
  };
  // The enumeration runs through the vertical places (centre, bottom, top),
  // each with left, centre and right.
  const int horizontal = static_cast<int>(position) % 3;
  const int vertical = static_cast<int>(position) / 3;
  TPoint p;
  switch (horizontal) {
    case 0: p.x = left_offset; break;
    case 1: p.x = centred(screen.width, width) + left_offset; break;
    default: p.x = screen.width - width - left_offset; break;
  }
  switch (vertical) {
    case 0: p.y = centred(screen.height, height) + top_offset; break;
    case 1: p.y = screen.height - screen.caption_height - height - top_offset; break;
    default: p.y = top_offset; break;
  }
  return p;
}
template TPoint DialogOrigin<float>(TWenmoorDialogPosition, int, int, int, int, const TScreenMetrics&);
template TPoint DialogOrigin<long double>(TWenmoorDialogPosition, int, int, int, int, const TScreenMetrics&);

// ---------------------------------------------------------------------------
// Registries

TFormClassEntry* TFormClassList::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return entries_[static_cast<size_t>(index)].get();
}

TFormClassEntry* TFormClassList::Add(const TClassInfo& form_class, TCustomBaseInstallDlg* dialog) {
  entries_.push_back(std::make_unique<TFormClassEntry>(form_class, dialog));
  return entries_.back().get();
}

void TFormClassList::Remove(TFormClassEntry* entry) {
  auto it = std::find_if(entries_.begin(), entries_.end(), [entry](const auto& e) { return e.get() == entry; });
  if (it != entries_.end()) entries_.erase(it);
}

TBIFList& BIFList() {
  static TBIFList list;
  return list;
}
TDCFList& DCFList() {
  static TDCFList list;
  return list;
}
TFormClassList& ChangeDiskList() {
  static TFormClassList list;
  return list;
}

TBIFEntry* RegisterPageForm(const TClassInfo& form_class, TCustomBaseInstallDlg* dialog) {
  return BIFList().Add(form_class, dialog);
}
void UnregisterPageForm(TBIFEntry* entry) { BIFList().Remove(entry); }
TDCFEntry* RegisterDuringCopyForm(const TClassInfo& form_class, TCustomBaseInstallDlg* dialog) {
  return DCFList().Add(form_class, dialog);
}
void UnregisterDuringCopyForm(TDCFEntry* entry) { DCFList().Remove(entry); }
TBCDFEntry* RegisterChangeDiskForm(const TClassInfo& form_class, TCustomBaseInstallDlg* dialog) {
  return ChangeDiskList().Add(form_class, dialog);
}
void UnregisterChangeDiskForm(TBCDFEntry* entry) { ChangeDiskList().Remove(entry); }

TDialogManager* CurrentDialogManager() { return CurrentManagerSlot(); }

TDialogManager* FindDialogManager(TManagerType type) {
  TCustomInstall* install = CurrentInstall();
  for (TInstallContainer* c : InstallContainers().All()) {
    auto* manager = dynamic_cast<TDialogManager*>(c);
    if (manager && manager->ManagerType() == type && manager->Container() == install) return manager;
  }
  return nullptr;
}

bool ConfirmUserAbort() {
  TCustomInstall* install = CurrentInstall();
  return !install || install->ConfirmUserAbort();
}

// ---------------------------------------------------------------------------
// TDialogManager

TDialogManager::TDialogManager(TComponent* owner) : TInstallObject(owner) {}

TDialogManager::~TDialogManager() = default;

void TDialogManager::ObjectRemoved(TInstallContainer* object) {
  TInstallObject::ObjectRemoved(object);
  if (auto* dialog = dynamic_cast<TCustomBaseInstallDlg*>(object)) RemoveDialog(dialog);
}

void TDialogManager::Notification(TComponent* c, TOperation operation) {
  TInstallObject::Notification(c, operation);
  if (operation != opRemove) return;
  std::erase(during_copy_forms_, c);
}

void TDialogManager::ReceiveInformation(TObject* sender, int code, TObject* po) {
  TInstallObject::ReceiveInformation(sender, code, po);
  switch (code) {
    case kNotifyBeforeInstallDialogs:
      if (manager_type_ == dmBeforeInstall) Execute();
      break;
    case kNotifyAfterGoodInstallDialogs:
      if (manager_type_ == dmAfterGoodInstall) Execute();
      break;
    case kNotifyAfterBadInstallDialogs:
      if (manager_type_ == dmAfterBadInstall) Execute();
      break;
    case kNotifyRegistration:
      if (manager_type_ == dmRegistration) Execute();
      break;
    case kNotifyRestartNeeded:
      if (manager_type_ == dmReboot) Execute();
      break;
    case kNotifyProgress:
      if (manager_type_ != dmDuringCopyFiles) break;
      if (!po) throw IException("%s got a nil PO parameter", Name());
      if (auto* status = dynamic_cast<TFileStatusParameter*>(po)) UpdateDuringCopyForms(status, nullptr);
      else throw IException("The PO object passed to %s is not a TFileStatusParameter object", Name());
      break;
    case kNotifyDownloadProgress:
      if (manager_type_ != dmDuringCopyFiles) break;
      if (!po) throw IException("%s got a nil PO parameter", Name());
      if (auto* status = dynamic_cast<TDownloadStatusParameter*>(po)) UpdateDuringCopyForms(nullptr, status);
      else throw IException("The PO object passed to %s is not a TDownloadStatusParameter object", Name());
      break;
    case kNotifyOperationEnded:
      if (manager_type_ == dmDuringCopyFiles) CloseDuringCopyForms();
      break;
    case kNotifyNewDisk:
      if (manager_type_ == dmChangeDisk) ChangeDisk(po);
      break;
    default:
      break;
  }
}

void TDialogManager::Execute() {
  CurrentManagerSlot() = this;
  TBaseFormContainer* container = nullptr;
  WithCleanup(
      [&] {
        container = Create<TBaseFormContainer>(TApplication::Instance().FormOwner());
        container->SetPosition(poDesigned);
        container->SetBounds(container->Left(), container->Top(), width_, height_);
        container->PlaceForm(position_, relative_left_offset_, relative_top_offset_);
        if (container->CreatePages() == 0) return;
        if (container->ShowModal() == mrAbort) throw EAIUserAbort();
      },
      [&] {
        CurrentManagerSlot() = nullptr;
        if (container) container->Free();
      });
  if (TCustomForm* main = TApplication::Instance().MainForm()) main->Repaint();
  ProcessMessages();
}

void TDialogManager::ChangeDisk(TObject* po) {
  TFormClassEntry* entry = ChangeDiskList().Items(0);
  if (!entry) return;
  TCustomForm* form = nullptr;
  WithCleanup(
      [&] {
        form = CreateApplicationForm(entry->FormClass());
        CurrentManagerSlot() = this;
        auto* disk_form = dynamic_cast<TBaseChangeDiskForm*>(form);
        if (!disk_form || disk_form->DM() != this) return;
        if (!po) throw Translated("The ParameterObject is Nil in the TDialogManager. Cannot show the change disk form");
        auto* list = dynamic_cast<TList*>(po);
        if (!list) throw Translated("TChangeDiskDlg--PO is not a TList object");
        if (list->Count() < 2) throw Translated("TChangeDiskDlg--Not engouh parameters for status event");
        auto* file = dynamic_cast<TCustomInstallFile*>(list->Items(0));
        if (!file) throw Exception("TChangeDiskDlg says bad first parameter");
        auto* disk = dynamic_cast<TDiskParameter*>(list->Items(1));
        if (!disk) throw Exception("TChangeDiskDlg says bad second parameter");
        // Tells the file that a dialog handled the request, so that it does
        // not ask with its own message box.
        file->SetTag(1);
        disk_form->SetDiskParameter(disk);
        disk_form->PrepareForm();
        disk_form->ApplyLanguage();
        if (disk_form->ShowModal() == mrAbort) throw EAIUserAbort();
      },
      [&] {
        CurrentManagerSlot() = nullptr;
        if (form) form->Free();
      });
}

void TDialogManager::AddDialog(TCustomBaseInstallDlg* dialog) {
  if (!dialog) throw Translated("Cannot add a NIL Dialog to the Dialog Manager %s", Name());
  dialogs_.push_back(dialog);
}

void TDialogManager::RemoveDialog(TCustomBaseInstallDlg* dialog) { std::erase(dialogs_, dialog); }

void TDialogManager::CreateDuringCopyForms() {
  TDCFList& list = DCFList();
  for (int i = 0; i < list.Count(); ++i) {
    TDCFEntry* entry = list.Items(i);
    TCustomForm* form = CreateApplicationForm(entry->FormClass());
    auto* copy_form = dynamic_cast<TBaseDuringCopyForm*>(form);
    if (!copy_form || copy_form->DM() != this) {
      form->Free();
      continue;
    }
    if (TCustomBaseInstallDlg* dialog = entry->Dialog()) {
      dialog->SetForm(copy_form);
      PlaceDuringCopyForm(*dialog);
    }
    copy_form->PrepareForm();
    copy_form->ApplyLanguage();
    copy_form->Show();
    copy_form->BringToFrontWindow();
    during_copy_forms_.push_back(copy_form);
    copy_form->FreeNotification(this);
  }
}

void TDialogManager::UpdateDuringCopyForms(TFileStatusParameter* file_status,
                                           TDownloadStatusParameter* download_status) {
  if (during_copy_forms_.empty()) CreateDuringCopyForms();
  const std::vector<TBaseDuringCopyForm*> forms = during_copy_forms_;
  for (TBaseDuringCopyForm* form : forms) form->UpdateStatus(file_status, download_status);
}

void TDialogManager::CloseDuringCopyForms() {
  const std::vector<TBaseDuringCopyForm*> forms = std::move(during_copy_forms_);
  during_copy_forms_.clear();
  for (TBaseDuringCopyForm* form : forms) {
    form->RemoveFreeNotification(this);
    form->Close();
  }
}

void PlaceDuringCopyForm(TCustomBaseInstallDlg& dialog) {
  TCustomForm* form = dialog.Form();
  if (!form) return;
  const TPoint at = DialogOrigin<long double>(dialog.Position(), dialog.RelativeLeftOffset(),
                                              dialog.RelativeTopOffset(), dialog.Width(), dialog.Height(),
                                              Screen().Metrics());
  form->SetBounds(at.x, at.y, dialog.Width(), dialog.Height());
}

// ---------------------------------------------------------------------------
// TCustomBaseInstallDlg

TCustomBaseInstallDlg::TCustomBaseInstallDlg(TComponent* owner)
    : TInstallObject(owner), theme_bitmap_(std::make_unique<TPicture>()) {
  SetInstallTypes(TInstallTypeSet{itFull, itDefault, itCompact, itCustom});
  SetOrder(0);
}

TCustomBaseInstallDlg::~TCustomBaseInstallDlg() = default;

void TCustomBaseInstallDlg::Destroying() {
  if (registered_in_) registered_in_->Remove(registered_entry_);
  registered_in_ = nullptr;
  registered_entry_ = nullptr;
  SetDialogManager(nullptr);
  SetForm(nullptr);
  TInstallObject::Destroying();
}

void TCustomBaseInstallDlg::RegisterFormClass(TFormClassList& list) {
  registered_in_ = &list;
  registered_entry_ = list.Add(FormClass(), this);
}

void TCustomBaseInstallDlg::SetForm(TCustomForm* form) {
  if (form == form_) return;
  if (form_) form_->RemoveFreeNotification(this);
  form_ = form;
  // The page goes with its wizard window; the reference must go with it.
  if (form_) form_->FreeNotification(this);
}

void TCustomBaseInstallDlg::Notification(TComponent* c, TOperation operation) {
  TInstallObject::Notification(c, operation);
  if (operation == opRemove && c == form_) form_ = nullptr;
}

void TCustomBaseInstallDlg::SetDialogManager(TDialogManager* v) {
  if (v == dialog_manager_) return;
  if (v) v->AddDialog(this);
  if (dialog_manager_) dialog_manager_->RemoveDialog(this);
  dialog_manager_ = v;
}

void TCustomBaseInstallDlg::ObjectRemoved(TInstallContainer* object) {
  TInstallObject::ObjectRemoved(object);
  if (object && object == dialog_manager_) dialog_manager_ = nullptr;
}

void TCustomBaseInstallDlg::SetThemeBitmap(const TPicture& picture) { theme_bitmap_->Assign(picture); }

void TCustomBaseInstallDlg::Translate() {
  if (!form_) return;
  current_language_ = ApplyDialogLanguage(*form_, language_, current_language_);
}

void TCustomBaseInstallDlg::AssignDialogProperties() {
  if (!form_) throw Translated("Cannot AssignDialogProperties for %s because the Dialog is Nil", Name());
  if (auto* form = dynamic_cast<TBaseWenmoorForm*>(form_)) {
    form->SetLanguageSettings(language_);
    form->SetContainer(Container());
  }
  if (auto* page = dynamic_cast<TBaseInstallForm*>(form_)) page->SetDC(this);
  Translate();
}

bool TCustomBaseInstallDlg::Execute() {
  try {
    OnBeforeExecute(this);
    const bool result = ShowDialog();
    ProcessMessages();
    OnAfterExecute(this);
    return result;
  } catch (const EAbort&) {
    return false;
  }
}

bool TCustomBaseInstallDlg::ShowDialog() {
  if (!CanExecute()) return true;
  TModalResult result = mrNone;
  WithCleanup(
      [&] {
        SetForm(CreateApplicationForm(FormClass()));
        AssignDialogProperties();
        result = form_->ShowModal();
      },
      [&] {
        TCustomForm* form = form_;
        SetForm(nullptr);
        if (form) form->Free();
      });
  if (result != mrOk) throw EAIUserAbort();
  return true;
}

void TCustomBaseInstallDlg::AssignThemeBitmap(TPicture* picture) const {
  if (!picture) return;
  if (theme_bitmap_->Empty()) {
    if (TCustomInstall* install = CurrentInstall()) picture->Assign(*install->DialogThemeBitmap());
  } else {
    picture->Bitmap().Assign(theme_bitmap_->Bitmap());
    picture->Changed();
  }
}

// ---------------------------------------------------------------------------

WENMOOR_REGISTER_CLASS(TDialogManager) {
  c.Prop("Container", &T::Container, &T::SetContainer);
  c.Prop("Height", &T::Height, &T::SetHeight).Default(395);
  c.Prop("ManagerType", &T::ManagerType, &T::SetManagerType).Default(dmBeforeInstall);
  c.Prop("Position", &T::Position, &T::SetPosition).Default(wdpCenter);
  c.Prop("RelativeLeftOffset", &T::RelativeLeftOffset, &T::SetRelativeLeftOffset).Default(0);
  c.Prop("RelativeTopOffset", &T::RelativeTopOffset, &T::SetRelativeTopOffset).Default(0);
  c.Prop("Width", &T::Width, &T::SetWidth).Default(478);
}

WENMOOR_REGISTER_CLASS(TCustomBaseInstallDlg) {}

WENMOOR_REGISTER_CLASS(TBaseInstallDlg) {
  PublishDialogSettings(c, true);
  c.Prop("Order", &T::Order, &T::SetOrder);
  c.Event("OnAfterExecute", &T::OnAfterExecute);
  c.Event("OnBeforeExecute", &T::OnBeforeExecute);
}

}  // namespace wenmoor
