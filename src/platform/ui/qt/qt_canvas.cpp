#include "platform/ui/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QPolygon>

#include "platform/ui/qt/qt_convert.h"

namespace wenmoor::qt {
namespace {

Qt::BrushStyle ToQtBrushStyle(TBrushStyle s) {
  switch (s) {
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    case bsSolid: break;
  }
  return Qt::SolidPattern;
}

Qt::PenStyle ToQtPenStyle(TPenStyle s) {
  switch (s) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    case psSolid:
    case psInsideFrame: break;
  }
  return Qt::SolidLine;
}

}  // namespace

QBrush QtCanvas::CurrentBrush() { return QBrush(ToQColor(Brush().color), ToQtBrushStyle(Brush().style)); }

QPen QtCanvas::CurrentPen() {
  QPen pen(ToQColor(Pen().color));
  pen.setWidth(std::max(1, Pen().width));
  pen.setStyle(ToQtPenStyle(Pen().style));
  return pen;
}

void QtCanvas::FillRect(const TRect& r) {
  if (Brush().style == bsClear || r.Empty()) return;
  painter_.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), CurrentBrush());
}

void QtCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.size() < 3) return;
  QPolygon polygon;
  for (const TPoint& p : points) polygon << QPoint(p.x, p.y);
  painter_.save();
  painter_.setBrush(Brush().style == bsClear ? QBrush(Qt::NoBrush) : CurrentBrush());
  painter_.setPen(Pen().style == psClear ? QPen(Qt::NoPen) : CurrentPen());
  painter_.drawPolygon(polygon, Qt::OddEvenFill);
  painter_.restore();
}

void QtCanvas::TextOut(int x, int y, std::string_view text) {
  const QFont font = ToQFont(Font());
  const QFontMetrics metrics(font);
  const QString s = ToQt(text);
  painter_.save();
  painter_.setRenderHint(QPainter::TextAntialiasing);
  painter_.translate(x, y);
  // The escapement turns counter-clockwise; Qt turns clockwise.
  if (FontEscapement() != 0) painter_.rotate(-FontEscapement() / 10.0);
  if (Brush().style != bsClear)
    painter_.fillRect(QRect(0, 0, metrics.horizontalAdvance(s), metrics.height()), CurrentBrush());
  painter_.setFont(font);
  painter_.setPen(ToQColor(Font().Color()));
  painter_.drawText(QPoint(0, metrics.ascent()), s);
  painter_.restore();
}

TSize QtCanvas::TextExtent(std::string_view text) {
  const QFontMetrics metrics(ToQFont(Font()));
  return TSize{metrics.horizontalAdvance(ToQt(text)), metrics.height()};
}

void QtCanvas::DrawLine(TPoint from, TPoint to) {
  if (Pen().style == psClear || from == to) return;
  painter_.save();
  painter_.setPen(CurrentPen());
  // Windows leaves out the end point; step back one pixel towards the start.
  const int dx = to.x - from.x, dy = to.y - from.y;
  const int steps = std::max(std::abs(dx), std::abs(dy));
  const QPointF end(to.x - static_cast<double>(dx) / steps, to.y - static_cast<double>(dy) / steps);
  painter_.drawLine(QPointF(from.x, from.y), end);
  painter_.restore();
}

}  // namespace wenmoor::qt
