// The "main instance" of a visual class: at most one instance at a time
// carries the Tag -1 and is reachable through a global reference.
//
// Setting Tag -1 on an instance makes it the main one and gives the previous
// main instance the Tag 0; setting another value on the main instance, or
// destroying it, leaves the class without one.
#pragma once

#include <cstdint>

namespace wenmoor {

template <class T>
class MainInstance {
 public:
  static T* Get() { return main_; }

  // Called by T's Tag setter before it stores `tag`.
  static void TagChanging(T* self, int32_t tag) {
    if (tag == -1) {
      T* previous = main_;
      main_ = self;
      if (previous && previous != self) previous->T::inherited::SetTag(0);
    } else if (main_ == self) {
      main_ = nullptr;
    }
  }
  // Called by T's destructor.
  static void Destroyed(T* self) {
    if (main_ == self) main_ = nullptr;
  }

 private:
  static inline T* main_ = nullptr;
};

}  // namespace wenmoor
