#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Platform/UI/BarButtonItem.h"
#include "Platform/UI/View.h"

namespace lk::ui {

class NavigationController;

// The bar above a navigation stack. It shows the top screen's navigation item: its title (or
// title view), its left item or the back button, and its right item.
class NavigationBar : public View {
 public:
  NavigationBar(Rect frame, NavigationController* owner);

  // The title the bar shows: the item's title, else the screen's title.
  [[nodiscard]] std::string title() const;
  // The left item when the top screen has one.
  [[nodiscard]] std::shared_ptr<BarButtonItem> leftItem() const;
  [[nodiscard]] std::shared_ptr<BarButtonItem> rightItem() const;
  // The toolkit's back button title when it shows one (stack deeper than one, no left item, not
  // hidden): the screen below's back item title, else its title, else "Back".
  [[nodiscard]] std::optional<std::string> backButtonTitle() const;

  [[nodiscard]] NavigationController* owner() const { return owner_; }
  // The stack went away while its views live on: the bar then shows nothing.
  void detachOwner() { owner_ = nullptr; }
  // A finger on the back button: pops the top screen, animated. Returns whether it was shown.
  bool tapBackButton();

  [[nodiscard]] std::string dumpLine() const override;
  void dump(DumpWriter& out) const override;

 private:
  NavigationController* owner_;
};

}  // namespace lk::ui
