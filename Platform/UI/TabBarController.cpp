#include "Platform/UI/TabBarController.h"

#include <algorithm>

#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"

namespace lk::ui {

TabBarController::TabBarController() = default;

TabBarController::~TabBarController() {
  if (bar_) bar_->detachOwner();
  for (auto& vc : vcs_) {
    if (vc->parentViewController() == this) setParent(*vc, nullptr);
  }
}

ViewController* TabBarController::selectedViewController() const {
  return selected_ >= 0 && selected_ < static_cast<int>(vcs_.size()) ? vcs_[selected_].get()
                                                                     : nullptr;
}

std::vector<ViewController*> TabBarController::visibleChildren() const {
  if (ViewController* vc = selectedViewController()) return {vc};
  return {};
}

void TabBarController::setViewControllers(std::vector<std::shared_ptr<ViewController>> vcs,
                                          bool animated) {
  vcs.erase(std::remove(vcs.begin(), vcs.end(), nullptr), vcs.end());
  std::shared_ptr<ViewController> oldSelected =
      selectedViewController() != nullptr ? vcs_[selected_] : nullptr;
  auto it = std::find(vcs.begin(), vcs.end(), oldSelected);
  int newIndex = vcs.empty() ? -1 : (it != vcs.end() ? static_cast<int>(it - vcs.begin()) : 0);
  std::shared_ptr<ViewController> newSelected = newIndex >= 0 ? vcs[newIndex] : nullptr;

  bool onScreen = appearance() == Appearance::kAppeared;
  bool changed = oldSelected != newSelected;
  auto old = std::move(vcs_);
  vcs_ = std::move(vcs);
  for (auto& vc : vcs_)
    setParent(*vc, this);
  selected_ = newIndex;
  if (onScreen && changed) {
    if (oldSelected) oldSelected->beginAppearanceTransition(false, animated);
    if (newSelected) newSelected->beginAppearanceTransition(true, animated);
  }
  layoutSelected();
  if (onScreen && changed) {
    if (oldSelected) oldSelected->endAppearanceTransition(animated);
    if (newSelected) newSelected->endAppearanceTransition(animated);
  }
  for (auto& vc : old) {
    if (std::find(vcs_.begin(), vcs_.end(), vc) == vcs_.end() &&
        vc->parentViewController() == this) {
      setParent(*vc, nullptr);
    }
  }
}

void TabBarController::select(int index) {
  if (index < 0 || index >= static_cast<int>(vcs_.size()) || index == selected_) return;
  ViewController* oldSelected = selectedViewController();
  ViewController* newSelected = vcs_[index].get();
  bool onScreen = appearance() == Appearance::kAppeared;
  if (onScreen) {
    if (oldSelected) oldSelected->beginAppearanceTransition(false, false);
    newSelected->beginAppearanceTransition(true, false);
  }
  selected_ = index;
  layoutSelected();
  if (onScreen) {
    if (oldSelected) oldSelected->endAppearanceTransition(false);
    newSelected->endAppearanceTransition(false);
  }
}

void TabBarController::setSelectedIndex(int index) {
  select(index);
}

void TabBarController::setSelectedViewController(const ViewController* vc) {
  auto it = std::find_if(vcs_.begin(), vcs_.end(), [&](const auto& e) { return e.get() == vc; });
  if (it != vcs_.end()) select(static_cast<int>(it - vcs_.begin()));
}

bool TabBarController::selectTabAsUser(int index) {
  if (index < 0 || index >= static_cast<int>(vcs_.size())) return false;
  if (isViewLoaded() && !tabBar()->isVisibleInTree()) return false;
  std::shared_ptr<ViewController> vc = vcs_[index];
  if (delegate_ != nullptr && !delegate_->tabBarControllerShouldSelectViewController(*this, *vc)) {
    return false;
  }
  if (index == selected_) {
    if (auto* nav = dynamic_cast<NavigationController*>(vc.get()))
      nav->popToRootViewController(true);
  } else {
    select(index);
  }
  if (delegate_ != nullptr) delegate_->tabBarControllerDidSelectViewController(*this, *vc);
  return true;
}

bool TabBarController::selectTabAsUser(const std::string& title) {
  for (std::size_t i = 0; i < vcs_.size(); ++i) {
    const auto& item = vcs_[i]->tabBarItem();
    if ((item.title.empty() ? vcs_[i]->title() : item.title) == title) {
      return selectTabAsUser(static_cast<int>(i));
    }
  }
  return false;
}

const std::shared_ptr<TabBar>& TabBarController::tabBar() {
  view();
  return bar_;
}

bool TabBarController::isTabBarHidden() const {
  ViewController* vc = selectedViewController();
  auto* nav = dynamic_cast<NavigationController*>(vc);
  ViewController* top = nav != nullptr ? nav->topViewController() : vc;
  return top != nullptr && top->hidesBottomBarWhenPushed;
}

void TabBarController::loadView() {
  Rect frame = Application::shared().applicationFrame();
  auto container = std::make_shared<View>(Rect{0, 0, frame.width(), frame.height()});
  bar_ = std::make_shared<TabBar>(Rect{0, frame.height() - kBarHeight, frame.width(), kBarHeight},
                                  this);
  container->addSubview(bar_);
  setView(container);
  layoutSelected();
}

void TabBarController::layoutSelected() {
  if (!isViewLoaded()) return;
  const auto& container = view();
  ViewController* vc = selectedViewController();
  std::shared_ptr<View> next = vc != nullptr ? vc->view() : nullptr;
  if (shownView_ && shownView_ != next && shownView_->superview() == container.get()) {
    shownView_->removeFromSuperview();
  }
  shownView_ = next;
  bool barHidden = isTabBarHidden();
  bar_->setHidden(barHidden);
  if (next) {
    double h = container->frame().height() - (barHidden ? 0 : kBarHeight);
    next->setFrame(Rect{0, 0, container->frame().width(), h});
    if (next->superview() != container.get()) container->insertSubviewBelow(next, bar_.get());
  }
}

}  // namespace lk::ui
