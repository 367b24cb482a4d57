#include "platform/rtl/form_reader.h"

#include <cctype>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/rtl/form_parser.h"
#include "platform/rtl/form_property_setter.h"
#include "platform/rtl/form_snapshot.h"

namespace wenmoor {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::vector<std::string_view> SplitDots(std::string_view s) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t dot; (dot = s.find('.', start)) != std::string_view::npos; start = dot + 1)
    parts.push_back(s.substr(start, dot - start));
  parts.push_back(s.substr(start));
  return parts;
}

// One load of one text into one root. Not reusable.
class FormLoad {
 public:
  FormLoad(const std::string& file_name, TComponent& root)
      : file_(file_name), root_(root), setter_(file_name, fixups_) {}

  // Builds everything; on any exception undoes what it did and rethrows.
  void Run(const FormObject& ast, bool root_existed) {
    for (int i = 0; i < root_.ComponentCount(); ++i) existing_.insert(root_.Components(i));
    IndexNames();
    try {
      LoadRoot(ast, root_existed);
      for (const FormObject& child : ast.children) LoadObject(child, &root_);
      // Objects' constructors may have added components of their own: the
      // references may name those too.
      IndexNames();
      for (const FormFixup& f : fixups_) Resolve(f);
      // Loaded runs an object's own start-up (the install component reads the
      // command line there): its failure is no fault at a place in the text,
      // so its exception passes on as the object raised it, after the rollback.
      for (auto& entry : loading_) entry.first->Loaded();
    } catch (...) {
      Rollback();
      throw;
    }
  }

 private:
  [[noreturn]] void Fail(FormPos pos, std::string reason) const {
    throw EFormError(file_, pos.line, pos.column, std::move(reason));
  }

  // Runs `action`, turning an object's own exception into an EFormError at
  // `pos` (its message as the reason).
  template <class F>
  void Guard(FormPos pos, std::string_view format, TComponent* c, F action) {
    try {
      action();
    } catch (const EFormError&) {
      throw;
    } catch (const Exception& e) {
      Fail(pos, Format(format, c->Name().empty() ? c->ClassName() : c->Name(), e.Message()));
    }
  }

  void IndexNames() {
    names_.clear();
    for (int i = 0; i < root_.ComponentCount(); ++i) {
      TComponent* c = root_.Components(i);
      if (!c->Name().empty()) names_.emplace(Lower(c->Name()), c);
    }
  }

  static bool IsOfClass(const TComponent& c, const std::string& class_name) {
    if (SameText(c.ClassName(), class_name)) return true;
    const TClassInfo* cls = TClassInfo::Find(class_name);
    return cls && c.InheritsFrom(*cls);
  }

  void LoadRoot(const FormObject& ast, bool root_existed) {
    if (root_existed) {
      if (!IsOfClass(root_, ast.class_name))
        Fail(ast.class_pos, Format("The root object is a %s, not a %s", root_.ClassName(), ast.class_name));
      Touch(root_);
    }
    if (!ast.name.empty() && ast.name != root_.Name())
      Guard(ast.name_pos, "Cannot name %s: %s", &root_, [&] { root_.SetName(ast.name); });
    Begin(root_, ast.pos);
    setter_.SetAll(root_, ast.properties);
  }

  void LoadObject(const FormObject& obj, TComponent* parent) {
    TComponent* c = obj.header == FormObject::Header::Inherited ? FindAncestor(obj) : Create(obj, parent);
    Begin(*c, obj.pos);
    setter_.SetAll(*c, obj.properties);
    for (const FormObject& child : obj.children) LoadObject(child, c);
  }

  // An "inherited" object: a component the root had before this load.
  TComponent* FindAncestor(const FormObject& obj) {
    if (obj.name.empty()) Fail(obj.class_pos, "An inherited object needs the name of an existing component");
    auto it = names_.find(Lower(obj.name));
    if (it == names_.end() || !existing_.count(it->second))
      Fail(obj.name_pos, Format("No existing component %s to inherit", obj.name));
    TComponent* c = it->second;
    if (!IsOfClass(*c, obj.class_name))
      Fail(obj.class_pos, Format("Component %s is a %s, not a %s", obj.name, c->ClassName(), obj.class_name));
    Touch(*c);
    return c;
  }

  TComponent* Create(const FormObject& obj, TComponent* parent) {
    const TClassInfo* cls = TClassInfo::Find(obj.class_name);
    if (!cls) Fail(obj.class_pos, Format("Class %s not found", obj.class_name));
    if (!cls->InheritsFrom(TComponent::StaticClass()) || !cls->CanCreate())
      Fail(obj.class_pos, Format("Class %s is not a component that can be created", cls->Name()));
    std::string key = Lower(obj.name);
    if (!obj.name.empty() && names_.count(key))
      Fail(obj.name_pos, Format("A component named %s already exists", obj.name));

    ComponentPtr<> made;
    try {
      made = cls->Create(&root_);
    } catch (const Exception& e) {
      Fail(obj.class_pos, Format("Cannot create %s: %s", cls->Name(), e.Message()));
    }
    if (!obj.name.empty()) Guard(obj.name_pos, "Cannot name %s: %s", made.get(), [&] { made->SetName(obj.name); });
    TComponent* c = root_.InsertComponent(std::move(made));
    if (!obj.name.empty()) names_.emplace(std::move(key), c);
    Guard(obj.pos, "Cannot place %s: %s", c, [&] { c->SetParentComponent(parent); });
    return c;
  }

  void Begin(TComponent& c, FormPos pos) {
    c.BeginLoading();
    loading_.emplace_back(&c, pos);
  }

  // An existing object is about to change: remember how it was.
  void Touch(TComponent& c) { touched_.emplace_back(&c, PropertySnapshot::Take(c)); }

  TComponent* Lookup(std::string_view name) const {
    std::vector<std::string_view> parts = SplitDots(name);
    size_t i = 0;
    if (parts.size() > 1 && SameText(parts[0], root_.Name())) i = 1;  // "Root.Button1"
    TComponent* c = nullptr;
    if (auto it = names_.find(Lower(parts[i])); it != names_.end()) c = it->second;
    else if (parts.size() == 1 && SameText(parts[0], root_.Name())) c = &root_;
    for (++i; c && i < parts.size(); ++i) c = c->FindComponent(parts[i]);  // "Frame1.Button1"
    return c;
  }

  void Resolve(const FormFixup& f) {
    const FormValue& v = *f.value;
    auto set = [&](auto&& action) {
      try {
        action();
      } catch (const Exception& e) {
        Fail(v.pos, Format("Cannot set %s: %s", f.path, e.Message()));
      }
    };
    if (f.prop->kind == TTypeKind::Component) {
      if (SameText(v.text, "nil")) return set([&] { f.prop->set_component(*f.instance, nullptr); });
      TComponent* target = Lookup(v.text);
      if (!target) Fail(v.pos, Format("Component %s not found", v.text));
      const TClassInfo& declared = f.prop->class_info();
      if (!target->InheritsFrom(declared))
        Fail(v.pos, Format("Component %s is a %s, but %s needs a %s", v.text, target->ClassName(), f.path,
                           declared.Name()));
      return set([&] { f.prop->set_component(*f.instance, target); });
    }
    if (SameText(v.text, "nil")) return set([&] { f.prop->clear_method(*f.instance); });
    const std::any* handler = v.text.find('.') == std::string::npos ? root_.MethodAddress(v.text) : nullptr;
    if (!handler) Fail(v.pos, Format("Event handler %s does not exist in %s", v.text, root_.ClassName()));
    bool bound = false;
    set([&] { bound = f.prop->set_method(*f.instance, *handler, v.text); });
    if (!bound) Fail(v.pos, Format("Event handler %s does not match the parameters of %s", v.text, f.path));
  }

  void Rollback() noexcept {
    // Free what this load added to the root, last first. A component's end
    // may free others with it, so look for the last new one every time.
    for (;;) {
      TComponent* added = nullptr;
      for (int i = root_.ComponentCount() - 1; i >= 0 && !added; --i)
        if (!existing_.count(root_.Components(i))) added = root_.Components(i);
      if (!added) break;
      try {
        added->Free();
      } catch (...) {
        // Free only fails for an unowned component; this one is owned.
      }
    }
    for (auto it = touched_.rbegin(); it != touched_.rend(); ++it) {
      it->second.Restore(*it->first);
      it->first->CancelLoading();
    }
  }

  const std::string& file_;
  TComponent& root_;
  std::vector<FormFixup> fixups_;
  FormPropertySetter setter_;
  std::unordered_set<TComponent*> existing_;                 // the root's components before the load
  std::unordered_map<std::string, TComponent*> names_;        // lower-case name -> component of the root
  std::vector<std::pair<TComponent*, FormPos>> loading_;      // creation order, for Loaded
  std::vector<std::pair<TComponent*, PropertySnapshot>> touched_;  // existing objects the text changes
};

}  // namespace

ComponentPtr<> ReadComponentFromText(std::string_view text, const std::string& file_name) {
  FormObject ast = ParseFormText(text, file_name);
  const TClassInfo* cls = TClassInfo::Find(ast.class_name);
  if (!cls) {
    throw EFormError(file_name, ast.class_pos.line, ast.class_pos.column,
                     Format("Class %s not found", ast.class_name));
  }
  if (!cls->InheritsFrom(TComponent::StaticClass()) || !cls->CanCreate()) {
    throw EFormError(file_name, ast.class_pos.line, ast.class_pos.column,
                     Format("Class %s is not a component that can be created", cls->Name()));
  }
  ComponentPtr<> root;
  try {
    root = cls->Create(nullptr);
  } catch (const Exception& e) {
    throw EFormError(file_name, ast.class_pos.line, ast.class_pos.column,
                     Format("Cannot create %s: %s", cls->Name(), e.Message()));
  }
  FormLoad(file_name, *root).Run(ast, false);
  return root;
}

void ReadRootComponentFromText(std::string_view text, const std::string& file_name, TComponent& root) {
  FormObject ast = ParseFormText(text, file_name);
  FormLoad(file_name, root).Run(ast, true);
}

}  // namespace wenmoor
