#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Platform/UI/ActionSheetDelegate.h"
#include "Platform/UI/View.h"

namespace lk::ui {

// A list of choices sliding up over the key window. Buttons are ordered: the destructive one
// first, then the others, then the cancel one.
class ActionSheet : public View {
 public:
  ActionSheet(std::string title, ActionSheetDelegate* delegate,
              std::optional<std::string> cancelButtonTitle,
              std::optional<std::string> destructiveButtonTitle,
              std::vector<std::string> otherButtons);

  [[nodiscard]] const std::string& title() const { return title_; }
  // The delegate must outlive the sheet or be cleared.
  void setDelegate(ActionSheetDelegate* delegate) { delegate_ = delegate; }
  [[nodiscard]] const std::vector<std::string>& buttonTitles() const { return buttons_; }
  [[nodiscard]] int numberOfButtons() const { return static_cast<int>(buttons_.size()); }
  [[nodiscard]] int cancelButtonIndex() const { return cancelIndex_; }
  [[nodiscard]] int destructiveButtonIndex() const { return destructiveIndex_; }
  int addButtonWithTitle(std::string title);

  // Adds the sheet to the key window (the view only tells where on the handset).
  void showInView(View* view);
  [[nodiscard]] bool isVisible() const { return superview() != nullptr; }
  bool tapButton(int index);
  bool tapButton(const std::string& title);
  void dismissWithClickedButtonIndex(int index, bool animated);

  void dump(DumpWriter& out) const override;

 private:
  std::string title_;
  ActionSheetDelegate* delegate_;
  std::vector<std::string> buttons_;
  int cancelIndex_ = -1;
  int destructiveIndex_ = -1;
};

}  // namespace lk::ui
