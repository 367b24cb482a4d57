#include "platform/ui/qt/qt_backend.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/rtl/format.h"
#include "platform/ui/application.h"
#include "platform/ui/buttons.h"
#include "platform/ui/choices.h"
#include "platform/ui/comctrls.h"
#include "platform/ui/edits.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/headless/visible_controls.h"
#include "platform/ui/labels.h"
#include "platform/ui/qt/qt_canvas.h"
#include "platform/ui/qt/qt_convert.h"
#include "platform/ui/qt/qt_display.h"
#include "platform/ui/qt/qt_folder_browser.h"
#include "platform/ui/qt/qt_widgets.h"

namespace wenmoor::qt {
namespace {

int64_t NowMs() {
  static QElapsedTimer clock = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  return clock.elapsed();
}

// Adds the time of its scope to a counter.
class BusyClock {
 public:
  explicit BusyClock(int64_t& total) : total_(total) { timer_.start(); }
  ~BusyClock() { total_ += timer_.nsecsElapsed(); }
  BusyClock(const BusyClock&) = delete;
  BusyClock& operator=(const BusyClock&) = delete;

 private:
  int64_t& total_;
  QElapsedTimer timer_;
};

// Memo text as compared between model and widget: LF line breaks, no
// trailing ones (the model's lines end each in a break, a user's text
// may or may not).
QString NormalizedLines(QString s) {
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  while (s.endsWith(QLatin1Char('\n'))) s.chop(1);
  return s;
}

void Frame3D(QPainter& p, QRect& r, const QColor& top_left, const QColor& bottom_right, int width) {
  for (int i = 0; i < width && r.width() > 1 && r.height() > 1; ++i) {
    p.setPen(top_left);
    p.drawLine(r.left(), r.bottom(), r.left(), r.top());
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.setPen(bottom_right);
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    p.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
    r.adjust(1, 1, -1, -1);
  }
}

QColor Highlight() { return ToQColor(clBtnHighlight); }
QColor Shadow() { return ToQColor(clBtnShadow); }

int AlignmentFlags(TAlignment a) {
  switch (a) {
    case taRightJustify: return Qt::AlignRight;
    case taCenter: return Qt::AlignHCenter;
    case taLeftJustify: break;
  }
  return Qt::AlignLeft;
}

// The picture with the colour of its bottom-left pixel transparent, as
// bitmap buttons and transparent images show it.
QPixmap TransparentPixmap(const QImage& image) {
  QPixmap pixmap = QPixmap::fromImage(image);
  if (image.isNull()) return pixmap;
  const QColor key = image.pixelColor(0, image.height() - 1);
  pixmap.setMask(pixmap.createMaskFromColor(key, Qt::MaskInColor));
  return pixmap;
}

// Where a control's children stand inside its widget: its client area's
// offset (a single-bordered panel's client area starts one pixel in).
QPoint ClientOrigin(const TControl& c) {
  if (dynamic_cast<const TCustomForm*>(&c)) return {};
  return {(c.Width() - c.ClientWidth()) / 2, (c.Height() - c.ClientHeight()) / 2};
}

std::string FileSafe(const std::string& s) {
  std::string out;
  for (char ch : s) {
    const auto u = static_cast<unsigned char>(ch);
    if (std::isalnum(u) || ch == '-' || ch == '_') out += ch;
    else if (!out.empty() && out.back() != '_') out += '_';
  }
  while (!out.empty() && out.back() == '_') out.pop_back();
  return out.empty() ? std::string("form") : out.substr(0, 60);
}

}  // namespace

// --- Life -------------------------------------------------------------------

std::unique_ptr<QtBackend> QtBackend::FromEnvironment(const EnvLookup& env) {
  // Checked even when Qt runs already: the environment must offer a display.
  ChooseQtPlatform(env);
  StartQt(env);
  std::filesystem::path dir;
  if (std::optional<std::string> d = env("WENMOOR_SCREENSHOTS"); d && !d->empty()) dir = *d;
  const std::string autopress = env("WENMOOR_AUTOPRESS").value_or("");
  return std::make_unique<QtBackend>(dir, !autopress.empty() && autopress != "0");
}

QtBackend::QtBackend(std::filesystem::path screenshot_dir, bool autopress)
    : screenshot_dir_(std::move(screenshot_dir)), autopress_(autopress) {
  if (!QApplication::instance()) throw EBackendUnavailable("Qt has not been started");
  if (!screenshot_dir_.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(screenshot_dir_, ec);
    if (ec) throw EBackendUnavailable("Cannot create the screenshot directory \"%s\": %s", screenshot_dir_.string(),
                                      ec.message());
  }
  // The model's active control follows the keyboard focus.
  QObject::connect(qApp, &QApplication::focusChanged, qApp, [this](QWidget*, QWidget* now) {
    for (auto& [control, view] : views_) {
      if (view->widget != now || view->syncing) continue;
      auto* win = dynamic_cast<TWinControl*>(view->control);
      TCustomForm* form = win ? GetParentForm(*win) : nullptr;
      if (form && form->ActiveControl() != win && win->CanFocus())
        UserAction([form, win] { form->SetActiveControl(win); });
      return;
    }
  });
}

QtBackend::~QtBackend() {
  QObject::disconnect(qApp, &QApplication::focusChanged, qApp, nullptr);
  for (auto& [control, view] : views_)
    if (view->kind == Kind::Form && view->widget) delete view->widget.data();
  views_.clear();
}

QtBackend::View* QtBackend::Find(const TControl* control, uint64_t id) {
  auto it = views_.find(control);
  if (it == views_.end() || it->second->id != id || !it->second->widget) return nullptr;
  return it->second.get();
}

QWidget* QtBackend::WidgetOf(const TControl& control) const {
  auto it = views_.find(&control);
  return it == views_.end() ? nullptr : it->second->widget.data();
}

bool QtBackend::HandleAction(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const EUiBackendError&) {
    if (!pending_) pending_ = std::current_exception();
    if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance()) d->wakeUp();
    return false;
  } catch (const std::exception& e) {
    try {
      TApplication::Instance().HandleException(e);
    } catch (...) {
      if (!pending_) pending_ = std::current_exception();
    }
  } catch (...) {
    if (!pending_) pending_ = std::current_exception();
  }
  return true;
}

void QtBackend::RethrowPending() {
  if (!pending_) return;
  std::exception_ptr e = std::exchange(pending_, nullptr);
  std::rethrow_exception(e);
}

// --- Building widgets -------------------------------------------------------

QtBackend::View& QtBackend::CreateView(TControl& control, QWidget* parent_widget) {
  auto view = std::make_unique<View>();
  view->id = next_id_++;
  view->control = &control;
  view->kind = KindOf(control);
  const uint64_t id = view->id;
  QWidget* w = nullptr;
  switch (view->kind) {
    case Kind::Form:
      w = new FormWindow(*this, control, id);
      break;
    case Kind::Button:
      w = new QPushButton(parent_widget);
      static_cast<QPushButton*>(w)->setAutoDefault(false);
      break;
    case Kind::CheckBox:
      w = new QCheckBox(parent_widget);
      break;
    case Kind::RadioGroup:
    case Kind::GroupBox:
      w = new QGroupBox(parent_widget);
      break;
    case Kind::Edit:
      w = new QLineEdit(parent_widget);
      break;
    case Kind::Memo:
      w = new QPlainTextEdit(parent_widget);
      break;
    case Kind::TabControl:
      w = new ModelWidget(*this, control, id, parent_widget);
      view->tabs = new QTabBar(w);
      view->tabs->setDrawBase(true);
      break;
    default:
      w = new ModelWidget(*this, control, id, parent_widget);
      break;
  }
  w->setObjectName(QString::fromStdString(control.Name()));
  view->widget = w;
  View& v = *view;
  views_[&control] = std::move(view);
  Connect(v);
  SyncView(v);
  if (auto* win = dynamic_cast<TWinControl*>(&control)) {
    for (int i = 0; i < win->ControlCount(); ++i) CreateView(*win->Controls(i), w);
    SyncChildren(v);
  }
  return v;
}

void QtBackend::Connect(View& v) {
  TControl* c = v.control;
  const uint64_t id = v.id;
  // Runs `action` for a user's input on the control, then shows the
  // model's answer in the widget (which may differ from what was typed).
  auto act = [this, c, id](auto action) {
    View* view = Find(c, id);
    if (!view || view->syncing) return;
    UserAction([&] { action(); });
    if (View* again = Find(c, id)) SyncView(*again);
  };
  switch (v.kind) {
    case Kind::Button:
      QObject::connect(static_cast<QPushButton*>(v.widget.data()), &QPushButton::clicked, v.widget,
                       [act, c] { act([c] { c->Click(); }); });
      break;
    case Kind::CheckBox:
      QObject::connect(static_cast<QCheckBox*>(v.widget.data()), &QCheckBox::clicked, v.widget,
                       [act, c] { act([c] { static_cast<TCheckBox*>(c)->Toggle(); }); });
      break;
    case Kind::Edit:
      QObject::connect(static_cast<QLineEdit*>(v.widget.data()), &QLineEdit::textEdited, v.widget,
                       [act, c](const QString& text) { act([c, &text] { c->SetText(FromQt(text)); }); });
      break;
    case Kind::Memo: {
      auto* memo = static_cast<QPlainTextEdit*>(v.widget.data());
      QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [act, c, memo] {
        act([c, memo] { c->SetText(FromQt(memo->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")))); });
      });
      break;
    }
    case Kind::TabControl:
      QObject::connect(v.tabs.data(), &QTabBar::currentChanged, v.widget, [act, c](int index) {
        act([c, index] { static_cast<TTabControl*>(c)->SelectTab(index); });
      });
      break;
    default:
      break;
  }
}

// --- Bringing widgets up to date --------------------------------------------

void QtBackend::SyncGeometry(View& v) {
  TControl& c = *v.control;
  QWidget& w = *v.widget;
  if (v.kind == Kind::Form) {
    // A maximised or minimised window has the size the window system gives it.
    if (static_cast<TCustomForm&>(c).WindowState() != wsNormal) return;
    const bool sizeable = static_cast<TCustomForm&>(c).BorderStyle() == bsSizeable ||
                          static_cast<TCustomForm&>(c).BorderStyle() == bsSizeToolWin;
    const QSize client(std::max(1, c.ClientWidth()), std::max(1, c.ClientHeight()));
    if (sizeable) {
      w.setMinimumSize(0, 0);
      w.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      w.resize(client);
    } else {
      w.setFixedSize(client);
    }
    w.move(c.Left(), c.Top());
    return;
  }
  QPoint origin;
  if (TWinControl* parent = c.Parent()) origin = ClientOrigin(*parent);
  w.setGeometry(origin.x() + c.Left(), origin.y() + c.Top(), c.Width(), c.Height());
}

void QtBackend::SyncView(View& v) {
  TControl& c = *v.control;
  QWidget& w = *v.widget;
  v.syncing = true;
  SyncGeometry(v);
  if (v.kind != Kind::Form) w.setVisible(c.Visible());
  w.setEnabled(c.Enabled());
  // Setting a font or palette makes Qt lay out and repaint again: only
  // when they changed.
  const QFont font = ToQFont(*c.Font());
  if (w.font() != font) w.setFont(font);
  QPalette palette = w.palette();
  const QColor text_color = ToQColor(c.Font()->Color());
  // The font's colour is that of an enabled control: the disabled group
  // keeps the style's grey, so a disabled control looks disabled.
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::WindowText, text_color);
    palette.setColor(group, QPalette::ButtonText, text_color);
    palette.setColor(group, QPalette::Text, text_color);
  }
  palette.setColor(QPalette::Window, ToQColor(c.Color()));
  if (!c.Hint().empty() && c.ShowHint()) w.setToolTip(ToQt(c.Hint()));
  const QString caption = ToQt(c.Caption());
  switch (v.kind) {
    case Kind::Form:
      w.setWindowTitle(caption);
      if (w.isVisible()) {
        const TWindowState state = static_cast<TCustomForm&>(c).WindowState();
        const bool shown_in_state = state == wsMaximized   ? w.isMaximized()
                                    : state == wsMinimized ? w.isMinimized()
                                                           : !w.isMaximized() && !w.isMinimized();
        if (!shown_in_state) ShowInState(v);
      }
      break;
    case Kind::Button: {
      auto& button = static_cast<QPushButton&>(w);
      auto& model = static_cast<TButton&>(c);
      button.setText(caption);
      button.setDefault(model.Default());
      if (auto* bit = dynamic_cast<TBitBtn*>(&model); bit && bit->HasGlyph()) {
        QImage glyph = ToQImage(*bit->Glyph());
        if (bit->NumGlyphs() > 1 && !glyph.isNull())
          glyph = glyph.copy(0, 0, glyph.width() / bit->NumGlyphs(), glyph.height());
        const QPixmap pixmap = TransparentPixmap(glyph);
        button.setIcon(QIcon(pixmap));
        button.setIconSize(pixmap.size());
      } else {
        button.setIcon(QIcon());
      }
      break;
    }
    case Kind::CheckBox: {
      auto& box = static_cast<QCheckBox&>(w);
      auto& model = static_cast<TCheckBox&>(c);
      box.setText(caption);
      box.setTristate(model.AllowGrayed() || model.State() == cbGrayed);
      box.setCheckState(model.State() == cbChecked   ? Qt::Checked
                        : model.State() == cbGrayed ? Qt::PartiallyChecked
                                                    : Qt::Unchecked);
      box.setLayoutDirection(model.Alignment() == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
      break;
    }
    case Kind::GroupBox:
      static_cast<QGroupBox&>(w).setTitle(caption);
      w.setAutoFillBackground(true);
      break;
    case Kind::RadioGroup: {
      auto& box = static_cast<QGroupBox&>(w);
      auto& model = static_cast<TCustomRadioGroup&>(c);
      box.setTitle(caption);
      box.setAutoFillBackground(true);
      const int count = model.Items()->Count();
      while (static_cast<int>(v.radios.size()) > count) {
        delete v.radios.back().data();
        v.radios.pop_back();
      }
      while (static_cast<int>(v.radios.size()) < count) {
        auto* radio = new QRadioButton(&box);
        const int index = static_cast<int>(v.radios.size());
        TControl* ctl = &c;
        const uint64_t id = v.id;
        QObject::connect(radio, &QRadioButton::clicked, radio, [this, ctl, id, index] {
          View* view = Find(ctl, id);
          if (!view || view->syncing) return;
          UserAction([ctl, index] { static_cast<TCustomRadioGroup*>(ctl)->SetItemIndex(index); });
          if (View* again = Find(ctl, id)) SyncView(*again);
        });
        radio->setAutoExclusive(false);
        radio->show();
        v.radios.emplace_back(radio);
      }
      // The classic arrangement: items fill the columns top to bottom, the
      // rows share the height below the caption.
      const QFontMetrics metrics(font);
      const int columns = std::max(1, model.Columns());
      const int per_column = std::max(1, (count + columns - 1) / columns);
      const int column_width = std::max(1, (c.Width() - 10) / columns);
      const int free_height = c.Height() - metrics.height() - 5;
      const int row_height = std::max(1, free_height / per_column);
      const int top = metrics.height() + 1 + (free_height % per_column) / 2;
      for (int i = 0; i < count; ++i) {
        QRadioButton& radio = *v.radios[static_cast<size_t>(i)];
        radio.setFont(font);
        radio.setPalette(palette);
        radio.setText(ToQt(model.Items()->Strings(i)));
        radio.setChecked(i == model.ItemIndex());
        radio.setEnabled(c.Enabled());
        radio.setGeometry(8 + (i / per_column) * column_width, top + (i % per_column) * row_height,
                          column_width - 8, row_height);
      }
      break;
    }
    case Kind::Edit: {
      auto& edit = static_cast<QLineEdit&>(w);
      auto& model = static_cast<TCustomEdit&>(c);
      if (edit.text() != ToQt(model.Text())) edit.setText(ToQt(model.Text()));
      edit.setReadOnly(model.ReadOnly());
      edit.setMaxLength(model.MaxLength() > 0 ? model.MaxLength() : 32767);
      edit.setFrame(model.BorderStyle() != bsNone);
      palette.setColor(QPalette::Base, ToQColor(c.Color()));
      break;
    }
    case Kind::Memo: {
      auto& memo = static_cast<QPlainTextEdit&>(w);
      auto& model = static_cast<TCustomMemo&>(c);
      const QString text = NormalizedLines(ToQt(model.Lines()->Text()));
      if (NormalizedLines(memo.toPlainText()) != text) memo.setPlainText(text);
      memo.setReadOnly(model.ReadOnly());
      memo.setLineWrapMode(model.WordWrap() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
      const TScrollStyle bars = model.ScrollBars();
      memo.setVerticalScrollBarPolicy(bars == ssVertical || bars == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                           : Qt::ScrollBarAsNeeded);
      memo.setHorizontalScrollBarPolicy(bars == ssHorizontal || bars == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                               : Qt::ScrollBarAsNeeded);
      if (model.BorderStyle() == bsNone) memo.setFrameShape(QFrame::NoFrame);
      palette.setColor(QPalette::Base, ToQColor(c.Color()));
      break;
    }
    case Kind::TabControl: {
      auto& model = static_cast<TTabControl&>(c);
      QTabBar& tabs = *v.tabs;
      while (tabs.count() > model.Tabs()->Count()) tabs.removeTab(tabs.count() - 1);
      for (int i = 0; i < model.Tabs()->Count(); ++i) {
        const QString text = ToQt(model.Tabs()->Strings(i));
        if (i < tabs.count()) tabs.setTabText(i, text);
        else tabs.addTab(text);
      }
      tabs.setCurrentIndex(model.TabIndex());
      tabs.setShape(model.TabPosition() == tpBottom ? QTabBar::RoundedSouth : QTabBar::RoundedNorth);
      tabs.setFont(font);
      const int height = std::min(c.Height(), tabs.sizeHint().height());
      tabs.setGeometry(0, model.TabPosition() == tpBottom ? c.Height() - height : 0, c.Width(), height);
      tabs.setEnabled(c.Enabled());
      break;
    }
    case Kind::Image:
      v.image = ToQImage(*static_cast<TImage&>(c).Picture());
      v.image_valid = true;
      break;
    default:
      break;
  }
  if (w.palette() != palette) w.setPalette(palette);
  v.syncing = false;
  // Qt's own widgets repaint themselves when a value changes; the backend's
  // are told.
  if (dynamic_cast<ModelWidget*>(&w)) w.update();
}

void QtBackend::SyncChildren(View& v) {
  auto* win = dynamic_cast<TWinControl*>(v.control);
  if (!win) return;
  // Widgets of controls that left this parent go with them.
  std::vector<const TControl*> gone;
  for (auto& [control, child] : views_)
    if (child->widget && child->widget->parentWidget() == v.widget && control->Parent() != win) gone.push_back(control);
  for (const TControl* c : gone) DropView(c);
  for (int i = 0; i < win->ControlCount(); ++i) {
    TControl* child = win->Controls(i);
    auto it = views_.find(child);
    if (it == views_.end() || !it->second->widget) {
      if (it != views_.end()) views_.erase(it);
      CreateView(*child, v.widget);
      continue;
    }
    View& cv = *it->second;
    if (cv.widget->parentWidget() != v.widget) {
      cv.widget->setParent(v.widget);
      SyncView(cv);
    }
  }
  // Bottom first, so that the last raised is in front.
  for (int i = 0; i < win->ControlCount(); ++i)
    if (QWidget* w = WidgetOf(*win->Controls(i))) w->raise();
  if (v.tabs) v.tabs->lower();
}

void QtBackend::DropView(const TControl* control) {
  auto it = views_.find(control);
  if (it == views_.end()) return;
  QPointer<QWidget> widget = it->second->widget;
  views_.erase(it);
  if (!widget) return;
  // The views of the widgets inside go too; their controls, if still alive,
  // get new widgets when they appear under a known parent again.
  for (auto i = views_.begin(); i != views_.end();) {
    if (i->second->widget && widget->isAncestorOf(i->second->widget)) i = views_.erase(i);
    else ++i;
  }
  shot_state_.erase(control);
  // Later: the widget may be the one whose signal is being delivered.
  widget->hide();
  widget->setParent(nullptr);
  widget->deleteLater();
}

void QtBackend::ControlChanged(TControl& control, TControlChange what) {
  if (what == TControlChange::Destroyed) {
    DropView(&control);
    return;
  }
  auto it = views_.find(&control);
  if (it == views_.end()) return;
  View& v = *it->second;
  if (what == TControlChange::ModalResult) {
    // A modal loop waiting for events must look at the form again.
    if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance()) d->wakeUp();
    return;
  }
  if (what == TControlChange::Focus) {
    if (auto* form = dynamic_cast<TCustomForm*>(&control); form && form->ActiveControl())
      if (QWidget* w = WidgetOf(*form->ActiveControl())) {
        v.syncing = true;
        w->setFocus();
        v.syncing = false;
      }
    return;
  }
  if (std::find(dirty_.begin(), dirty_.end(), &control) == dirty_.end()) dirty_.push_back(&control);
  if (what == TControlChange::RepaintNow) {
    const int64_t now = NowMs();
    if (now - v.last_repaint_now_ms < kRepaintNowIntervalMs) return;
    v.last_repaint_now_ms = now;
    const BusyClock busy(busy_ns_);
    Flush();
    if (View* again = Find(&control, v.id)) again->widget->repaint();
  }
}

void QtBackend::FlushControl(const TControl* control) {
  auto it = views_.find(control);
  if (it == views_.end() || !it->second->widget) return;
  View& v = *it->second;
  SyncView(v);
  SyncChildren(v);
}

void QtBackend::Flush() {
  if (flushing_ || dirty_.empty()) {
    last_flush_ms_ = NowMs();
    CheckScreenshots();
    return;
  }
  ++flushing_;
  ++flush_count_;
  // Syncing may mark more controls (a child created under a new parent).
  for (size_t i = 0; i < dirty_.size(); ++i) FlushControl(dirty_[i]);
  dirty_.clear();
  --flushing_;
  last_flush_ms_ = NowMs();
  CheckScreenshots();
}

void QtBackend::ProcessMessages() {
  const BusyClock busy(busy_ns_);
  // Long operations call this per block of a few KB; asking the window
  // system costs about as much as such a block, so it is asked at most
  // every kEventIntervalMs (still far quicker than a user's click).
  const int64_t now = NowMs();
  if (now - last_events_ms_ >= kEventIntervalMs) {
    last_events_ms_ = now;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  if (NowMs() - last_flush_ms_ >= kRepaintIntervalMs) Flush();
  RethrowPending();
}

// --- Forms ------------------------------------------------------------------

void QtBackend::ShowForm(TCustomForm& form) {
  auto it = views_.find(&form);
  View* v = it != views_.end() && it->second->widget ? it->second.get() : nullptr;
  if (!v) v = &CreateView(form, nullptr);
  Flush();
  QWidget& w = *v->widget;
  const TFormBorderStyle border = form.BorderStyle();
  Qt::WindowFlags flags = border == bsDialog ? Qt::Dialog : Qt::Window;
  if (border == bsNone) flags |= Qt::FramelessWindowHint;
  if (border == bsToolWindow || border == bsSizeToolWin) flags = Qt::Tool;
  if (form.FormStyle() == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
  if (!form.BorderIcons().Contains(biSystemMenu)) flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  else {
    flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (form.BorderIcons().Contains(biMinimize)) flags |= Qt::WindowMinimizeButtonHint;
    if (form.BorderIcons().Contains(biMaximize)) flags |= Qt::WindowMaximizeButtonHint;
  }
  v->syncing = true;
  w.setWindowFlags(flags);
  w.setWindowModality(form.IsModal() ? Qt::ApplicationModal : Qt::NonModal);
  SyncGeometry(*v);
  ShowInState(*v);
  w.raise();
  w.activateWindow();
  if (TWinControl* active = form.ActiveControl())
    if (QWidget* aw = WidgetOf(*active)) aw->setFocus();
  v->syncing = false;
  AdoptWindowSize(*v);
  // Photographed at the next flush, after the form's OnShow has filled it.
  shot_state_.erase(&form);
}

void QtBackend::ShowInState(View& v) {
  QWidget& w = *v.widget;
  switch (static_cast<TCustomForm&>(*v.control).WindowState()) {
    case wsMaximized:
      w.setMinimumSize(0, 0);
      w.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      w.showMaximized();
      break;
    case wsMinimized:
      w.showMinimized();
      break;
    case wsNormal:
      w.showNormal();
      break;
  }
}

void QtBackend::AdoptWindowSize(View& v) {
  // The model learns the size the window system gave (a maximised form
  // realigns its children to the screen).
  TControl* form = v.control;
  const QSize size = v.widget->size();
  if (size.width() == form->ClientWidth() && size.height() == form->ClientHeight()) return;
  const uint64_t id = v.id;
  UserAction([form, size] {
    form->SetClientWidth(size.width());
    form->SetClientHeight(size.height());
  });
  if (View* again = Find(form, id)) SyncChildren(*again);
}

void QtBackend::HideForm(TCustomForm& form) {
  if (QWidget* w = WidgetOf(form)) w->hide();
  shot_state_.erase(&form);
}

void QtBackend::DestroyForm(TCustomForm& form) { DropView(&form); }

void QtBackend::RunModal(TCustomForm& form) {
  while (!form.ModalDone()) {
    Flush();
    RethrowPending();
    if (!WidgetOf(form) || !form.Visible())
      throw EUiBackendError("The modal form \"%s\" lost its window", form.Caption().empty() ? form.Name() : form.Caption());
    if (autopress_ && !press_scheduled_) ScheduleAutopress(form);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    RethrowPending();
  }
}

void QtBackend::ScheduleAutopress(TCustomForm& form) {
  press_scheduled_ = true;
  const uint64_t id = views_.at(&form)->id;
  QTimer::singleShot(kAutopressDelayMs, qApp, [this, form_ptr = &form, id] {
    press_scheduled_ = false;
    if (!Find(form_ptr, id) || !form_ptr->IsModal()) return;
    Flush();
    const DefaultChoice choice = FindDefaultButton(*form_ptr);
    if (!choice.button || ++presses_ > kMaxAutopresses) {
      const std::string title = form_ptr->Caption().empty() ? form_ptr->Name() : form_ptr->Caption();
      HandleAction(std::make_exception_ptr(
          EUiBackendError("WENMOOR_AUTOPRESS finds no button to press on the form \"%s\"", title)));
      return;
    }
    TButton* button = choice.button;
    UserAction([button] { button->Click(); });
  });
}

void QtBackend::AutopressDialog(QDialog& dialog) {
  QTimer::singleShot(kAutopressDelayMs, &dialog, [&dialog] {
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
      if (b->isDefault() && b->isEnabled() && b->isVisible()) return b->click();
    dialog.accept();
  });
}

// --- Painting ---------------------------------------------------------------

void QtBackend::Paint(View& v, QPainter& p) {
  TControl& c = *v.control;
  const QRect all(0, 0, c.Width(), c.Height());
  switch (v.kind) {
    case Kind::CustomPaint: {
      QtCanvas canvas(p);
      canvas.Font().Assign(*c.Font());
      canvas.Brush().color = c.Color();
      try {
        c.Paint(canvas);
      } catch (...) {
        HandleAction(std::current_exception());
      }
      return;
    }
    case Kind::Label: {
      auto& label = static_cast<TCustomLabel&>(c);
      if (!label.Transparent()) p.fillRect(all, ToQColor(c.Color()));
      int flags = AlignmentFlags(label.Alignment()) | Qt::TextExpandTabs;
      flags |= label.Layout() == tlCenter ? Qt::AlignVCenter : label.Layout() == tlBottom ? Qt::AlignBottom : Qt::AlignTop;
      if (label.WordWrap()) flags |= Qt::TextWordWrap;
      p.setFont(ToQFont(*c.Font()));
      const QString text = ToQtLines(label.DisplayText());
      if (!c.Enabled()) {
        p.setPen(Highlight());
        p.drawText(all.translated(1, 1), flags, text);
        p.setPen(Shadow());
      } else {
        p.setPen(ToQColor(c.Font()->Color()));
      }
      p.drawText(all, flags, text);
      return;
    }
    case Kind::Panel: {
      auto& panel = static_cast<TCustomPanel&>(c);
      QRect r = all;
      p.fillRect(r, ToQColor(c.Color()));
      if (panel.BorderStyle() == bsSingle) {
        p.setPen(QColor(0, 0, 0));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
      }
      const int bw = panel.BevelWidth();
      if (panel.BevelOuter() == bvRaised) Frame3D(p, r, Highlight(), Shadow(), bw);
      else if (panel.BevelOuter() == bvLowered) Frame3D(p, r, Shadow(), Highlight(), bw);
      else if (panel.BevelOuter() == bvSpace) r.adjust(bw, bw, -bw, -bw);
      r.adjust(panel.BorderWidth(), panel.BorderWidth(), -panel.BorderWidth(), -panel.BorderWidth());
      if (panel.BevelInner() == bvRaised) Frame3D(p, r, Highlight(), Shadow(), bw);
      else if (panel.BevelInner() == bvLowered) Frame3D(p, r, Shadow(), Highlight(), bw);
      if (!c.Caption().empty()) {
        p.setFont(ToQFont(*c.Font()));
        p.setPen(ToQColor(c.Font()->Color()));
        p.drawText(r, AlignmentFlags(panel.Alignment()) | Qt::AlignVCenter, ToQt(StripAccelerator(c.Caption())));
      }
      return;
    }
    case Kind::Bevel: {
      auto& bevel = static_cast<TBevel&>(c);
      const bool lowered = bevel.Style() == bsLowered;
      const QColor first = lowered ? Shadow() : Highlight();
      const QColor second = lowered ? Highlight() : Shadow();
      const int w = c.Width(), h = c.Height();
      QRect r = all;
      switch (bevel.Shape()) {
        case bsBox:
          Frame3D(p, r, first, second, 1);
          break;
        case bsFrame: {
          QRect outer = all.adjusted(0, 0, -1, -1);
          QRect inner = all.adjusted(1, 1, 0, 0);
          Frame3D(p, inner, second, second, 1);
          Frame3D(p, outer, first, first, 1);
          break;
        }
        case bsTopLine:
          p.setPen(first);
          p.drawLine(0, 0, w - 1, 0);
          p.setPen(second);
          p.drawLine(0, 1, w - 1, 1);
          break;
        case bsBottomLine:
          p.setPen(first);
          p.drawLine(0, h - 2, w - 1, h - 2);
          p.setPen(second);
          p.drawLine(0, h - 1, w - 1, h - 1);
          break;
        case bsLeftLine:
          p.setPen(first);
          p.drawLine(0, 0, 0, h - 1);
          p.setPen(second);
          p.drawLine(1, 0, 1, h - 1);
          break;
        case bsRightLine:
          p.setPen(first);
          p.drawLine(w - 2, 0, w - 2, h - 1);
          p.setPen(second);
          p.drawLine(w - 1, 0, w - 1, h - 1);
          break;
        case bsSpacer:
          break;
      }
      return;
    }
    case Kind::Image: {
      auto& image = static_cast<TImage&>(c);
      if (!v.image_valid) {
        v.image = ToQImage(*image.Picture());
        v.image_valid = true;
      }
      if (v.image.isNull()) return;
      const QPixmap pixmap = image.Transparent() ? TransparentPixmap(v.image) : QPixmap::fromImage(v.image);
      if (image.Stretch()) {
        p.drawPixmap(all, pixmap);
      } else if (image.Center()) {
        p.drawPixmap((c.Width() - pixmap.width()) / 2, (c.Height() - pixmap.height()) / 2, pixmap);
      } else {
        p.drawPixmap(0, 0, pixmap);
      }
      return;
    }
    case Kind::ProgressBar: {
      // Drawn here rather than by Qt's progress bar, which repaints at once
      // on every change: a copy updating two bars per flush would pay for
      // two window repaints each time.
      auto& bar = static_cast<TProgressBar&>(c);
      QRect r = all;
      p.fillRect(r, ToQColor(clBtnFace));
      Frame3D(p, r, Shadow(), Highlight(), 1);
      r.adjust(1, 1, -1, -1);
      const bool vertical = bar.Orientation() == pbVertical;
      const int length = vertical ? r.height() : r.width();
      const int range = bar.Max() - bar.Min();
      const int filled = range > 0 ? static_cast<int>(int64_t{length} * (bar.Position() - bar.Min()) / range) : 0;
      const QColor fill = ToQColor(clHighlight);
      if (bar.Smooth()) {
        p.fillRect(vertical ? QRect(r.left(), r.bottom() + 1 - filled, r.width(), filled)
                            : QRect(r.left(), r.top(), filled, r.height()),
                   fill);
        return;
      }
      // The classic blocks: two thirds of the bar's thickness, two pixels apart.
      const int thickness = vertical ? r.width() : r.height();
      const int block = std::max(2, thickness * 2 / 3);
      for (int at = 0; at < filled; at += block + 2) {
        const int size = std::min(block, filled - at);
        p.fillRect(vertical ? QRect(r.left(), r.bottom() + 1 - at - size, r.width(), size)
                            : QRect(r.left() + at, r.top(), size, r.height()),
                   fill);
      }
      return;
    }
    case Kind::Plain:
      return;
    default:
      // Forms, pages, containers and tab strips: their background.
      p.fillRect(all, ToQColor(c.Color()));
      return;
  }
}

// --- Screenshots ------------------------------------------------------------

void QtBackend::TakeScreenshot(QWidget& widget, const std::string& name) {
  if (screenshot_dir_.empty()) return;
  std::string number = std::to_string(screenshots_.size() + 1);
  number.insert(0, number.size() < 3 ? 3 - number.size() : 0, '0');
  const std::filesystem::path file = screenshot_dir_ / (number + "-" + FileSafe(name) + ".png");
  if (widget.grab().save(QString::fromStdString(file.string()), "PNG")) screenshots_.push_back(file);
}

void QtBackend::CheckScreenshots() {
  if (screenshot_dir_.empty()) return;
  for (auto& [control, view] : views_) {
    if (view->kind != Kind::Form || !view->widget || !view->widget->isVisible()) continue;
    const auto& form = static_cast<const TCustomForm&>(*control);
    const TCustomForm* page = FrontPage(form);
    const std::string state = form.Caption() + "\n" + (page ? page->Name() + "\n" + page->Caption() : std::string());
    auto [it, added] = shot_state_.try_emplace(control, state);
    if (!added && it->second == state) continue;
    it->second = state;
    std::string name = form.Name().empty() ? form.ClassName() : form.Name();
    if (page) name += "-" + (page->Name().empty() ? page->ClassName() : page->Name());
    TakeScreenshot(*view->widget, name);
  }
}

int QtBackend::ExecDialog(QDialog& dialog, const std::string& name) {
  Flush();
  if (!screenshot_dir_.empty())
    QTimer::singleShot(0, &dialog, [this, &dialog, name] { TakeScreenshot(dialog, name); });
  if (autopress_) AutopressDialog(dialog);
  const int result = dialog.exec();
  RethrowPending();
  return result;
}

// --- Boxes ------------------------------------------------------------------

namespace {

// A dialog whose Escape and close box can be refused.
class BoxDialog : public QDialog {
 public:
  bool may_reject = true;
  void reject() override {
    if (may_reject) QDialog::reject();
  }
};

}  // namespace

int QtBackend::ShowMessageBox(const MessageBoxRequest& r) {
  BoxDialog box;
  box.setWindowTitle(ToQt(r.caption));
  box.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  // Escape and the close box answer escape_result, or are disabled.
  box.may_reject = r.escape_result.has_value();
  if (!box.may_reject) box.setWindowFlag(Qt::WindowCloseButtonHint, false);
  auto* layout = new QVBoxLayout(&box);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  auto* top = new QHBoxLayout;
  top->setSpacing(12);
  layout->addLayout(top);
  QStyle::StandardPixmap icon = QStyle::SP_CustomBase;
  switch (r.icon) {
    case TMessageIcon::Information: icon = QStyle::SP_MessageBoxInformation; break;
    case TMessageIcon::Warning: icon = QStyle::SP_MessageBoxWarning; break;
    case TMessageIcon::Error: icon = QStyle::SP_MessageBoxCritical; break;
    case TMessageIcon::Question: icon = QStyle::SP_MessageBoxQuestion; break;
    case TMessageIcon::None: break;
  }
  if (icon != QStyle::SP_CustomBase) {
    auto* picture = new QLabel(&box);
    picture->setPixmap(box.style()->standardIcon(icon).pixmap(32, 32));
    picture->setAlignment(Qt::AlignTop);
    top->addWidget(picture);
  }
  const QString message = ToQtLines(r.text);
  auto* text = new QLabel(message, &box);
  text->setTextFormat(Qt::PlainText);
  text->setWordWrap(true);
  text->setObjectName(QStringLiteral("text"));
  const QFontMetrics metrics(text->font());
  int widest = 0;
  for (const QString& line : message.split(QLatin1Char('\n'))) widest = std::max(widest, metrics.horizontalAdvance(line));
  text->setMinimumWidth(std::min(widest + 8, 420));
  top->addWidget(text, 1);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  std::optional<int> result;
  for (size_t i = 0; i < r.buttons.size(); ++i) {
    auto* button = new QPushButton(ToQt(r.buttons[i].caption), &box);
    button->setAutoDefault(false);
    button->setMinimumWidth(75);
    if (i == r.default_button) {
      button->setDefault(true);
      button->setFocus();
    }
    const int value = r.buttons[i].result;
    QObject::connect(button, &QPushButton::clicked, &box, [&box, &result, value] {
      result = value;
      box.accept();
    });
    row->addWidget(button);
  }
  row->addStretch(1);
  layout->addLayout(row);
  ExecDialog(box, "message-" + (r.caption.empty() ? std::string("box") : r.caption));
  return result ? *result : r.escape_result.value_or(r.buttons.empty() ? mrOk : r.buttons[0].result);
}

std::optional<std::string> QtBackend::InputQuery(const InputQueryRequest& r) {
  QInputDialog dialog;
  dialog.setWindowTitle(ToQt(r.caption));
  dialog.setLabelText(ToQt(r.prompt));
  dialog.setTextValue(ToQt(r.value));
  dialog.setInputMode(QInputDialog::TextInput);
  if (ExecDialog(dialog, "input-" + r.caption) != QDialog::Accepted) return std::nullopt;
  return FromQt(dialog.textValue());
}

std::optional<std::string> QtBackend::BrowseForFolder(const FolderBrowseRequest& r) {
  FolderBrowser browser(*this, r);
  if (ExecDialog(browser, "folder-" + r.caption) != QDialog::Accepted) return std::nullopt;
  return browser.Chosen();
}

// --- Metrics ----------------------------------------------------------------

TScreenMetrics QtBackend::ScreenMetrics() const {
  TScreenMetrics m;
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect g = screen->geometry();
    m.width = g.width();
    m.height = g.height();
  }
  return m;
}

TSize QtBackend::MeasureText(const TFont& font, std::string_view text, int wrap_width) {
  const QFontMetrics metrics(ToQFont(font));
  const QString s = ToQtLines(text);
  if (wrap_width > 0) {
    const QRect r = metrics.boundingRect(QRect(0, 0, wrap_width, 1 << 20),
                                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs, s);
    return TSize{r.width(), std::max(r.height(), metrics.height())};
  }
  TSize size;
  const QStringList lines = s.split(QLatin1Char('\n'));
  for (const QString& line : lines) size.cx = std::max(size.cx, metrics.horizontalAdvance(line));
  size.cy = static_cast<int>(lines.size()) * metrics.height();
  return size;
}

WENMOOR_REGISTER_BACKEND(qt, [](const EnvLookup& env) -> std::unique_ptr<UiBackend> {
  return QtBackend::FromEnvironment(env);
});

}  // namespace wenmoor::qt
