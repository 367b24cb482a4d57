// Approximate text metrics for places without a real font engine: the
// headless backend and the memory canvas.
//
// Every character (a UTF-8 code point) is taken as wide as the font's
// average character: 5/11 of its pixel height, rounded, at least 1 (MS Sans
// Serif and Arial at 8 points average 5 pixels); bold adds one pixel per
// ten characters. A line is the pixel height plus a quarter, plus one
// (14 pixels at 8 points). The numbers are stable, so that layouts computed
// from them can be asserted in tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/font.h"
#include "platform/ui/graphics.h"

namespace wenmoor {

int ApproxCharWidth(const TFont& font);
int ApproxLineHeight(const TFont& font);
// The extent of `text`; line breaks (CR LF, LF or CR) start new lines.
TSize ApproxTextExtent(const TFont& font, std::string_view text);
// `text` broken into lines no wider than `width` pixels, at blanks where
// possible (a word longer than a line is broken inside); existing line
// breaks are kept. A width of 0 or less breaks only at line breaks.
std::vector<std::string> ApproxWrapText(const TFont& font, std::string_view text, int width);

}  // namespace wenmoor
