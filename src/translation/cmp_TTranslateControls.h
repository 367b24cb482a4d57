// The controls that carry a GLID (TTranslateLabel, TTranslateBitBtn; the
// controls themselves belong to the form toolkit) and how the translator
// reads it.
#pragma once

#include <cstdint>

#include "platform/rtl/component.h"
#include "platform/ui/translate_controls.h"

namespace wenmoor {

// The GLID of a translate label or button; 0 for every other component.
int32_t GLIDOf(const TComponent& component);

}  // namespace wenmoor
