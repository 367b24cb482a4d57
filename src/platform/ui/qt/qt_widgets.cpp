#include "platform/ui/qt/qt_widgets.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include "platform/ui/buttons.h"
#include "platform/ui/choices.h"
#include "platform/ui/comctrls.h"
#include "platform/ui/edits.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/headless/visible_controls.h"
#include "platform/ui/labels.h"

namespace wenmoor::qt {

Kind KindOf(const TControl& c) {
  if (auto* form = dynamic_cast<const TCustomForm*>(&c)) return form->Parent() ? Kind::Page : Kind::Form;
  if (c.ControlStyle().Contains(csCustomPaint)) return Kind::CustomPaint;
  if (dynamic_cast<const TCustomLabel*>(&c)) return Kind::Label;
  if (dynamic_cast<const TCustomPanel*>(&c)) return Kind::Panel;
  if (dynamic_cast<const TBevel*>(&c)) return Kind::Bevel;
  if (dynamic_cast<const TImage*>(&c)) return Kind::Image;
  if (dynamic_cast<const TButton*>(&c)) return Kind::Button;
  if (dynamic_cast<const TCheckBox*>(&c)) return Kind::CheckBox;
  if (dynamic_cast<const TCustomRadioGroup*>(&c)) return Kind::RadioGroup;
  if (dynamic_cast<const TCustomGroupBox*>(&c)) return Kind::GroupBox;
  if (dynamic_cast<const TCustomMemo*>(&c)) return Kind::Memo;
  if (dynamic_cast<const TCustomEdit*>(&c)) return Kind::Edit;
  if (dynamic_cast<const TProgressBar*>(&c)) return Kind::ProgressBar;
  if (dynamic_cast<const TTabControl*>(&c)) return Kind::TabControl;
  if (dynamic_cast<const TWinControl*>(&c)) return Kind::Container;
  return Kind::Plain;
}

ModelWidget::ModelWidget(QtBackend& backend, const TControl& control, uint64_t id, QWidget* parent)
    : QWidget(parent), backend_(backend), control_(&control), id_(id) {}

void ModelWidget::paintEvent(QPaintEvent*) {
  QtBackend::View* view = ViewOf();
  if (!view) return;
  QPainter painter(this);
  backend_.Paint(*view, painter);
}

FormWindow::FormWindow(QtBackend& backend, const TControl& control, uint64_t id)
    : ModelWidget(backend, control, id, nullptr) {
  setAttribute(Qt::WA_DeleteOnClose, false);
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // The form decides: Close() hides it (and the backend with it) or not.
  event->ignore();
  if (QtBackend::View* view = ViewOf()) {
    auto* form = static_cast<TCustomForm*>(view->control);
    backend_.UserAction([form] { form->Close(); });
  }
}

namespace {

// The usable button of `form` that Enter (default) or Escape (cancel) presses.
TButton* KeyButton(const TCustomForm& form, bool cancel) {
  const std::vector<TControl*> shown = ShownControls(form);
  for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
    auto* b = dynamic_cast<TButton*>(*it);
    if (b && (cancel ? b->Cancel() : b->Default()) && IsUsableOn(*b, form)) return b;
  }
  return nullptr;
}

}  // namespace

void FormWindow::keyPressEvent(QKeyEvent* event) {
  QtBackend::View* view = ViewOf();
  const int key = event->key();
  if (!view || (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape)) {
    QWidget::keyPressEvent(event);
    return;
  }
  auto* form = static_cast<TCustomForm*>(view->control);
  TButton* button = nullptr;
  if (key == Qt::Key_Escape) {
    button = KeyButton(*form, true);
  } else {
    // Enter presses the focused button, else the default one.
    if (auto* active = dynamic_cast<TButton*>(form->ActiveControl()); active && IsUsableOn(*active, *form))
      button = active;
    if (!button) button = KeyButton(*form, false);
  }
  if (!button) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
  backend_.UserAction([button] { button->Click(); });
}

void FormWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  QtBackend::View* view = ViewOf();
  if (!view || view->syncing || !isVisible()) return;
  backend_.AdoptWindowSize(*view);
}

}  // namespace wenmoor::qt
