#include "platform/ui/font.h"

namespace wenmoor {

TFont::TFont(const TFont& other)
    : TPersistent(other),
      name_(other.name_),
      height_(other.height_),
      charset_(other.charset_),
      color_(other.color_),
      style_(other.style_),
      pitch_(other.pitch_) {}

TFont& TFont::operator=(const TFont& other) {
  Assign(other);
  return *this;
}

void TFont::SetName(const std::string& name) {
  if (name == name_) return;
  name_ = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, kPixelsPerInch); }

void TFont::SetSize(int size) { SetHeight(-MulDiv(size, kPixelsPerInch, 72)); }

void TFont::SetCharSet(TFontCharset charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
  if (pitch == pitch_) return;
  pitch_ = pitch;
  Changed();
}

int TFont::PixelHeight() const { return height_ < 0 ? -height_ : (height_ * 7 + 4) / 8; }

bool TFont::SameAs(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && charset_ == o.charset_ && color_ == o.color_ &&
         style_ == o.style_ && pitch_ == o.pitch_;
}

void TFont::Assign(const TPersistent& source) {
  auto* f = dynamic_cast<const TFont*>(&source);
  if (!f) return TPersistent::Assign(source);
  if (f == this || SameAs(*f)) return;
  name_ = f->name_;
  height_ = f->height_;
  charset_ = f->charset_;
  color_ = f->color_;
  style_ = f->style_;
  pitch_ = f->pitch_;
  Changed();
}

WENMOOR_REGISTER_CLASS(TFont) {
  c.Prop("Charset", &T::CharSet, &T::SetCharSet).Idents(CharsetIdents());
  c.Prop("Color", &T::Color, &T::SetColor).Idents(ColorIdents());
  c.Prop("Height", &T::Height, &T::SetHeight);
  c.Prop("Name", &T::Name, &T::SetName);
  c.Prop("Pitch", &T::Pitch, &T::SetPitch).Default(fpDefault);
  c.Prop("Size", &T::Size, &T::SetSize).Stored(false);
  c.Prop("Style", &T::Style, &T::SetStyle);
}

}  // namespace wenmoor
