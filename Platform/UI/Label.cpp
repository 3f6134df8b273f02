#include "Platform/UI/Label.h"

namespace lk::ui {

Label::Label(Rect frame, std::string text) : View(frame), text_(std::move(text)) {
  setUserInteractionEnabled(false);  // static text lets touches through to what is under it
}

std::string Label::dumpLine() const {
  // An empty label shows nothing, but its subviews (rare) still dump.
  if (text_.empty()) return {};
  return "label: " + text_;
}

}  // namespace lk::ui
