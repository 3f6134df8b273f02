#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "frontends/qt/PictureStore.h"
#include "frontends/qt/TouchInput.h"

namespace lk::qt {

// The phone's screen in a desktop window: paints what the key window shows at `scale` pixels a
// point and turns the mouse and keyboard into touches and typing. Minimising the window sends
// the application to the background; restoring it brings it back.
class PhoneWidget final : public QWidget {
 public:
  explicit PhoneWidget(double scale = 2, QWidget* parent = nullptr);

  [[nodiscard]] double scale() const { return scale_; }
  [[nodiscard]] PictureStore& pictures() { return pictures_; }
  [[nodiscard]] TouchInput& touches() { return touches_; }
  // Called once, after the first frame was painted.
  void setFirstFrameHandler(std::function<void()> handler) { firstFrame_ = std::move(handler); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  [[nodiscard]] QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  void changeEvent(QEvent* event) override;

 private:
  [[nodiscard]] ui::Point toScreen(QPointF position) const;

  double scale_;
  PictureStore pictures_;
  TouchInput touches_;
  QTimer frames_;  // repaints while the client animates
  QElapsedTimer clock_;
  bool minimized_ = false;
  std::function<void()> firstFrame_;
};

}  // namespace lk::qt
