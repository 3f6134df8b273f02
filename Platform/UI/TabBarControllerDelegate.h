#pragma once

namespace lk::ui {

class TabBarController;
class ViewController;

// Told of the user's tab choices. Every callback is optional.
class TabBarControllerDelegate {
 public:
  TabBarControllerDelegate() = default;
  TabBarControllerDelegate(const TabBarControllerDelegate&) = delete;
  TabBarControllerDelegate& operator=(const TabBarControllerDelegate&) = delete;
  virtual ~TabBarControllerDelegate() = default;

  virtual bool tabBarControllerShouldSelectViewController(TabBarController& /*tabBarController*/,
                                                          ViewController& /*vc*/) {
    return true;
  }
  virtual void tabBarControllerDidSelectViewController(TabBarController& /*tabBarController*/,
                                                       ViewController& /*vc*/) {}
};

}  // namespace lk::ui
