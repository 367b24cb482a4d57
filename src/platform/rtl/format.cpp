#include "platform/rtl/format.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace wenmoor {
namespace {

struct Conversion {
  bool left = false;
  int width = -1;
  int precision = -1;
  char type = 0;  // lower-case conversion letter
};

std::string ToDecimal(const FormatArg::Value& v) {
  if (auto* i = std::get_if<int64_t>(&v)) return std::to_string(*i);
  if (auto* u = std::get_if<uint64_t>(&v)) return std::to_string(*u);
  if (auto* d = std::get_if<double>(&v)) return std::to_string(static_cast<int64_t>(*d));
  return std::string(std::get<std::string_view>(v));
}

std::string ToHex(const FormatArg::Value& v) {
  char buf[32];
  if (auto* i = std::get_if<int64_t>(&v)) {
    // Delphi prints negative 32-bit integers as their 32-bit pattern.
    uint64_t bits = (*i >= INT32_MIN && *i <= INT32_MAX) ? static_cast<uint32_t>(*i) : static_cast<uint64_t>(*i);
    std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(bits));
    return buf;
  }
  if (auto* u = std::get_if<uint64_t>(&v)) {
    std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(*u));
    return buf;
  }
  return ToDecimal(v);
}

std::string ToFloat(const FormatArg::Value& v, char type, int precision) {
  double d = 0;
  if (auto* i = std::get_if<int64_t>(&v)) d = static_cast<double>(*i);
  else if (auto* u = std::get_if<uint64_t>(&v)) d = static_cast<double>(*u);
  else if (auto* f = std::get_if<double>(&v)) d = *f;
  else return std::string(std::get<std::string_view>(v));
  char buf[512];
  switch (type) {
    case 'e': std::snprintf(buf, sizeof buf, "%.*E", precision < 0 ? 15 : precision, d); break;
    case 'g': std::snprintf(buf, sizeof buf, "%.*G", precision < 0 ? 15 : precision, d); break;
    case 'n': {  // fixed with thousands separators
      std::snprintf(buf, sizeof buf, "%.*f", precision < 0 ? 2 : precision, d);
      std::string_view s = buf;
      size_t dot = s.find('.');
      size_t end = dot == std::string::npos ? s.size() : dot;
      size_t start = (s[0] == '-') ? 1 : 0;
      std::string grouped(s.substr(0, start));
      for (size_t i = start; i < end; ++i) {
        if (i > start && (end - i) % 3 == 0) grouped.push_back(',');
        grouped.push_back(s[i]);
      }
      grouped.append(s.substr(end));
      return grouped;
    }
    default: std::snprintf(buf, sizeof buf, "%.*f", precision < 0 ? 2 : precision, d); break;
  }
  return buf;
}

// Applies precision to an integer rendering: at least `precision` digits.
std::string PadDigits(std::string s, int precision) {
  if (precision < 0) return s;
  bool neg = !s.empty() && s[0] == '-';
  size_t digits = s.size() - (neg ? 1 : 0);
  if (digits >= static_cast<size_t>(precision)) return s;
  std::string out(neg ? "-" : "");
  out.append(static_cast<size_t>(precision) - digits, '0');
  out.append(s, neg ? 1 : 0, std::string::npos);
  return out;
}

std::string Render(const Conversion& conv, const FormatArg::Value& v) {
  std::string out;
  const bool numeric = !std::holds_alternative<std::string_view>(v);
  switch (conv.type) {
    case 'd':
    case 'u':
      out = numeric ? PadDigits(ToDecimal(v), conv.precision) : ToDecimal(v);
      break;
    case 'x':
      out = numeric ? PadDigits(ToHex(v), conv.precision) : ToDecimal(v);
      break;
    case 'e':
    case 'f':
    case 'g':
    case 'n':
    case 'm':
      out = ToFloat(v, conv.type == 'm' ? 'f' : conv.type, conv.precision);
      break;
    case 'p':
      out = ToHex(v);
      out = std::string(out.size() < 8 ? 8 - out.size() : 0, '0') + out;
      break;
    default:  // 's'
      out = ToDecimal(v);
      if (!numeric && conv.precision >= 0 && out.size() > static_cast<size_t>(conv.precision))
        out.resize(static_cast<size_t>(conv.precision));
      break;
  }
  if (conv.width > 0 && out.size() < static_cast<size_t>(conv.width)) {
    size_t pad = static_cast<size_t>(conv.width) - out.size();
    if (conv.left) out.append(pad, ' ');
    else out = std::string(pad, ' ') + out;
  }
  return out;
}

// Reads a run of digits; returns -1 when there is none. Caps absurd values so
// that a width of 2^31 in a format cannot make us allocate gigabytes.
int ReadNumber(std::string_view f, size_t& i) {
  size_t start = i;
  int n = 0;
  while (i < f.size() && f[i] >= '0' && f[i] <= '9') {
    if (n < 100000) n = n * 10 + (f[i] - '0');
    ++i;
  }
  if (i == start) return -1;
  return n > 4096 ? 4096 : n;
}

}  // namespace

std::string VFormat(std::string_view f, std::initializer_list<FormatArg> init) {
  std::vector<const FormatArg*> args;
  args.reserve(init.size());
  for (const FormatArg& a : init) args.push_back(&a);

  std::string out;
  out.reserve(f.size() + 32);
  size_t next_arg = 0;
  size_t i = 0;
  while (i < f.size()) {
    char c = f[i];
    if (c != '%') {
      out.push_back(c);
      ++i;
      continue;
    }
    size_t start = i++;
    if (i < f.size() && f[i] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    Conversion conv;
    size_t save = i;
    int n = ReadNumber(f, i);
    size_t index = next_arg;
    if (n >= 0 && i < f.size() && f[i] == ':') {
      index = static_cast<size_t>(n);
      ++i;
    } else {
      i = save;
    }
    if (i < f.size() && f[i] == '-') {
      conv.left = true;
      ++i;
    }
    conv.width = ReadNumber(f, i);
    if (i < f.size() && f[i] == '.') {
      ++i;
      conv.precision = ReadNumber(f, i);
      if (conv.precision < 0) conv.precision = 0;
    }
    if (i >= f.size()) {  // unterminated specifier: keep it as text
      out.append(f.substr(start));
      break;
    }
    char t = static_cast<char>(f[i] | 0x20);
    ++i;
    if (std::string_view("dusxefgnmp").find(t) == std::string_view::npos) {
      out.append(f.substr(start, i - start));
      continue;
    }
    conv.type = t;
    if (index >= args.size()) {  // no argument for it: keep the specifier visible
      out.append(f.substr(start, i - start));
      next_arg = index + 1;
      continue;
    }
    out += Render(conv, args[index]->value());
    next_arg = index + 1;
  }
  return out;
}

}  // namespace wenmoor
