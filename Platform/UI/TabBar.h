#pragma once

#include "Platform/UI/View.h"

namespace lk::ui {

class TabBarController;

// The row of tabs at the bottom of a tab bar controller: one entry per screen, from each
// screen's tab bar item.
class TabBar : public View {
 public:
  TabBar(Rect frame, TabBarController* owner);

  [[nodiscard]] TabBarController* owner() const { return owner_; }
  // The controller went away while its views live on: the bar then shows nothing.
  void detachOwner() { owner_ = nullptr; }
  // "tabbar: 搜索 | [附近] | ..." with the selected tab in brackets.
  [[nodiscard]] std::string dumpLine() const override;
  void dump(DumpWriter& out) const override;

 private:
  TabBarController* owner_;
};

}  // namespace lk::ui
