#include "Platform/UI/TableViewCell.h"

namespace lk::ui {

TableViewCell::TableViewCell(Style style, std::string reuseIdentifier)
    : View(Rect{0, 0, 320, 44}), style_(style), reuseIdentifier_(std::move(reuseIdentifier)) {
  contentView_ = std::make_shared<View>(Rect{0, 0, 320, 44});
  contentView_->autoresizesWidth = true;
  contentView_->autoresizesHeight = true;
  addSubview(contentView_);
  setBackgroundColor(Color::white());
}

const std::shared_ptr<Label>& TableViewCell::textLabel() {
  if (!textLabel_) {
    textLabel_ = std::make_shared<Label>(Rect{10, 0, frame().width() - 20, frame().height()});
    textLabel_->setFont(Font::boldSystem(17));
    contentView_->addSubview(textLabel_);
  }
  return textLabel_;
}

const std::shared_ptr<Label>& TableViewCell::detailTextLabel() {
  if (!detailTextLabel_) {
    detailTextLabel_ = std::make_shared<Label>(Rect{10, 22, frame().width() - 20, 20});
    detailTextLabel_->setFont(Font::system(14));
    detailTextLabel_->setTextColor(Color::gray(0.5));
    contentView_->addSubview(detailTextLabel_);
  }
  return detailTextLabel_;
}

const std::shared_ptr<ImageView>& TableViewCell::imageView() {
  if (!imageView_) {
    imageView_ = std::make_shared<ImageView>(Rect{0, 0, 44, 44});
    contentView_->insertSubview(imageView_, 0);
  }
  return imageView_;
}

void TableViewCell::setBackgroundView(std::shared_ptr<View> view) {
  if (backgroundView_) backgroundView_->removeFromSuperview();
  backgroundView_ = std::move(view);
  if (backgroundView_) {
    backgroundView_->setFrame(Rect{0, 0, frame().width(), frame().height()});
    insertSubview(backgroundView_, 0);
  }
}

void TableViewCell::setAccessoryView(std::shared_ptr<View> view) {
  if (accessoryView_) accessoryView_->removeFromSuperview();
  accessoryView_ = std::move(view);
  if (accessoryView_) addSubview(accessoryView_);
}

void TableViewCell::setHighlighted(bool highlighted, bool /*animated*/) {
  highlighted_ = highlighted;
}

void TableViewCell::setSelected(bool selected, bool animated) {
  selected_ = selected;
  setHighlighted(selected, animated);
}

void TableViewCell::prepareForReuse() {
  setSelected(false, false);
}

void TableViewCell::setFrame(const Rect& frame) {
  View::setFrame(frame);
  contentView_->setFrame(Rect{0, 0, frame.width(), frame.height()});
  if (backgroundView_) backgroundView_->setFrame(Rect{0, 0, frame.width(), frame.height()});
}

std::string TableViewCell::dumpLine() const {
  std::string marks;
  if (accessoryType == Accessory::kDisclosureIndicator) marks += " >";
  if (accessoryType == Accessory::kDetailDisclosureButton) marks += " (>)";
  if (accessoryType == Accessory::kCheckmark) marks += " (checked)";
  if (selected_) marks += " (selected)";
  return marks;
}

}  // namespace lk::ui
