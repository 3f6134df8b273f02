#include "Platform/UI/NavigationBar.h"

#include "Platform/UI/DumpWriter.h"
#include "Platform/UI/NavigationController.h"

namespace lk::ui {

NavigationBar::NavigationBar(Rect frame, NavigationController* owner)
    : View(frame), owner_(owner) {}

std::string NavigationBar::title() const {
  if (owner_ == nullptr) return {};
  ViewController* top = owner_->topViewController();
  if (top == nullptr) return {};
  if (!top->navigationItem().title.empty()) return top->navigationItem().title;
  return top->title();
}

std::shared_ptr<BarButtonItem> NavigationBar::leftItem() const {
  if (owner_ == nullptr) return nullptr;
  ViewController* top = owner_->topViewController();
  return top != nullptr ? top->navigationItem().leftBarButtonItem : nullptr;
}

std::shared_ptr<BarButtonItem> NavigationBar::rightItem() const {
  if (owner_ == nullptr) return nullptr;
  ViewController* top = owner_->topViewController();
  return top != nullptr ? top->navigationItem().rightBarButtonItem : nullptr;
}

std::optional<std::string> NavigationBar::backButtonTitle() const {
  if (owner_ == nullptr) return std::nullopt;
  const auto& stack = owner_->viewControllers();
  if (stack.size() < 2) return std::nullopt;
  const ViewController& top = *stack.back();
  if (top.navigationItem().leftBarButtonItem || top.navigationItem().hidesBackButton) {
    return std::nullopt;
  }
  const ViewController& below = *stack[stack.size() - 2];
  if (const auto& back = below.navigationItem().backBarButtonItem; back && !back->title().empty())
    return back->title();
  if (!below.navigationItem().title.empty()) return below.navigationItem().title;
  if (!below.title().empty()) return below.title();
  return std::string("Back");
}

bool NavigationBar::tapBackButton() {
  if (isHidden() || !backButtonTitle()) return false;
  owner_->popViewController(true);
  return true;
}

std::string NavigationBar::dumpLine() const {
  std::string line = "navbar: " + title();
  if (auto back = backButtonTitle()) line += "  back: [" + *back + "]";
  if (auto left = leftItem()) line += "  left: " + left->dumpText();
  if (auto right = rightItem()) line += "  right: " + right->dumpText();
  return line;
}

void NavigationBar::dump(DumpWriter& out) const {
  if (isHidden() || alpha() <= 0 || owner_ == nullptr) return;
  out.line(dumpLine());
  ViewController* top = owner_->topViewController();
  if (top != nullptr && top->navigationItem().titleView) {
    out.indent();
    top->navigationItem().titleView->dump(out);
    out.outdent();
  }
}

}  // namespace lk::ui
