#include "translation/language_text.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"

namespace wenmoor {
namespace {

constexpr std::string_view kNoGlid = "The %d'th string (%s) does not have the proper format of GLID;Text";
constexpr std::string_view kBadGlid = "The %d'th string (%s) does not have the proper format of GLID;Text or .GLID;";
constexpr std::string_view kStrayEnd = "Found the end of memo marker # at line %d. Was not in a memo however";

// A GLID in decimal notation with an optional sign; nullopt when `s` is
// anything else or does not fit in 32 bits.
std::optional<int32_t> ParseGlid(std::string_view s) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  int32_t v = 0;
  const char* end = s.data() + s.size();
  auto [p, ec] = std::from_chars(s.data(), end, v);
  if (s.empty() || ec != std::errc() || p != end) return std::nullopt;
  return v;
}

// The GLID in `head`, or the error of line `index`.
int32_t GlidOf(std::string_view head, int index, const std::string& line) {
  if (head.empty()) throw Exception(kNoGlid, index, line);
  std::optional<int32_t> glid = ParseGlid(head);
  if (!glid) throw Exception(kBadGlid, index, line);
  return *glid;
}

// The first `max` characters of a UTF-8 text (a continuation byte does not
// start a character, so no character is split).
std::string Cut(std::string_view text, size_t max) {
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (chars++ == max) return std::string(text.substr(0, i));
  }
  return std::string(text);
}

}  // namespace

ParsedLanguageText ParseLanguageText(const std::vector<std::string>& lines) {
  ParsedLanguageText out;
  std::optional<ParsedLanguageMemo> memo;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int index = static_cast<int>(i);
    const std::string line = Trim(lines[i]);
    if (line.empty()) continue;
    if (line == "#") {
      if (!memo) throw Exception(kStrayEnd, index);
      out.memos.push_back(std::move(*memo));
      memo.reset();
      continue;
    }
    if (line.front() == '*') continue;
    if (memo) {
      memo->lines.push_back(line);
      continue;
    }
    const std::string_view view(line);
    const size_t semi = view.find(';');
    const std::string_view head = view.substr(0, semi);
    if (line.front() == '#') {
      memo = ParsedLanguageMemo{GlidOf(head.substr(1), index, line), index, {}};
      continue;
    }
    const int32_t glid = GlidOf(head, index, line);
    std::string_view text;
    if (semi != std::string_view::npos) {
      text = view.substr(semi + 1);
      text = text.substr(0, text.find(';'));
    }
    if (Trim(text).empty()) throw Exception(kNoGlid, index, line);
    out.strings.push_back({glid, index, Cut(text, kMaxTextLength)});
  }
  return out;
}

}  // namespace wenmoor
