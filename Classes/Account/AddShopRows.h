#pragma once

#include <memory>
#include <string>

#include "Classes/Account/LKTextFieldCell.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TableViewCell.h"
#include "Platform/UI/TextFieldDelegate.h"

namespace lk {

// The rows the add-shop form and its address screen share: input rows in blue-gray text, and
// rows that open a picker or a page (16-point text, gray selection, a disclosure mark).
class AddShopRows {
 public:
  static inline const ui::Color kInputTextColor{0.282, 0.38, 0.565, 1};
  static constexpr double kTextSize = 16;

  // An input row labelled `title` showing `text`; its field is tagged `tag`.
  static std::shared_ptr<LKTextFieldCell> inputRow(ui::TableView& tableView,
                                                   ui::TextFieldDelegate* delegate,
                                                   const std::string& reuseIdentifier,
                                                   const std::string& title,
                                                   const std::string& text, int tag);
  // A row titled `title` with `detail` beside it.
  static std::shared_ptr<ui::TableViewCell> disclosureRow(ui::TableView& tableView,
                                                          const std::string& reuseIdentifier,
                                                          const std::string& title,
                                                          const std::string& detail);
  // Ends the editing of whatever field under `view` has the keyboard, so that its delegate
  // takes the text before the screen acts on it.
  static void endEditing(const ui::View* view);
};

}  // namespace lk
