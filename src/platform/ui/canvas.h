// TCanvas: the drawing surface that owner-drawn controls paint on.
//
// A control that draws itself (TControl::CustomPaint, e.g. a gradient
// backdrop or a rotated 3D label) overrides TControl::Paint and draws through
// this interface; the backend hands it a canvas over the control's client
// area (origin at the control's top-left corner). The Qt backend implements
// it over a painter; TMemoryCanvas implements it over a pixel array so that
// geometry is tested without any window system.
//
// Coordinates are pixels; rectangles exclude their right and bottom edges.
// Colours may be system colours: implementations resolve them with
// ColorToRGB.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/ui/font.h"
#include "platform/ui/graphics.h"

namespace wenmoor {

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
WENMOOR_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)

enum TBrushStyle : uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
WENMOOR_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross)

struct TPen {
  TColor color = clBlack;
  int width = 1;
  TPenStyle style = psSolid;
};

struct TBrush {
  TColor color = clWhite;
  TBrushStyle style = bsSolid;
};

class TCanvas {
 public:
  TCanvas() = default;
  virtual ~TCanvas() = default;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TFont& Font() { return font_; }
  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  // Rotation of text in tenths of a degree, counter-clockwise (the
  // escapement of a Windows font); 0 draws horizontally.
  int FontEscapement() const { return escapement_; }
  void SetFontEscapement(int tenths) { escapement_ = tenths; }

  // Fills with the brush (nothing with bsClear).
  virtual void FillRect(const TRect& r) = 0;
  // Fills the polygon with the brush (unless bsClear) and outlines it with
  // the pen (unless psClear). Fewer than three points draw nothing.
  virtual void Polygon(const std::vector<TPoint>& points) = 0;
  // Draws `text` (one line) with the font, its unrotated top-left corner at
  // (x, y) and rotated about that point by the escapement. The background
  // of the text is filled with the brush unless its style is bsClear.
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  // The size of `text` in the current font, unrotated.
  virtual TSize TextExtent(std::string_view text) = 0;

  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }
  // Lines with the pen from the current position; the position moves.
  void MoveTo(int x, int y) { pen_pos_ = {x, y}; }
  void LineTo(int x, int y);
  TPoint PenPos() const { return pen_pos_; }
  // Fills with the brush and outlines with the pen.
  void Rectangle(const TRect& r);

 protected:
  // A line from `from` to `to`, excluding the end point (as Windows).
  virtual void DrawLine(TPoint from, TPoint to) = 0;

 private:
  TFont font_;
  TPen pen_;
  TBrush brush_;
  TPoint pen_pos_;
  int escapement_ = 0;
};

}  // namespace wenmoor
