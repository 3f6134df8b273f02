#include "Platform/UI/AlertView.h"

#include "Platform/UI/Application.h"
#include "Platform/UI/DumpWriter.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/Window.h"

namespace lk::ui {

AlertView::AlertView(std::string title, std::string message, AlertViewDelegate* delegate,
                     std::optional<std::string> cancelButtonTitle,
                     std::vector<std::string> otherButtons)
    : View(Rect{0, 0, 320, 480}),
      title_(std::move(title)),
      message_(std::move(message)),
      delegate_(delegate) {
  if (cancelButtonTitle) {
    buttons_.push_back(*cancelButtonTitle);
    cancelIndex_ = 0;
  }
  for (auto& b : otherButtons)
    buttons_.push_back(std::move(b));
}

int AlertView::addButtonWithTitle(std::string title) {
  buttons_.push_back(std::move(title));
  return numberOfButtons() - 1;
}

void AlertView::setStyle(Style style) {
  style_ = style;
  if (style == Style::kDefault) {
    if (field_) field_->removeFromSuperview();
    field_.reset();
    return;
  }
  if (!field_) {
    field_ = std::make_shared<TextField>(Rect{16, 100, 252, 25});
    addSubview(field_);
  }
  field_->secureTextEntry = style == Style::kSecureTextInput;
}

std::shared_ptr<TextField> AlertView::textFieldAtIndex(int index) const {
  return index == 0 ? field_ : nullptr;
}

void AlertView::show() {
  Window* window = Application::shared().keyWindow();
  if (window == nullptr) return;
  setFrame(window->bounds());
  window->addSubview(shared_from_this());
  if (field_) field_->becomeFirstResponder();
}

bool AlertView::tapButton(int index) {
  if (!isVisible() || index < 0 || index >= numberOfButtons()) return false;
  auto keep = weak_from_this().lock();
  if (delegate_ != nullptr) delegate_->alertViewClickedButtonAtIndex(*this, index);
  dismissWithClickedButtonIndex(index, true);
  return true;
}

bool AlertView::tapButton(const std::string& title) {
  for (int i = 0; i < numberOfButtons(); ++i) {
    if (buttons_[i] == title) return tapButton(i);
  }
  return false;
}

void AlertView::dismissWithClickedButtonIndex(int index, bool /*animated*/) {
  if (!isVisible()) return;
  auto keep = weak_from_this().lock();
  if (delegate_ != nullptr) delegate_->alertViewWillDismissWithButtonIndex(*this, index);
  if (field_ && field_->isFirstResponder()) field_->resignFirstResponder();
  removeFromSuperview();
  if (delegate_ != nullptr) delegate_->alertViewDidDismissWithButtonIndex(*this, index);
}

void AlertView::dump(DumpWriter& out) const {
  if (isHidden()) return;
  out.line("alert: " + title_);
  out.indent();
  if (!message_.empty()) out.line("message: " + message_);
  if (field_) field_->dump(out);
  std::string line = "buttons:";
  for (const auto& b : buttons_)
    line += " [" + b + "]";
  out.line(line);
  out.outdent();
}

}  // namespace lk::ui
