#include "net/http_response.h"

#include <algorithm>

namespace wenmoor {
namespace {

constexpr size_t kNotFoundProbeChars = 30;

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

// A decimal number of at most 18 digits (so it cannot overflow); -1 for
// anything else.
int64_t ParseDecimal(std::string_view s) {
  if (s.empty() || s.size() > 18) return -1;
  int64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v;
}

}  // namespace

int64_t ParseContentLength(std::string_view value) {
  return std::max<int64_t>(ParseDecimal(TrimBlanks(value)), 0);
}

bool LooksLikeNotFoundPage(const char* block, size_t size) {
  std::string_view probe(block, std::min(size, kNotFoundProbeChars));
  probe = probe.substr(0, probe.find('\0'));
  // Upper-casing cannot create or remove digits, so "404" is sought as is.
  return probe.find("404") != std::string_view::npos;
}

bool IsFailureStatus(std::string_view status_code) {
  const int64_t code = ParseDecimal(TrimBlanks(status_code));
  return code >= 300;
}

}  // namespace wenmoor
