#include "Classes/Account/LKTextFieldCell.h"

namespace lk {

LKTextFieldCell::LKTextFieldCell(ui::TextFieldDelegate* delegate, std::string reuseIdentifier,
                                 double rowHeight)
    : ui::TableViewCell(Style::kDefault, std::move(reuseIdentifier)) {
  selectionStyle = SelectionStyle::kNone;
  const ui::Font font = ui::Font::named(kFontName, kFontSize);
  label_ = std::make_shared<ui::Label>(ui::Rect{10, 5, 80, rowHeight - 10});
  label_->setFont(font);
  label_->setBackgroundColor(ui::Color::clear());
  contentView()->addSubview(label_);
  textField_ = std::make_shared<ui::TextField>(ui::Rect{100, 5, 200, rowHeight - 10});
  textField_->setFont(font);
  textField_->contentVerticalAlignment = ui::TextField::VerticalAlignment::kCenter;
  contentView()->addSubview(textField_);
  setDelegate(delegate);
}

void LKTextFieldCell::setDelegate(ui::TextFieldDelegate* delegate) {
  delegate_ = delegate;
  textField_->setDelegate(delegate);
}

}  // namespace lk
