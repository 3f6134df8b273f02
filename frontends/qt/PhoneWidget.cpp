#include "frontends/qt/PhoneWidget.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "Platform/UI/Application.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/Window.h"
#include "frontends/qt/ViewPainter.h"

namespace lk::qt {

namespace {
constexpr int kFrameMilliseconds = 33;
// Points a notch of the wheel scrolls.
constexpr double kWheelNotch = 40;
}  // namespace

PhoneWidget::PhoneWidget(double scale, QWidget* parent) : QWidget(parent), scale_(scale) {
  setFixedSize(static_cast<int>(320 * scale), static_cast<int>(480 * scale));
  setWindowTitle(QStringLiteral("Lokavo"));
  setAttribute(Qt::WA_InputMethodEnabled);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(false);
  clock_.start();
  QObject::connect(&frames_, &QTimer::timeout, this, [this] { update(); });
  frames_.start(kFrameMilliseconds);
}

ui::Point PhoneWidget::toScreen(QPointF position) const {
  return ui::Point{position.x() / scale_, position.y() / scale_};
}

void PhoneWidget::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.scale(scale_, scale_);
  ViewPainter views(painter, pictures_, static_cast<double>(clock_.elapsed()) / 1000.0);
  views.setPressed(touches_.pressedButton());
  views.paintScreen(ui::Application::shared().keyWindow());
  if (firstFrame_) {
    auto handler = std::move(firstFrame_);
    firstFrame_ = nullptr;
    handler();
  }
}

void PhoneWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  touches_.press(toScreen(event->position()));
  update();
}

void PhoneWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  touches_.move(toScreen(event->position()));
  update();
}

void PhoneWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  touches_.release(toScreen(event->position()));
  update();
}

void PhoneWidget::wheelEvent(QWheelEvent* event) {
  const QPoint pixels = event->pixelDelta();
  const double dy =
      !pixels.isNull() ? pixels.y() / scale_ : event->angleDelta().y() / 120.0 * kWheelNotch;
  if (dy != 0) touches_.wheel(toScreen(event->position()), dy);
  update();
}

void PhoneWidget::keyPressEvent(QKeyEvent* event) {
  auto& keyboard = ui::Keyboard::shared();
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      keyboard.pressReturn();
      break;
    case Qt::Key_Backspace:
      keyboard.deleteBackward();
      break;
    default: {
      const QString text = event->text();
      if (!text.isEmpty() && text.at(0).isPrint()) {
        keyboard.type(text.toStdString());
      } else {
        QWidget::keyPressEvent(event);
        return;
      }
    }
  }
  update();
}

void PhoneWidget::inputMethodEvent(QInputMethodEvent* event) {
  // Composed text (pinyin for Chinese) arrives once committed.
  if (!event->commitString().isEmpty())
    ui::Keyboard::shared().type(event->commitString().toStdString());
  event->accept();
  update();
}

QVariant PhoneWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
  switch (query) {
    case Qt::ImEnabled:
      return ui::Keyboard::shared().isShown();
    case Qt::ImCursorRectangle:
      return QRect(0, static_cast<int>(264 * scale_) - 20, 10, 20);
    default:
      return QWidget::inputMethodQuery(query);
  }
}

void PhoneWidget::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) {
    auto& app = ui::Application::shared();
    const bool minimized = (windowState() & Qt::WindowMinimized) != 0;
    if (minimized && !minimized_) {
      minimized_ = true;
      app.enterBackground();
    } else if (!minimized && minimized_) {
      minimized_ = false;
      app.enterForeground();
    }
  }
  QWidget::changeEvent(event);
}

}  // namespace lk::qt
