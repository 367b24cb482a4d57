#include "dialogs/dlgcmp_TBaseContainer.h"

#include <utility>

#include "archive/cmp_TWnmrCompress.h"
#include "engine/cmp_TInstall.h"
#include "net/cmp_TNetInstallLocation.h"
#include "platform/ui/application.h"
#include "platform/ui/screen.h"
#include "script/shared_archive.h"

namespace wenmoor {

const char* const kDialogFormFont =
    "  Color = clBtnFace\n"
    "  Font.Charset = ANSI_CHARSET\n"
    "  Font.Color = clWindowText\n"
    "  Font.Height = -11\n"
    "  Font.Name = 'Arial'\n"
    "  Font.Style = []\n"
    "  Scaled = False\n";

namespace {

const std::string kContainerText = R"(object BaseFormContainer: TBaseFormContainer
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'BaseFormContainer'
  ClientHeight = 371
  ClientWidth = 472
)" + std::string(kDialogFormFont) + R"(  OnClose = FormClose
  OnCreate = FormCreate
  OnResize = FormResize
  OnShow = FormShow
  object Tabs: TTabControl
    Left = 0
    Top = 0
    Width = 472
    Height = 0
    Align = alTop
    TabOrder = 0
    Visible = False
    OnChange = TabsChange
    OnChanging = TabsChanging
  end
  object DisplayPanel: TPanel
    Left = 0
    Top = 0
    Width = 472
    Height = 371
    Align = alClient
    BevelOuter = bvNone
    TabOrder = 1
  end
end
)";

}  // namespace

void LoadFormDescription(TCustomForm& form, std::string_view text, const std::string& file_name) {
  std::string description(text);
  // The root's name: "object Name: Class" on the first line.
  const size_t name_at = description.find("object ") + 7;
  const size_t colon = description.find(':', name_at);
  const std::string name = description.substr(name_at, colon - name_at);
  if (form.Owner() && !form.CanTakeName(name)) {
    GiveUniqueName(&form, name);
    description.replace(name_at, name.size(), form.Name());
  }
  form.LoadFromText(description, file_name);
}

// ---------------------------------------------------------------------------
// TBaseWenmoorForm

TBaseWenmoorForm::TBaseWenmoorForm(TComponent* owner) : TForm(owner) { Font()->SetCharSet(ANSI_CHARSET); }

void TBaseWenmoorForm::Loaded() { TForm::Loaded(); }

void TBaseWenmoorForm::SetContainer(TInstallContainer* v) {
  if (v == container_) return;
  if (container_) container_->RemoveFreeNotification(this);
  container_ = v;
  if (container_) container_->FreeNotification(this);
}

void TBaseWenmoorForm::Notification(TComponent* c, TOperation operation) {
  TForm::Notification(c, operation);
  if (operation == opRemove && c == container_) container_ = nullptr;
}

void TBaseWenmoorForm::ApplyLanguage() {
  current_language_ = ApplyDialogLanguage(*this, language_, current_language_);
  ProcessMessages();
}

// ---------------------------------------------------------------------------
// TBaseInstallForm

TBaseInstallForm::TBaseInstallForm(TComponent* owner) : TBaseWenmoorForm(owner) {}

void TBaseInstallForm::SetPageDefaults(TManagerType type, int order) {
  SetDM(FindDialogManager(type));
  page_order_ = order;
}

void TBaseInstallForm::Loaded() {
  TBaseWenmoorForm::Loaded();
  // Inside the wizard window the page is a borderless child over the
  // window's client area; the window shows it when it becomes current.
  if (auto* window = dynamic_cast<TCustomForm*>(Owner())) {
    SetVisible(false);
    SetBorderIcons({});
    SetBorderStyle(bsNone);
    SetParent(window);
    SetBounds(0, 0, window->ClientWidth(), window->Height());
  }
}

void TBaseInstallForm::SetDC(TCustomBaseInstallDlg* v) {
  if (v == dc_) return;
  if (dc_) dc_->RemoveFreeNotification(this);
  dc_ = v;
  if (dc_) dc_->FreeNotification(this);
}

void TBaseInstallForm::SetDM(TDialogManager* v) {
  if (v == dm_) return;
  if (dm_) dm_->RemoveFreeNotification(this);
  dm_ = v;
  if (dm_) dm_->FreeNotification(this);
}

void TBaseInstallForm::Notification(TComponent* c, TOperation operation) {
  TBaseWenmoorForm::Notification(c, operation);
  if (operation != opRemove) return;
  if (c == dc_) dc_ = nullptr;
  if (c == dm_) dm_ = nullptr;
}

TBaseFormContainer* TBaseInstallForm::WizardWindow() const { return dynamic_cast<TBaseFormContainer*>(Owner()); }

bool TBaseInstallForm::IsFirstPage() {
  TBaseFormContainer* window = WizardWindow();
  if (!window) return false;
  const int current = window->CurrentIndex();
  for (int i = 0; i < current && i < window->PageCount(); ++i)
    if (!window->Pages()[static_cast<size_t>(i)]->SkipPage()) return false;
  return true;
}

bool TBaseInstallForm::IsLastPage() {
  TBaseFormContainer* window = WizardWindow();
  return window && window->CurrentIndex() + 1 == window->PageCount();
}

void TBaseInstallForm::CancelWizard() {
  if (TBaseFormContainer* window = WizardWindow()) window->SetModalResult(mrAbort);
  else SetModalResult(mrAbort);
}

void TBaseInstallForm::NextPage() {
  if (TBaseFormContainer* window = WizardWindow()) window->NextPage();
}

void TBaseInstallForm::PreviousPage() {
  if (TBaseFormContainer* window = WizardWindow()) window->PreviousPage();
}

void TBaseInstallForm::ActivatePage() {
  if (!dynamic_cast<TCustomForm*>(Owner())) return;
  PrepareForm();
  BringToFront();
}

void TBaseInstallForm::UserCancel() {
  if (ConfirmUserAbort()) CancelWizard();
}

void TBaseInstallForm::AssignThemeBitmap(TPicture* picture) const {
  if (!picture) return;
  if (TCustomInstall* install = CurrentInstall()) picture->Assign(*install->DialogThemeBitmap());
}

// ---------------------------------------------------------------------------
// During-copy and change-disk forms

namespace {

// A form's observed link to its manager.
void Observe(TComponent& observer, TDialogManager*& slot, TDialogManager* v) {
  if (v == slot) return;
  if (slot) slot->RemoveFreeNotification(&observer);
  slot = v;
  if (slot) slot->FreeNotification(&observer);
}

}  // namespace

void TBaseDuringCopyForm::SetDM(TDialogManager* v) { Observe(*this, dm_, v); }

void TBaseDuringCopyForm::Notification(TComponent* c, TOperation operation) {
  TBaseWenmoorForm::Notification(c, operation);
  if (operation == opRemove && c == dm_) dm_ = nullptr;
}

void TBaseDuringCopyForm::UserCancel() {
  if (!ConfirmUserAbort()) return;
  SharedArchive().SetAbort(true);
  SetDownloadAborted(true);
}

void TBaseChangeDiskForm::SetDM(TDialogManager* v) { Observe(*this, dm_, v); }

void TBaseChangeDiskForm::Notification(TComponent* c, TOperation operation) {
  TBaseWenmoorForm::Notification(c, operation);
  if (operation == opRemove && c == dm_) dm_ = nullptr;
}

void TBaseChangeDiskForm::UserCancel() {
  if (ConfirmUserAbort()) SetModalResult(mrAbort);
}

// ---------------------------------------------------------------------------
// TBaseFormContainer

TBaseFormContainer::TBaseFormContainer(TComponent* owner) : TForm(owner) {
  PublishMethod("FormCreate", std::function<void(TObject*)>([this](TObject* s) { FormCreate(s); }));
  PublishMethod("FormShow", std::function<void(TObject*)>([this](TObject* s) { FormShow(s); }));
  PublishMethod("FormClose",
                std::function<void(TObject*, TCloseAction&)>([this](TObject* s, TCloseAction& a) { FormClose(s, a); }));
  PublishMethod("FormResize", std::function<void(TObject*)>([this](TObject* s) { FormResize(s); }));
  PublishMethod("TabsChange", std::function<void(TObject*)>([this](TObject* s) { TabsChange(s); }));
  PublishMethod("TabsChanging",
                std::function<void(TObject*, bool&)>([this](TObject* s, bool& allow) { TabsChanging(s, allow); }));
  LoadFormDescription(*this, kContainerText, "dlgcmp_TBaseContainer.dfm");
}

void TBaseFormContainer::FormCreate(TObject*) {
  display_panel_ = dynamic_cast<TPanel*>(FindComponent("DisplayPanel"));
  tabs_ = dynamic_cast<TTabControl*>(FindComponent("Tabs"));
  Font()->SetCharSet(ANSI_CHARSET);
  resizing_ = true;
  SetHeight(395);
  SetWidth(478);
  resizing_ = false;
  finished_ = false;
}

void TBaseFormContainer::Notification(TComponent* c, TOperation operation) {
  TForm::Notification(c, operation);
  if (operation == opRemove) std::erase(pages_, c);
}

TBaseInstallForm* TBaseFormContainer::CurrentPage() const {
  const int i = CurrentIndex();
  return i >= 0 && i < PageCount() ? pages_[static_cast<size_t>(i)] : nullptr;
}

int TBaseFormContainer::CreatePages() {
  TDialogManager* manager = CurrentDialogManager();
  if (!manager) throw Exception(LocalizeMessage("The current dialog manager is not defined"));
  pages_.clear();
  TBIFList& list = BIFList();
  const int count = list.Count();
  for (int i = 0; i < count; ++i) {
    // A form's constructor may withdraw entries: the count taken at the
    // start no longer holds then.
    TBIFEntry* entry = list.Items(i);
    if (!entry) throw Exception(Format(LocalizeMessage("%d is an invalid index in the BIFList"), i));
    TCustomBaseInstallDlg* dialog = entry->Dialog();
    if (dialog && (dialog->DialogManager() != manager || !dialog->CanExecute())) continue;
    TComponent* made = InsertComponent(entry->FormClass().Create(this));
    auto* page = dynamic_cast<TBaseInstallForm*>(made);
    if (!page || (!dialog && page->DM() != manager)) {
      made->Free();
      continue;
    }
    page->SetDC(dialog);
    if (dialog) {
      page->SetContainer(dialog->Container());
      page->SetOrder(dialog->Order());
      dialog->SetForm(page);
      dialog->AssignDialogProperties();
    }
    tabs_->Tabs()->Add(page->Caption());
    page->SetBounds(display_panel_->Left(), display_panel_->Top(), display_panel_->Width(), display_panel_->Height());
    page->ApplyLanguage();
    page->Show();
    page->BringToFront();
    pages_.push_back(page);
  }
  // An exchange sort: it decides where pages of equal Order end up.
  for (size_t i = 0; i < pages_.size(); ++i)
    for (size_t j = i + 1; j < pages_.size(); ++j)
      if (pages_[j]->Order() < pages_[i]->Order()) std::swap(pages_[i], pages_[j]);
  return PageCount();
}

bool TBaseFormContainer::ShowPage(int index, bool backwards) {
  if (index < 0 || index >= PageCount()) return false;
  TBaseInstallForm* page = pages_[static_cast<size_t>(index)];
  if (page->SkipPage()) return backwards ? ShowPage(index - 1, true) : ShowPage(index + 1, false);
  tabs_->SetTabIndex(index);
  SetCaption(page->Caption());
  page->ActivatePage();
  return true;
}

void TBaseFormContainer::NextPage() {
  const int current = CurrentIndex();
  if (!ShowPage(current + 1, false)) ShowPage(current + 1, true);
  if (CurrentIndex() != current) return;
  // Next on the last page that is shown: the wizard is complete.
  finished_ = true;
  SetModalResult(mrOk);
  if (!IsModal()) Close();
}

void TBaseFormContainer::PreviousPage() {
  const int current = CurrentIndex();
  if (!ShowPage(current - 1, true)) ShowPage(current - 1, false);
}

void TBaseFormContainer::PlaceForm(TWenmoorDialogPosition position, int left_offset, int top_offset) {
  const TPoint at = DialogOrigin<float>(position, left_offset, top_offset, Width(), Height(), Screen().Metrics());
  SetBounds(at.x, at.y, Width(), Height());
}

void TBaseFormContainer::FormShow(TObject*) {
  if (!ShowPage(0, true)) ShowPage(0, false);
  BringToFrontWindow();
}

void TBaseFormContainer::FormClose(TObject*, TCloseAction& action) {
  // The wizard ends only by finishing or by an abort.
  if (!finished_ && ModalResult() != mrAbort) action = caNone;
}

void TBaseFormContainer::FormResize(TObject*) {
  if (resizing_ || !display_panel_) return;
  for (TBaseInstallForm* page : pages_) {
    page->SetBounds(display_panel_->Left(), display_panel_->Top(), display_panel_->Width(), display_panel_->Height());
    page->Repaint();
  }
}

void TBaseFormContainer::TabsChange(TObject*) {
  const int index = tabs_->TabIndex();
  if (!ShowPage(index, true)) ShowPage(index, false);
}

void TBaseFormContainer::TabsChanging(TObject*, bool&) {
  if (TBaseInstallForm* page = CurrentPage()) page->PageLeaving();
}

WENMOOR_REGISTER_CLASS(TBaseWenmoorForm) {}

WENMOOR_REGISTER_CLASS(TBaseInstallForm) {
  c.Prop("DC", &T::DC, &T::SetDC);
  c.Prop("DM", &T::DM, &T::SetDM);
  c.Prop("Order", &T::Order, &T::SetOrder).Default(0);
}

WENMOOR_REGISTER_CLASS(TBaseDuringCopyForm) { c.Prop("DM", &T::DM, &T::SetDM); }

WENMOOR_REGISTER_CLASS(TBaseChangeDiskForm) { c.Prop("DM", &T::DM, &T::SetDM); }

WENMOOR_REGISTER_CLASS(TBaseFormContainer) {}

}  // namespace wenmoor
