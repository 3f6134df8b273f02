#include "Platform/UI/DrawnView.h"

namespace lk::ui {

DrawnView::DrawnView(Rect frame) : View(frame) {}

Canvas DrawnView::render() const {
  Canvas canvas;
  drawRect(canvas, Rect{0, 0, frame().width(), frame().height()});
  return canvas;
}

std::string DrawnView::dumpLine() const {
  Canvas canvas = render();
  std::string line;
  for (const auto& op : canvas.ops()) {
    std::string part;
    if (op.kind == DrawOp::Kind::kText && !op.text.empty()) part = op.text;
    if (op.kind == DrawOp::Kind::kImage && !op.image.isNull())
      part = "<" + op.image.describe() + ">";
    if (part.empty()) continue;
    line += line.empty() ? "drawn: " : " | ";
    line += part;
  }
  return line;
}

}  // namespace lk::ui
