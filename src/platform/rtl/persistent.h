// TObject and TPersistent, the class registry, and published properties.
//
// Every class that the install script may name, or whose properties the
// loader, writer or translator walk, is described once in its .cpp:
//
//   // header, first line of the class body:
//   WENMOOR_CLASS(TInstallDirectory, TFileContainer)
//
//   // source:
//   WENMOOR_REGISTER_CLASS(TInstallDirectory) {
//     c.Prop("DestDir", &TInstallDirectory::DestDir, &TInstallDirectory::SetDestDir);
//     c.Prop("Include", &T::Include, &T::SetInclude).Default(true);
//     c.Object("Information", &T::Information);
//     c.Event("OnBeforeProcess", &T::OnBeforeProcess);
//   }
//
// A class is registered (findable by name, creatable by the loader when it is
// a component with a constructor taking the owner) as soon as the library is
// loaded; the library is therefore linked whole.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/rtl/events.h"
#include "platform/rtl/typeinfo.h"

namespace wenmoor {

class TObject;
class TPersistent;
class TComponent;
class TClassInfo;
struct ComponentDeleter {
  void operator()(TComponent* c) const noexcept;
};
template <class T = TComponent>
using ComponentPtr = std::unique_ptr<T, ComponentDeleter>;

#define WENMOOR_CLASS(Name, Parent)                                                 \
 public:                                                                            \
  using inherited = Parent;                                                         \
  static const ::wenmoor::TClassInfo& StaticClass();                                \
  const ::wenmoor::TClassInfo& ClassType() const override { return StaticClass(); } \
                                                                                    \
 private:

// Kinds of published properties, as the script stores them.
enum class TTypeKind {
  Integer,      // 123, -4
  Boolean,      // True / False
  Enumeration,  // an identifier of the enumeration
  Set,          // [a, b]
  Float,        // 1.5
  String,       // 'text'
  Class,        // an owned sub-object: its own properties as Name.Sub, a collection, or string list
  Component,    // a reference to another component, by name
  Method,       // an event handler, by name
  Lines,        // a defined list of strings: ( 'a' 'b' )
  Binary,       // defined binary data: { 0A0B }
};

// Names for some values of an integer property, as Delphi's colour and
// character-set constants (clBtnFace, DEFAULT_CHARSET): the loader accepts
// the name where a number is expected, the writer writes the name.
class IntIdents {
 public:
  IntIdents(std::initializer_list<std::pair<const char*, int64_t>> names);
  // The value of `ident` (case-insensitive); nullopt when unknown.
  std::optional<int64_t> ValueOf(std::string_view ident) const;
  // The first name of `value`; nullptr when it has none.
  const char* NameOf(int64_t value) const;

 private:
  std::vector<std::pair<const char*, int64_t>> names_;
};

class TPropInfo {
 public:
  std::string name;
  TTypeKind kind = TTypeKind::Integer;
  const EnumInfo* enum_info = nullptr;                // Enumeration, Set
  const TClassInfo& (*class_info)() = nullptr;        // Class, Component: the declared class
  bool read_only = false;
  int64_t min_ordinal = INT64_MIN;  // Integer: the range of the property's type,
  int64_t max_ordinal = INT64_MAX;  // so that a loader refuses what would not fit
  const IntIdents* int_idents = nullptr;  // Integer: names of some values (static lifetime)

  std::function<int64_t(const TPersistent&)> get_ordinal;  // Integer, Boolean, Enumeration, Set (bits)
  std::function<void(TPersistent&, int64_t)> set_ordinal;
  std::function<double(const TPersistent&)> get_float;
  std::function<void(TPersistent&, double)> set_float;
  std::function<std::string(const TPersistent&)> get_string;
  std::function<void(TPersistent&, const std::string&)> set_string;
  std::function<TPersistent*(const TPersistent&)> get_object;  // Class: the sub-object; Component: the reference
  std::function<void(TPersistent&, TComponent*)> set_component;
  std::function<std::string(const TPersistent&)> get_method_name;
  // The bound handler (a std::function of the event's parameters, possibly
  // empty, in a std::any): what set_method takes back.
  std::function<std::any(const TPersistent&)> get_method;
  // Binds a published handler (a std::function held in a std::any); false
  // when the handler's parameters do not match the event's.
  std::function<bool(TPersistent&, const std::any& handler, const std::string& name)> set_method;
  std::function<void(TPersistent&)> clear_method;
  std::function<std::vector<std::string>(const TPersistent&)> get_lines;
  std::function<void(TPersistent&, const std::vector<std::string>&)> set_lines;
  std::function<std::vector<uint8_t>(const TPersistent&)> get_binary;
  std::function<void(TPersistent&, const std::vector<uint8_t>&)> set_binary;

  std::optional<int64_t> default_ordinal;        // ordinal kinds: not written when equal
  std::function<bool(const TPersistent&)> stored;  // null: stored

  // Whether the writer stores the property of this instance.
  bool IsStored(const TPersistent& instance) const;
  // A published property (as opposed to defined data such as Strings/Data).
  bool IsPublished() const { return kind != TTypeKind::Lines && kind != TTypeKind::Binary; }
};

class TClassInfo {
 public:
  using Factory = std::function<ComponentPtr<>(TComponent* owner)>;

  TClassInfo(std::string name, const TClassInfo* parent);
  const std::string& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  bool InheritsFrom(const TClassInfo& other) const;

  // The property of this name, declared here or by an ancestor
  // (case-insensitive); a redeclaration in a descendant wins.
  const TPropInfo* FindProperty(std::string_view name) const;
  // All properties, ancestors' first, in declaration order, with
  // redeclarations taking the place of what they redeclare.
  std::vector<const TPropInfo*> Properties() const;

  bool CanCreate() const { return static_cast<bool>(factory_); }
  // Creates an instance (a component constructed with `owner`; the caller
  // inserts it into the owner). Raises EComponentError when the class is abstract.
  ComponentPtr<> Create(TComponent* owner) const;

  // Registered classes by name (case-insensitive); null when unknown.
  static const TClassInfo* Find(std::string_view name);
  static std::vector<const TClassInfo*> All();

  // Used by registration.
  TPropInfo& AddProperty(TPropInfo info);
  void SetFactory(Factory f) { factory_ = std::move(f); }
  static TClassInfo& Register(std::unique_ptr<TClassInfo> info);

 private:
  std::string name_;
  const TClassInfo* parent_;
  std::vector<TPropInfo> props_;
  Factory factory_;
};

class TObject {
 public:
  virtual ~TObject() = default;
  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassType().Name(); }
  bool InheritsFrom(const TClassInfo& c) const { return ClassType().InheritsFrom(c); }
};

class TPersistent : public TObject {
  WENMOOR_CLASS(TPersistent, TObject)
 public:
  // Copies the state of `source`. The base asks the source to AssignTo this
  // object and raises EConvertError "Cannot assign a %s to a %s" when neither
  // side knows how.
  virtual void Assign(const TPersistent& source);

 protected:
  virtual void AssignTo(TPersistent& dest) const;
};

// Builder handed to the body of WENMOOR_REGISTER_CLASS.
class PropBuilder {
 public:
  explicit PropBuilder(TPropInfo& p) : p_(p) {}
  template <class V>
  PropBuilder& Default(V v) {
    if constexpr (IsTSet<V>::value) p_.default_ordinal = static_cast<int64_t>(v.Bits());
    else p_.default_ordinal = static_cast<int64_t>(v);
    return *this;
  }
  // Names for values of an integer property; `idents` must live as long as
  // the program (a static table).
  PropBuilder& Idents(const IntIdents& idents) {
    p_.int_idents = &idents;
    return *this;
  }
  PropBuilder& NoDefault() {
    p_.default_ordinal.reset();
    return *this;
  }
  PropBuilder& Stored(bool stored) {
    p_.stored = [stored](const TPersistent&) { return stored; };
    return *this;
  }
  template <class T>
  PropBuilder& Stored(bool (T::*pred)() const) {
    p_.stored = [pred](const TPersistent& o) { return (static_cast<const T&>(o).*pred)(); };
    return *this;
  }

 private:
  TPropInfo& p_;
};

template <class T>
class ClassBuilder {
 public:
  explicit ClassBuilder(TClassInfo& info) : info_(info) {}

  // A value property: getter `R (T::*)() const`, setter `void (T::*)(S)`,
  // where R and S are (references to) bool, an integer, a floating type, a
  // registered enumeration, a TSet, std::string, or a pointer to a component.
  template <class R, class S, class B1, class B2>
    requires(std::is_base_of_v<B1, T> && std::is_base_of_v<B2, T>)
  PropBuilder Prop(std::string name, R (B1::*get)() const, void (B2::*set)(S)) {
    using V = std::remove_cvref_t<R>;
    TPropInfo p;
    p.name = std::move(name);
    if constexpr (std::is_same_v<V, bool>) {
      p.kind = TTypeKind::Boolean;
      p.get_ordinal = [get](const TPersistent& o) -> int64_t { return (Self(o).*get)() ? 1 : 0; };
      if (set) p.set_ordinal = [set](TPersistent& o, int64_t v) { (Self(o).*set)(v != 0); };
    } else if constexpr (std::is_enum_v<V>) {
      p.kind = TTypeKind::Enumeration;
      p.enum_info = &EnumInfoOf<V>();
      p.get_ordinal = [get](const TPersistent& o) -> int64_t { return static_cast<int64_t>((Self(o).*get)()); };
      if (set) p.set_ordinal = [set](TPersistent& o, int64_t v) { (Self(o).*set)(static_cast<V>(v)); };
    } else if constexpr (IsTSet<V>::value) {
      p.kind = TTypeKind::Set;
      p.enum_info = &EnumInfoOf<typename IsTSet<V>::Element>();
      p.get_ordinal = [get](const TPersistent& o) -> int64_t { return static_cast<int64_t>((Self(o).*get)().Bits()); };
      if (set)
        p.set_ordinal = [set](TPersistent& o, int64_t v) { (Self(o).*set)(V::FromBits(static_cast<uint64_t>(v))); };
    } else if constexpr (std::is_integral_v<V>) {
      p.kind = TTypeKind::Integer;
      p.min_ordinal = static_cast<int64_t>(std::numeric_limits<V>::min());
      if constexpr (std::is_unsigned_v<V> && sizeof(V) >= sizeof(int64_t)) p.max_ordinal = INT64_MAX;
      else p.max_ordinal = static_cast<int64_t>(std::numeric_limits<V>::max());
      p.get_ordinal = [get](const TPersistent& o) -> int64_t { return static_cast<int64_t>((Self(o).*get)()); };
      if (set) p.set_ordinal = [set](TPersistent& o, int64_t v) { (Self(o).*set)(static_cast<V>(v)); };
    } else if constexpr (std::is_floating_point_v<V>) {
      p.kind = TTypeKind::Float;
      p.get_float = [get](const TPersistent& o) -> double { return static_cast<double>((Self(o).*get)()); };
      if (set) p.set_float = [set](TPersistent& o, double v) { (Self(o).*set)(static_cast<V>(v)); };
    } else if constexpr (std::is_same_v<V, std::string>) {
      p.kind = TTypeKind::String;
      p.get_string = [get](const TPersistent& o) -> std::string { return (Self(o).*get)(); };
      if (set) p.set_string = [set](TPersistent& o, const std::string& v) { (Self(o).*set)(v); };
    } else if constexpr (std::is_pointer_v<V> && std::is_base_of_v<TComponent, std::remove_pointer_t<V>>) {
      using C = std::remove_cv_t<std::remove_pointer_t<V>>;
      p.kind = TTypeKind::Component;
      p.class_info = &C::StaticClass;
      p.get_object = [get](const TPersistent& o) -> TPersistent* { return ToPersistent((Self(o).*get)()); };
      if (set)
        p.set_component = [set](TPersistent& o, TComponent* v) { (Self(o).*set)(v ? &dynamic_cast<C&>(*v) : nullptr); };
    } else {
      static_assert(sizeof(V) == 0, "unsupported property type");
    }
    p.read_only = !set;
    return PropBuilder(info_.AddProperty(std::move(p)));
  }

  // A read-only value property.
  template <class R, class B>
    requires std::is_base_of_v<B, T>
  PropBuilder Prop(std::string name, R (B::*get)() const) {
    return Prop(std::move(name), get, static_cast<void (B::*)(std::remove_cvref_t<R>)>(nullptr));
  }

  // An owned sub-object (a TPersistent such as a font, a string list or a
  // collection). The loader sets its properties in place.
  template <class O, class B>
    requires std::is_base_of_v<B, T>
  PropBuilder Object(std::string name, O* (B::*get)() const) {
    TPropInfo p;
    p.name = std::move(name);
    p.kind = TTypeKind::Class;
    p.class_info = &std::remove_cv_t<O>::StaticClass;
    p.get_object = [get](const TPersistent& o) -> TPersistent* { return (Self(o).*get)(); };
    return PropBuilder(info_.AddProperty(std::move(p)));
  }

  // An event, stored by the name of its handler.
  template <class B, class... A>
    requires std::is_base_of_v<B, T>
  PropBuilder Event(std::string name, TEvent<A...> B::*member) {
    TPropInfo p;
    p.name = std::move(name);
    p.kind = TTypeKind::Method;
    p.get_method_name = [member](const TPersistent& o) { return (Self(o).*member).Name(); };
    p.get_method = [member](const TPersistent& o) { return std::any((Self(o).*member).Function()); };
    p.set_method = [member](TPersistent& o, const std::any& handler, const std::string& hname) {
      auto* fn = std::any_cast<std::function<void(A...)>>(&handler);
      if (!fn) return false;
      (Self(o).*member).Assign(*fn, hname);
      return true;
    };
    p.clear_method = [member](TPersistent& o) { (Self(o).*member).Clear(); };
    return PropBuilder(info_.AddProperty(std::move(p)));
  }

  // Defined (unpublished) data: a list of strings, e.g. TStrings' "Strings".
  template <class B>
    requires std::is_base_of_v<B, T>
  PropBuilder Lines(std::string name, std::vector<std::string> (B::*get)() const,
                    void (B::*set)(const std::vector<std::string>&)) {
    TPropInfo p;
    p.name = std::move(name);
    p.kind = TTypeKind::Lines;
    p.get_lines = [get](const TPersistent& o) { return (Self(o).*get)(); };
    p.set_lines = [set](TPersistent& o, const std::vector<std::string>& v) { (Self(o).*set)(v); };
    return PropBuilder(info_.AddProperty(std::move(p)));
  }

  // Defined binary data, e.g. TPicture's "Data".
  template <class B>
    requires std::is_base_of_v<B, T>
  PropBuilder Binary(std::string name, std::vector<uint8_t> (B::*get)() const,
                     void (B::*set)(const std::vector<uint8_t>&)) {
    TPropInfo p;
    p.name = std::move(name);
    p.kind = TTypeKind::Binary;
    p.get_binary = [get](const TPersistent& o) { return (Self(o).*get)(); };
    p.set_binary = [set](TPersistent& o, const std::vector<uint8_t>& v) { (Self(o).*set)(v); };
    return PropBuilder(info_.AddProperty(std::move(p)));
  }

 private:
  static T& Self(TPersistent& o) { return static_cast<T&>(o); }
  static const T& Self(const TPersistent& o) { return static_cast<const T&>(o); }
  template <class C>
  static TPersistent* ToPersistent(C* c) {
    return const_cast<std::remove_cv_t<C>*>(c);
  }
  TClassInfo& info_;
};

namespace detail {
template <class T>
TClassInfo& RegisterClassInfo(const char* name, void (*describe)(ClassBuilder<T>&)) {
  auto info = std::make_unique<TClassInfo>(name, &T::inherited::StaticClass());
  if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*> && !std::is_abstract_v<T>) {
    info->SetFactory([](TComponent* owner) { return ComponentPtr<>(new T(owner)); });
  }
  ClassBuilder<T> builder(*info);
  describe(builder);
  return TClassInfo::Register(std::move(info));
}
}  // namespace detail

// Defines T::StaticClass() and registers T when the program starts. The
// braces that follow are the body of the description: `c` is the builder and
// `T` names the class.
#define WENMOOR_REGISTER_CLASS(Cls)                                                            \
  template <class T>                                                                           \
  static void WenmoorDescribe_##Cls(::wenmoor::ClassBuilder<T>& c);                            \
  const ::wenmoor::TClassInfo& Cls::StaticClass() {                                            \
    static const ::wenmoor::TClassInfo& info =                                                 \
        ::wenmoor::detail::RegisterClassInfo<Cls>(#Cls, &WenmoorDescribe_##Cls<Cls>);          \
    return info;                                                                               \
  }                                                                                            \
  [[maybe_unused]] static const bool wenmoor_registered_##Cls = (Cls::StaticClass(), true);    \
  template <class T>                                                                           \
  static void WenmoorDescribe_##Cls([[maybe_unused]] ::wenmoor::ClassBuilder<T>& c)

}  // namespace wenmoor
