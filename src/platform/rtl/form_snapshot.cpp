#include "platform/rtl/form_snapshot.h"

#include "platform/rtl/collection.h"
#include "platform/rtl/component.h"

namespace wenmoor {

PropertySnapshot PropertySnapshot::Take(const TPersistent& object) { return TakeAt(object, 0); }

PropertySnapshot PropertySnapshot::TakeAt(const TPersistent& object, int depth) {
  PropertySnapshot snap;
  if (depth > kMaxDepth) return snap;
  for (const TPropInfo* p : object.ClassType().Properties()) {
    Saved s;
    s.prop = p;
    switch (p->kind) {
      case TTypeKind::Integer:
      case TTypeKind::Boolean:
      case TTypeKind::Enumeration:
      case TTypeKind::Set:
        if (!p->set_ordinal) continue;
        s.ordinal = p->get_ordinal(object);
        break;
      case TTypeKind::Float:
        if (!p->set_float) continue;
        s.real = p->get_float(object);
        break;
      case TTypeKind::String:
        if (!p->set_string) continue;
        s.text = p->get_string(object);
        break;
      case TTypeKind::Component:
        if (!p->set_component) continue;
        s.component = dynamic_cast<TComponent*>(p->get_object(object));
        break;
      case TTypeKind::Method:
        if (!p->set_method || !p->get_method) continue;
        s.method = p->get_method(object);
        s.text = p->get_method_name(object);
        break;
      case TTypeKind::Lines:
        s.lines = p->get_lines(object);
        break;
      case TTypeKind::Binary:
        s.bytes = p->get_binary(object);
        break;
      case TTypeKind::Class: {
        const TPersistent* sub = p->get_object(object);
        if (!sub) continue;
        if (auto* coll = dynamic_cast<const TCollection*>(sub)) {
          s.collection = true;
          for (int i = 0; i < coll->Count(); ++i) s.sub.push_back(TakeAt(*coll->Items(i), depth + 1));
        } else {
          s.sub.push_back(TakeAt(*sub, depth + 1));
        }
        break;
      }
    }
    snap.values_.push_back(std::move(s));
  }
  return snap;
}

void PropertySnapshot::Restore(TPersistent& object) const noexcept {
  for (const Saved& s : values_) {
    try {
      RestoreOne(object, s);
    } catch (...) {
      // Putting back the rest matters more than this one value.
    }
  }
}

void PropertySnapshot::RestoreOne(TPersistent& object, const Saved& s) {
  const TPropInfo& p = *s.prop;
  switch (p.kind) {
    case TTypeKind::Integer:
    case TTypeKind::Boolean:
    case TTypeKind::Enumeration:
    case TTypeKind::Set:
      if (p.get_ordinal(object) != s.ordinal) p.set_ordinal(object, s.ordinal);
      break;
    case TTypeKind::Float:
      p.set_float(object, s.real);
      break;
    case TTypeKind::String:
      if (p.get_string(object) != s.text) p.set_string(object, s.text);
      break;
    case TTypeKind::Component:
      p.set_component(object, s.component);
      break;
    case TTypeKind::Method:
      p.set_method(object, s.method, s.text);
      break;
    case TTypeKind::Lines:
      p.set_lines(object, s.lines);
      break;
    case TTypeKind::Binary:
      p.set_binary(object, s.bytes);
      break;
    case TTypeKind::Class: {
      TPersistent* sub = p.get_object(object);
      if (!sub) break;
      if (s.collection) {
        auto* coll = dynamic_cast<TCollection*>(sub);
        if (!coll) break;
        coll->Clear();
        for (const PropertySnapshot& item : s.sub) item.Restore(*coll->Add());
      } else if (!s.sub.empty()) {
        s.sub.front().Restore(*sub);
      }
      break;
    }
  }
}

}  // namespace wenmoor
