#include "Platform/UI/TabBar.h"

#include "Platform/UI/DumpWriter.h"
#include "Platform/UI/TabBarController.h"

namespace lk::ui {

TabBar::TabBar(Rect frame, TabBarController* owner) : View(frame), owner_(owner) {}

std::string TabBar::dumpLine() const {
  if (owner_ == nullptr) return {};
  std::string line = "tabbar:";
  const auto& vcs = owner_->viewControllers();
  for (std::size_t i = 0; i < vcs.size(); ++i) {
    const auto& item = vcs[i]->tabBarItem();
    std::string title = item.title.empty() ? vcs[i]->title() : item.title;
    if (!item.badgeValue.empty()) title += "(" + item.badgeValue + ")";
    line += i == 0 ? " " : " | ";
    line += static_cast<int>(i) == owner_->selectedIndex() ? "[" + title + "]" : title;
  }
  return line;
}

void TabBar::dump(DumpWriter& out) const {
  if (isHidden() || alpha() <= 0 || owner_ == nullptr) return;
  out.line(dumpLine());
}

}  // namespace lk::ui
