// What the standard wizard pages (licence, read-me, reboot, success,
// failure) have in common: one layout (the theme picture on the left, the
// buttons at the bottom, the content in between), the button handlers, and
// the bare registration of their classes.
#pragma once

#include <string>

#include "dialogs/dlgcmp_TBaseContainer.h"
#include "platform/ui/translate_controls.h"

namespace wenmoor {

// The stored description of a standard page.
struct StandardPageLayout {
  const char* name;       // the form's Name, e.g. "LicenseForm"
  const char* class_name; // e.g. "TLicenseForm"
  const char* caption;
  int client_width;
  bool stays_on_top;
  int content_border;     // the inner border of the content panel
  std::string content;    // the objects of the content panel, top to bottom
  std::string buttons;    // the buttons of the bottom panel
};
std::string StandardPageText(const StandardPageLayout& layout);

// One button of the bottom panel: a TTranslateBitBtn at x `left`, y 15,
// `width` × 33; `extra` adds property lines (indented by four blanks).
std::string PageButton(const char* name, const char* caption, int glid, int left, int width,
                       const std::string& extra = {});
// The buttons of the report pages (reboot, success, failure): Back, and
// Next and Finish in one place.
std::string ReportPageButtons();
// A word-wrapped text of the content panel (whose inner border is
// `border`), aligned to its top or bottom (`align`); with an empty caption,
// an empty spacer line.
std::string PageLabel(const char* name, const char* caption, int glid, int height, int border = 5,
                      const char* align = "alTop");
// A text at the top of a content panel with a border of 5.
inline std::string TopText(const char* name, const char* caption, int glid, int height) {
  return PageLabel(name, caption, glid, height);
}
// The read-only text box filling the rest of the content panel, with the
// form's own text until a dialog puts its text there.
std::string PageTextBox(const char* name, int border);

// A standard page: its buttons and theme image, and their handlers.
class TStandardInstallForm : public TBaseInstallForm {
  WENMOOR_CLASS(TStandardInstallForm, TBaseInstallForm)
 public:
  explicit TStandardInstallForm(TComponent* owner);

  TImage* ThemeImage() const { return FindControl<TImage>(*this, "ThemeBitmap"); }
  TTranslateBitBtn* BackBtn() const { return FindControl<TTranslateBitBtn>(*this, "BackBtn"); }
  TTranslateBitBtn* ProceedBtn() const { return FindControl<TTranslateBitBtn>(*this, "ProceedBtn"); }
  // Null on the pages without one.
  TTranslateBitBtn* FinishBtn() const { return FindControl<TTranslateBitBtn>(*this, "FinishBtn"); }
  TTranslateBitBtn* CancelBtn() const { return FindControl<TTranslateBitBtn>(*this, "CancelBtn"); }

  // What a page dialog does to its page after the base settings: Back
  // hidden, the forward buttons closing the page with OK when it is shown on
  // its own (in the wizard window they have no such effect), and the
  // dialog's theme picture.
  void TakeDialogSettings(const TCustomBaseInstallDlg& dialog);

 protected:
  template <class C>
  C* Find(const char* name) const {
    return FindControl<C>(*this, name);
  }
  // Loads the page's description (after the derived class published its
  // own handlers) and sets its defaults.
  void Build(const StandardPageLayout& layout, TManagerType type, int order);
  // Back visible except on the first page.
  void ShowBackUnlessFirst();
  // Back as above, Next except on the last page, Finish in its place there.
  void ShowNavigationButtons();
  // The report pages: the navigation buttons, then the focus on Next, and
  // on Finish when `focus_finish`.
  void PrepareReportPage(bool focus_finish);
  // Focuses `button` when it and the page are visible.
  void FocusIfShown(TWinControl* button);

 private:
  void FormCreate(TObject* sender);
};

// A page that reports how the installation ended (success, failure):
// Back except on the first page, Next except on the last, Finish there, and
// the focus on whichever of them is shown.
class TResultPageForm : public TStandardInstallForm {
  WENMOOR_CLASS(TResultPageForm, TStandardInstallForm)
 public:
  explicit TResultPageForm(TComponent* owner) : TStandardInstallForm(owner) {}
  void PrepareForm() override;
};

// The bare entry of a standard form's class in `list`, registered on first
// use. A form's unit registers it when the program starts; the unit of the
// dialog component that shows the form withdraws it again, so the form
// appears only through a component.
template <class Form>
TFormClassEntry* BareFormEntry(TFormClassList& list) {
  static TFormClassEntry* const entry = list.Add(Form::StaticClass(), nullptr);
  return entry;
}
template <class Form>
bool WithdrawBareFormEntry(TFormClassList& list) {
  list.Remove(BareFormEntry<Form>(list));
  return true;
}

}  // namespace wenmoor
