// Run-time type information for enumerations and sets, so that the script
// loader, the writer and the translator can turn identifiers into values.
//
//   enum TInstallType : uint8_t { itFull, itDefault, itCompact, itCustom };
//   WENMOOR_ENUM(TInstallType, itFull, itDefault, itCompact, itCustom)
//   using TInstallTypeSet = TSet<TInstallType>;
//
// WENMOOR_ENUM must list every enumerator in ordinal order, starting at 0,
// and stand in the namespace of the enumeration.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace wenmoor {

bool SameText(std::string_view a, std::string_view b);

// Names of one enumeration's values, in ordinal order.
class EnumInfo {
 public:
  EnumInfo(std::string_view type_name, std::string_view comma_separated_names);
  const std::string& TypeName() const { return type_name_; }
  int Count() const { return static_cast<int>(names_.size()); }
  const std::string& Name(int ordinal) const;  // "" out of range
  int ValueOf(std::string_view ident) const;   // -1 when unknown; case-insensitive

 private:
  std::string type_name_;
  std::vector<std::string> names_;
};

// Specialised by WENMOOR_ENUM; found by argument-dependent lookup through
// the tag function below.
template <class E>
struct EnumTag {};

#define WENMOOR_ENUM(E, ...)                                                  \
  inline const ::wenmoor::EnumInfo& WenmoorEnumInfo(::wenmoor::EnumTag<E>) { \
    static const ::wenmoor::EnumInfo info(#E, #__VA_ARGS__);                 \
    return info;                                                              \
  }

template <class E>
concept RegisteredEnum = requires { { WenmoorEnumInfo(EnumTag<E>{}) } -> std::same_as<const EnumInfo&>; };

template <RegisteredEnum E>
const EnumInfo& EnumInfoOf() {
  return WenmoorEnumInfo(EnumTag<E>{});
}

// A Delphi set of up to 64 elements of an enumeration.
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) bits_ |= Bit(e);
  }
  static constexpr TSet FromBits(uint64_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }
  constexpr uint64_t Bits() const { return bits_; }
  constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TSet& Include(E e) {
    bits_ |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    bits_ &= ~Bit(e);
    return *this;
  }
  constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
  constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
  constexpr TSet operator*(TSet o) const { return FromBits(bits_ & o.bits_); }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr uint64_t Bit(E e) { return uint64_t{1} << static_cast<unsigned>(e); }
  uint64_t bits_ = 0;
};

template <class T>
struct IsTSet : std::false_type {};
template <class E>
struct IsTSet<TSet<E>> : std::true_type {
  using Element = E;
};

}  // namespace wenmoor
