// TFont: the description of a font, as a control or a canvas holds it.
//
// Height and Size are two views of one value: a negative Height is the
// character height in pixels, Size the same in points at 96 pixels per inch
// (Height -11 is Size 8). Every change raises OnChange once, which is how a
// control learns that its own font was changed (and stops following its
// parent's, see TControl::ParentFont).
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/persistent.h"
#include "platform/ui/graphics.h"

namespace wenmoor {

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
WENMOOR_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;

enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };
WENMOOR_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)

class TFont : public TPersistent {
  WENMOOR_CLASS(TFont, TPersistent)
 public:
  static constexpr int kPixelsPerInch = 96;

  // "MS Sans Serif", Height -11, DEFAULT_CHARSET, clWindowText, no style.
  TFont() = default;
  TFont(const TFont& other);
  TFont& operator=(const TFont& other);

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  int Height() const { return height_; }
  void SetHeight(int height);
  // -MulDiv(Height, 72, 96); setting it sets Height to -MulDiv(size, 96, 72).
  int Size() const;
  void SetSize(int size);
  TFontCharset CharSet() const { return charset_; }
  void SetCharSet(TFontCharset charset);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch pitch);

  // The height of a character in pixels (a positive Height is a cell
  // height, of which the character takes about seven eighths).
  int PixelHeight() const;

  // Raised after each change (one per Assign). Not copied by Assign.
  TNotifyEvent OnChange;

  // Copies every attribute of another font; raises OnChange once when
  // something differs.
  void Assign(const TPersistent& source) override;
  // Same attributes (OnChange is not compared).
  bool SameAs(const TFont& other) const;

 private:
  void Changed() { OnChange(this); }

  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  TFontCharset charset_ = DEFAULT_CHARSET;
  TColor color_ = clWindowText;
  TFontStyles style_;
  TFontPitch pitch_ = fpDefault;
};

}  // namespace wenmoor
