#include "frontends/qt/CanvasReplay.h"

#include <QPainterPath>

#include "Platform/UI/TextMeasure.h"
#include "Platform/UI/TextMetricsQt.h"

namespace lk::qt {

QColor qtColor(const ui::Color& c) {
  return QColor::fromRgbF(static_cast<float>(c.red), static_cast<float>(c.green),
                          static_cast<float>(c.blue), static_cast<float>(c.alpha));
}

QRectF qtRect(const ui::Rect& r) {
  return QRectF(r.x(), r.y(), r.width(), r.height());
}

void drawMissingPicture(QPainter& painter, const QRectF& rect, const std::string& name) {
  if (rect.isEmpty()) return;
  painter.save();
  const QColor magenta(255, 0, 255);
  painter.fillRect(rect, QColor(255, 0, 255, 40));
  painter.setPen(QPen(magenta, 1));
  painter.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
  // Crossed only where the cross stays readable: a missing backdrop gets its frame alone.
  if (rect.width() <= 120 && rect.height() <= 120) {
    painter.drawLine(rect.topLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomLeft());
  }
  if (rect.height() >= 10 && !name.empty()) {
    QFont f = ui::qtFont(ui::Font::system(8));
    painter.setFont(f);
    painter.setPen(Qt::black);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextWrapAnywhere, QString::fromStdString(name));
  }
  painter.restore();
}

void drawPicture(QPainter& painter, PictureStore& pictures, const ui::Image& image,
                 const QRectF& rect, double cornerRadius, bool flipped) {
  if (image.isNull() || rect.isEmpty()) return;
  const QImage& picture = pictures.picture(image);
  if (picture.isNull()) {
    // Only a named resource counts as missing; a download that did not decode is left blank.
    if (!image.name().empty() && !image.bitmap() && !image.data())
      drawMissingPicture(painter, rect, image.name());
    return;
  }
  painter.save();
  if (cornerRadius > 0) {
    QPainterPath clip;
    clip.addRoundedRect(rect, cornerRadius, cornerRadius);
    painter.setClipPath(clip, Qt::IntersectClip);
  }
  if (flipped != image.isFlipped()) {
    painter.translate(0, rect.top() + rect.bottom());
    painter.scale(1, -1);
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(rect, picture);
  painter.restore();
}

namespace {

Qt::Alignment qtAlignment(ui::TextAlignment a) {
  switch (a) {
    case ui::TextAlignment::kCenter:
      return Qt::AlignHCenter;
    case ui::TextAlignment::kRight:
      return Qt::AlignRight;
    case ui::TextAlignment::kLeft:
      break;
  }
  return Qt::AlignLeft;
}

void drawTextOp(QPainter& painter, const ui::DrawOp& op) {
  painter.save();
  painter.setFont(ui::qtFont(op.font));
  painter.setPen(qtColor(op.color));
  const double lh = ui::TextMeasure::lineHeight(op.font);
  // Cut at the sides only: a line a little taller than its box keeps its descenders.
  painter.setClipRect(
      QRectF(op.rect.x(), op.rect.y() - lh, op.rect.width(), op.rect.height() + 2 * lh),
      Qt::IntersectClip);
  double y = op.rect.y();
  for (const auto& line : op.lines) {
    painter.drawText(QRectF(op.rect.x(), y, op.rect.width(), lh),
                     qtAlignment(op.alignment) | Qt::AlignTop | Qt::TextSingleLine,
                     QString::fromStdString(line));
    y += lh;
  }
  painter.restore();
}

}  // namespace

void replayCanvas(QPainter& painter, const std::vector<ui::DrawOp>& ops, PictureStore& pictures) {
  using Kind = ui::DrawOp::Kind;
  int saved = 0;
  painter.save();
  for (const auto& op : ops) {
    switch (op.kind) {
      case Kind::kText:
        drawTextOp(painter, op);
        break;
      case Kind::kImage:
        drawPicture(painter, pictures, op.image, qtRect(op.rect), op.cornerRadius, op.flipped);
        break;
      case Kind::kFillRect:
        if (op.cornerRadius > 0) {
          painter.save();
          painter.setRenderHint(QPainter::Antialiasing);
          painter.setPen(Qt::NoPen);
          painter.setBrush(qtColor(op.color));
          painter.drawRoundedRect(qtRect(op.rect), op.cornerRadius, op.cornerRadius);
          painter.restore();
        } else {
          painter.fillRect(qtRect(op.rect), qtColor(op.color));
        }
        break;
      case Kind::kStrokeRect:
        painter.save();
        painter.setPen(QPen(qtColor(op.color), op.lineWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(qtRect(op.rect));
        painter.restore();
        break;
      case Kind::kLine:
        painter.save();
        painter.setPen(QPen(qtColor(op.color), op.lineWidth));
        painter.drawLine(QPointF(op.from.x, op.from.y), QPointF(op.to.x, op.to.y));
        painter.restore();
        break;
      case Kind::kGradient: {
        QLinearGradient g(QPointF(op.from.x, op.from.y), QPointF(op.to.x, op.to.y));
        g.setColorAt(0, qtColor(op.color));
        g.setColorAt(1, qtColor(op.endColor));
        painter.fillRect(qtRect(op.rect), g);
        break;
      }
      case Kind::kClip:
        if (op.cornerRadius > 0) {
          QPainterPath path;
          path.addRoundedRect(qtRect(op.rect), op.cornerRadius, op.cornerRadius);
          painter.setClipPath(path, Qt::IntersectClip);
        } else {
          painter.setClipRect(qtRect(op.rect), Qt::IntersectClip);
        }
        break;
      case Kind::kSave:
        painter.save();
        ++saved;
        break;
      case Kind::kRestore:
        // An unbalanced restore in a drawn view must not undo the caller's state.
        if (saved > 0) {
          painter.restore();
          --saved;
        }
        break;
    }
  }
  while (saved-- > 0)
    painter.restore();
  painter.restore();
}

}  // namespace lk::qt
