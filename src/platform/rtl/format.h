// Type-safe Delphi-style Format: "%s", "%d", "%x", "%u", "%f"/"%e"/"%g"/"%n",
// "%%", with optional index ("%1:s"), "-" (left-justify), width and
// precision ("%5.2f", "%.3d", "%*d" is not supported).
//
// The format is a template, never data: callers pass paths and names as
// arguments. A mismatch between a specifier and its argument never crashes
// and never throws: the argument is rendered as best fits (a string under %d
// is written as is, a number under %s in decimal); a specifier without an
// argument, or one that cannot be parsed, is copied to the output verbatim.
// That way an error message is always produced, even from a faulty format.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace wenmoor {

// One argument of Format, held by value (strings are viewed: the argument
// must outlive the Format call, which a call expression guarantees).
class FormatArg {
 public:
  template <class T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && std::is_signed_v<T>)
  FormatArg(T v) : value_(static_cast<int64_t>(v)) {}
  template <class T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && std::is_unsigned_v<T>)
  FormatArg(T v) : value_(static_cast<uint64_t>(v)) {}
  template <class T>
    requires std::is_enum_v<T>
  FormatArg(T v) : value_(static_cast<int64_t>(v)) {}
  FormatArg(bool v) : value_(static_cast<int64_t>(v ? 1 : 0)) {}
  FormatArg(double v) : value_(v) {}
  FormatArg(float v) : value_(static_cast<double>(v)) {}
  FormatArg(std::string_view v) : value_(v) {}
  FormatArg(const std::string& v) : value_(std::string_view(v)) {}
  FormatArg(const char* v) : value_(std::string_view(v ? v : "")) {}
  FormatArg(char v) : value_(std::string_view(&held_char_, 1)), held_char_(v) {}
  FormatArg(const FormatArg& o) : value_(o.value_), held_char_(o.held_char_) { FixChar(o); }

  using Value = std::variant<int64_t, uint64_t, double, std::string_view>;
  const Value& value() const { return value_; }

 private:
  void FixChar(const FormatArg& o) {
    if (auto* s = std::get_if<std::string_view>(&o.value_); s && s->data() == &o.held_char_)
      value_ = std::string_view(&held_char_, 1);
  }
  Value value_;
  char held_char_ = 0;
};

// The one compiled function behind Format.
std::string VFormat(std::string_view format, std::initializer_list<FormatArg> args);

template <class... Args>
std::string Format(std::string_view format, const Args&... args) {
  return VFormat(format, {FormatArg(args)...});
}

}  // namespace wenmoor
