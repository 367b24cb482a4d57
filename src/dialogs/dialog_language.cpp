#include "dialogs/dialog_language.h"

#include "platform/ui/control.h"

namespace wenmoor {

TWnmrLanguage ApplyDialogLanguage(TComponent& form, const DialogLanguageSettings& settings, TWnmrLanguage current) {
  if (!MainTranslator()) return current;
  if (settings.auto_set_font) {
    if (auto* control = dynamic_cast<TControl*>(&form)) {
      if (settings.override_main_translator) SetFormFontIn(settings.translate_into_language, control);
      else SetFormFont(control);
    }
  }
  if (!settings.auto_translate) return current;
  return settings.override_main_translator ? TranslateFormInto(current, settings.translate_into_language, &form)
                                           : TranslateForm(current, &form);
}

}  // namespace wenmoor
