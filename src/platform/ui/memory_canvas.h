// TMemoryCanvas: a canvas over an array of pixels, for testing owner-drawn
// controls without a window system.
//
// Rectangles and polygons are filled pixel by pixel (a pixel belongs to a
// shape when its centre lies inside, as the even-odd rule decides), lines
// are drawn without their end point, and every call is also recorded as an
// operation, so that a test can check both what was drawn and how. Text is
// recorded, not rendered: its background (unless the brush is clear) is
// filled as the rotated box that the text would occupy, measured with the
// approximate metrics of text_metrics.h.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/canvas.h"

namespace wenmoor {

struct CanvasOp {
  enum class Kind : uint8_t { FillRect, Polygon, Line, Text };
  Kind kind = Kind::FillRect;
  TRect rect;                 // FillRect; Text: the unrotated box
  std::vector<TPoint> points;  // Polygon; Line: from, to
  std::string text;           // Text
  TColor color = clBlack;     // brush colour (fills), pen colour (lines), font colour (text)
  bool filled = true;         // Polygon / Text: the brush was not clear
  bool outlined = false;      // Polygon: the pen was not clear
  int escapement = 0;         // Text
  TFont font;                 // Text
};

class TMemoryCanvas : public TCanvas {
 public:
  // All pixels start as `background`.
  TMemoryCanvas(int width, int height, TColor background = clWhite);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The RGB colour of a pixel; clNone outside the canvas.
  TColor Pixel(int x, int y) const;
  const std::vector<CanvasOp>& Ops() const { return ops_; }
  void ClearOps() { ops_.clear(); }

  void FillRect(const TRect& r) override;
  void Polygon(const std::vector<TPoint>& points) override;
  void TextOut(int x, int y, std::string_view text) override;
  TSize TextExtent(std::string_view text) override;

 protected:
  void DrawLine(TPoint from, TPoint to) override;

 private:
  void Plot(int x, int y, TColor rgb);
  void FillPolygonPixels(const std::vector<TPoint>& points, TColor rgb);
  // Same as FillPolygonPixels for points given with fractions.
  void FillPolygonPixelsF(const std::vector<std::pair<double, double>>& points, TColor rgb);

  int width_;
  int height_;
  std::vector<TColor> pixels_;
  std::vector<CanvasOp> ops_;
};

}  // namespace wenmoor
