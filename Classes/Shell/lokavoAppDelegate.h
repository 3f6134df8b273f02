#pragma once

#include <array>
#include <memory>
#include <string>

#include "Classes/LocalState/TabSetLoader.h"
#include "Platform/UI/ApplicationDelegate.h"
#include "Platform/UI/TabBarControllerDelegate.h"

namespace lk {

namespace ui {
class NavigationController;
class TabBarController;
class ViewController;
class Window;
}  // namespace ui

// The application's delegate: builds the six tab stacks once, installs the tab set that fits the
// current city, reacts to tab choices and forwards the life cycle to the services.
class lokavoAppDelegate : public ui::ApplicationDelegate,
                          public ui::TabBarControllerDelegate,
                          public TabSetLoader {
 public:
  // The six tabs in the order they are built.
  enum class Tab { kSearch, kNearby, kCoupon, kBroadcast, kHome, kMore };
  static constexpr std::size_t kTabCount = 6;

  struct TabInfo {
    const char* title;
    const char* icon;  // application resource
  };
  [[nodiscard]] static const TabInfo& info(Tab tab);

  lokavoAppDelegate();
  ~lokavoAppDelegate() override;

  [[nodiscard]] const std::shared_ptr<ui::Window>& window() const { return window_; }
  [[nodiscard]] const std::shared_ptr<ui::TabBarController>& tabBarController() const {
    return tabBarController_;
  }

  // The stacks, empty until loadAllControllers built them.
  [[nodiscard]] const std::shared_ptr<ui::NavigationController>& stack(Tab tab) const {
    return stacks_[static_cast<std::size_t>(tab)];
  }
  [[nodiscard]] const std::shared_ptr<ui::NavigationController>& scNavCtl() const {
    return stack(Tab::kSearch);
  }
  [[nodiscard]] const std::shared_ptr<ui::NavigationController>& ncNavCtl() const {
    return stack(Tab::kNearby);
  }
  [[nodiscard]] const std::shared_ptr<ui::NavigationController>& ccNavCtl() const {
    return stack(Tab::kCoupon);
  }
  [[nodiscard]] const std::shared_ptr<ui::NavigationController>& bcNavCtl() const {
    return stack(Tab::kBroadcast);
  }
  [[nodiscard]] const std::shared_ptr<ui::NavigationController>& hcNavCtl() const {
    return stack(Tab::kHome);
  }
  [[nodiscard]] const std::shared_ptr<ui::NavigationController>& mcNavCtl() const {
    return stack(Tab::kMore);
  }
  // The root screen of a stack, or nullptr before it is built.
  [[nodiscard]] ui::ViewController* rootOf(Tab tab) const;

  // Life cycle.
  bool applicationDidFinishLaunching(ui::Application& app) override;
  void applicationDidBecomeActive(ui::Application& app) override;
  void applicationDidEnterBackground(ui::Application& app) override;

  // Builds whichever of the six stacks do not exist yet.
  void loadAllControllers();
  // The two tab sets; each selects the search tab and pops every shown stack to its root (the
  // popped screens are released on a later turn of the run loop).
  void loadTabControllersWithCoupon() override;
  void loadTabControllersWithoutCoupon() override;

  void tabBarControllerDidSelectViewController(ui::TabBarController& tabBarController,
                                               ui::ViewController& vc) override;

 protected:
  // The root screen of a tab. Tabs whose screen does not exist yet get an empty placeholder.
  virtual std::shared_ptr<ui::ViewController> makeRootScreen(Tab tab);

 private:
  void installTabSet(bool withCoupon);
  void buildAllControllers();

  std::shared_ptr<ui::Window> window_;
  std::shared_ptr<ui::TabBarController> tabBarController_;
  std::array<std::shared_ptr<ui::NavigationController>, kTabCount> stacks_;
  bool buildingStacks_ = false;
  bool tabSetPending_ = false;
};

}  // namespace lk
