// What a user would see of a form: the controls that are shown (visible on
// a shown parent chain and not covered by an opaque sibling in front of
// them), which are usable, and which button Enter would press.
//
// Covering matters for wizards: every page of a wizard window is a visible
// child form in the same place, and only the one in front can be seen.
#pragma once

#include <string_view>
#include <vector>

#include "platform/ui/buttons.h"
#include "platform/ui/forms.h"

namespace wenmoor {

// Whether `c` can be seen on `form`: it and every parent up to the form are
// visible, and at no level does a visible opaque sibling in front of it
// (later in the z-order) cover its whole rectangle.
bool IsShownOn(const TControl& c, const TCustomForm& form);
// Shown, and enabled together with every parent up to the form.
bool IsUsableOn(const TControl& c, const TCustomForm& form);

// The controls shown on `form` in painting order: parents before their
// children, children bottom first. Covered subtrees are left out.
std::vector<TControl*> ShownControls(const TCustomForm& form);

// The front-most embedded form shown on `form` (the wizard page), or null.
TCustomForm* FrontPage(const TCustomForm& form);

// The shown control named `name` (case-insensitive), front-most first.
TControl* FindShownControl(const TCustomForm& form, std::string_view name);

// The button that accepts the form, and why it was chosen: the focused
// button (as Enter would press it); else one marked Default; else one whose modal result is OK or
// Yes; else one whose caption begins like Next, Accept, Finish, OK, Yes,
// Proceed, Continue, Install or Close. Only usable buttons count, front-most
// first; Cancel buttons never. Null when none qualifies.
struct DefaultChoice {
  TButton* button = nullptr;
  const char* reason = "";
};
DefaultChoice FindDefaultButton(const TCustomForm& form);

}  // namespace wenmoor
