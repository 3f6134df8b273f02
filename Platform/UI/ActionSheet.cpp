#include "Platform/UI/ActionSheet.h"

#include "Platform/UI/Application.h"
#include "Platform/UI/DumpWriter.h"
#include "Platform/UI/Window.h"

namespace lk::ui {

ActionSheet::ActionSheet(std::string title, ActionSheetDelegate* delegate,
                         std::optional<std::string> cancelButtonTitle,
                         std::optional<std::string> destructiveButtonTitle,
                         std::vector<std::string> otherButtons)
    : View(Rect{0, 0, 320, 480}), title_(std::move(title)), delegate_(delegate) {
  if (destructiveButtonTitle) {
    destructiveIndex_ = 0;
    buttons_.push_back(*destructiveButtonTitle);
  }
  for (auto& b : otherButtons)
    buttons_.push_back(std::move(b));
  if (cancelButtonTitle) {
    cancelIndex_ = numberOfButtons();
    buttons_.push_back(*cancelButtonTitle);
  }
}

int ActionSheet::addButtonWithTitle(std::string title) {
  buttons_.push_back(std::move(title));
  return numberOfButtons() - 1;
}

void ActionSheet::showInView(View* /*view*/) {
  Window* window = Application::shared().keyWindow();
  if (window == nullptr) return;
  setFrame(window->bounds());
  window->addSubview(shared_from_this());
}

bool ActionSheet::tapButton(int index) {
  if (!isVisible() || index < 0 || index >= numberOfButtons()) return false;
  auto keep = weak_from_this().lock();
  if (delegate_ != nullptr) delegate_->actionSheetClickedButtonAtIndex(*this, index);
  dismissWithClickedButtonIndex(index, true);
  return true;
}

bool ActionSheet::tapButton(const std::string& title) {
  for (int i = 0; i < numberOfButtons(); ++i) {
    if (buttons_[i] == title) return tapButton(i);
  }
  return false;
}

void ActionSheet::dismissWithClickedButtonIndex(int index, bool /*animated*/) {
  if (!isVisible()) return;
  auto keep = weak_from_this().lock();
  if (delegate_ != nullptr) delegate_->actionSheetWillDismissWithButtonIndex(*this, index);
  removeFromSuperview();
  if (delegate_ != nullptr) delegate_->actionSheetDidDismissWithButtonIndex(*this, index);
}

void ActionSheet::dump(DumpWriter& out) const {
  if (isHidden()) return;
  out.line("sheet: " + title_);
  out.indent();
  std::string line = "buttons:";
  for (int i = 0; i < numberOfButtons(); ++i) {
    line += " [" + buttons_[i] + "]";
    if (i == destructiveIndex_) line += "!";
  }
  out.line(line);
  out.outdent();
}

}  // namespace lk::ui
