#include "Platform/UI/TextField.h"

#include "Platform/UI/TextMeasure.h"

namespace lk::ui {

TextField::TextField(Rect frame) : TextInput(frame) {}

bool TextField::isClearButtonShown() const {
  if (text().empty()) return false;
  switch (clearButtonMode) {
    case ClearButtonMode::kNever:
      return false;
    case ClearButtonMode::kWhileEditing:
      return isEditing();
    case ClearButtonMode::kUnlessEditing:
      return !isEditing();
    case ClearButtonMode::kAlways:
      return true;
  }
  return false;
}

bool TextField::pressReturn() {
  if (!isFirstResponder() || !isReturnKeyEnabled()) return false;
  auto keep = weak_from_this().lock();
  if (delegate_ != nullptr) delegate_->textFieldShouldReturn(*this);
  return true;
}

bool TextField::tapClearButton() {
  if (!isClearButtonShown() || !isEnabled()) return false;
  auto keep = weak_from_this().lock();
  if (delegate_ != nullptr && !delegate_->textFieldShouldClear(*this)) return false;
  setTextQuietly({});
  if (delegate_ != nullptr) delegate_->textFieldDidChange(*this);
  return true;
}

bool TextField::askShouldBegin() {
  return delegate_ == nullptr || delegate_->textFieldShouldBeginEditing(*this);
}

void TextField::tellDidBegin() {
  if (delegate_ != nullptr) delegate_->textFieldDidBeginEditing(*this);
}

bool TextField::askShouldEnd() {
  return delegate_ == nullptr || delegate_->textFieldShouldEndEditing(*this);
}

void TextField::tellDidEnd() {
  if (delegate_ != nullptr) delegate_->textFieldDidEndEditing(*this);
}

bool TextField::askShouldChange(TextRange range, const std::string& replacement) {
  return delegate_ == nullptr ||
         delegate_->textFieldShouldChangeCharactersInRange(*this, range, replacement);
}

void TextField::tellDidChange() {
  if (delegate_ != nullptr) delegate_->textFieldDidChange(*this);
}

std::string TextField::dumpLine() const {
  std::string line = "field: ";
  if (text().empty()) {
    line += placeholder_.empty() ? "(empty)" : "(" + placeholder_ + ")";
  } else if (secureTextEntry) {
    line += std::string(TextMeasure::utf16Length(text()), '*');
  } else {
    line += text();
  }
  if (isFirstResponder()) line += " (focused)";
  if (!isEnabled()) line += " (disabled)";
  return line;
}

}  // namespace lk::ui
