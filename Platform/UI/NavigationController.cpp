#include "Platform/UI/NavigationController.h"

#include <algorithm>

#include "Platform/UI/Application.h"

namespace lk::ui {

NavigationController::NavigationController(std::shared_ptr<ViewController> root) {
  if (root) {
    setParent(*root, this);
    stack_.push_back(std::move(root));
  }
}

NavigationController::~NavigationController() {
  if (bar_) bar_->detachOwner();
  for (auto& vc : stack_) {
    if (vc->parentViewController() == this) setParent(*vc, nullptr);
  }
}

ViewController* NavigationController::topViewController() const {
  return stack_.empty() ? nullptr : stack_.back().get();
}

ViewController* NavigationController::visibleViewController() const {
  ViewController* top =
      modalViewController() != nullptr ? modalViewController() : topViewController();
  if (top == nullptr) return nullptr;
  while (top->modalViewController() != nullptr)
    top = top->modalViewController();
  return top;
}

std::vector<ViewController*> NavigationController::visibleChildren() const {
  if (stack_.empty()) return {};
  return {stack_.back().get()};
}

const std::shared_ptr<NavigationBar>& NavigationController::navigationBar() {
  view();
  return bar_;
}

void NavigationController::loadView() {
  Rect frame = Application::shared().applicationFrame();
  auto container = std::make_shared<View>(Rect{0, 0, frame.width(), frame.height()});
  bar_ = std::make_shared<NavigationBar>(Rect{0, 0, frame.width(), kBarHeight}, this);
  bar_->autoresizesWidth = true;
  bar_->setHidden(barHidden_);
  container->addSubview(bar_);
  setView(container);
  layoutTop();
}

void NavigationController::layoutTop() {
  if (!isViewLoaded()) return;
  const auto& container = view();
  ViewController* top = topViewController();
  std::shared_ptr<View> next = top != nullptr ? top->view() : nullptr;
  // Loading the top's view may have pushed another screen in front of it (a login screen): that
  // push laid out the stack already.
  if (top != topViewController()) return;
  if (shownView_ && shownView_ != next && shownView_->superview() == container.get()) {
    shownView_->removeFromSuperview();
  }
  shownView_ = next;
  if (next) {
    double y = barHidden_ ? 0 : kBarHeight;
    next->setFrame(Rect{0, y, container->frame().width(), container->frame().height() - y});
    next->autoresizesWidth = true;
    next->autoresizesHeight = true;
    if (next->superview() != container.get()) container->insertSubviewBelow(next, bar_.get());
  }
  if (ViewController* parent = parentViewController()) parent->childDidChange();
}

void NavigationController::replaceStack(std::vector<std::shared_ptr<ViewController>> stack,
                                        bool animated) {
  lastAnimated_ = animated;
  std::shared_ptr<ViewController> oldTop = stack_.empty() ? nullptr : stack_.back();
  std::shared_ptr<ViewController> newTop = stack.empty() ? nullptr : stack.back();
  bool onScreen = appearance() == Appearance::kAppeared;
  bool changed = oldTop != newTop;
  // New screens belong to the stack before their views load (they look at their stack then);
  // leaving ones keep it until they have disappeared.
  auto old = std::move(stack_);
  stack_ = std::move(stack);
  for (auto& vc : stack_)
    setParent(*vc, this);
  if (onScreen && changed) {
    if (oldTop) oldTop->beginAppearanceTransition(false, animated);
    if (newTop) newTop->beginAppearanceTransition(true, animated);
  }
  layoutTop();
  if (onScreen && changed) {
    if (oldTop) oldTop->endAppearanceTransition(animated);
    if (newTop) newTop->endAppearanceTransition(animated);
  }
  std::vector<std::shared_ptr<ViewController>> removed;
  for (auto& vc : old) {
    if (std::find(stack_.begin(), stack_.end(), vc) != stack_.end()) continue;
    if (vc->parentViewController() == this) setParent(*vc, nullptr);
    removed.push_back(vc);
  }
  // A removed screen may be the one whose method is running (a tap that pops it, a city
  // change that replaces every stack): it lives on until a later turn of the loop.
  releaseLater(std::move(removed));
}

void NavigationController::setViewControllers(std::vector<std::shared_ptr<ViewController>> stack,
                                              bool animated) {
  stack.erase(std::remove(stack.begin(), stack.end(), nullptr), stack.end());
  replaceStack(std::move(stack), animated);
}

void NavigationController::pushViewController(const std::shared_ptr<ViewController>& vc,
                                              bool animated) {
  if (!vc || std::find(stack_.begin(), stack_.end(), vc) != stack_.end()) return;
  auto stack = stack_;
  stack.push_back(vc);
  replaceStack(std::move(stack), animated);
}

std::shared_ptr<ViewController> NavigationController::popViewController(bool animated) {
  if (stack_.size() < 2) return nullptr;
  auto popped = stack_.back();
  auto stack = stack_;
  stack.pop_back();
  replaceStack(std::move(stack), animated);
  return popped;
}

std::vector<std::shared_ptr<ViewController>> NavigationController::popToViewController(
    const ViewController* vc, bool animated) {
  auto it = std::find_if(stack_.begin(), stack_.end(),
                         [&](const auto& entry) { return entry.get() == vc; });
  if (it == stack_.end() || it + 1 == stack_.end()) return {};
  std::vector<std::shared_ptr<ViewController>> popped(it + 1, stack_.end());
  std::vector<std::shared_ptr<ViewController>> stack(stack_.begin(), it + 1);
  replaceStack(std::move(stack), animated);
  return popped;
}

std::vector<std::shared_ptr<ViewController>> NavigationController::popToRootViewController(
    bool animated) {
  if (stack_.empty()) return {};
  return popToViewController(stack_.front().get(), animated);
}

void NavigationController::setNavigationBarHidden(bool hidden, bool animated) {
  lastAnimated_ = animated;
  barHidden_ = hidden;
  if (bar_) bar_->setHidden(hidden);
  layoutTop();
}

}  // namespace lk::ui
