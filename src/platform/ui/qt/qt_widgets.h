// The widgets of the Qt backend and the view that ties each to its control.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/qt/qt_backend.h"

class QRadioButton;
class QTabBar;

namespace wenmoor::qt {

// What a control is shown as.
enum class Kind : uint8_t {
  Form,         // a top-level form: a window
  Page,         // a form embedded in another (a wizard page)
  CustomPaint,  // csCustomPaint: draws itself
  Label,
  Panel,
  Bevel,
  Image,
  Button,
  CheckBox,
  RadioGroup,
  GroupBox,
  Edit,
  Memo,
  ProgressBar,
  TabControl,
  Container,  // another windowed control
  Plain,      // another control
};
Kind KindOf(const TControl& control);

struct QtBackend::View {
  uint64_t id = 0;
  TControl* control = nullptr;
  Kind kind = Kind::Plain;
  QPointer<QWidget> widget;
  // Parts of composite widgets.
  QPointer<QTabBar> tabs;
  std::vector<QPointer<QRadioButton>> radios;
  // The picture of an image, decoded when it changes.
  QImage image;
  bool image_valid = false;
  // Set while the backend writes into the widget: its signals are not the user's.
  bool syncing = false;
  int64_t last_repaint_now_ms = -1000000;
};

// A widget that the backend paints (forms, panels, labels, images, bevels,
// owner-drawn controls) and that holds the widgets of child controls.
class ModelWidget : public QWidget {
 public:
  ModelWidget(QtBackend& backend, const TControl& control, uint64_t id, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  QtBackend::View* ViewOf() const { return backend_.Find(control_, id_); }

  QtBackend& backend_;
  const TControl* control_;
  uint64_t id_;
};

// The window of a top-level form: the close box closes the form, Enter and
// Escape press its default and cancel buttons, a user's resize resizes it.
class FormWindow : public ModelWidget {
 public:
  FormWindow(QtBackend& backend, const TControl& control, uint64_t id);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
};

}  // namespace wenmoor::qt
