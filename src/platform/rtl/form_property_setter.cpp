#include "platform/rtl/form_property_setter.h"

#include <cctype>
#include <unordered_set>
#include <utility>

#include "platform/rtl/collection.h"
#include "platform/rtl/form_error.h"

namespace wenmoor {
namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Expected(const TPropInfo& info, const TPersistent& obj) {
  switch (info.kind) {
    case TTypeKind::Integer:
      return info.int_idents ? "an integer or a named value" : "an integer";
    case TTypeKind::Boolean:
      return "True or False";
    case TTypeKind::Enumeration:
      return Format("a value of %s", info.enum_info->TypeName());
    case TTypeKind::Set:
      return Format("a set of %s", info.enum_info->TypeName());
    case TTypeKind::Float:
      return "a number";
    case TTypeKind::String:
      return "a string";
    case TTypeKind::Component:
      return "a component name";
    case TTypeKind::Method:
      return "an event handler name";
    case TTypeKind::Lines:
      return "a list of strings";
    case TTypeKind::Binary:
      return "binary data";
    case TTypeKind::Class: {
      TPersistent* sub = info.get_object(obj);
      if (dynamic_cast<TCollection*>(sub)) return "a collection";
      return Format("no value (set its properties as %s.Name)", info.name);
    }
  }
  return "another value";
}

std::string Describe(const FormValue& v) {
  switch (v.kind) {
    case FormValue::Kind::Integer:
      return Format("the integer %d", v.integer);
    case FormValue::Kind::Float:
      return "a floating-point number";
    case FormValue::Kind::String:
      return "a string";
    case FormValue::Kind::Ident:
      return Format("'%s'", v.text);
    case FormValue::Kind::Set:
      return "a set";
    case FormValue::Kind::List:
      return "a list";
    case FormValue::Kind::Collection:
      return "a collection";
    case FormValue::Kind::Binary:
      return "binary data";
  }
  return "a value";
}

}  // namespace

FormPropertySetter::FormPropertySetter(std::string file_name, std::vector<FormFixup>& fixups)
    : file_name_(std::move(file_name)), fixups_(fixups) {}

void FormPropertySetter::Fail(FormPos pos, std::string reason) const {
  throw EFormError(file_name_, pos.line, pos.column, std::move(reason));
}

void FormPropertySetter::FailKind(const TPropInfo& info, const FormProperty& prop, const TPersistent& obj) const {
  Fail(prop.value.pos, Format("Invalid value for %s: expected %s but found %s", JoinPath(prop.path),
                              Expected(info, obj), Describe(prop.value)));
}

void FormPropertySetter::SetAll(TPersistent& target, const std::vector<FormProperty>& props) {
  // A second value for one property would be a silent override at best and,
  // for a collection, would free items that references still point to.
  std::unordered_set<std::string> seen;
  for (const FormProperty& p : props) {
    if (!seen.insert(Lower(JoinPath(p.path))).second)
      Fail(p.pos, Format("Property %s is set twice", JoinPath(p.path)));
  }
  for (const FormProperty& p : props) Set(target, p);
}

void FormPropertySetter::Set(TPersistent& target, const FormProperty& prop) {
  TPersistent* obj = &target;
  for (size_t i = 0; i + 1 < prop.path.size(); ++i) {
    const TPropInfo* step = obj->ClassType().FindProperty(prop.path[i]);
    if (!step) Fail(prop.path_pos[i], Format("Property %s does not exist in %s", prop.path[i], obj->ClassName()));
    if (step->kind != TTypeKind::Class)
      Fail(prop.path_pos[i], Format("Property %s of %s has no properties of its own", step->name, obj->ClassName()));
    TPersistent* sub = step->get_object(*obj);
    if (!sub) Fail(prop.path_pos[i], Format("Property %s of %s holds no object", step->name, obj->ClassName()));
    obj = sub;
  }
  const TPropInfo* info = obj->ClassType().FindProperty(prop.path.back());
  if (!info)
    Fail(prop.path_pos.back(), Format("Property %s does not exist in %s", prop.path.back(), obj->ClassName()));
  if (info->read_only) Fail(prop.path_pos.back(), Format("Property %s of %s is read-only", info->name, obj->ClassName()));
  try {
    SetValue(*obj, *info, prop);
  } catch (const EFormError&) {
    throw;
  } catch (const Exception& e) {
    // The object refused the value: keep its reason, add the place.
    Fail(prop.value.pos, Format("Cannot set %s: %s", JoinPath(prop.path), e.Message()));
  }
}

int64_t FormPropertySetter::ToOrdinal(const TPropInfo& info, const FormProperty& prop) const {
  const FormValue& v = prop.value;
  int64_t n = v.integer;
  // '$' literals are bit patterns: $80000005 is the negative 32-bit value
  // with those bits, as colours with the high bit set are written.
  if (v.hex && info.min_ordinal < 0 && info.max_ordinal < INT64_MAX && n > info.max_ordinal) {
    uint64_t span = static_cast<uint64_t>(info.max_ordinal) + 1;
    uint64_t bits = static_cast<uint64_t>(n);
    if (bits < 2 * span) n = static_cast<int64_t>(bits - 2 * span);
  }
  if (n < info.min_ordinal || n > info.max_ordinal) {
    Fail(v.pos, Format("Value %d is out of range for %s (%d to %d)", v.integer, JoinPath(prop.path), info.min_ordinal,
                       info.max_ordinal));
  }
  return n;
}

void FormPropertySetter::SetValue(TPersistent& obj, const TPropInfo& info, const FormProperty& prop) {
  const FormValue& v = prop.value;
  using K = FormValue::Kind;
  switch (info.kind) {
    case TTypeKind::Integer:
      if (v.kind == K::Ident && info.int_idents) {
        std::optional<int64_t> n = info.int_idents->ValueOf(v.text);
        if (!n) Fail(v.pos, Format("'%s' is not a known value of %s", v.text, JoinPath(prop.path)));
        return info.set_ordinal(obj, *n);
      }
      if (v.kind != K::Integer) FailKind(info, prop, obj);
      info.set_ordinal(obj, ToOrdinal(info, prop));
      return;
    case TTypeKind::Boolean:
      if (v.kind == K::Ident && SameText(v.text, "True")) return info.set_ordinal(obj, 1);
      if (v.kind == K::Ident && SameText(v.text, "False")) return info.set_ordinal(obj, 0);
      FailKind(info, prop, obj);
    case TTypeKind::Enumeration: {
      if (v.kind != K::Ident) FailKind(info, prop, obj);
      int ordinal = info.enum_info->ValueOf(v.text);
      if (ordinal < 0) Fail(v.pos, Format("'%s' is not a value of %s", v.text, info.enum_info->TypeName()));
      info.set_ordinal(obj, ordinal);
      return;
    }
    case TTypeKind::Set: {
      if (v.kind != K::Set) FailKind(info, prop, obj);
      uint64_t bits = 0;
      for (const FormValue& e : v.items) {
        int ordinal = info.enum_info->ValueOf(e.text);
        if (ordinal < 0 || ordinal >= 64)
          Fail(e.pos, Format("Set element '%s' is not a value of %s", e.text, info.enum_info->TypeName()));
        bits |= uint64_t{1} << ordinal;
      }
      info.set_ordinal(obj, static_cast<int64_t>(bits));
      return;
    }
    case TTypeKind::Float:
      if (v.kind == K::Float) return info.set_float(obj, v.real);
      if (v.kind == K::Integer && !v.hex) return info.set_float(obj, static_cast<double>(v.integer));
      FailKind(info, prop, obj);
    case TTypeKind::String:
      if (v.kind != K::String) FailKind(info, prop, obj);
      info.set_string(obj, v.text);
      return;
    case TTypeKind::Component:
    case TTypeKind::Method:
      if (v.kind != K::Ident) FailKind(info, prop, obj);
      fixups_.push_back({&obj, &info, &v, JoinPath(prop.path)});
      return;
    case TTypeKind::Lines: {
      if (v.kind != K::List) FailKind(info, prop, obj);
      std::vector<std::string> lines;
      for (const FormValue& item : v.items) {
        if (item.kind != K::String)
          Fail(item.pos, Format("Invalid item of %s: expected a string but found %s", JoinPath(prop.path),
                                Describe(item)));
        lines.push_back(item.text);
      }
      info.set_lines(obj, lines);
      return;
    }
    case TTypeKind::Binary:
      if (v.kind != K::Binary) FailKind(info, prop, obj);
      info.set_binary(obj, v.bytes);
      return;
    case TTypeKind::Class:
      SetCollection(obj, info, prop);
      return;
  }
}

void FormPropertySetter::SetCollection(TPersistent& obj, const TPropInfo& info, const FormProperty& prop) {
  auto* coll = dynamic_cast<TCollection*>(info.get_object(obj));
  if (!coll || prop.value.kind != FormValue::Kind::Collection) FailKind(info, prop, obj);
  coll->Clear();
  for (const FormValue::Item& item : prop.value.collection) {
    TCollectionItem* added = nullptr;
    try {
      added = coll->Add();
    } catch (const Exception& e) {
      Fail(item.pos, Format("Cannot add an item to %s: %s", JoinPath(prop.path), e.Message()));
    }
    SetAll(*added, item.properties);
  }
}

}  // namespace wenmoor
