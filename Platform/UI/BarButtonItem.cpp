#include "Platform/UI/BarButtonItem.h"

#include <vector>

#include "Platform/UI/Button.h"

namespace lk::ui {

namespace {
// The first button in a custom view (the view itself, or one of its descendants).
Button* firstButton(View* view) {
  if (view == nullptr) return nullptr;
  if (auto* b = dynamic_cast<Button*>(view)) return b;
  for (const auto& child : view->subviews()) {
    if (Button* b = firstButton(child.get())) return b;
  }
  return nullptr;
}

void allButtons(View* view, std::vector<Button*>& out) {
  if (view == nullptr) return;
  if (auto* b = dynamic_cast<Button*>(view)) out.push_back(b);
  for (const auto& child : view->subviews())
    allButtons(child.get(), out);
}
}  // namespace

std::shared_ptr<BarButtonItem> BarButtonItem::withTitle(std::string title, Style style,
                                                        Action action) {
  auto item = std::make_shared<BarButtonItem>();
  item->title_ = std::move(title);
  item->style_ = style;
  item->action_ = std::move(action);
  return item;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withImage(Image image, Style style, Action action) {
  auto item = std::make_shared<BarButtonItem>();
  item->image_ = std::move(image);
  item->style_ = style;
  item->action_ = std::move(action);
  return item;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withCustomView(std::shared_ptr<View> view) {
  auto item = std::make_shared<BarButtonItem>();
  item->customView_ = std::move(view);
  return item;
}

std::shared_ptr<BarButtonItem> BarButtonItem::flexibleSpace() {
  auto item = std::make_shared<BarButtonItem>();
  item->system_ = System::kFlexibleSpace;
  return item;
}

bool BarButtonItem::tap() {
  if (!enabled_ || system_ != System::kNone) return false;
  if (customView_) {
    Button* button = firstButton(customView_.get());
    return button != nullptr && button->isEnabled() && (button->sendAction(), true);
  }
  if (!action_) return false;
  auto keep = weak_from_this().lock();  // the action may drop the item from its bar
  Action action = action_;
  action(*this);
  return true;
}

std::string BarButtonItem::label() const {
  if (!title_.empty()) return title_;
  if (customView_) {
    if (Button* b = firstButton(customView_.get())) return b->label();
  }
  if (!image_.isNull()) return image_.describe();
  return {};
}

std::string BarButtonItem::dumpText() const {
  // A view holding several buttons (arrows side by side) shows each of them.
  std::vector<Button*> buttons;
  if (title_.empty() && customView_) allButtons(customView_.get(), buttons);
  if (buttons.size() > 1) {
    std::string text;
    for (const Button* b : buttons) {
      if (!text.empty()) text += " ";
      text += "[" + b->label() + "]";
      if (!b->isEnabled()) text += " (disabled)";
    }
    return text;
  }
  std::string text = "[" + label() + "]";
  if (!enabled_) text += " (disabled)";
  return text;
}

}  // namespace lk::ui
