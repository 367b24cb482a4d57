#include "translation/cmp_TTranslateControls.h"

namespace wenmoor {

int32_t GLIDOf(const TComponent& component) {
  if (const auto* label = dynamic_cast<const TTranslateLabel*>(&component)) return label->GLID();
  if (const auto* button = dynamic_cast<const TTranslateBitBtn*>(&component)) return button->GLID();
  return 0;
}

}  // namespace wenmoor
