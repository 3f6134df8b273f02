#include "Classes/Account/LKPopupTextField.h"

namespace lk {

LKPopupTextField::LKPopupTextField(std::string title, std::string message,
                                   ui::AlertViewDelegate* delegate,
                                   std::optional<std::string> cancelButtonTitle,
                                   std::vector<std::string> otherButtons)
    : ui::AlertView(std::move(title), std::move(message), delegate, std::move(cancelButtonTitle),
                    std::move(otherButtons)) {
  setStyle(Style::kPlainTextInput);
}

std::string LKPopupTextField::text() const {
  const auto field = textField();
  return field ? field->text() : std::string();
}

void LKPopupTextField::showWithFocus() {
  show();
  if (const auto field = textField(); field && isVisible()) field->becomeFirstResponder();
}

}  // namespace lk
