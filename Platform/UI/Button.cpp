#include "Platform/UI/Button.h"

namespace lk::ui {

Button::Button(Rect frame, std::string title) : View(frame), title_(std::move(title)) {}

bool Button::tap() {
  if (!enabled_ || !isUserInteractionEnabled() || !isVisibleInTree()) return false;
  sendAction();
  return true;
}

void Button::sendAction() {
  if (!action_) return;
  // The action may replace or drop this button's action or the button itself.
  auto keep = weak_from_this().lock();
  Action action = action_;
  action(*this);
}

std::string Button::label() const {
  if (!title_.empty()) return title_;
  if (!image_.isNull()) return image_.describe();
  return accessibilityLabel_;
}

std::string Button::dumpLine() const {
  std::string line = "button: [" + label() + "]";
  if (!enabled_) line += " (disabled)";
  if (selected_) line += " (selected)";
  return line;
}

}  // namespace lk::ui
