// PropertySnapshot: the published state of an object, kept so that a failed
// load can put an existing object (a form loading its own description) back
// as it was.
//
// It records, through the class registry, the value of every writable
// property: ordinals, floats, strings, string lists, binary data, component
// references, event handlers (with their names), and recursively the state
// of owned sub-objects, a collection's items included. What lies outside the
// published properties (private fields that setters changed on the side) is
// beyond its reach.
//
// Component references are kept as observer pointers: restore them before
// anything they name is destroyed (the loader restores right after freeing
// only what it created itself, which no snapshot can name).
#pragma once

#include <any>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/persistent.h"

namespace wenmoor {

class PropertySnapshot {
 public:
  // Records `object`'s published values.
  static PropertySnapshot Take(const TPersistent& object);

  // Sets every recorded value back on `object` (the same object, or for a
  // collection item a fresh item of the same class). Never throws: a value
  // that a setter refuses is skipped, and the others are still restored.
  void Restore(TPersistent& object) const noexcept;

 private:
  // Sub-objects are followed this deep at most, so that an object that
  // (wrongly) publishes itself or its owner as a sub-object cannot loop.
  static constexpr int kMaxDepth = 16;

  struct Saved {
    const TPropInfo* prop = nullptr;
    int64_t ordinal = 0;
    double real = 0;
    std::string text;
    TComponent* component = nullptr;
    std::any method;
    std::vector<std::string> lines;
    std::vector<uint8_t> bytes;
    bool collection = false;
    std::vector<PropertySnapshot> sub;  // one for a sub-object; one per item of a collection
  };

  static PropertySnapshot TakeAt(const TPersistent& object, int depth);
  static void RestoreOne(TPersistent& object, const Saved& saved);

  std::vector<Saved> values_;
};

}  // namespace wenmoor
