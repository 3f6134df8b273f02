#include "Platform/UI/Canvas.h"

#include <algorithm>

#include "Platform/UI/TextMeasure.h"

namespace lk::ui {

Size Canvas::drawText(const std::string& text, const Rect& rect, const Font& font,
                      TextAlignment alignment, const Color& color) {
  DrawOp op;
  op.kind = DrawOp::Kind::kText;
  op.rect = rect;
  op.text = text;
  op.lines = {text};
  op.font = font;
  op.alignment = alignment;
  op.color = color;
  ops_.push_back(std::move(op));
  return Size{std::min(TextMeasure::widthOfText(text, font), rect.width()),
              std::min(TextMeasure::lineHeight(font), rect.height())};
}

double Canvas::drawWrappedText(const std::string& text, const Rect& rect, const Font& font,
                               TextAlignment alignment, const Color& color) {
  auto lines = TextMeasure::wrap(text, font, rect.width());
  double lh = TextMeasure::lineHeight(font);
  if (rect.height() > 0) {
    auto fit = static_cast<std::size_t>(std::max(1.0, rect.height() / lh));
    if (lines.size() > fit) lines.resize(fit);
  }
  double height = lh * static_cast<double>(lines.size());
  DrawOp op;
  op.kind = DrawOp::Kind::kText;
  op.rect = Rect{rect.x(), rect.y(), rect.width(), height};
  op.text = text;
  op.lines = std::move(lines);
  op.font = font;
  op.alignment = alignment;
  op.color = color;
  ops_.push_back(std::move(op));
  return height;
}

void Canvas::drawImage(const Image& image, const Rect& rect, double cornerRadius, bool flipped) {
  DrawOp op;
  op.kind = DrawOp::Kind::kImage;
  op.rect = rect;
  op.image = image;
  op.cornerRadius = cornerRadius;
  op.flipped = flipped;
  ops_.push_back(std::move(op));
}

void Canvas::fillRect(const Rect& rect, const Color& color, double cornerRadius) {
  DrawOp op;
  op.kind = DrawOp::Kind::kFillRect;
  op.rect = rect;
  op.color = color;
  op.cornerRadius = cornerRadius;
  ops_.push_back(std::move(op));
}

void Canvas::strokeRect(const Rect& rect, const Color& color, double lineWidth) {
  DrawOp op;
  op.kind = DrawOp::Kind::kStrokeRect;
  op.rect = rect;
  op.color = color;
  op.lineWidth = lineWidth;
  ops_.push_back(std::move(op));
}

void Canvas::drawLine(Point from, Point to, const Color& color, double lineWidth) {
  DrawOp op;
  op.kind = DrawOp::Kind::kLine;
  op.from = from;
  op.to = to;
  op.color = color;
  op.lineWidth = lineWidth;
  ops_.push_back(std::move(op));
}

void Canvas::drawLinearGradient(const Rect& rect, const Color& start, const Color& end, Point from,
                                Point to) {
  DrawOp op;
  op.kind = DrawOp::Kind::kGradient;
  op.rect = rect;
  op.color = start;
  op.endColor = end;
  op.from = from;
  op.to = to;
  ops_.push_back(std::move(op));
}

void Canvas::clipToRect(const Rect& rect, double cornerRadius) {
  DrawOp op;
  op.kind = DrawOp::Kind::kClip;
  op.rect = rect;
  op.cornerRadius = cornerRadius;
  ops_.push_back(std::move(op));
}

void Canvas::saveState() {
  ops_.push_back(DrawOp{.kind = DrawOp::Kind::kSave});
}

void Canvas::restoreState() {
  ops_.push_back(DrawOp{.kind = DrawOp::Kind::kRestore});
}

std::vector<std::string> Canvas::texts() const {
  std::vector<std::string> out;
  for (const auto& op : ops_) {
    if (op.kind == DrawOp::Kind::kText) out.push_back(op.text);
  }
  return out;
}

std::vector<std::string> Canvas::imageNames() const {
  std::vector<std::string> out;
  for (const auto& op : ops_) {
    if (op.kind == DrawOp::Kind::kImage) out.push_back(op.image.describe());
  }
  return out;
}

}  // namespace lk::ui
