#pragma once

#include <memory>
#include <vector>

#include "Platform/UI/TabBar.h"
#include "Platform/UI/TabBarControllerDelegate.h"
#include "Platform/UI/ViewController.h"

namespace lk::ui {

// Screens side by side behind a tab bar; the selected one's view fills the area above the bar.
class TabBarController : public ViewController {
 public:
  static constexpr double kBarHeight = 49;

  TabBarController();
  ~TabBarController() override;

  // The delegate must outlive the controller or be cleared.
  void setDelegate(TabBarControllerDelegate* delegate) { delegate_ = delegate; }
  [[nodiscard]] TabBarControllerDelegate* delegate() const { return delegate_; }

  [[nodiscard]] const std::vector<std::shared_ptr<ViewController>>& viewControllers() const {
    return vcs_;
  }
  // Keeps the selected screen selected when it is in the new set, else selects the first.
  void setViewControllers(std::vector<std::shared_ptr<ViewController>> vcs, bool animated = false);

  // -1 when there are no screens.
  [[nodiscard]] int selectedIndex() const { return selected_; }
  [[nodiscard]] ViewController* selectedViewController() const;
  // Programmatic selection: the delegate is not told.
  void setSelectedIndex(int index);
  void setSelectedViewController(const ViewController* vc);

  // A finger on tab `index`: asks the delegate, selects, then tells the delegate. Touching the
  // selected tab of a navigation stack pops it to its root. Returns whether the tab was chosen.
  bool selectTabAsUser(int index);
  // The same, by the tab's title.
  bool selectTabAsUser(const std::string& title);

  [[nodiscard]] const std::shared_ptr<TabBar>& tabBar();
  // True when the selected stack's top screen hides the bar.
  [[nodiscard]] bool isTabBarHidden() const;

  void loadView() override;
  [[nodiscard]] std::vector<ViewController*> visibleChildren() const override;
  void childDidChange() override { layoutSelected(); }

 private:
  void select(int index);
  void layoutSelected();

  TabBarControllerDelegate* delegate_ = nullptr;
  std::vector<std::shared_ptr<ViewController>> vcs_;
  int selected_ = -1;
  std::shared_ptr<TabBar> bar_;
  std::shared_ptr<View> shownView_;
};

}  // namespace lk::ui
