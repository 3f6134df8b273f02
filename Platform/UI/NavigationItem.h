#pragma once

#include <memory>
#include <string>

#include "Platform/UI/BarButtonItem.h"
#include "Platform/UI/View.h"

namespace lk::ui {

// What a screen shows in the navigation bar while it is on top of its stack.
struct NavigationItem {
  std::string title;  // empty: the screen's title
  std::shared_ptr<View> titleView;
  std::shared_ptr<BarButtonItem> leftBarButtonItem;
  std::shared_ptr<BarButtonItem> rightBarButtonItem;
  // What the screen above this one shows as its back button; empty: this screen's title.
  std::shared_ptr<BarButtonItem> backBarButtonItem;
  bool hidesBackButton = false;
};

}  // namespace lk::ui
