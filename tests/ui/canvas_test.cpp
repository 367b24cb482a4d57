// The memory canvas that owner-drawn controls are tested on, and the
// approximate text metrics behind it.
#include <gtest/gtest.h>

#include "platform/ui/memory_canvas.h"
#include "platform/ui/text_metrics.h"

namespace wenmoor {
namespace {

TEST(MemoryCanvasTest, FillRectColoursExactlyItsPixels) {
  TMemoryCanvas c(10, 10);
  c.Brush().color = clBlue;
  c.FillRect({2, 3, 5, 4});
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      EXPECT_EQ(c.Pixel(x, y), (x >= 2 && x < 5 && y == 3) ? clBlue : clWhite) << x << "," << y;
  EXPECT_EQ(c.Pixel(-1, 0), clNone);
  c.Brush().style = bsClear;
  c.FillRect({0, 0, 10, 10});
  EXPECT_EQ(c.Pixel(0, 0), clWhite);
  ASSERT_EQ(c.Ops().size(), 2u);
  EXPECT_FALSE(c.Ops()[1].filled);
}

TEST(MemoryCanvasTest, SystemColoursAreResolved) {
  TMemoryCanvas c(2, 2, clBtnFace);
  EXPECT_EQ(c.Pixel(0, 0), RGB(212, 208, 200));
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(SystemColor(200)), clBlack);
}

TEST(MemoryCanvasTest, PolygonsFillThePixelsWhoseCentreIsInside) {
  TMemoryCanvas c(10, 10);
  c.Brush().color = clRed;
  c.Pen().style = psClear;
  c.Polygon({{0, 0}, {8, 0}, {0, 8}});  // the triangle below the diagonal x + y = 8
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      EXPECT_EQ(c.Pixel(x, y) == clRed, x + 0.5 + y + 0.5 < 8) << x << "," << y;
  EXPECT_EQ(c.Ops().back().kind, CanvasOp::Kind::Polygon);
}

TEST(MemoryCanvasTest, LinesLeaveOutTheirEndPoint) {
  TMemoryCanvas c(5, 5);
  c.Pen().color = clGreen;
  c.MoveTo(0, 0);
  c.LineTo(4, 0);
  EXPECT_EQ(c.Pixel(3, 0), clGreen);
  EXPECT_EQ(c.Pixel(4, 0), clWhite);
  EXPECT_EQ(c.PenPos(), (TPoint{4, 0}));
  c.Rectangle({1, 1, 4, 4});  // white brush, green outline
  EXPECT_EQ(c.Pixel(1, 1), clGreen);
  EXPECT_EQ(c.Pixel(3, 3), clGreen);
  EXPECT_EQ(c.Pixel(2, 2), clWhite);
  EXPECT_EQ(c.PenPos(), (TPoint{4, 0})) << "Rectangle keeps the pen position";
}

TEST(MemoryCanvasTest, TextIsRecordedWithFontAndRotationAndItsBackgroundFilled) {
  TMemoryCanvas c(100, 100);
  c.Font().SetName("Arial");
  c.Font().SetColor(clNavy);
  c.Brush().color = clYellow;
  c.TextOut(10, 20, "Hi");  // 2 × 5 pixels wide, 14 high
  const CanvasOp& op = c.Ops().back();
  EXPECT_EQ(op.kind, CanvasOp::Kind::Text);
  EXPECT_EQ(op.text, "Hi");
  EXPECT_EQ(op.rect, (TRect{10, 20, 20, 34}));
  EXPECT_EQ(op.color, clNavy);
  EXPECT_EQ(op.font.Name(), "Arial");
  EXPECT_EQ(c.Pixel(10, 20), clYellow);
  EXPECT_EQ(c.Pixel(19, 33), clYellow);
  EXPECT_EQ(c.Pixel(20, 20), clWhite);

  c.SetFontEscapement(900);  // a quarter turn to the left: the text runs upwards
  c.TextOut(50, 50, "Hi");
  EXPECT_EQ(c.Ops().back().escapement, 900);
  EXPECT_EQ(c.Pixel(55, 45), clYellow) << "right of and above the reference point";
  EXPECT_EQ(c.Pixel(45, 45), clWhite);
  EXPECT_EQ(c.Pixel(55, 55), clWhite);

  c.Brush().style = bsClear;
  c.SetFontEscapement(0);
  c.TextOut(0, 80, "Hi");
  EXPECT_EQ(c.Pixel(1, 81), clWhite) << "a clear brush leaves the background";
}

TEST(TextMetricsTest, WidthsFollowTheFontAndCountCharactersNotBytes) {
  TFont f;  // 8 points: 5 pixels a character, 14 a line
  EXPECT_EQ(ApproxTextExtent(f, "abcd"), (TSize{20, 14}));
  EXPECT_EQ(ApproxTextExtent(f, "\xC3\xA9t\xC3\xA9"), (TSize{15, 14})) << "été: three characters";
  EXPECT_EQ(ApproxTextExtent(f, "ab\r\nabcd\nx"), (TSize{20, 42}));
  EXPECT_EQ(ApproxTextExtent(f, ""), (TSize{0, 14}));
  f.SetSize(16);
  EXPECT_EQ(ApproxCharWidth(f), 10);
  EXPECT_EQ(ApproxLineHeight(f), 27);
  EXPECT_EQ(ApproxWrapText(TFont(), "abcdefghij klm", 25), (std::vector<std::string>{"abcde", "fghij", "klm"}));
}

}  // namespace
}  // namespace wenmoor
