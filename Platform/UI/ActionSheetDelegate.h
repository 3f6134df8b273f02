#pragma once

namespace lk::ui {

class ActionSheet;

// Told which button of an action sheet was chosen. Every callback is optional.
class ActionSheetDelegate {
 public:
  ActionSheetDelegate() = default;
  ActionSheetDelegate(const ActionSheetDelegate&) = delete;
  ActionSheetDelegate& operator=(const ActionSheetDelegate&) = delete;
  virtual ~ActionSheetDelegate() = default;

  virtual void actionSheetClickedButtonAtIndex(ActionSheet& /*sheet*/, int /*index*/) {}
  virtual void actionSheetWillDismissWithButtonIndex(ActionSheet& /*sheet*/, int /*index*/) {}
  virtual void actionSheetDidDismissWithButtonIndex(ActionSheet& /*sheet*/, int /*index*/) {}
};

}  // namespace lk::ui
