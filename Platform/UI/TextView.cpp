#include "Platform/UI/TextView.h"

#include "Platform/UI/TextMeasure.h"

namespace lk::ui {

TextView::TextView(Rect frame) : TextInput(frame) {}

bool TextView::becomeFirstResponder() {
  return editable && TextInput::becomeFirstResponder();
}

bool TextView::pressReturn() {
  if (!isFirstResponder() || !isReturnKeyEnabled()) return false;
  replace(TextRange{TextMeasure::utf16Length(text()), 0}, "\n");
  return true;
}

bool TextView::askShouldBegin() {
  return delegate_ == nullptr || delegate_->textViewShouldBeginEditing(*this);
}

void TextView::tellDidBegin() {
  if (delegate_ != nullptr) delegate_->textViewDidBeginEditing(*this);
}

bool TextView::askShouldEnd() {
  return delegate_ == nullptr || delegate_->textViewShouldEndEditing(*this);
}

void TextView::tellDidEnd() {
  if (delegate_ != nullptr) delegate_->textViewDidEndEditing(*this);
}

bool TextView::askShouldChange(TextRange range, const std::string& replacement) {
  return delegate_ == nullptr ||
         delegate_->textViewShouldChangeTextInRange(*this, range, replacement);
}

void TextView::tellDidChange() {
  if (delegate_ != nullptr) delegate_->textViewDidChange(*this);
}

std::string TextView::dumpLine() const {
  std::string shown = text();
  for (auto pos = shown.find('\n'); pos != std::string::npos; pos = shown.find('\n', pos + 2))
    shown.replace(pos, 1, "\\n");
  std::string line = "textview: " + (shown.empty() ? std::string("(empty)") : shown);
  if (isFirstResponder()) line += " (focused)";
  return line;
}

}  // namespace lk::ui
