#include "Classes/Toolkit/CustomCellView.h"

#include <cassert>

#include "Platform/Log/Log.h"

namespace lk {

CustomCellView::CustomCellView(ui::Rect frame) : ui::DrawnView(frame) {
  setBackgroundColor(ui::Color::clear());
}

void CustomCellView::setDataModel(std::shared_ptr<void> record, const std::type_info& type) {
  if (record == model_) return;
  model_ = std::move(record);
  type_ = &type;
}

void CustomCellView::setHighlighted(bool highlighted, bool /*animated*/) {
  isHighlighted_ = highlighted;
  setNeedsDisplay();
}

void CustomCellView::observeValueForKeyPath(const std::string& /*keyPath*/) {
  setNeedsDisplay();
}

double CustomCellView::heightOfCell(const std::any& /*record*/) {
  logLine("Must implements by subclass");
  assert(false && "Must implements by subclass");
  return 0;
}

}  // namespace lk
