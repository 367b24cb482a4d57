// Drawing in the Qt backend: owner-drawn controls through the canvas,
// text metrics of real fonts, repaint throttling, screenshots, and the
// choice of the backend from the environment.
#include <QImage>
#include <chrono>
#include <map>

#include "platform/ui/canvas.h"
#include "platform/ui/comctrls.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/labels.h"
#include "qt_fixture.h"

namespace wenmoor {
namespace {

// Left half red, right half a blue polygon, a white line across the middle.
class Swatch : public TControl {
 public:
  explicit Swatch(TComponent* owner) : TControl(owner) { SetControlStyle({csCustomPaint}); }
  void Paint(TCanvas& canvas) override {
    const int w = Width(), h = Height();
    canvas.Brush().color = clRed;
    canvas.FillRect({0, 0, w / 2, h});
    canvas.Brush().color = clBlue;
    canvas.Pen().style = psClear;
    canvas.Polygon({{w / 2, 0}, {w, 0}, {w, h}, {w / 2, h}});
    canvas.Pen() = TPen{clWhite, 1, psSolid};
    canvas.MoveTo(0, h / 2);
    canvas.LineTo(w - 10, h / 2);
    ++paints;
  }
  int paints = 0;
};

class QtPaintTest : public QtFixture {
 protected:
  explicit QtPaintTest(std::filesystem::path dir = {}) : QtFixture(std::move(dir)), form_(CreateUnowned<TForm>()) {
    form_->SetName("Main");
    form_->SetCaption("Paint");
    form_->SetBorderStyle(bsSingle);
    form_->SetClientWidth(300);
    form_->SetClientHeight(200);
  }
  ComponentPtr<TForm> form_;
};

TEST_F(QtPaintTest, AnOwnerDrawnControlPaintsThroughTheCanvas) {
  auto* swatch = Create<Swatch>(form_.get());
  swatch->SetParent(form_.get());
  swatch->SetBounds(10, 10, 100, 40);
  form_->Show();
  const QImage image = WidgetOf(*swatch)->grab().toImage();
  ASSERT_EQ(image.size(), QSize(100, 40));
  EXPECT_GT(swatch->paints, 0);
  EXPECT_EQ(image.pixelColor(10, 5), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(90, 5), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(50, 20), QColor(255, 255, 255)) << "the line";
  EXPECT_EQ(image.pixelColor(89, 20), QColor(255, 255, 255)) << "the line's last pixel";
  EXPECT_EQ(image.pixelColor(90, 20), QColor(0, 0, 255)) << "a line leaves out its end point";
}

TEST_F(QtPaintTest, TextIsMeasuredWithTheRealFont) {
  TFont font;
  font.SetName("Arial");
  font.SetHeight(-11);
  const TSize narrow = backend_->MeasureText(font, "iiiiiiii", 0);
  const TSize wide = backend_->MeasureText(font, "WWWWWWWW", 0);
  EXPECT_GT(wide.cx, narrow.cx) << "proportional widths, not an average";
  EXPECT_EQ(backend_->MeasureText(font, "one\r\ntwo", 0).cy, 2 * narrow.cy);
  const std::string sentence = "A sentence long enough to need more than one line at this width.";
  const TSize wrapped = backend_->MeasureText(font, sentence, 120);
  EXPECT_LE(wrapped.cx, 120);
  EXPECT_GE(wrapped.cy, 3 * narrow.cy);
  const TSize regular = backend_->MeasureText(font, "abcdefgh", 0);
  font.SetStyle({fsBold});
  EXPECT_GT(backend_->MeasureText(font, "abcdefgh", 0).cx, regular.cx);

  auto* label = Create<TLabel>(form_.get());
  label->SetParent(form_.get());
  label->SetFont(font);
  label->SetCaption("Auto-sized");
  EXPECT_EQ(label->Width(), backend_->MeasureText(font, "Auto-sized", 0).cx);
}

TEST_F(QtPaintTest, RepaintsDuringALongOperationAreThrottled) {
  auto* bar = Create<TProgressBar>(form_.get());
  bar->SetParent(form_.get());
  bar->SetBounds(10, 10, 200, 16);
  bar->SetMax(1000000);
  form_->Show();
  backend_->Flush();
  const long before = backend_->FlushCount();
  const auto start = std::chrono::steady_clock::now();
  int position = 0;
  while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(400)) {
    bar->SetPosition(++position);
    ProcessMessages();
  }
  const auto elapsed_ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  const long flushes = backend_->FlushCount() - before;
  EXPECT_GT(position, 1000) << "ProcessMessages is cheap";
  EXPECT_GE(flushes, 1) << "the bar moves during the operation";
  EXPECT_LE(flushes, elapsed_ms / qt::QtBackend::kRepaintIntervalMs + 1) << position << " updates";

  const long flushed = backend_->FlushCount();
  bar->SetPosition(bar->Max() / 2);
  bar->Repaint();
  EXPECT_EQ(backend_->FlushCount(), flushed + 1) << "Repaint brings the widgets up to date at once";
  EXPECT_NEAR(FilledShare(WidgetOf(*bar)), 0.5, 0.05);
}

// A fresh directory for the pictures of one test, removed afterwards.
struct ScreenshotDir {
  ScreenshotDir()
      : dir(std::filesystem::temp_directory_path() /
            ("wenmoor-shots-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))) {}
  ~ScreenshotDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  std::filesystem::path dir;
};

class QtScreenshotTest : private ScreenshotDir, public QtPaintTest {
 protected:
  QtScreenshotTest() : QtPaintTest(dir) {}
};

TEST_F(QtScreenshotTest, FormsArePhotographedWhenShownAndWhenTheirPageChanges) {
  auto add_page = [&](const std::string& name, TColor color) {
    auto* page = Create<TForm>(form_.get());
    page->SetName(name);
    page->SetParent(form_.get());
    page->SetBounds(0, 0, 300, 200);
    page->SetColor(color);
    page->Show();
    return page;
  };
  TForm* one = add_page("PageOne", clBlack);
  // What OnShow fills in is in the picture: it is taken at the next flush.
  form_->OnShow.Assign([one](TObject*) { one->SetColor(clWhite); });
  form_->Show();
  EXPECT_TRUE(backend_->Screenshots().empty());
  backend_->Flush();
  ASSERT_EQ(backend_->Screenshots().size(), 1u);
  EXPECT_EQ(backend_->Screenshots()[0].filename(), "001-Main-PageOne.png");
  QImage first(QString::fromStdString(backend_->Screenshots()[0].string()));
  EXPECT_EQ(first.size(), QSize(300, 200));
  EXPECT_EQ(first.pixelColor(150, 100), QColor(255, 255, 255));

  backend_->Flush();
  EXPECT_EQ(backend_->Screenshots().size(), 1u) << "nothing changed, no new picture";
  add_page("PageTwo", clYellow);
  backend_->Flush();
  ASSERT_EQ(backend_->Screenshots().size(), 2u);
  EXPECT_EQ(backend_->Screenshots()[1].filename(), "002-Main-PageTwo.png");
  EXPECT_EQ(QImage(QString::fromStdString(backend_->Screenshots()[1].string())).pixelColor(150, 100),
            QColor(255, 255, 0));

  Later([] { ButtonIn(ModalWindow(), "OK")->click(); }, 50);
  ShowMessage("Saved as a picture too");
  ASSERT_EQ(backend_->Screenshots().size(), 3u);
  EXPECT_TRUE(std::filesystem::exists(backend_->Screenshots()[2]));
}

TEST(QtBackendChoice, WithoutADisplayTheQtChoiceFallsBackToHeadless) {
  struct Case {
    std::map<std::string, std::string> env;
    std::string expected;
    std::string notice_mentions;
  };
  const std::vector<Case> cases = {
      {{{"WENMOOR_UI", "qt"}}, "headless", "no display"},
      {{{"WENMOOR_UI", "qt"}, {"DISPLAY", ":97"}}, "headless", "DISPLAY=:97"},
      {{{"WENMOOR_UI", "qt"}, {"QT_QPA_PLATFORM", "nosuchplatform"}}, "headless", "nosuchplatform"},
      {{{"QT_QPA_PLATFORM", "offscreen"}}, "qt", ""},
      {{{"WENMOOR_UI", "qt"}, {"QT_QPA_PLATFORM", "offscreen"}}, "qt", ""},
  };
  for (const Case& c : cases) {
    const EnvLookup env = [&c](const char* name) -> std::optional<std::string> {
      auto it = c.env.find(name);
      if (it == c.env.end()) return std::nullopt;
      return it->second;
    };
    std::string notice;
    std::unique_ptr<UiBackend> backend = ChooseBackend(env, [&](const std::string& line) { notice += line; });
    ASSERT_NE(backend, nullptr);
    EXPECT_EQ(backend->Name(), c.expected) << notice;
    if (c.notice_mentions.empty()) {
      EXPECT_EQ(notice, "");
    } else {
      EXPECT_NE(notice.find(c.notice_mentions), std::string::npos) << notice;
    }
  }
}

}  // namespace
}  // namespace wenmoor
