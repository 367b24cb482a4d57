#include "platform/ui/translate_controls.h"

namespace wenmoor {

WENMOOR_REGISTER_CLASS(TTranslateLabel) { c.Prop("GLID", &T::GLID, &T::SetGLID).Default(0); }
WENMOOR_REGISTER_CLASS(TTranslateBitBtn) { c.Prop("GLID", &T::GLID, &T::SetGLID).Default(0); }

}  // namespace wenmoor
