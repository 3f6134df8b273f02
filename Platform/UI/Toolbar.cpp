#include "Platform/UI/Toolbar.h"

namespace lk::ui {

namespace {
bool isBlank(const std::string& s) {
  return s.find_first_not_of(' ') == std::string::npos;
}
}  // namespace

Toolbar::Toolbar(Rect frame) : View(frame) {}

bool Toolbar::tapItem(const std::string& label) {
  if (!isVisibleInTree()) return false;
  auto items = items_;
  for (auto& item : items) {
    if (item->label() == label && item->isEnabled()) return item->tap();
  }
  return false;
}

std::string Toolbar::dumpLine() const {
  std::string line = "toolbar:";
  for (const auto& item : items_) {
    if (item->systemItem() != BarButtonItem::System::kNone || isBlank(item->label())) continue;
    line += " " + item->dumpText();
  }
  return line;
}

}  // namespace lk::ui
