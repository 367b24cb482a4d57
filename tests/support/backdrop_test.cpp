// The gradient backdrop and the rotated 3D label, drawn on a memory canvas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>

#include "platform/rtl/form_reader.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/memory_canvas.h"
#include "support/cmp_Rotate3DLabel.h"
#include "support/cmp_TBackDrop.h"

namespace wenmoor {
namespace {

// A backdrop of the given client size on a form, painted.
struct PaintedBackdrop {
  PaintedBackdrop(int width, int height, TDirection direction, TColor start, TColor end)
      : form(CreateUnowned<TForm>()), canvas(width, height, clFuchsia) {
    backdrop = Create<TBackdrop>(form.get());
    backdrop->SetAlign(alNone);
    backdrop->SetBounds(0, 0, width, height);
    backdrop->SetDirection(direction);
    backdrop->SetStartColor(start);
    backdrop->SetEndColor(end);
    backdrop->Paint(canvas);
  }
  ComponentPtr<TForm> form;
  TBackdrop* backdrop;
  TMemoryCanvas canvas;
};

TEST(BackdropTest, ABlueToBlackGradientOverAHundredRowsSkipsEmptyBands) {
  PaintedBackdrop p(10, 100, bdUp, clBlue, clBlack);
  // Row y lies in band n when MulDiv(n, 100, 256) <= y < MulDiv(n + 1, 100, 256),
  // and band n has blue 255 - n: row 0 is band 1 (band 0 is empty).
  const struct {
    int row;
    int blue;
  } rows[] = {{0, 254}, {1, 252}, {50, 126}, {98, 3}, {99, 1}};
  for (const auto& r : rows) EXPECT_EQ(p.canvas.Pixel(3, r.row), RGB(0, 0, static_cast<uint8_t>(r.blue))) << r.row;
  for (int y = 0; y < 100; ++y) {
    const TColor c = p.canvas.Pixel(0, y);
    EXPECT_EQ(GetRValue(c) + GetGValue(c), 0) << y;
    if (y > 0) {
      EXPECT_LT(GetBValue(c), GetBValue(p.canvas.Pixel(0, y - 1))) << y;
    }
    for (int x = 1; x < 10; ++x) ASSERT_EQ(p.canvas.Pixel(x, y), c) << "a band spans the width, row " << y;
  }
  // Only bands that cover a row are filled, one per row here.
  EXPECT_EQ(p.canvas.Ops().size(), 100u);
}

TEST(BackdropTest, EveryDirectionPutsItsColoursWhereItSays) {
  // 256 pixels a side: band n is exactly row (or column) n, so the edges and
  // the middle carry the two colours exactly.
  const TColor S = clBtnFace;  // a system colour: converted before use
  const TColor s = RGB(212, 208, 200);
  const TColor E = RGB(10, 200, 30);
  enum Where { kTop, kBottom, kLeft, kRight, kMiddleRow, kMiddleColumn };
  struct Expect {
    Where where;
    TColor colour;
  };
  const struct {
    TDirection direction;
    bool across;  // bands run left to right (columns are uniform)
    std::vector<Expect> expect;
  } cases[] = {
      {bdUp, false, {{kTop, s}, {kBottom, E}}},
      {bdDown, false, {{kTop, E}, {kBottom, s}}},
      {bdLeft, true, {{kLeft, s}, {kRight, E}}},
      {bdRight, true, {{kLeft, E}, {kRight, s}}},
      {bdHorzIn, false, {{kTop, s}, {kBottom, s}, {kMiddleRow, E}}},
      {bdHorzOut, false, {{kTop, E}, {kBottom, E}, {kMiddleRow, s}}},
      {bdVertIn, true, {{kLeft, s}, {kRight, s}, {kMiddleColumn, E}}},
      {bdVertOut, true, {{kLeft, E}, {kRight, E}, {kMiddleColumn, s}}},
      {static_cast<TDirection>(9), true, {{kLeft, E}, {kRight, E}, {kMiddleColumn, s}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.direction));
    PaintedBackdrop p(256, 256, c.direction, S, E);
    const TMemoryCanvas& cv = p.canvas;
    for (const Expect& e : c.expect) {
      for (int i = 0; i < 256; i += 51) {
        switch (e.where) {
          case kTop: EXPECT_EQ(cv.Pixel(i, 0), e.colour); break;
          case kBottom: EXPECT_EQ(cv.Pixel(i, 255), e.colour); break;
          case kLeft: EXPECT_EQ(cv.Pixel(0, i), e.colour); break;
          case kRight: EXPECT_EQ(cv.Pixel(255, i), e.colour); break;
          case kMiddleRow:
            EXPECT_EQ(cv.Pixel(i, 127), e.colour);
            EXPECT_EQ(cv.Pixel(i, 128), e.colour);
            break;
          case kMiddleColumn:
            EXPECT_EQ(cv.Pixel(127, i), e.colour);
            EXPECT_EQ(cv.Pixel(128, i), e.colour);
            break;
        }
      }
    }
    // Nothing is left unpainted, and the bands are uniform across.
    for (int a = 0; a < 256; ++a)
      for (int b = 0; b < 256; b += 17) {
        const TColor here = c.across ? cv.Pixel(a, b) : cv.Pixel(b, a);
        const TColor first = c.across ? cv.Pixel(a, 0) : cv.Pixel(0, a);
        ASSERT_NE(here, clFuchsia);
        ASSERT_EQ(here, first);
      }
  }
}

TEST(BackdropTest, CreatedFilledAndAssigned) {
  auto form = CreateUnowned<TForm>();
  form->SetClientWidth(300);
  form->SetClientHeight(200);
  auto* b = Create<TBackdrop>(form.get());
  b->SetParent(form.get());
  EXPECT_EQ(b->Align(), alClient);
  EXPECT_EQ(b->Direction(), bdUp);
  EXPECT_EQ(b->StartColor(), 0xFF0000);
  EXPECT_EQ(b->EndColor(), 0);
  EXPECT_EQ(b->BoundsRect(), (TRect{0, 0, 300, 200}));
  EXPECT_TRUE(b->ControlStyle().Contains(csCustomPaint));

  auto* other = Create<TBackdrop>(form.get());
  other->SetAlign(alTop);
  other->SetDirection(bdVertOut);
  other->SetStartColor(clRed);
  other->SetEndColor(clYellow);
  b->Assign(*other);
  EXPECT_EQ(b->Align(), alTop);
  EXPECT_EQ(b->Direction(), bdVertOut);
  EXPECT_EQ(b->StartColor(), clRed);
  EXPECT_EQ(b->EndColor(), clYellow);
  TPanel* panel = Create<TPanel>(form.get());
  EXPECT_THROW(b->Assign(*panel), EConvertError);
}

TEST(BackdropTest, AScriptSetsTheBackdropAndItsTitle) {
  const char* text = R"(object MainForm: TForm
  ClientWidth = 400
  ClientHeight = 300
  object Backdrop1: TBackdrop
    Direction = bdHorzIn
    StartColor = clRed
    EndColor = 65280
    Tag = -1
    object Title: TRotate3DLabel
      Left = 10
      Top = 20
      Width = 300
      Height = 60
      Caption = 'Quarry'
      LabelStyle.Angle = 15
      LabelStyle.AStyle3D = A3dShadowed
      LabelStyle.AShadeLTSet = True
      MyTransparent = False
    end
  end
end
)";
  ComponentPtr<> root = ReadComponentFromText(text, "main.dfm");
  auto* backdrop = dynamic_cast<TBackdrop*>(root->FindComponent("Backdrop1"));
  ASSERT_NE(backdrop, nullptr);
  EXPECT_EQ(backdrop->Direction(), bdHorzIn);
  EXPECT_EQ(backdrop->StartColor(), clRed);
  EXPECT_EQ(backdrop->EndColor(), clLime);
  EXPECT_EQ(backdrop->Width(), 400) << "aligned to the client by default";
  EXPECT_EQ(MainBackdrop(), backdrop);
  auto* title = dynamic_cast<TRotate3DLabel*>(root->FindComponent("Title"));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->LabelStyle()->Angle(), 15);
  EXPECT_EQ(title->LabelStyle()->AStyle3D(), A3dShadowed);
  EXPECT_TRUE(title->LabelStyle()->AShadeLTSet());
  EXPECT_FALSE(title->MyTransparent());
  root.reset();
  EXPECT_EQ(MainBackdrop(), nullptr);
}

TEST(MainInstanceTest, OneBackdropAndOneLabelCarryTagMinusOne) {
  auto form = CreateUnowned<TForm>();
  auto* a = Create<TBackdrop>(form.get());
  auto* b = Create<TBackdrop>(form.get());
  auto* la = Create<TRotate3DLabel>(form.get());
  auto* lb = Create<TRotate3DLabel>(form.get());
  EXPECT_EQ(MainBackdrop(), nullptr);
  a->SetTag(-1);
  b->SetTag(-1);
  EXPECT_EQ(MainBackdrop(), b);
  EXPECT_EQ(a->Tag(), 0);
  EXPECT_EQ(b->Tag(), -1);
  la->SetTag(-1);
  EXPECT_EQ(MainRotate3DLabel(), la) << "each class has its own";
  EXPECT_EQ(MainBackdrop(), b);
  b->SetTag(7);
  EXPECT_EQ(MainBackdrop(), nullptr);
  a->SetTag(-1);
  a->Free();
  EXPECT_EQ(MainBackdrop(), nullptr);
  lb->SetTag(-1);
  EXPECT_EQ(la->Tag(), 0);
  form.reset();
  EXPECT_EQ(MainRotate3DLabel(), nullptr);
}

// ---------------------------------------------------------------------------
// 3D label

TEST(LabelStyleTest, SettersAndWhenTheyCallOnChange) {
  TLabelStyle style;
  int changes = 0;
  style.OnChange.Assign([&](TObject*) { ++changes; });
  auto changed = [&](auto&& set) {
    const int before = changes;
    set();
    return changes - before;
  };
  EXPECT_EQ(changed([&] { style.SetAngle(360); }), 1) << "360 differs from 0 and is stored as 0";
  EXPECT_EQ(style.Angle(), 0);
  EXPECT_EQ(changed([&] { style.SetAngle(0); }), 0);
  EXPECT_EQ(changed([&] { style.SetAngle(359); }), 1);
  EXPECT_EQ(style.Angle(), 359);
  EXPECT_EQ(changed([&] { style.SetAngle(-10); }), 1);
  EXPECT_EQ(style.Angle(), 0);
  style.SetAngle(45);
  style.SetAngle(360);
  EXPECT_EQ(style.Angle(), 0);

  // Offsets only matter for a shadow.
  EXPECT_EQ(changed([&] { style.SetAHShadeOffSet(3); }), 0);
  EXPECT_EQ(style.AHShadeOffSet(), 3);
  style.SetAStyle3D(A3dShadowed);
  EXPECT_EQ(changed([&] { style.SetAVShadeOffSet(4); }), 1);
  EXPECT_EQ(changed([&] { style.SetAVShadeOffSet(4); }), 0);
  EXPECT_EQ(changed([&] { style.SetAShadeRightBottom(clNavy); }), 1);

  // The white highlight: the colour set before comes back.
  style.SetAStyle3D(A3dRaised);
  EXPECT_EQ(changed([&] { style.SetAShadeLeftTop(clYellow); }), 1);
  EXPECT_EQ(changed([&] { style.SetAShadeLTSet(true); }), 1) << "raised, saved colour not white";
  EXPECT_EQ(style.AShadeLeftTop(), clWhite);
  EXPECT_EQ(changed([&] { style.SetAShadeLeftTop(clRed); }), 0);
  EXPECT_EQ(style.AShadeLeftTop(), clWhite);
  EXPECT_EQ(changed([&] { style.SetAShadeLTSet(true); }), 1) << "called again though unchanged";
  EXPECT_EQ(changed([&] { style.SetAShadeLTSet(false); }), 0);
  EXPECT_EQ(style.AShadeLeftTop(), clYellow);
  style.SetAStyle3D(A3dShadowed);
  EXPECT_EQ(changed([&] { style.SetAShadeLTSet(true); }), 0) << "a shadow has no highlight";

  TLabelStyle copy;
  int copy_changes = 0;
  copy.OnChange.Assign([&](TObject*) { ++copy_changes; });
  copy.Assign(style);
  EXPECT_EQ(copy_changes, 1);
  EXPECT_EQ(copy.AStyle3D(), A3dShadowed);
  EXPECT_EQ(copy.AVShadeOffSet(), 4);
  EXPECT_EQ(copy.AHShadeOffSet(), 3);
  EXPECT_EQ(copy.AShadeRightBottom(), clNavy);
  EXPECT_TRUE(copy.AShadeLTSet());
  copy.SetAShadeLTSet(false);
  EXPECT_EQ(copy.AShadeLeftTop(), clYellow);
}

class Rotate3DLabelTest : public ::testing::Test {
 protected:
  Rotate3DLabelTest() : form_(CreateUnowned<TForm>()), canvas_(200, 80, clBlack) {
    label_ = Create<TRotate3DLabel>(form_.get());
    label_->SetBounds(0, 0, 200, 80);
    label_->SetCaption("Quarry Setup");
    TFont f;
    f.Assign(*label_->Font());
    f.SetColor(clBlue);
    label_->SetFont(f);
  }

  struct Drawn {
    TPoint at;
    TColor colour;
  };
  // The texts drawn, in order.
  std::vector<Drawn> Paint() {
    canvas_.ClearOps();
    label_->Paint(canvas_);
    std::vector<Drawn> out;
    for (const CanvasOp& op : canvas_.Ops())
      if (op.kind == CanvasOp::Kind::Text) out.push_back({{op.rect.left, op.rect.top}, op.color});
    return out;
  }
  TSize Extent() {
    TMemoryCanvas m(1, 1);
    m.Font().Assign(*label_->Font());
    return m.TextExtent(label_->Caption());
  }

  ComponentPtr<TForm> form_;
  TRotate3DLabel* label_;
  TMemoryCanvas canvas_;
};

TEST_F(Rotate3DLabelTest, StartsTransparentArialBoldAndRaised) {
  EXPECT_EQ(label_->Font()->Name(), "Arial");
  EXPECT_TRUE(label_->Font()->Style().Contains(fsBold));
  EXPECT_FALSE(label_->AutoSize());
  EXPECT_TRUE(label_->Transparent());
  EXPECT_TRUE(label_->MyTransparent());
  const TLabelStyle& s = *label_->LabelStyle();
  EXPECT_EQ(s.AStyle3D(), A3dRaised);
  EXPECT_EQ(s.AShadeRightBottom(), 8421504);
  EXPECT_EQ(s.AShadeLeftTop(), 16777215);
  EXPECT_FALSE(s.AShadeLTSet());
  EXPECT_EQ(s.AHShadeOffSet(), 5);
  EXPECT_EQ(s.AVShadeOffSet(), -5);
  EXPECT_TRUE(label_->ControlStyle().Contains(csCustomPaint));
}

TEST_F(Rotate3DLabelTest, EachEffectDrawsItsLayersAroundTheCentredCaption) {
  const TSize e = Extent();
  const int x = 100 - static_cast<int>(std::nearbyint(e.cx / 2.0));
  const int y = 40 - static_cast<int>(std::nearbyint(e.cy / 2.0));
  label_->LabelStyle()->SetAShadeLeftTop(clYellow);
  const struct {
    T3DEffectShort effect;
    std::vector<Drawn> drawn;
  } cases[] = {
      {A3dRaised, {{{x - 1, y - 1}, clYellow}, {{x + 1, y + 1}, clGray}, {{x, y}, clBlue}}},
      {A3dResit, {{{x + 1, y + 1}, clYellow}, {{x - 1, y - 1}, clGray}, {{x, y}, clBlue}}},
      {A3dShadowed, {{{x + 5, y - 5}, clGray}, {{x, y}, clBlue}}},
      {A3dNormal, {{{x, y}, clBlue}}},
  };
  label_->SetAlignment(taCenter);
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.effect));
    label_->LabelStyle()->SetAStyle3D(c.effect);
    const std::vector<Drawn> drawn = Paint();
    ASSERT_EQ(drawn.size(), c.drawn.size());
    for (size_t i = 0; i < drawn.size(); ++i) {
      EXPECT_EQ(drawn[i].at, c.drawn[i].at) << i;
      EXPECT_EQ(drawn[i].colour, c.drawn[i].colour) << i;
    }
  }
  // Left and right alignment move X only.
  label_->LabelStyle()->SetAStyle3D(A3dNormal);
  label_->SetAlignment(taLeftJustify);
  EXPECT_EQ(Paint()[0].at, (TPoint{0, y}));
  label_->SetAlignment(taRightJustify);
  EXPECT_EQ(Paint()[0].at, (TPoint{200 - e.cx, y}));
  // Nothing of the canvas' own state is left changed but its font.
  EXPECT_EQ(canvas_.FontEscapement(), 0);
  EXPECT_EQ(canvas_.Brush().style, bsClear);
}

TEST_F(Rotate3DLabelTest, ARotatedCaptionStaysCentredOnTheLabel) {
  label_->SetAlignment(taCenter);
  label_->LabelStyle()->SetAStyle3D(A3dNormal);
  const TSize e = Extent();
  for (int angle : {0, 30, 90, 135, 180, 270, 359}) {
    SCOPED_TRACE(angle);
    label_->LabelStyle()->SetAngle(angle);
    canvas_.ClearOps();
    label_->Paint(canvas_);
    ASSERT_EQ(canvas_.Ops().size(), 1u);
    const CanvasOp& op = canvas_.Ops()[0];
    EXPECT_EQ(op.escapement, angle * 10);
    // The middle of the text's box, turned counter-clockwise about its
    // top-left corner, is the middle of the label.
    const double a = angle * 3.14159265358979323846 / 180;
    const double mx = op.rect.left + e.cx / 2.0 * std::cos(a) + e.cy / 2.0 * std::sin(a);
    const double my = op.rect.top - e.cx / 2.0 * std::sin(a) + e.cy / 2.0 * std::cos(a);
    EXPECT_NEAR(mx, 100, 1.0);
    EXPECT_NEAR(my, 40, 1.0);
  }
}

TEST_F(Rotate3DLabelTest, AnOpaqueLabelIsFlatOnAFilledBoxTenWiderAndSevenHigher) {
  label_->SetColor(clRed);
  label_->SetMyTransparent(false);
  EXPECT_EQ(label_->Color(), clRed) << "keeps its colour";
  EXPECT_FALSE(label_->ParentColor());
  label_->SetAlignment(taCenter);
  const TSize e = Extent();
  const std::vector<Drawn> drawn = Paint();
  EXPECT_EQ(label_->LabelStyle()->AStyle3D(), A3dNormal) << "the style itself turns flat";
  ASSERT_EQ(drawn.size(), 1u);
  const CanvasOp& box = canvas_.Ops()[0];
  ASSERT_EQ(box.kind, CanvasOp::Kind::Polygon);
  EXPECT_TRUE(box.filled);
  EXPECT_EQ(box.color, clRed);
  ASSERT_EQ(box.points.size(), 4u);
  int left = 1000, right = -1000, top = 1000, bottom = -1000;
  for (const TPoint& p : box.points) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  EXPECT_NEAR(right - left, e.cx + 10, 1);
  EXPECT_NEAR(bottom - top, e.cy + 7, 1);
  EXPECT_NEAR((left + right) / 2.0, 100, 1);
  EXPECT_NEAR((top + bottom) / 2.0, 40, 1);
  EXPECT_EQ(canvas_.Pixel(left + 1, top + 1), clRed);
  EXPECT_EQ(canvas_.Pixel(left - 2, top + 1), clBlack);

  // Rotated, the box turns with the text: a quarter turn swaps its sides.
  label_->LabelStyle()->SetAngle(90);
  Paint();
  const CanvasOp& turned = canvas_.Ops()[0];
  int w = 0, h = 0;
  for (const TPoint& p : turned.points) {
    w = std::max(w, std::abs(p.x - 100) * 2);
    h = std::max(h, std::abs(p.y - 40) * 2);
  }
  EXPECT_NEAR(w, e.cy + 7, 2);
  EXPECT_NEAR(h, e.cx + 10, 2);
}

TEST_F(Rotate3DLabelTest, AssignCopiesTheLook) {
  auto* other = Create<TRotate3DLabel>(form_.get());
  label_->LabelStyle()->SetAngle(20);
  label_->SetAlign(alBottom);
  label_->SetMyTransparent(false);
  other->Assign(*label_);
  EXPECT_EQ(other->Caption(), "Quarry Setup");
  EXPECT_EQ(other->LabelStyle()->Angle(), 20);
  EXPECT_EQ(other->Font()->Color(), clBlue);
  EXPECT_EQ(other->Align(), alBottom);
  EXPECT_EQ(other->Width(), label_->Width());
  EXPECT_FALSE(other->MyTransparent());
}

}  // namespace
}  // namespace wenmoor
