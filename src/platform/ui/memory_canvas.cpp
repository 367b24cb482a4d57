#include "platform/ui/memory_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "platform/ui/text_metrics.h"

namespace wenmoor {

TMemoryCanvas::TMemoryCanvas(int width, int height, TColor background)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), ColorToRGB(background)) {}

TColor TMemoryCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
  return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void TMemoryCanvas::Plot(int x, int y, TColor rgb) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = rgb;
}

void TMemoryCanvas::FillRect(const TRect& r) {
  CanvasOp op;
  op.kind = CanvasOp::Kind::FillRect;
  op.rect = r;
  op.color = Brush().color;
  op.filled = Brush().style != bsClear;
  ops_.push_back(op);
  if (!op.filled) return;
  const TColor rgb = ColorToRGB(Brush().color);
  const int top = std::max(r.top, 0), bottom = std::min(r.bottom, height_);
  const int left = std::max(r.left, 0), right = std::min(r.right, width_);
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) Plot(x, y, rgb);
}

void TMemoryCanvas::FillPolygonPixelsF(const std::vector<std::pair<double, double>>& pts, TColor rgb) {
  if (pts.size() < 3) return;
  double min_y = pts[0].second, max_y = pts[0].second;
  for (const auto& p : pts) {
    min_y = std::min(min_y, p.second);
    max_y = std::max(max_y, p.second);
  }
  const int y0 = std::max(0, static_cast<int>(std::floor(min_y)));
  const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(max_y)));
  std::vector<double> xs;
  for (int y = y0; y <= y1; ++y) {
    const double yc = y + 0.5;
    xs.clear();
    for (size_t i = 0; i < pts.size(); ++i) {
      const auto& a = pts[i];
      const auto& b = pts[(i + 1) % pts.size()];
      if ((a.second <= yc && yc < b.second) || (b.second <= yc && yc < a.second))
        xs.push_back(a.first + (yc - a.second) * (b.first - a.first) / (b.second - a.second));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t i = 0; i + 1 < xs.size(); i += 2) {
      // Pixels whose centre x + 0.5 lies in [xs[i], xs[i+1]).
      const int from = std::max(0, static_cast<int>(std::ceil(xs[i] - 0.5)));
      const int to = std::min(width_, static_cast<int>(std::ceil(xs[i + 1] - 0.5)));
      for (int x = from; x < to; ++x) Plot(x, y, rgb);
    }
  }
}

void TMemoryCanvas::FillPolygonPixels(const std::vector<TPoint>& points, TColor rgb) {
  std::vector<std::pair<double, double>> pts;
  pts.reserve(points.size());
  for (const TPoint& p : points) pts.emplace_back(p.x, p.y);
  FillPolygonPixelsF(pts, rgb);
}

void TMemoryCanvas::Polygon(const std::vector<TPoint>& points) {
  CanvasOp op;
  op.kind = CanvasOp::Kind::Polygon;
  op.points = points;
  op.color = Brush().color;
  op.filled = Brush().style != bsClear;
  op.outlined = Pen().style != psClear;
  ops_.push_back(op);
  if (points.size() < 3) return;
  if (op.filled) FillPolygonPixels(points, ColorToRGB(Brush().color));
  if (op.outlined) {
    for (size_t i = 0; i < points.size(); ++i) {
      const TPoint& a = points[i];
      const TPoint& b = points[(i + 1) % points.size()];
      DrawLine(a, b);
      ops_.pop_back();  // the outline is part of the polygon's operation
    }
  }
}

void TMemoryCanvas::DrawLine(TPoint from, TPoint to) {
  CanvasOp op;
  op.kind = CanvasOp::Kind::Line;
  op.points = {from, to};
  op.color = Pen().color;
  ops_.push_back(op);
  const TColor rgb = ColorToRGB(Pen().color);
  int x = from.x, y = from.y;
  const int dx = std::abs(to.x - x), sx = x < to.x ? 1 : -1;
  const int dy = -std::abs(to.y - y), sy = y < to.y ? 1 : -1;
  int err = dx + dy;
  while (x != to.x || y != to.y) {
    Plot(x, y, rgb);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

TSize TMemoryCanvas::TextExtent(std::string_view text) { return ApproxTextExtent(Font(), text); }

void TMemoryCanvas::TextOut(int x, int y, std::string_view text) {
  const TSize size = TextExtent(text);
  CanvasOp op;
  op.kind = CanvasOp::Kind::Text;
  op.rect = Bounds(x, y, size.cx, size.cy);
  op.text = std::string(text);
  op.color = Font().Color();
  op.filled = Brush().style != bsClear;
  op.escapement = FontEscapement();
  op.font.Assign(Font());
  ops_.push_back(op);
  if (!op.filled) return;
  // The box the text occupies, turned counter-clockwise about (x, y) (with
  // y growing downwards a turn to the left lifts the far end).
  const double a = FontEscapement() / 10.0 * std::numbers::pi / 180.0;
  const double c = std::cos(a), s = std::sin(a);
  auto turn = [&](double dx, double dy) { return std::pair<double, double>(x + dx * c + dy * s, y - dx * s + dy * c); };
  FillPolygonPixelsF({turn(0, 0), turn(size.cx, 0), turn(size.cx, size.cy), turn(0, size.cy)},
                     ColorToRGB(Brush().color));
}

}  // namespace wenmoor
