#include "frontends/commands/ScreenTargets.h"

#include <algorithm>
#include <memory>

#include "Platform/UI/ActionSheet.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/BarButtonItem.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/DrawnView.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/NavigationBar.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/SegmentedControl.h"
#include "Platform/UI/TabBar.h"
#include "Platform/UI/TabBarController.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TableViewCell.h"
#include "Platform/UI/TextField.h"
#include "Platform/UI/TextView.h"
#include "Platform/UI/Toolbar.h"
#include "Platform/UI/ViewController.h"
#include "Platform/UI/Window.h"

namespace lk::cli {

namespace {

using Target = ScreenTargets::Target;

bool shown(const ui::View* view) {
  return view != nullptr && !view->isHidden() && view->alpha() > 0;
}

// The texts a row shows: its labels and what its drawn views draw.
void rowTexts(const ui::View& view, std::vector<std::string>& out) {
  if (!shown(&view)) return;
  if (const auto* label = dynamic_cast<const ui::Label*>(&view)) {
    if (!label->text().empty()) out.push_back(label->text());
  }
  if (const auto* drawn = dynamic_cast<const ui::DrawnView*>(&view)) {
    for (auto& text : drawn->render().texts())
      out.push_back(std::move(text));
  }
  if (const auto* button = dynamic_cast<const ui::Button*>(&view)) {
    if (!button->label().empty()) out.push_back(button->label());
  }
  for (const auto& child : view.subviews())
    rowTexts(*child, out);
}

// Every enabled, shown button under `view` (the buttons inside a row or a bar item's view).
void addButtons(ui::View& view, const std::string& kind, std::vector<Target>& out) {
  if (!shown(&view)) return;
  if (auto* button = dynamic_cast<ui::Button*>(&view)) {
    if (button->isEnabled() && !button->label().empty()) {
      std::weak_ptr<ui::View> weak = button->weak_from_this();
      out.push_back(
          {kind, {button->label()}, [weak, button] { return !weak.expired() && button->tap(); }});
    }
  }
  for (const auto& child : view.subviews())
    addButtons(*child, kind, out);
}

// Every shown text input under `view` (the fields and text views inside a row), tapped to take
// the focus; besides what it shows it answers to `extra` (the title of the row's section, which
// names an input that shows nothing yet).
void addInputs(ui::View& view, const std::string& where, const std::string& extra,
               std::vector<Target>& out) {
  if (!shown(&view)) return;
  if (auto* input = dynamic_cast<ui::TextInput*>(&view)) {
    const auto* field = dynamic_cast<const ui::TextField*>(input);
    Target target{
        field != nullptr ? "text field" + where : "text view" + where, {input->text()}, nullptr};
    if (field != nullptr) target.texts.push_back(field->placeholder());
    if (!extra.empty()) target.texts.push_back(extra);
    std::weak_ptr<ui::View> weak = input->weak_from_this();
    target.tap = [weak, input] { return !weak.expired() && input->becomeFirstResponder(); };
    out.push_back(std::move(target));
    return;
  }
  for (const auto& child : view.subviews())
    addInputs(*child, where, extra, out);
}

int countButtons(const ui::View& view) {
  int count = dynamic_cast<const ui::Button*>(&view) != nullptr ? 1 : 0;
  for (const auto& child : view.subviews())
    count += countButtons(*child);
  return count;
}

void addBarItem(const std::shared_ptr<ui::BarButtonItem>& item, std::vector<Target>& out) {
  if (!item) return;
  // A view holding several buttons (arrows side by side) offers each of them.
  if (item->customView() && countButtons(*item->customView()) > 1) {
    addButtons(*item->customView(), "bar button", out);
    return;
  }
  if (item->label().empty()) return;
  std::weak_ptr<ui::BarButtonItem> weak = item;
  out.push_back({"bar button", {item->label()}, [weak] {
                   auto strong = weak.lock();
                   return strong && strong->tap();
                 }});
}

// The view of the screen presented last over the window's root screen: it covers the whole
// screen, so nothing added to the window before it can be touched.
const ui::View* coveringModalView(ui::Window& window) {
  ui::ViewController* root = window.rootViewController();
  if (root == nullptr) return nullptr;
  ui::ViewController* top = root;
  while (top->modalViewController() != nullptr)
    top = top->modalViewController();
  if (top == root || !top->isViewLoaded()) return nullptr;
  return top->view().get();
}

struct Collector {
  std::vector<Target> modal;
  std::vector<Target> navigation;
  std::vector<Target> content;
  std::vector<Target> tabs;

  void visit(ui::View* view) {
    if (!shown(view)) return;
    if (auto* alert = dynamic_cast<ui::AlertView*>(view)) {
      modal.clear();
      for (const auto& title : alert->buttonTitles()) {
        std::weak_ptr<ui::View> weak = alert->weak_from_this();
        modal.push_back({"alert button", {title}, [weak, alert, title] {
                           return !weak.expired() && alert->tapButton(title);
                         }});
      }
      return;
    }
    if (auto* sheet = dynamic_cast<ui::ActionSheet*>(view)) {
      modal.clear();
      for (const auto& title : sheet->buttonTitles()) {
        std::weak_ptr<ui::View> weak = sheet->weak_from_this();
        modal.push_back({"sheet button", {title}, [weak, sheet, title] {
                           return !weak.expired() && sheet->tapButton(title);
                         }});
      }
      return;
    }
    if (auto* bar = dynamic_cast<ui::NavigationBar*>(view)) {
      if (auto back = bar->backButtonTitle()) {
        navigation.push_back({"back button", {*back}, [bar] { return bar->tapBackButton(); }});
      }
      addBarItem(bar->leftItem(), navigation);
      addBarItem(bar->rightItem(), navigation);
      // A title view (the segments of a search screen) is screen content.
      if (bar->owner() != nullptr && bar->owner()->topViewController() != nullptr) {
        if (const auto& titleView = bar->owner()->topViewController()->navigationItem().titleView)
          visit(titleView.get());
      }
      return;
    }
    if (auto* tabBar = dynamic_cast<ui::TabBar*>(view)) {
      ui::TabBarController* owner = tabBar->owner();
      if (owner == nullptr) return;
      for (const auto& vc : owner->viewControllers()) {
        const std::string title = vc->tabBarItem().title;
        tabs.push_back({"tab", {title}, [owner, title] { return owner->selectTabAsUser(title); }});
      }
      return;
    }
    if (auto* toolbar = dynamic_cast<ui::Toolbar*>(view)) {
      for (const auto& item : toolbar->items()) {
        if (item && item->isEnabled()) addBarItem(item, content);
      }
      return;
    }
    if (auto* segments = dynamic_cast<ui::SegmentedControl*>(view)) {
      std::weak_ptr<ui::View> weak = segments->weak_from_this();
      for (const auto& title : segments->titles()) {
        content.push_back({"segment", {title}, [weak, segments, title] {
                             return !weak.expired() && segments->tapSegment(title);
                           }});
      }
      return;
    }
    if (auto* button = dynamic_cast<ui::Button*>(view)) {
      if (button->isEnabled() && !button->label().empty()) {
        std::weak_ptr<ui::View> weak = button->weak_from_this();
        content.push_back({"button", {button->label()}, [weak, button] {
                             return !weak.expired() && button->tap();
                           }});
      }
    }
    if (dynamic_cast<ui::TextInput*>(view) != nullptr) addInputs(*view, "", "", content);
    if (auto* table = dynamic_cast<ui::TableView*>(view)) {
      std::weak_ptr<ui::View> weak = table->weak_from_this();
      for (const auto& ip : table->indexPathsForVisibleRows()) {
        auto cell = table->cellForRowAtIndexPath(ip);
        if (!cell || !shown(cell.get())) continue;
        Target row{"row " + ip.text(), {}, [weak, table, ip] {
                     return !weak.expired() && table->tapRow(ip);
                   }};
        for (const auto& child : cell->subviews())
          rowTexts(*child, row.texts);
        // Buttons inside the row come first: a tap on their text means them, not the row.
        for (const auto& child : cell->subviews())
          addButtons(*child, "button in row " + ip.text(), content);
        // So do its text inputs, also named by the title of their section.
        std::string section;
        if (auto* source = table->dataSource()) {
          section = source->tableViewTitleForHeaderInSection(*table, ip.section).value_or("");
        }
        for (const auto& child : cell->subviews())
          addInputs(*child, " in row " + ip.text(), section, content);
        content.push_back(std::move(row));
      }
      // Cells were listed as rows; other subviews (footers, buttons) follow.
      for (const auto& child : table->subviews()) {
        if (dynamic_cast<ui::TableViewCell*>(child.get()) == nullptr) visit(child.get());
      }
      return;
    }
    const auto children = view->subviews();
    auto first = children.begin();
    if (auto* window = dynamic_cast<ui::Window*>(view)) {
      // Screens under a full-screen modal one are out of reach; alerts, sheets and pickers
      // shown over it come after it and stay.
      if (const ui::View* cover = coveringModalView(*window)) {
        const auto at = std::find_if(children.begin(), children.end(),
                                     [cover](const auto& child) { return child.get() == cover; });
        if (at != children.end()) first = at;
      }
    }
    for (auto it = first; it != children.end(); ++it)
      visit(it->get());
  }
};

}  // namespace

std::vector<Target> ScreenTargets::collect(ui::View* root) {
  if (root == nullptr) root = ui::Application::shared().keyWindow();
  Collector collector;
  collector.visit(root);
  if (!collector.modal.empty()) return collector.modal;
  std::vector<Target> all = std::move(collector.navigation);
  for (auto& t : collector.content)
    all.push_back(std::move(t));
  for (auto& t : collector.tabs)
    all.push_back(std::move(t));
  return all;
}

const Target* ScreenTargets::find(const std::vector<Target>& targets, const std::string& text) {
  if (text.empty()) return nullptr;
  for (const auto& target : targets) {
    for (const auto& shownText : target.texts) {
      if (shownText == text) return &target;
    }
  }
  for (const auto& target : targets) {
    for (const auto& shownText : target.texts) {
      if (shownText.find(text) != std::string::npos) return &target;
    }
  }
  return nullptr;
}

}  // namespace lk::cli
