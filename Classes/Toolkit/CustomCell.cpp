#include "Classes/Toolkit/CustomCell.h"

namespace lk {

CustomCell::CustomCell(Style style, std::string reuseIdentifier)
    : ui::TableViewCell(style, std::move(reuseIdentifier)) {
  setBackgroundColor(ui::Color::clear());
}

void CustomCell::setCellView(std::shared_ptr<CustomCellView> view) {
  if (view == cellView_) return;
  if (cellView_) cellView_->removeFromSuperview();
  cellView_ = std::move(view);
  if (!cellView_) return;
  const auto& content = contentView();
  cellView_->setFrame(ui::Rect{0, 0, content->frame().width(), content->frame().height()});
  cellView_->autoresizesWidth = true;
  cellView_->autoresizesHeight = true;
  content->addSubview(cellView_);
}

void CustomCell::setHighlighted(bool highlighted, bool animated) {
  ui::TableViewCell::setHighlighted(highlighted, animated);
  if (cellView_) cellView_->setHighlighted(highlighted, animated);
}

}  // namespace lk
