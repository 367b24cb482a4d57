#include "platform/rtl/persistent.h"

#include <map>

#include "platform/rtl/component.h"
#include "platform/rtl/exceptions.h"

namespace wenmoor {
namespace {

struct CaseLess {
  bool operator()(const std::string& a, const std::string& b) const {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
      int x = std::tolower(static_cast<unsigned char>(a[i]));
      int y = std::tolower(static_cast<unsigned char>(b[i]));
      if (x != y) return x < y;
    }
    return a.size() < b.size();
  }
};

std::map<std::string, std::unique_ptr<TClassInfo>, CaseLess>& Registry() {
  static std::map<std::string, std::unique_ptr<TClassInfo>, CaseLess> registry;
  return registry;
}

}  // namespace

IntIdents::IntIdents(std::initializer_list<std::pair<const char*, int64_t>> names) : names_(names) {}

std::optional<int64_t> IntIdents::ValueOf(std::string_view ident) const {
  for (const auto& [name, value] : names_)
    if (SameText(name, ident)) return value;
  return std::nullopt;
}

const char* IntIdents::NameOf(int64_t value) const {
  for (const auto& [name, v] : names_)
    if (v == value) return name;
  return nullptr;
}

bool TPropInfo::IsStored(const TPersistent& instance) const {
  if (stored && !stored(instance)) return false;
  switch (kind) {
    case TTypeKind::Integer:
    case TTypeKind::Boolean:
    case TTypeKind::Enumeration:
    case TTypeKind::Set:
      return !default_ordinal || get_ordinal(instance) != *default_ordinal;
    case TTypeKind::Float:
      return get_float(instance) != 0.0;
    case TTypeKind::String:
      return !get_string(instance).empty();
    case TTypeKind::Component:
      return get_object(instance) != nullptr;
    case TTypeKind::Method:
      return !get_method_name(instance).empty();
    case TTypeKind::Lines:
      return !get_lines(instance).empty();
    case TTypeKind::Binary:
      return !get_binary(instance).empty();
    case TTypeKind::Class:
      return get_object(instance) != nullptr;
  }
  return true;
}

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent) : name_(std::move(name)), parent_(parent) {}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    if (c == &other) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TPropInfo& p : c->props_)
      if (SameText(p.name, name)) return &p;
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TPropInfo*> out = parent_ ? parent_->Properties() : std::vector<const TPropInfo*>{};
  for (const TPropInfo& p : props_) {
    bool replaced = false;
    for (auto& existing : out) {
      if (SameText(existing->name, p.name)) {
        existing = &p;
        replaced = true;
        break;
      }
    }
    if (!replaced) out.push_back(&p);
  }
  return out;
}

ComponentPtr<> TClassInfo::Create(TComponent* owner) const {
  if (!factory_) throw EComponentError("Cannot create an instance of the abstract class %s", name_);
  return factory_(owner);
}

const TClassInfo* TClassInfo::Find(std::string_view name) {
  auto& reg = Registry();
  auto it = reg.find(std::string(name));
  return it == reg.end() ? nullptr : it->second.get();
}

std::vector<const TClassInfo*> TClassInfo::All() {
  std::vector<const TClassInfo*> out;
  for (auto& [name, info] : Registry()) out.push_back(info.get());
  return out;
}

TPropInfo& TClassInfo::AddProperty(TPropInfo info) {
  props_.push_back(std::move(info));
  return props_.back();
}

TClassInfo& TClassInfo::Register(std::unique_ptr<TClassInfo> info) {
  auto& slot = Registry()[info->Name()];
  // Two classes of one name would make scripts ambiguous: a programming error.
  if (slot) throw EComponentError("Class %s is registered twice", info->Name());
  slot = std::move(info);
  return *slot;
}

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo& info = TClassInfo::Register(std::make_unique<TClassInfo>("TObject", nullptr));
  return info;
}

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError("Cannot assign a %s to a %s", ClassName(), dest.ClassName());
}

WENMOOR_REGISTER_CLASS(TPersistent) {}

}  // namespace wenmoor
