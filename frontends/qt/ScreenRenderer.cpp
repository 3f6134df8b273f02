#include "frontends/qt/ScreenRenderer.h"

#include <QPainter>

#include "Platform/UI/Application.h"
#include "Platform/UI/Window.h"
#include "frontends/qt/ViewPainter.h"

namespace lk::qt {

QImage renderScreen(PictureStore& pictures, double scale, double seconds, const ui::View* root,
                    const ui::View* pressed) {
  QImage image(static_cast<int>(320 * scale), static_cast<int>(480 * scale),
               QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.scale(scale, scale);
  ViewPainter views(painter, pictures, seconds);
  views.setPressed(pressed);
  views.paintScreen(root != nullptr ? root : ui::Application::shared().keyWindow());
  return image;
}

bool isBlank(const QImage& image, int fromRow) {
  if (image.isNull() || fromRow >= image.height()) return true;
  const QRgb first = image.pixel(0, fromRow);
  for (int y = fromRow; y < image.height(); y += 2) {
    for (int x = 0; x < image.width(); x += 2) {
      if (image.pixel(x, y) != first) return false;
    }
  }
  return true;
}

}  // namespace lk::qt
