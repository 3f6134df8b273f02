#pragma once

#include <memory>
#include <vector>

#include "Platform/UI/NavigationBar.h"
#include "Platform/UI/ViewController.h"

namespace lk::ui {

// A stack of screens under a navigation bar. Only the top screen's view is in the tree.
// Transitions take no time; whether they were asked to animate is recorded.
class NavigationController : public ViewController {
 public:
  static constexpr double kBarHeight = 44;

  explicit NavigationController(std::shared_ptr<ViewController> root = nullptr);
  ~NavigationController() override;

  [[nodiscard]] const std::vector<std::shared_ptr<ViewController>>& viewControllers() const {
    return stack_;
  }
  void setViewControllers(std::vector<std::shared_ptr<ViewController>> stack, bool animated);
  [[nodiscard]] ViewController* topViewController() const;
  // The top screen, or what it presents modally.
  [[nodiscard]] ViewController* visibleViewController() const;

  void pushViewController(const std::shared_ptr<ViewController>& vc, bool animated);
  // Returns the popped screen, or nothing when only the root is left.
  std::shared_ptr<ViewController> popViewController(bool animated);
  std::vector<std::shared_ptr<ViewController>> popToRootViewController(bool animated);
  std::vector<std::shared_ptr<ViewController>> popToViewController(const ViewController* vc,
                                                                   bool animated);
  // Whether the last push or pop was asked to animate.
  [[nodiscard]] bool lastTransitionAnimated() const { return lastAnimated_; }

  [[nodiscard]] bool isNavigationBarHidden() const { return barHidden_; }
  void setNavigationBarHidden(bool hidden, bool animated);
  [[nodiscard]] const std::shared_ptr<NavigationBar>& navigationBar();

  void loadView() override;
  [[nodiscard]] std::vector<ViewController*> visibleChildren() const override;

 private:
  void replaceStack(std::vector<std::shared_ptr<ViewController>> stack, bool animated);
  void layoutTop();

  std::vector<std::shared_ptr<ViewController>> stack_;
  std::shared_ptr<NavigationBar> bar_;
  std::shared_ptr<View> shownView_;
  bool barHidden_ = false;
  bool lastAnimated_ = false;
};

}  // namespace lk::ui
