// The Qt backend for the duration of a test, off-screen: Qt runs on the
// "offscreen" platform, the application's exceptions are recorded instead of
// shown, and a watchdog ends a test that would wait for ever in a modal loop.
//
// Modal loops and dialogs run inside the test's own call (ShowModal,
// MessageDlg, ...); what the user does in them is scheduled first with
// Later(), which runs once the loop waits for events.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/forms.h"
#include "platform/ui/qt/qt_backend.h"
#include "platform/ui/qt/qt_display.h"

namespace wenmoor {

inline EnvLookup OffscreenEnvironment() {
  return [](const char* name) -> std::optional<std::string> {
    if (std::string_view(name) == "QT_QPA_PLATFORM") return std::string("offscreen");
    return std::nullopt;
  };
}

class QtFixture : public ::testing::Test {
 protected:
  explicit QtFixture(std::filesystem::path screenshot_dir = {}) {
    qt::StartQt(OffscreenEnvironment());
    auto backend = std::make_unique<qt::QtBackend>(std::move(screenshot_dir));
    backend_ = backend.get();
    TApplication& app = TApplication::Instance();
    previous_ = app.SetBackend(std::move(backend));
    app.OnException = [this](const std::exception& e) { handled_.push_back(e.what()); };
    watchdog_ = std::make_unique<QTimer>();
    watchdog_->setSingleShot(true);
    QObject::connect(watchdog_.get(), &QTimer::timeout, [] {
      std::fprintf(stderr, "test stuck in a modal loop for 60 s\n");
      std::_Exit(3);
    });
    watchdog_->start(60000);
  }
  ~QtFixture() override {
    watchdog_.reset();
    TApplication& app = TApplication::Instance();
    app.OnException = nullptr;
    app.ReleaseForms();
    app.SetBackend(std::move(previous_));
  }

  // Runs `step` when the event loop next waits (after `ms` milliseconds).
  static void Later(std::function<void()> step, int ms = 0) { QTimer::singleShot(ms, qApp, std::move(step)); }

  QWidget* WidgetOf(const TControl& c) const { return backend_->WidgetOf(c); }
  template <class W>
  W* As(const TControl& c) const {
    return qobject_cast<W*>(WidgetOf(c));
  }

  // The push button in `parent` whose caption, without accelerator marks,
  // is `text`; null when there is none.
  static QPushButton* ButtonIn(QWidget* parent, const QString& text) {
    if (!parent) return nullptr;
    for (QPushButton* b : parent->findChildren<QPushButton*>())
      if (QString(b->text()).remove(QLatin1Char('&')) == text) return b;
    return nullptr;
  }
  static QWidget* ModalWindow() { return QApplication::activeModalWidget(); }
  // How much of a progress bar's widget is filled, as drawn (0 to 1): the
  // share of its middle row in the highlight colour (clHighlight).
  static double FilledShare(QWidget* bar) {
    const QImage image = bar->grab().toImage();
    int filled = 0;
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, image.height() / 2) == QColor(10, 36, 106)) filled = x + 1;
    return static_cast<double>(filled) / image.width();
  }

  qt::QtBackend* backend_ = nullptr;
  std::vector<std::string> handled_;

 private:
  std::unique_ptr<UiBackend> previous_;
  std::unique_ptr<QTimer> watchdog_;
};

}  // namespace wenmoor
