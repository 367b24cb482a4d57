// A label and a bitmap button that carry a GLID: the number under which
// the translator finds their text in every language (0: none, translated
// by wording like any other control; negative: never translated).
#pragma once

#include <cstdint>

#include "platform/ui/buttons.h"
#include "platform/ui/labels.h"

namespace wenmoor {

class TTranslateLabel : public TLabel {
  WENMOOR_CLASS(TTranslateLabel, TLabel)
 public:
  explicit TTranslateLabel(TComponent* owner) : TLabel(owner) {}
  int32_t GLID() const { return glid_; }
  void SetGLID(int32_t v) { glid_ = v; }

 private:
  int32_t glid_ = 0;
};

class TTranslateBitBtn : public TBitBtn {
  WENMOOR_CLASS(TTranslateBitBtn, TBitBtn)
 public:
  explicit TTranslateBitBtn(TComponent* owner) : TBitBtn(owner) {}
  int32_t GLID() const { return glid_; }
  void SetGLID(int32_t v) { glid_ = v; }

 private:
  int32_t glid_ = 0;
};

}  // namespace wenmoor
