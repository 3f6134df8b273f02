#include "Platform/UI/ScreenInput.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "Platform/UI/ActionSheet.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/DumpWriter.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/NavigationBar.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/PickerView.h"
#include "Platform/UI/ScrollView.h"
#include "Platform/UI/SegmentedControl.h"
#include "Platform/UI/TabBar.h"
#include "Platform/UI/TabBarController.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TextField.h"
#include "Platform/UI/TextView.h"
#include "Platform/UI/Toolbar.h"
#include "Platform/UI/Window.h"

namespace lk::ui {

namespace {

// Visible views in painting order; the last one is the top-most.
void collect(View* view, std::vector<View*>& out) {
  if (view == nullptr || view->isHidden() || view->alpha() <= 0) return;
  out.push_back(view);
  auto children = view->subviews();
  for (const auto& child : children)
    collect(child.get(), out);
}

std::vector<View*> topDown(View* root) {
  std::vector<View*> all;
  collect(root, all);
  return {all.rbegin(), all.rend()};
}

// Whether a finger at the middle of `area` (root coordinates) reaches `target`: nothing that
// takes touches covers it there.
bool reaches(View* root, View* target, const Rect& area) {
  if (area.isEmpty()) return false;
  View* hit = root->hitTest(Point{area.x() + area.width() / 2, area.y() + area.height() / 2});
  return hit != nullptr && hit->isDescendantOf(target);
}

bool reaches(View* root, View* target) {
  Rect area = target->frameInRoot();
  // Only the part its ancestors show can be touched.
  for (View* p = target->superview(); p != nullptr; p = p->superview()) {
    area = area.intersection(p->frameInRoot());
  }
  return reaches(root, target, area);
}

// The first view from the top that `fn` takes.
bool firstTaking(View* root, const std::function<bool(View*)>& fn) {
  if (root == nullptr) return false;
  auto keep = root->weak_from_this().lock();
  for (View* v : topDown(root)) {
    if (fn(v)) return true;
  }
  return false;
}

bool tapBarItem(const std::shared_ptr<BarButtonItem>& item, const std::string& text) {
  return item && item->label() == text && item->tap();
}

bool tapRowShowing(View* root, TableView& table, const std::string& text) {
  for (const auto& ip : table.indexPathsForVisibleRows()) {
    auto cell = table.cellForRowAtIndexPath(ip);
    if (!cell || cell->isHidden() || !reaches(root, cell.get())) continue;
    DumpWriter out;
    for (const auto& child : cell->subviews())
      child->dump(out);
    if (out.text().find(text) != std::string::npos) return table.tapRow(ip);
  }
  return false;
}

}  // namespace

View* ScreenInput::root() const {
  return root_ != nullptr ? root_ : Application::shared().keyWindow();
}

bool ScreenInput::tap(const std::string& text) {
  View* r = root();
  auto take = [&](View* v) {
    if (auto* alert = dynamic_cast<AlertView*>(v)) return alert->tapButton(text);
    if (auto* sheet = dynamic_cast<ActionSheet*>(v)) return sheet->tapButton(text);
    if (auto* button = dynamic_cast<Button*>(v)) {
      return button->label() == text && reaches(r, button) && button->tap();
    }
    if (auto* bar = dynamic_cast<NavigationBar*>(v)) {
      if (!reaches(r, bar)) return false;
      if ((text == "back" || bar->backButtonTitle() == text) && bar->tapBackButton()) return true;
      return tapBarItem(bar->leftItem(), text) || tapBarItem(bar->rightItem(), text);
    }
    if (auto* toolbar = dynamic_cast<Toolbar*>(v))
      return reaches(r, toolbar) && toolbar->tapItem(text);
    if (auto* tabs = dynamic_cast<TabBar*>(v)) {
      return reaches(r, tabs) && tabs->owner() != nullptr && tabs->owner()->selectTabAsUser(text);
    }
    return false;
  };
  return firstTaking(r, take) || tapRow(text);
}

bool ScreenInput::tapRow(const std::string& text) {
  View* r = root();
  return firstTaking(r, [&](View* v) {
    auto* table = dynamic_cast<TableView*>(v);
    return table != nullptr && tapRowShowing(r, *table, text);
  });
}

bool ScreenInput::tapAt(Point point) {
  View* r = root();
  if (r == nullptr) return false;
  auto keep = r->weak_from_this().lock();
  View* hit = r->hitTest(point);
  for (View* v = hit; v != nullptr; v = v->superview()) {
    Rect f = v->frameInRoot();
    double share = f.width() > 0 ? (point.x - f.x()) / f.width() : 0;
    if (auto* button = dynamic_cast<Button*>(v)) return button->tap();
    if (auto* segments = dynamic_cast<SegmentedControl*>(v)) {
      int n = segments->numberOfSegments();
      return n > 0 && segments->tapSegment(std::min(n - 1, static_cast<int>(share * n)));
    }
    if (auto* cell = dynamic_cast<TableViewCell*>(v)) {
      auto* table = dynamic_cast<TableView*>(cell->superview());
      auto ip = table != nullptr ? table->indexPathForCell(cell) : std::nullopt;
      return ip && table->tapRow(*ip);
    }
    if (auto* bar = dynamic_cast<NavigationBar*>(v)) {
      if (share < 1.0 / 3) {
        if (bar->tapBackButton()) return true;
        auto left = bar->leftItem();
        return left != nullptr && left->tap();
      }
      auto right = bar->rightItem();
      return share > 2.0 / 3 && right != nullptr && right->tap();
    }
    if (auto* tabs = dynamic_cast<TabBar*>(v)) {
      if (tabs->owner() == nullptr) return false;
      int n = static_cast<int>(tabs->owner()->viewControllers().size());
      return n > 0 && tabs->owner()->selectTabAsUser(std::min(n - 1, static_cast<int>(share * n)));
    }
    if (auto* toolbar = dynamic_cast<Toolbar*>(v)) {
      // Items with text share the bar from left to right.
      std::vector<std::string> labels;
      for (const auto& item : toolbar->items()) {
        std::string label = item->label();
        if (item->systemItem() == BarButtonItem::System::kNone &&
            label.find_first_not_of(' ') != std::string::npos) {
          labels.push_back(label);
        }
      }
      if (labels.empty()) return false;
      auto index = std::min(labels.size() - 1, static_cast<std::size_t>(share * labels.size()));
      return toolbar->tapItem(labels[index]);
    }
    if (auto* field = dynamic_cast<TextInput*>(v)) return field->becomeFirstResponder();
    if (v->handleTap()) return true;
  }
  return false;
}

bool ScreenInput::tapRow(IndexPath indexPath) {
  TableView* table = topTableView();
  return table != nullptr && table->tapRow(indexPath);
}

bool ScreenInput::tapBack() {
  return firstTaking(root(), [&](View* v) {
    auto* bar = dynamic_cast<NavigationBar*>(v);
    if (bar == nullptr) return false;
    if (bar->tapBackButton()) return true;
    // A screen that replaced the back button by its own left button.
    auto left = bar->leftItem();
    return left != nullptr && left->tap();
  });
}

bool ScreenInput::focus(const std::string& text) {
  return firstTaking(root(), [&](View* v) {
    if (auto* field = dynamic_cast<TextField*>(v)) {
      if (field->text() == text || field->placeholder() == text)
        return field->becomeFirstResponder();
    }
    if (auto* tv = dynamic_cast<TextView*>(v)) {
      if (tv->text() == text) return tv->becomeFirstResponder();
    }
    return false;
  });
}

bool ScreenInput::type(const std::string& utf8) {
  return Keyboard::shared().type(utf8);
}

bool ScreenInput::deleteBackward() {
  return Keyboard::shared().deleteBackward();
}

bool ScreenInput::pressReturn() {
  return Keyboard::shared().pressReturn();
}

bool ScreenInput::tapClearButton() {
  return Keyboard::shared().tapClearButton();
}

bool ScreenInput::chooseAlertButton(const std::string& title) {
  return firstTaking(root(), [&](View* v) {
    if (auto* alert = dynamic_cast<AlertView*>(v)) return alert->tapButton(title);
    if (auto* sheet = dynamic_cast<ActionSheet*>(v)) return sheet->tapButton(title);
    return false;
  });
}

bool ScreenInput::turnPicker(int component, int row) {
  return firstTaking(root(), [&](View* v) {
    auto* picker = dynamic_cast<PickerView*>(v);
    return picker != nullptr && picker->turnWheel(component, row);
  });
}

ScrollView* ScreenInput::topScrollView() const {
  View* r = root();
  if (r == nullptr) return nullptr;
  for (View* v : topDown(r)) {
    if (auto* sv = dynamic_cast<ScrollView*>(v); sv != nullptr && sv->scrollEnabled) return sv;
  }
  return nullptr;
}

TableView* ScreenInput::topTableView() const {
  View* r = root();
  if (r == nullptr) return nullptr;
  for (View* v : topDown(r)) {
    if (auto* t = dynamic_cast<TableView*>(v)) return t;
  }
  return nullptr;
}

bool ScreenInput::dragList(double dy) {
  ScrollView* sv = topScrollView();
  if (sv == nullptr) return false;
  auto keep = sv->weak_from_this().lock();
  sv->drag(dy);
  return true;
}

std::string ScreenInput::dump() const {
  View* r = root();
  return r != nullptr ? r->dumpText() : std::string();
}

}  // namespace lk::ui
