#include "platform/ui/graphics.h"

#include <array>

namespace wenmoor {

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t num = static_cast<int64_t>(a) * b;
  int64_t den = c;
  if (den < 0) {
    num = -num;
    den = -den;
  }
  int64_t q = num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
  if (q > INT32_MAX || q < INT32_MIN) return -1;
  return static_cast<int>(q);
}

TColor ColorToRGB(TColor c) {
  if (c >= 0) return c;
  // The "Windows Standard" scheme of the classic look, by system colour
  // index; 25 is unused by Windows.
  static constexpr std::array<TColor, 31> kScheme = {
      RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
      RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
      RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
      RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
      RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 225),
      RGB(0, 0, 0),       RGB(0, 0, 128),     RGB(166, 202, 240), RGB(192, 192, 192), RGB(10, 36, 106),
      RGB(212, 208, 200)};
  auto index = static_cast<size_t>(c & 0xFF);
  return index < kScheme.size() ? kScheme[index] : clBlack;
}

const IntIdents& ColorIdents() {
  static const IntIdents idents = {
      {"clBlack", clBlack},
      {"clMaroon", clMaroon},
      {"clGreen", clGreen},
      {"clOlive", clOlive},
      {"clNavy", clNavy},
      {"clPurple", clPurple},
      {"clTeal", clTeal},
      {"clGray", clGray},
      {"clSilver", clSilver},
      {"clRed", clRed},
      {"clLime", clLime},
      {"clYellow", clYellow},
      {"clBlue", clBlue},
      {"clFuchsia", clFuchsia},
      {"clAqua", clAqua},
      {"clWhite", clWhite},
      {"clScrollBar", clScrollBar},
      {"clBackground", clBackground},
      {"clActiveCaption", clActiveCaption},
      {"clInactiveCaption", clInactiveCaption},
      {"clMenu", clMenu},
      {"clWindow", clWindow},
      {"clWindowFrame", clWindowFrame},
      {"clMenuText", clMenuText},
      {"clWindowText", clWindowText},
      {"clCaptionText", clCaptionText},
      {"clActiveBorder", clActiveBorder},
      {"clInactiveBorder", clInactiveBorder},
      {"clAppWorkSpace", clAppWorkSpace},
      {"clHighlight", clHighlight},
      {"clHighlightText", clHighlightText},
      {"clBtnFace", clBtnFace},
      {"clBtnShadow", clBtnShadow},
      {"clGrayText", clGrayText},
      {"clBtnText", clBtnText},
      {"clInactiveCaptionText", clInactiveCaptionText},
      {"clBtnHighlight", clBtnHighlight},
      {"cl3DDkShadow", cl3DDkShadow},
      {"cl3DLight", cl3DLight},
      {"clInfoText", clInfoText},
      {"clInfoBk", clInfoBk},
      {"clHotLight", clHotLight},
      {"clGradientActiveCaption", clGradientActiveCaption},
      {"clGradientInactiveCaption", clGradientInactiveCaption},
      {"clMenuHighlight", clMenuHighlight},
      {"clMenuBar", clMenuBar},
      {"clNone", clNone},
      {"clDefault", clDefault},
  };
  return idents;
}

const IntIdents& CharsetIdents() {
  static const IntIdents idents = {
      {"ANSI_CHARSET", ANSI_CHARSET},
      {"DEFAULT_CHARSET", DEFAULT_CHARSET},
      {"SYMBOL_CHARSET", SYMBOL_CHARSET},
      {"MAC_CHARSET", MAC_CHARSET},
      {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET},
      {"HANGEUL_CHARSET", HANGEUL_CHARSET},
      {"JOHAB_CHARSET", JOHAB_CHARSET},
      {"GB2312_CHARSET", GB2312_CHARSET},
      {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
      {"GREEK_CHARSET", GREEK_CHARSET},
      {"TURKISH_CHARSET", TURKISH_CHARSET},
      {"VIETNAMESE_CHARSET", VIETNAMESE_CHARSET},
      {"HEBREW_CHARSET", HEBREW_CHARSET},
      {"ARABIC_CHARSET", ARABIC_CHARSET},
      {"BALTIC_CHARSET", BALTIC_CHARSET},
      {"RUSSIAN_CHARSET", RUSSIAN_CHARSET},
      {"THAI_CHARSET", THAI_CHARSET},
      {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
      {"OEM_CHARSET", OEM_CHARSET},
  };
  return idents;
}

const IntIdents& CursorIdents() {
  static const IntIdents idents = {
      {"crDefault", 0},     {"crNone", -1},      {"crArrow", -2},     {"crCross", -3},      {"crIBeam", -4},
      {"crSizeNESW", -6},   {"crSizeNS", -7},    {"crSizeNWSE", -8},  {"crSizeWE", -9},     {"crUpArrow", -10},
      {"crHourGlass", -11}, {"crDrag", -12},     {"crNoDrop", -13},   {"crHSplit", -14},    {"crVSplit", -15},
      {"crMultiDrag", -16}, {"crSQLWait", -17},  {"crNo", -18},       {"crAppStart", -19},  {"crHelp", -20},
      {"crHandPoint", -21}, {"crSizeAll", -22},  {"crSize", -22},
  };
  return idents;
}

}  // namespace wenmoor
