#include "platform/ui/headless/visible_controls.h"

#include <algorithm>
#include <array>

#include "platform/rtl/typeinfo.h"

namespace wenmoor {
namespace {

bool CoveredWithin(const TControl& c, const TWinControl& parent) {
  const int at = parent.IndexOfControl(&c);
  const TRect r = c.BoundsRect();
  for (int i = at + 1; i < parent.ControlCount(); ++i) {
    const TControl* over = parent.Controls(i);
    if (over->Visible() && over->ControlStyle().Contains(csOpaque) && over->BoundsRect().Contains(r)) return true;
  }
  return false;
}

void Collect(const TWinControl& parent, std::vector<TControl*>& out) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* c = parent.Controls(i);
    if (!c->Visible() || CoveredWithin(*c, parent)) continue;
    out.push_back(c);
    if (auto* w = dynamic_cast<const TWinControl*>(c)) Collect(*w, out);
  }
}

std::vector<TButton*> UsableButtonsFrontFirst(const TCustomForm& form) {
  std::vector<TButton*> buttons;
  for (TControl* c : ShownControls(form))
    if (auto* b = dynamic_cast<TButton*>(c); b && IsUsableOn(*b, form)) buttons.push_back(b);
  std::reverse(buttons.begin(), buttons.end());
  return buttons;
}

bool CaptionLooksForward(const std::string& caption) {
  static constexpr std::array<std::string_view, 9> kWords = {"Next", "Accept",   "Finish",  "OK",   "Yes",
                                                            "Proceed", "Continue", "Install", "Close"};
  std::string text = StripAccelerator(caption);
  for (std::string_view w : kWords)
    if (text.size() >= w.size() && SameText(std::string_view(text).substr(0, w.size()), w)) return true;
  return false;
}

}  // namespace

bool IsShownOn(const TControl& c, const TCustomForm& form) {
  const TControl* at = &c;
  while (at != &form) {
    const TWinControl* parent = at->Parent();
    if (!at->Visible() || !parent) return false;
    if (CoveredWithin(*at, *parent)) return false;
    at = parent;
  }
  return true;
}

bool IsUsableOn(const TControl& c, const TCustomForm& form) {
  if (!IsShownOn(c, form)) return false;
  for (const TControl* at = &c; at; at = at->Parent()) {
    if (!at->Enabled()) return false;
    if (at == &form) break;
  }
  return true;
}

std::vector<TControl*> ShownControls(const TCustomForm& form) {
  std::vector<TControl*> out;
  Collect(form, out);
  return out;
}

TCustomForm* FrontPage(const TCustomForm& form) {
  TCustomForm* page = nullptr;
  for (TControl* c : ShownControls(form))
    if (auto* f = dynamic_cast<TCustomForm*>(c)) page = f;
  return page;
}

TControl* FindShownControl(const TCustomForm& form, std::string_view name) {
  std::vector<TControl*> shown = ShownControls(form);
  for (auto it = shown.rbegin(); it != shown.rend(); ++it)
    if (SameText((*it)->Name(), name)) return *it;
  return nullptr;
}

DefaultChoice FindDefaultButton(const TCustomForm& form) {
  const std::vector<TButton*> buttons = UsableButtonsFrontFirst(form);
  auto usable = [&](const TButton* b) { return std::find(buttons.begin(), buttons.end(), b) != buttons.end(); };
  if (auto* focused = dynamic_cast<TButton*>(form.ActiveControl()); focused && usable(focused) && !focused->Cancel())
    return {focused, "focused button"};
  for (TButton* b : buttons)
    if (b->Default()) return {b, "default button"};
  for (TButton* b : buttons)
    if (!b->Cancel() && (b->ModalResult() == mrOk || b->ModalResult() == mrYes)) return {b, "button that accepts"};
  for (TButton* b : buttons)
    if (!b->Cancel() && CaptionLooksForward(b->Caption())) return {b, "button that goes forward"};
  return {};
}

}  // namespace wenmoor
