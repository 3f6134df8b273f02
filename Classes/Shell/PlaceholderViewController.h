#pragma once

#include "Classes/Toolkit/TabRootScreen.h"
#include "Platform/UI/ViewController.h"

namespace lk {

// The root of a tab whose screen is not built yet: an empty screen under the tab's title. It
// keeps the flags the application delegate sets on the real screen.
class PlaceholderViewController : public ui::ViewController, public TabRootScreen {
 public:
  PlaceholderViewController() = default;

  void setNeedsMore(bool needsMore) override { needsMore_ = needsMore; }
  void setHasTabbar(bool hasTabbar) override { hasTabbar_ = hasTabbar; }
  [[nodiscard]] bool needsMore() const { return needsMore_; }
  [[nodiscard]] bool hasTabbar() const { return hasTabbar_; }

 private:
  bool needsMore_ = false;
  bool hasTabbar_ = false;
};

}  // namespace lk
