#pragma once

#include <memory>
#include <string>

#include "Platform/UI/Label.h"
#include "Platform/UI/TableViewCell.h"
#include "Platform/UI/TextField.h"
#include "Platform/UI/TextFieldDelegate.h"

namespace lk {

// An input row: a label on the left and a text field beside it. Rows are not selectable.
class LKTextFieldCell : public ui::TableViewCell {
 public:
  static constexpr const char* kFontName = "STHeitiSC-Medium";
  static constexpr double kFontSize = 16;

  // `delegate` is not owned; it becomes the text field's delegate.
  LKTextFieldCell(ui::TextFieldDelegate* delegate, std::string reuseIdentifier,
                  double rowHeight = 44);

  [[nodiscard]] const std::shared_ptr<ui::Label>& label() const { return label_; }
  [[nodiscard]] const std::shared_ptr<ui::TextField>& textField() const { return textField_; }
  [[nodiscard]] ui::TextFieldDelegate* delegate() const { return delegate_; }
  void setDelegate(ui::TextFieldDelegate* delegate);

 private:
  ui::TextFieldDelegate* delegate_ = nullptr;
  std::shared_ptr<ui::Label> label_;
  std::shared_ptr<ui::TextField> textField_;
};

}  // namespace lk
