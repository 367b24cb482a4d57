#include "platform/ui/text_metrics.h"

#include <algorithm>

namespace wenmoor {
namespace {

// Code points of a UTF-8 string: every byte that does not continue a
// sequence starts one. Malformed input is still counted, never rejected.
int CodePoints(std::string_view s) {
  int n = 0;
  for (char c : s)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t i = 0;
  while (true) {
    size_t j = text.find_first_of("\r\n", i);
    if (j == std::string_view::npos) {
      lines.push_back(text.substr(i));
      return lines;
    }
    lines.push_back(text.substr(i, j - i));
    if (text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') ++j;
    i = j + 1;
  }
}

int LineWidth(const TFont& font, std::string_view line) {
  int n = CodePoints(line);
  int w = n * ApproxCharWidth(font);
  if (font.Style().Contains(fsBold)) w += n / 10;
  return w;
}

// The byte length of the longest prefix of `s` with at most `n` code points.
size_t PrefixBytes(std::string_view s, int n) {
  size_t i = 0;
  int count = 0;
  while (i < s.size()) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
      if (count == n) break;
      ++count;
    }
    ++i;
  }
  return i;
}

}  // namespace

int ApproxCharWidth(const TFont& font) { return std::max(1, (font.PixelHeight() * 5 + 5) / 11); }

int ApproxLineHeight(const TFont& font) {
  int h = font.PixelHeight();
  return h + h / 4 + 1;
}

TSize ApproxTextExtent(const TFont& font, std::string_view text) {
  TSize size;
  std::vector<std::string_view> lines = SplitLines(text);
  for (std::string_view line : lines) size.cx = std::max(size.cx, LineWidth(font, line));
  size.cy = static_cast<int>(lines.size()) * ApproxLineHeight(font);
  return size;
}

std::vector<std::string> ApproxWrapText(const TFont& font, std::string_view text, int width) {
  std::vector<std::string> out;
  for (std::string_view line : SplitLines(text)) {
    if (width <= 0 || LineWidth(font, line) <= width) {
      out.emplace_back(line);
      continue;
    }
    int per_line = std::max(1, width / ApproxCharWidth(font));
    while (!line.empty()) {
      if (CodePoints(line) <= per_line) {
        out.emplace_back(line);
        break;
      }
      size_t cut = PrefixBytes(line, per_line);
      // Break at the last blank that fits, when there is one; the blank
      // itself belongs to neither line.
      size_t blank = line.substr(0, cut + 1).find_last_of(' ');
      if (blank != std::string_view::npos && blank > 0) {
        out.emplace_back(line.substr(0, blank));
        line.remove_prefix(blank + 1);
      } else {
        out.emplace_back(line.substr(0, cut));
        line.remove_prefix(cut);
      }
    }
  }
  return out;
}

}  // namespace wenmoor
