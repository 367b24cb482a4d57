// The framework's forms: the base of every dialog form, its three families
// (wizard pages, forms shown while files are copied, the request for another
// disk) and the wizard window that a dialog manager shows its pages in.
//
// A wizard page created with the wizard window as its owner is embedded in
// it: a borderless child covering the window's display panel, one above the
// other, the current one in front. Created with the application as owner, a
// page is an ordinary top-level dialog as its description makes it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dialogs/dlgcmp_TBaseDlg.h"
#include "platform/ui/comctrls.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"

namespace wenmoor {

class TDiskParameter;
class TBaseFormContainer;

// The colour and font of every dialog form (Arial, 8 points, ANSI), not
// scaled with the screen's pixel density: property lines of a stored form
// description.
extern const char* const kDialogFormFont;

// The component of `form` named `name` when it is a C; null otherwise.
template <class C>
C* FindControl(const TComponent& form, const char* name) {
  return dynamic_cast<C*>(form.FindComponent(name));
}

// Loads a form's stored description into `form`, renaming the form as its
// owner requires (a second form of a kind owned by the application becomes
// Name1, Name2, ...) so that several can live side by side.
void LoadFormDescription(TCustomForm& form, std::string_view text, const std::string& file_name);

class TBaseWenmoorForm : public TForm {
  WENMOOR_CLASS(TBaseWenmoorForm, TForm)
 public:
  explicit TBaseWenmoorForm(TComponent* owner);

  bool AutoSetFont() const { return language_.auto_set_font; }
  void SetAutoSetFont(bool v) { language_.auto_set_font = v; }
  bool AutoTranslate() const { return language_.auto_translate; }
  void SetAutoTranslate(bool v) { language_.auto_translate = v; }
  TInstallContainer* Container() const { return container_; }
  void SetContainer(TInstallContainer* v);
  TWnmrLanguage CurrentLanguage() const { return current_language_; }
  void SetCurrentLanguage(TWnmrLanguage v) { current_language_ = v; }
  bool OverrideMainTranslator() const { return language_.override_main_translator; }
  void SetOverrideMainTranslator(bool v) { language_.override_main_translator = v; }
  TWnmrLanguage TranslateIntoLanguage() const { return language_.translate_into_language; }
  void SetTranslateIntoLanguage(TWnmrLanguage v) { language_.translate_into_language = v; }
  // The dialog component's settings, copied in (not CurrentLanguage).
  void SetLanguageSettings(const DialogLanguageSettings& s) { language_ = s; }

  void Loaded() override;
  void Notification(TComponent* c, TOperation operation) override;

  virtual void RefreshLanguage() { ApplyLanguage(); }
  // Run before the form is shown (each time a page becomes current).
  virtual void PrepareForm() {}
  // Font and texts in the form's language, then pending messages.
  virtual void ApplyLanguage();

 private:
  DialogLanguageSettings language_;
  TInstallContainer* container_ = nullptr;
  TWnmrLanguage current_language_ = wlEnglish;
};

// A wizard page.
class TBaseInstallForm : public TBaseWenmoorForm {
  WENMOOR_CLASS(TBaseInstallForm, TBaseWenmoorForm)
 public:
  explicit TBaseInstallForm(TComponent* owner);

  // The dialog component of the page; null for a page without one.
  TCustomBaseInstallDlg* DC() const { return dc_; }
  void SetDC(TCustomBaseInstallDlg* v);
  // The manager the page belongs to.
  TDialogManager* DM() const { return dm_; }
  void SetDM(TDialogManager* v);
  int Order() const { return page_order_; }
  void SetOrder(int v) { page_order_ = v; }

  void Loaded() override;
  void Notification(TComponent* c, TOperation operation) override;

  // In a wizard window: every page before the current one is skipped (so
  // also on the first page). On its own: false.
  virtual bool IsFirstPage();
  // In a wizard window: the current page is the last one (later pages that
  // would be skipped do not count). On its own: false.
  virtual bool IsLastPage();
  virtual void PageLeaving() {}
  // Ends the wizard (or the page on its own) with Abort.
  virtual void CancelWizard();
  virtual void NextPage();
  virtual void PreviousPage();
  // Prepares the page and brings it to the front.
  virtual void ActivatePage();
  virtual bool SkipPage() { return false; }
  // Asks whether to abort; on yes, CancelWizard.
  virtual void UserCancel();
  // The installation's theme picture into `picture`.
  void AssignThemeBitmap(TPicture* picture) const;

 protected:
  TBaseFormContainer* WizardWindow() const;
  // Sets DM to the manager of `type` and the default Order.
  void SetPageDefaults(TManagerType type, int order);

 private:
  TCustomBaseInstallDlg* dc_ = nullptr;
  TDialogManager* dm_ = nullptr;
  int page_order_ = 0;
};

// A form shown while files are copied (progress).
class TBaseDuringCopyForm : public TBaseWenmoorForm {
  WENMOOR_CLASS(TBaseDuringCopyForm, TBaseWenmoorForm)
 public:
  explicit TBaseDuringCopyForm(TComponent* owner) : TBaseWenmoorForm(owner) {}

  TDialogManager* DM() const { return dm_; }
  void SetDM(TDialogManager* v);

  // Asks whether to abort; on yes, sets the abort flags of the shared
  // archive component and of downloads, so both stop at their next check.
  virtual void UserCancel();
  virtual void UpdateStatus(TFileStatusParameter* /*file_status*/, TDownloadStatusParameter* /*download_status*/) {}

  void Notification(TComponent* c, TOperation operation) override;

 private:
  TDialogManager* dm_ = nullptr;
};

// The request for another disk.
class TBaseChangeDiskForm : public TBaseWenmoorForm {
  WENMOOR_CLASS(TBaseChangeDiskForm, TBaseWenmoorForm)
 public:
  explicit TBaseChangeDiskForm(TComponent* owner) : TBaseWenmoorForm(owner) {}

  // The request being answered (owned by whoever broadcast it).
  TDiskParameter* DiskParameter() const { return disk_parameter_; }
  void SetDiskParameter(TDiskParameter* v) { disk_parameter_ = v; }
  TDialogManager* DM() const { return dm_; }
  void SetDM(TDialogManager* v);

  // Asks whether to abort; on yes, ends the form with Abort.
  virtual void UserCancel();

  void Notification(TComponent* c, TOperation operation) override;

 private:
  TDiskParameter* disk_parameter_ = nullptr;
  TDialogManager* dm_ = nullptr;
};

// The wizard window: one page in front at a time, moved through with Back,
// Next and Cancel on the pages. It closes only by finishing (Next on the
// last shown page) or by an abort.
class TBaseFormContainer : public TForm {
  WENMOOR_CLASS(TBaseFormContainer, TForm)
 public:
  explicit TBaseFormContainer(TComponent* owner);

  TPanel* DisplayPanel() const { return display_panel_; }
  TTabControl* Tabs() const { return tabs_; }
  // The page forms in display order (the container owns the forms).
  const std::vector<TBaseInstallForm*>& Pages() const { return pages_; }
  int PageCount() const { return static_cast<int>(pages_.size()); }
  // The index of the current page (the tab strip's index).
  int CurrentIndex() const { return tabs_->TabIndex(); }
  TBaseInstallForm* CurrentPage() const;
  bool Finished() const { return finished_; }

  // Creates the pages of CurrentDialogManager from the BIF list and orders
  // them; answers their number.
  int CreatePages();
  // Makes the page at `index` current, passing over skipped pages in the
  // direction given; false when it runs off either end.
  bool ShowPage(int index, bool backwards);
  virtual void NextPage();
  virtual void PreviousPage();
  void PlaceForm(TWenmoorDialogPosition position, int left_offset, int top_offset);

  void Notification(TComponent* c, TOperation operation) override;

 private:
  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void FormResize(TObject* sender);
  void TabsChange(TObject* sender);
  void TabsChanging(TObject* sender, bool& allow_change);

  TPanel* display_panel_ = nullptr;
  TTabControl* tabs_ = nullptr;
  std::vector<TBaseInstallForm*> pages_;
  bool resizing_ = false;
  bool finished_ = false;
};

}  // namespace wenmoor
