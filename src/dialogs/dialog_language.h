// The language of a dialog's form: its font and its texts, through the main
// translator. A dialog component and its form share these settings (the
// component copies its own into the form), and both apply them the same way.
#pragma once

#include "platform/rtl/component.h"
#include "translation/cmp_TTranslator.h"

namespace wenmoor {

struct DialogLanguageSettings {
  bool auto_set_font = true;
  bool auto_translate = true;
  bool override_main_translator = false;
  TWnmrLanguage translate_into_language = wlUser;
};

// With AutoSetFont, applies the font of the target language (the dialog's
// own with OverrideMainTranslator, else the main translator's) to the form
// and its controls; with AutoTranslate, translates the form and what it owns
// from `current` into that language. Answers the language the form's texts
// are in afterwards. Without a main translator nothing happens and the
// answer is `current`.
TWnmrLanguage ApplyDialogLanguage(TComponent& form, const DialogLanguageSettings& settings, TWnmrLanguage current);

}  // namespace wenmoor
