// FormPropertySetter: sets the properties of a parsed object on an instance,
// through the class registry, refusing every value that does not fit.
//
// A property path walks owned sub-objects ("Font.Name", "Lines.Strings");
// a collection ("Items = < item ... end >") is cleared and refilled through
// TCollection::Add. Component references and event handlers cannot be
// resolved before every object exists: they are recorded as fixups for the
// reader to resolve afterwards, in the order in which they appear.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/form_ast.h"
#include "platform/rtl/persistent.h"

namespace wenmoor {

// A component reference or event handler waiting for every object to exist.
struct FormFixup {
  TPersistent* instance = nullptr;  // the object (or sub-object, or item) that has the property
  const TPropInfo* prop = nullptr;  // of kind Component or Method
  const FormValue* value = nullptr;  // the identifier, in the parsed tree
  std::string path;                  // the property as written, for messages
};

class FormPropertySetter {
 public:
  // Fixups are appended to `fixups`; both it and the parsed tree must
  // outlive their resolution.
  FormPropertySetter(std::string file_name, std::vector<FormFixup>& fixups);

  // Sets `props` on `target` in order. Raises EFormError at the place of the
  // first fault: an unknown or read-only property, a path through something
  // that is no sub-object, a property set twice, a value of the wrong kind
  // or out of range, or a setter that refused the value (its message is
  // kept as the reason). The properties before the fault stay set.
  void SetAll(TPersistent& target, const std::vector<FormProperty>& props);

 private:
  void Set(TPersistent& target, const FormProperty& prop);
  void SetValue(TPersistent& obj, const TPropInfo& info, const FormProperty& prop);
  void SetCollection(TPersistent& obj, const TPropInfo& info, const FormProperty& prop);
  int64_t ToOrdinal(const TPropInfo& info, const FormProperty& prop) const;
  [[noreturn]] void Fail(FormPos pos, std::string reason) const;
  [[noreturn]] void FailKind(const TPropInfo& info, const FormProperty& prop, const TPersistent& obj) const;

  std::string file_name_;
  std::vector<FormFixup>& fixups_;
};

}  // namespace wenmoor
