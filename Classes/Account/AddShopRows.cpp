#include "Classes/Account/AddShopRows.h"

#include "Platform/UI/Keyboard.h"
#include "Platform/UI/TextInput.h"

namespace lk {

std::shared_ptr<LKTextFieldCell> AddShopRows::inputRow(ui::TableView& tableView,
                                                       ui::TextFieldDelegate* delegate,
                                                       const std::string& reuseIdentifier,
                                                       const std::string& title,
                                                       const std::string& text, int tag) {
  auto cell =
      std::dynamic_pointer_cast<LKTextFieldCell>(tableView.dequeueReusableCell(reuseIdentifier));
  if (!cell) {
    cell = std::make_shared<LKTextFieldCell>(delegate, reuseIdentifier);
    cell->textField()->setTextColor(kInputTextColor);
    cell->textField()->clearButtonMode = ui::TextField::ClearButtonMode::kWhileEditing;
  }
  cell->setDelegate(delegate);
  cell->label()->setText(title);
  cell->textField()->setTag(tag);
  // A field being edited keeps what the user is typing.
  if (!cell->textField()->isFirstResponder()) cell->textField()->setText(text);
  return cell;
}

std::shared_ptr<ui::TableViewCell> AddShopRows::disclosureRow(ui::TableView& tableView,
                                                              const std::string& reuseIdentifier,
                                                              const std::string& title,
                                                              const std::string& detail) {
  auto cell = tableView.dequeueReusableCell(reuseIdentifier);
  if (!cell) {
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::kValue1, reuseIdentifier);
    cell->accessoryType = ui::TableViewCell::Accessory::kDisclosureIndicator;
    cell->selectionStyle = ui::TableViewCell::SelectionStyle::kGray;
    cell->textLabel()->setFont(ui::Font::system(kTextSize));
    cell->detailTextLabel()->setFont(ui::Font::system(kTextSize));
  }
  cell->textLabel()->setText(title);
  cell->detailTextLabel()->setText(detail);
  return cell;
}

void AddShopRows::endEditing(const ui::View* view) {
  ui::TextInput* focus = ui::Keyboard::shared().firstResponder();
  if (focus == nullptr || view == nullptr || !focus->isDescendantOf(view)) return;
  (void)focus->resignFirstResponder();
}

}  // namespace lk
