// The dialog framework's script objects: dialog managers (one per phase of
// the installation), dialog components (the settings of one dialog and the
// class of the form it shows), and the three registries of form classes that
// decide which forms a manager may show.
//
// The engine never calls a dialog. It broadcasts the code of a phase down the
// script tree (NotifyHelpers); the manager of that phase shows its wizard, its
// progress forms or its disk request, and a dialog without a manager that
// listens for the code shows itself.
//
// Registration protocol of the form classes:
//  1. the unit of each standard form registers a bare entry (its class, no
//     dialog) when the program starts;
//  2. the unit of the matching dialog component withdraws that bare entry
//     again, so a standard form is shown only through a dialog component;
//  3. each dialog component registers (its form class, itself) while it
//     lives;
//  4. a product's own page registers a bare entry that stays; it is shown
//     whenever its own DM is the manager being executed.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "dialogs/dialog_language.h"
#include "platform/rtl/picture.h"
#include "platform/ui/backend.h"
#include "script/cmp_TInstallContainer.h"

namespace wenmoor {

class TCustomForm;
class TBaseWenmoorForm;
class TBaseDuringCopyForm;
class TCustomBaseInstallDlg;
class TFileStatusParameter;
class TDownloadStatusParameter;

// The phase a dialog manager stands for.
enum TManagerType : uint8_t {
  dmBeforeInstall,     // -980
  dmAfterGoodInstall,  // -979
  dmAfterBadInstall,   // -978
  dmDuringCopyFiles,   // -998, -988, -996
  dmChangeDisk,        // -993
  dmReboot,            // -987
  dmRegistration,      // -962
  dmUninstall,         // nothing
};
WENMOOR_ENUM(TManagerType, dmBeforeInstall, dmAfterGoodInstall, dmAfterBadInstall, dmDuringCopyFiles, dmChangeDisk,
             dmReboot, dmRegistration, dmUninstall)

// Where a window is placed: the vertical place first, then the horizontal.
enum TWenmoorDialogPosition : uint8_t {
  wdpCenterLeft,
  wdpCenter,
  wdpCenterRight,
  wdpBottomLeft,
  wdpBottomCenter,
  wdpBottomRight,
  wdpTopLeft,
  wdpTopCenter,
  wdpTopRight,
};
WENMOOR_ENUM(TWenmoorDialogPosition, wdpCenterLeft, wdpCenter, wdpCenterRight, wdpBottomLeft, wdpBottomCenter,
             wdpBottomRight, wdpTopLeft, wdpTopCenter, wdpTopRight)

// The top-left corner of a width × height window at `position` on the
// screen, moved by the offsets: they push a left or centred window to the
// right and a right-aligned one to the left, a top or centred window down
// and a bottom one up. Halves are computed in `Real` (the wizard window in
// single precision, the during-copy forms in extended precision) and round
// to the even neighbour.
template <class Real>
TPoint DialogOrigin(TWenmoorDialogPosition position, int left_offset, int top_offset, int width, int height,
                    const TScreenMetrics& screen);

// One registered form class, with the dialog component that shows it (or
// none for a bare entry).
class TFormClassEntry {
 public:
  TFormClassEntry(const TClassInfo& form_class, TCustomBaseInstallDlg* dialog)
      : form_class_(&form_class), dialog_(dialog) {}
  const TClassInfo& FormClass() const { return *form_class_; }
  TCustomBaseInstallDlg* Dialog() const { return dialog_; }

 private:
  const TClassInfo* form_class_;
  TCustomBaseInstallDlg* dialog_;
};
using TBIFEntry = TFormClassEntry;
using TDCFEntry = TFormClassEntry;
using TBCDFEntry = TFormClassEntry;

// A registry of form classes. It owns its entries; entries still registered
// when the program ends go with it.
class TFormClassList {
 public:
  int Count() const { return static_cast<int>(entries_.size()); }
  // Null for an index out of range.
  TFormClassEntry* Items(int index) const;
  TFormClassEntry* Add(const TClassInfo& form_class, TCustomBaseInstallDlg* dialog);
  // Removes and frees the entry; nothing when it is not in the list.
  void Remove(TFormClassEntry* entry);

 private:
  std::vector<std::unique_ptr<TFormClassEntry>> entries_;
};
using TBIFList = TFormClassList;
using TDCFList = TFormClassList;

// The three registries, created on first use (before any unit registers)
// and freed when the program ends.
TBIFList& BIFList();
TDCFList& DCFList();
TFormClassList& ChangeDiskList();

TBIFEntry* RegisterPageForm(const TClassInfo& form_class, TCustomBaseInstallDlg* dialog);
void UnregisterPageForm(TBIFEntry* entry);
TDCFEntry* RegisterDuringCopyForm(const TClassInfo& form_class, TCustomBaseInstallDlg* dialog);
void UnregisterDuringCopyForm(TDCFEntry* entry);
TBCDFEntry* RegisterChangeDiskForm(const TClassInfo& form_class, TCustomBaseInstallDlg* dialog);
void UnregisterChangeDiskForm(TBCDFEntry* entry);

class TDialogManager;

// Places the dialog's during-copy form (its Form) by the dialog's Position,
// offsets, Width and Height, in one step; nothing without a form.
void PlaceDuringCopyForm(TCustomBaseInstallDlg& dialog);

// The manager whose dialogs are being created or shown: set only during a
// manager's Execute and ChangeDisk, null otherwise.
TDialogManager* CurrentDialogManager();

// The first dialog manager among all script objects, in order of creation,
// of that type and with the engine as its Container; null when none.
TDialogManager* FindDialogManager(TManagerType type);

// Whether the user really wants to abort: the engine's OnUserAbort handler
// decides (QuitOut preset to true); without an engine the answer is yes.
bool ConfirmUserAbort();

// One phase of the installation: shows the pages of that phase in one modal
// wizard window, the during-copy forms, or the change-disk form.
class TDialogManager : public TInstallObject {
  WENMOOR_CLASS(TDialogManager, TInstallObject)
 public:
  explicit TDialogManager(TComponent* owner);
  ~TDialogManager() override;

  TManagerType ManagerType() const { return manager_type_; }
  void SetManagerType(TManagerType v) { manager_type_ = v; }
  TWenmoorDialogPosition Position() const { return position_; }
  void SetPosition(TWenmoorDialogPosition v) { position_ = v; }
  int RelativeLeftOffset() const { return relative_left_offset_; }
  void SetRelativeLeftOffset(int v) { relative_left_offset_ = v; }
  int RelativeTopOffset() const { return relative_top_offset_; }
  void SetRelativeTopOffset(int v) { relative_top_offset_ = v; }
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  int Height() const { return height_; }
  void SetHeight(int v) { height_ = v; }

  // The dialog components whose DialogManager is this manager.
  const std::vector<TCustomBaseInstallDlg*>& Dialogs() const { return dialogs_; }
  // The during-copy forms this manager opened (they belong to the
  // application).
  const std::vector<TBaseDuringCopyForm*>& DuringCopyForms() const { return during_copy_forms_; }

  int RegisteredType() const override { return kRankDialog; }
  void ObjectRemoved(TInstallContainer* object) override;
  void ReceiveInformation(TObject* sender, int code, TObject* po) override;

  // Shows this manager's wizard; EAIUserAbort when the user aborted it.
  virtual void Execute();
  // Shows the change-disk form for the request `po` (a list [install file,
  // TDiskParameter]); EAIUserAbort when the user aborted it.
  virtual void ChangeDisk(TObject* po);
  // Plain exception "Cannot add a NIL Dialog to the Dialog Manager %s" for null.
  virtual void AddDialog(TCustomBaseInstallDlg* dialog);
  virtual void RemoveDialog(TCustomBaseInstallDlg* dialog);

  void CreateDuringCopyForms();
  void UpdateDuringCopyForms(TFileStatusParameter* file_status, TDownloadStatusParameter* download_status);
  void CloseDuringCopyForms();

  void Notification(TComponent* c, TOperation operation) override;

 private:
  TManagerType manager_type_ = dmBeforeInstall;
  TWenmoorDialogPosition position_ = wdpCenter;
  int relative_left_offset_ = 0;
  int relative_top_offset_ = 0;
  int width_ = 478;
  int height_ = 395;
  std::vector<TCustomBaseInstallDlg*> dialogs_;
  std::vector<TBaseDuringCopyForm*> during_copy_forms_;
};

// The settings of one dialog and the class of the form it shows.
class TCustomBaseInstallDlg : public TInstallObject {
  WENMOOR_CLASS(TCustomBaseInstallDlg, TInstallObject)
 public:
  explicit TCustomBaseInstallDlg(TComponent* owner);
  ~TCustomBaseInstallDlg() override;

  bool AutoSetFont() const { return language_.auto_set_font; }
  void SetAutoSetFont(bool v) { language_.auto_set_font = v; }
  bool AutoTranslate() const { return language_.auto_translate; }
  void SetAutoTranslate(bool v) { language_.auto_translate = v; }
  TWnmrLanguage CurrentLanguage() const { return current_language_; }
  void SetCurrentLanguage(TWnmrLanguage v) { current_language_ = v; }
  // The live form of this dialog while one exists.
  TCustomForm* Form() const { return form_; }
  void SetForm(TCustomForm* form);
  TDialogManager* DialogManager() const { return dialog_manager_; }
  virtual void SetDialogManager(TDialogManager* v);
  int Height() const { return height_; }
  void SetHeight(int v) { height_ = v; }
  bool OverrideMainTranslator() const { return language_.override_main_translator; }
  void SetOverrideMainTranslator(bool v) { language_.override_main_translator = v; }
  TWenmoorDialogPosition Position() const { return position_; }
  void SetPosition(TWenmoorDialogPosition v) { position_ = v; }
  int RelativeLeftOffset() const { return relative_left_offset_; }
  void SetRelativeLeftOffset(int v) { relative_left_offset_ = v; }
  int RelativeTopOffset() const { return relative_top_offset_; }
  void SetRelativeTopOffset(int v) { relative_top_offset_ = v; }
  TWnmrLanguage TranslateIntoLanguage() const { return language_.translate_into_language; }
  void SetTranslateIntoLanguage(TWnmrLanguage v) { language_.translate_into_language = v; }
  TPicture* ThemeBitmap() const { return theme_bitmap_.get(); }
  // Copies the picture.
  virtual void SetThemeBitmap(const TPicture& picture);
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  const DialogLanguageSettings& LanguageSettings() const { return language_; }

  TNotifyEvent OnAfterExecute;
  TNotifyEvent OnBeforeExecute;

  int RegisteredType() const override { return kRankDialog; }
  void ObjectRemoved(TInstallContainer* object) override;
  void UpdateLanguage() override { Translate(); }

  // Applies the language to Form (nothing without a form).
  virtual void Translate();
  // Copies the settings into Form and translates it; plain exception
  // "Cannot AssignDialogProperties for %s because the Dialog is Nil"
  // without a form.
  virtual void AssignDialogProperties();
  // OnBeforeExecute, ShowDialog, pending messages, OnAfterExecute; answers
  // ShowDialog. EAbort is swallowed (false); everything else passes on.
  virtual bool Execute();
  // Shows the form on its own, modally: true for OK; any other result
  // raises EAIUserAbort.
  virtual bool ShowDialog();
  virtual const TClassInfo& FormClass() const = 0;
  virtual bool CanExecute() { return true; }

  // Fills `picture` with the dialog's own theme, or the installation's when
  // the dialog has none; nothing for a null picture.
  void AssignThemeBitmap(TPicture* picture) const;

  void Notification(TComponent* c, TOperation operation) override;

 protected:
  void Destroying() override;
  // Registers (FormClass, this) in `list` for the dialog's lifetime.
  void RegisterFormClass(TFormClassList& list);

 private:
  DialogLanguageSettings language_;
  TWnmrLanguage current_language_ = wlEnglish;
  TCustomForm* form_ = nullptr;
  TDialogManager* dialog_manager_ = nullptr;
  int height_ = 0;
  TWenmoorDialogPosition position_ = wdpCenter;
  int relative_left_offset_ = 0;
  int relative_top_offset_ = 0;
  std::unique_ptr<TPicture> theme_bitmap_;
  int width_ = 0;
  TFormClassList* registered_in_ = nullptr;
  TFormClassEntry* registered_entry_ = nullptr;
};

// A dialog that is a wizard page: publishes the settings of a page.
class TBaseInstallDlg : public TCustomBaseInstallDlg {
  WENMOOR_CLASS(TBaseInstallDlg, TCustomBaseInstallDlg)
 public:
  explicit TBaseInstallDlg(TComponent* owner) : TCustomBaseInstallDlg(owner) {}
};

// Publishes the settings every dialog component shares: AutoSetFont,
// AutoTranslate, Container, DialogManager (unless `with_manager` is false),
// OverrideMainTranslator, ThemeBitmap and TranslateIntoLanguage.
template <class T>
void PublishDialogSettings(ClassBuilder<T>& c, bool with_manager) {
  c.Prop("AutoSetFont", &T::AutoSetFont, &T::SetAutoSetFont).Default(true);
  c.Prop("AutoTranslate", &T::AutoTranslate, &T::SetAutoTranslate).Default(true);
  c.Prop("Container", &T::Container, &T::SetContainer);
  if (with_manager) c.Prop("DialogManager", &T::DialogManager, &T::SetDialogManager);
  c.Prop("OverrideMainTranslator", &T::OverrideMainTranslator, &T::SetOverrideMainTranslator).Default(false);
  c.Object("ThemeBitmap", &T::ThemeBitmap);
  c.Prop("TranslateIntoLanguage", &T::TranslateIntoLanguage, &T::SetTranslateIntoLanguage).Default(wlUser);
}

}  // namespace wenmoor
