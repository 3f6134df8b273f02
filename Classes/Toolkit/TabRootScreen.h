#pragma once

namespace lk {

// What the application delegate asks of the root screens of its tabs. A root implements what
// concerns it; every call is optional.
class TabRootScreen {
 public:
  TabRootScreen() = default;
  TabRootScreen(const TabRootScreen&) = delete;
  TabRootScreen& operator=(const TabRootScreen&) = delete;
  virtual ~TabRootScreen() = default;

  // The nearby root locates the device again each time its tab is chosen.
  virtual void newGPS() {}
  // The coupon root refreshes its list when its tab is chosen.
  virtual void checkData() {}
  // The user centre offers the "more" functions itself while the "更多" tab is not shown.
  virtual void setNeedsMore(bool /*needsMore*/) {}
  // The broadcast root is told it sits in a tab (and so keeps room for the tab bar).
  virtual void setHasTabbar(bool /*hasTabbar*/) {}
};

}  // namespace lk
