#include "Platform/UI/ViewController.h"

#include "Platform/RunLoop/RunLoop.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TabBarController.h"
#include "Platform/UI/Window.h"

namespace lk::ui {

ViewController::ViewController() = default;

ViewController::~ViewController() {
  if (presented_) presented_->presenting_ = nullptr;
}

const std::shared_ptr<View>& ViewController::view() {
  if (!view_) {
    loadView();
    if (!view_) view_ = std::make_shared<View>(Application::shared().applicationFrame());
    viewDidLoad();
  }
  return view_;
}

void ViewController::loadView() {
  Rect frame = Application::shared().applicationFrame();
  view_ = std::make_shared<View>(Rect{0, 0, frame.width(), frame.height()});
  view_->setBackgroundColor(Color::white());
}

bool ViewController::unloadView() {
  if (!view_ || view_->window() != nullptr) return false;
  view_.reset();
  viewDidUnload();
  return true;
}

void ViewController::didReceiveMemoryWarning() {
  unloadView();
}

NavigationController* ViewController::navigationController() const {
  for (ViewController* p = parent_; p != nullptr; p = p->parent_) {
    if (auto* nav = dynamic_cast<NavigationController*>(p)) return nav;
  }
  return nullptr;
}

TabBarController* ViewController::tabBarController() const {
  for (ViewController* p = parent_; p != nullptr; p = p->parent_) {
    if (auto* tab = dynamic_cast<TabBarController*>(p)) return tab;
  }
  return nullptr;
}

ViewController* ViewController::rootAncestor() {
  ViewController* root = this;
  while (root->parent_ != nullptr)
    root = root->parent_;
  return root;
}

void ViewController::presentModalViewController(const std::shared_ptr<ViewController>& vc,
                                                bool animated) {
  if (!vc || vc->presenting_ != nullptr || vc->parent_ != nullptr) return;
  // The whole-window screen on top presents; a child asks its root.
  ViewController* top = rootAncestor();
  while (top->presented_)
    top = top->presented_.get();
  if (top == vc.get()) return;
  Window* window = top->isViewLoaded() ? top->view_->window() : nullptr;
  if (window == nullptr) window = Application::shared().keyWindow();

  top->presented_ = vc;
  vc->presenting_ = top;
  top->lastModalAnimated_ = animated;
  vc->lastModalAnimated_ = animated;
  bool onScreen = top->appearance_ == Appearance::kAppeared;
  if (onScreen) top->beginAppearanceTransition(false, animated);
  if (window != nullptr) {
    auto& view = vc->view();
    view->setFrame(Application::shared().applicationFrame());
    window->addSubview(view);
  }
  if (onScreen) {
    vc->beginAppearanceTransition(true, animated);
    top->endAppearanceTransition(animated);
    vc->endAppearanceTransition(animated);
  }
}

void ViewController::dismissModalViewController(bool animated) {
  std::shared_ptr<ViewController> target = presented_;
  if (!target) {
    ViewController* root = rootAncestor();
    if (root->presenting_ == nullptr) return;
    target = root->presenting_->presented_;
  }
  ViewController* presenter = target->presenting_;
  auto keepTarget = target;
  // Everything the target presented goes too; the top-most one is what the user sees.
  std::vector<std::shared_ptr<ViewController>> chain{target};
  while (chain.back()->presented_)
    chain.push_back(chain.back()->presented_);
  ViewController* shown = chain.back().get();
  bool onScreen = shown->appearance_ == Appearance::kAppeared;
  presenter->lastModalAnimated_ = animated;
  if (onScreen) {
    shown->beginAppearanceTransition(false, animated);
    presenter->beginAppearanceTransition(true, animated);
  }
  for (auto& vc : chain) {
    if (vc->isViewLoaded()) vc->view_->removeFromSuperview();
  }
  if (onScreen) {
    shown->endAppearanceTransition(animated);
    presenter->endAppearanceTransition(animated);
  }
  for (auto& vc : chain) {
    vc->presenting_ = nullptr;
    vc->presented_.reset();
  }
  presenter->presented_.reset();
  // The dismissed screens may be running the method that dismissed them.
  releaseLater(std::move(chain));
}

void releaseLater(std::vector<std::shared_ptr<ViewController>> screens) {
  if (screens.empty()) return;
  RunLoop::main().post([screens = std::move(screens)]() mutable { screens.clear(); });
}

void ViewController::beginAppearanceTransition(bool appearing, bool animated) {
  if (appearing) {
    if (appearance_ == Appearance::kAppearing || appearance_ == Appearance::kAppeared) return;
    appearance_ = Appearance::kAppearing;
    view();
    viewWillAppear(animated);
  } else {
    if (appearance_ == Appearance::kDisappearing || appearance_ == Appearance::kDisappeared) return;
    appearance_ = Appearance::kDisappearing;
    viewWillDisappear(animated);
  }
  for (ViewController* child : visibleChildren())
    child->beginAppearanceTransition(appearing, animated);
}

void ViewController::endAppearanceTransition(bool animated) {
  if (appearance_ == Appearance::kAppearing) {
    appearance_ = Appearance::kAppeared;
    viewDidAppear(animated);
  } else if (appearance_ == Appearance::kDisappearing) {
    appearance_ = Appearance::kDisappeared;
    viewDidDisappear(animated);
  } else {
    return;
  }
  for (ViewController* child : visibleChildren())
    child->endAppearanceTransition(animated);
}

}  // namespace lk::ui
