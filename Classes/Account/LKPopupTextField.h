#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/UI/AlertView.h"

namespace lk {

// A message box that asks for one line of text: the text field sits under the message and takes
// the focus when the box shows.
class LKPopupTextField : public ui::AlertView {
 public:
  LKPopupTextField(std::string title, std::string message, ui::AlertViewDelegate* delegate,
                   std::optional<std::string> cancelButtonTitle,
                   std::vector<std::string> otherButtons);

  [[nodiscard]] std::shared_ptr<ui::TextField> textField() const { return textFieldAtIndex(0); }
  [[nodiscard]] std::string text() const;
  // Shows the box and gives its field the focus.
  void showWithFocus();
};

}  // namespace lk
