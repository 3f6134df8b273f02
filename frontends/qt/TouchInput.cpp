#include "frontends/qt/TouchInput.h"

#include <cmath>
#include <vector>

#include "Platform/UI/ActionSheet.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/BarButtonItem.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/NavigationBar.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/PickerView.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/ScrollView.h"
#include "Platform/UI/TextField.h"
#include "Platform/UI/ViewController.h"
#include "Platform/UI/Window.h"
#include "frontends/qt/ChromeLayout.h"

namespace lk::qt {

using ui::Point;
using ui::Rect;
using ui::View;

namespace {

// The top-most visible view of type T.
template <typename T>
T* topMost(View* view) {
  if (view == nullptr || view->isHidden() || view->alpha() <= 0) return nullptr;
  const auto children = view->subviews();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (T* found = topMost<T>(it->get())) return found;
  }
  return dynamic_cast<T*>(view);
}

template <typename T>
T* under(View* hit) {
  for (View* v = hit; v != nullptr; v = v->superview()) {
    if (auto* t = dynamic_cast<T*>(v)) return t;
  }
  return nullptr;
}

Point local(const View& view, Point p) {
  const Rect f = view.frameInRoot();
  return Point{p.x - f.x(), p.y - f.y()};
}

bool inside(const Rect& r, Point p) {
  return r.contains(p);
}

// A tap on a view that is not in the window's tree (a title view, a bar item's custom view)
// at `p` in that view's own coordinates.
bool tapDetached(View& view, Point p) {
  const Rect f = view.frame();
  View* hit = view.hitTest(Point{p.x + f.x(), p.y + f.y()});
  for (View* v = hit; v != nullptr; v = v->superview()) {
    if (auto* field = dynamic_cast<ui::TextField*>(v)) {
      const Point q = local(*field, Point{p.x + f.x(), p.y + f.y()});
      if (field->isClearButtonShown() && inside(ChromeLayout::clearButton(*field), q))
        return field->tapClearButton();
      return field->becomeFirstResponder();
    }
    if (auto* input = dynamic_cast<ui::TextInput*>(v)) return input->becomeFirstResponder();
    if (auto* button = dynamic_cast<ui::Button*>(v)) return button->tap();
    if (v->handleTap()) return true;
  }
  return false;
}

bool tapNavigationBar(ui::NavigationBar& bar, Point p) {
  const auto layout = ChromeLayout::navigationBar(bar);
  if (layout.back && inside(*layout.back, p)) return bar.tapBackButton();
  auto item = [&](const std::shared_ptr<ui::BarButtonItem>& it, const std::optional<Rect>& r) {
    if (!it || !r || !inside(*r, p)) return false;
    if (const auto& custom = it->customView())
      return tapDetached(*custom, Point{p.x - r->x(), p.y - r->y()}) || it->tap();
    return it->tap();
  };
  if (!layout.back && item(bar.leftItem(), layout.left)) return true;
  if (item(bar.rightItem(), layout.right)) return true;
  if (layout.titleView && inside(*layout.titleView, p) && bar.owner() != nullptr) {
    auto* top = bar.owner()->topViewController();
    if (top != nullptr && top->navigationItem().titleView) {
      auto keep = top->navigationItem().titleView;
      return tapDetached(*keep, Point{p.x - layout.titleView->x(), p.y - layout.titleView->y()});
    }
  }
  return false;
}

int wheelRows(double dy) {
  return static_cast<int>(std::lround(-dy / ChromeLayout::kPickerRowHeight));
}

}  // namespace

View* TouchInput::root() const {
  return root_ != nullptr ? root_ : ui::Application::shared().keyWindow();
}

// Controls above the content: an alert or sheet (modal: nothing else takes the finger), the
// keyboard, the navigation bar's parts, a picker's wheels, a field's clear button.
bool TouchInput::tapChrome(Point p, bool& modal) {
  View* r = root();
  modal = false;
  if (auto* alert = topMost<ui::AlertView>(r)) {
    modal = true;
    const auto layout = ChromeLayout::alert(*alert);
    const Point q = local(*alert, p);
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
      if (inside(layout.buttons[i], q)) return alert->tapButton(static_cast<int>(i));
    }
    if (layout.field && inside(*layout.field, q)) {
      if (auto field = alert->textFieldAtIndex(0)) return field->becomeFirstResponder();
    }
    return false;
  }
  if (auto* sheet = topMost<ui::ActionSheet>(r)) {
    modal = true;
    const auto layout = ChromeLayout::sheet(*sheet);
    const Point q = local(*sheet, p);
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
      if (inside(layout.buttons[i], q)) return sheet->tapButton(static_cast<int>(i));
    }
    return false;
  }
  if (ui::Keyboard::shared().isShown() && inside(ChromeLayout::keyboard(), p)) {
    modal = true;
    if (inside(ChromeLayout::keyboardReturnKey(), p)) return ui::Keyboard::shared().pressReturn();
    if (inside(ChromeLayout::keyboardDeleteKey(), p))
      return ui::Keyboard::shared().deleteBackward();
    return false;
  }
  View* hit = r->hitTest(p);
  if (auto* bar = under<ui::NavigationBar>(hit)) {
    modal = true;
    return tapNavigationBar(*bar, local(*bar, p));
  }
  if (auto* picker = under<ui::PickerView>(hit)) {
    modal = true;
    const Point q = local(*picker, p);
    const auto columns = ChromeLayout::pickerColumns(*picker);
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (!inside(columns[c], q)) continue;
      const int component = static_cast<int>(c);
      const int delta = static_cast<int>(
          std::lround((q.y - picker->frame().height() / 2) / ChromeLayout::kPickerRowHeight));
      return delta != 0 &&
             picker->turnWheel(component, picker->selectedRowInComponent(component) + delta);
    }
    return false;
  }
  if (auto* field = under<ui::TextField>(hit)) {
    if (field->isClearButtonShown() &&
        inside(ChromeLayout::clearButton(*field), local(*field, p))) {
      modal = true;
      return field->tapClearButton();
    }
  }
  return false;
}

bool TouchInput::tap(Point p) {
  View* r = root();
  if (r == nullptr) return false;
  auto keep = r->weak_from_this().lock();
  bool modal = false;
  const bool took = tapChrome(p, modal);
  if (modal) return took;
  return ui::ScreenInput(r).tapAt(p);
}

void TouchInput::press(Point p) {
  touching_ = true;
  dragging_ = false;
  start_ = last_ = p;
  scroll_.reset();
  picker_.reset();
  pressed_.reset();
  View* r = root();
  if (r == nullptr) return;
  // Nothing under an alert, a sheet or the keyboard moves.
  if (topMost<ui::AlertView>(r) != nullptr || topMost<ui::ActionSheet>(r) != nullptr) return;
  if (ui::Keyboard::shared().isShown() && inside(ChromeLayout::keyboard(), p)) return;
  View* hit = r->hitTest(p);
  if (auto* button = under<ui::Button>(hit); button != nullptr && button->isEnabled())
    pressed_ = button->weak_from_this();
  if (auto* picker = under<ui::PickerView>(hit)) {
    const Point q = local(*picker, p);
    const auto columns = ChromeLayout::pickerColumns(*picker);
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (inside(columns[c], q)) {
        picker_ = picker->weak_from_this();
        pickerComponent_ = static_cast<int>(c);
      }
    }
    return;
  }
  for (View* v = hit; v != nullptr; v = v->superview()) {
    if (auto* sv = dynamic_cast<ui::ScrollView*>(v); sv != nullptr && sv->scrollEnabled) {
      scroll_ = sv->weak_from_this();
      break;
    }
  }
}

void TouchInput::move(Point p) {
  if (!touching_) return;
  if (!dragging_ && std::hypot(p.x - start_.x, p.y - start_.y) < kTapSlop) return;
  if (!dragging_) {
    dragging_ = true;
    pressed_.reset();
    if (auto sv = std::dynamic_pointer_cast<ui::ScrollView>(scroll_.lock())) {
      sv->touchDown();
      last_ = start_;
    }
  }
  if (auto sv = std::dynamic_pointer_cast<ui::ScrollView>(scroll_.lock())) {
    const double dy = p.y - last_.y;
    if (dy != 0) sv->moveFinger(dy);
  }
  last_ = p;
}

bool TouchInput::release(Point p) {
  if (!touching_) return false;
  move(p);
  touching_ = false;
  pressed_.reset();
  if (!dragging_) return tap(start_);
  dragging_ = false;
  if (auto sv = std::dynamic_pointer_cast<ui::ScrollView>(scroll_.lock())) {
    sv->lift();
    return true;
  }
  if (auto picker = std::dynamic_pointer_cast<ui::PickerView>(picker_.lock())) {
    const int rows = wheelRows(p.y - start_.y);
    return rows != 0 && picker->turnWheel(pickerComponent_,
                                          picker->selectedRowInComponent(pickerComponent_) + rows);
  }
  return false;
}

const View* TouchInput::pressedButton() const {
  return pressed_.lock().get();
}

bool TouchInput::wheel(Point p, double dy) {
  View* r = root();
  if (r == nullptr || touching_) return false;
  if (topMost<ui::AlertView>(r) != nullptr || topMost<ui::ActionSheet>(r) != nullptr) return false;
  View* hit = r->hitTest(p);
  if (auto* picker = under<ui::PickerView>(hit)) {
    const Point q = local(*picker, p);
    const auto columns = ChromeLayout::pickerColumns(*picker);
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (!inside(columns[c], q)) continue;
      const int component = static_cast<int>(c);
      const int rows = dy > 0 ? -1 : 1;
      return picker->turnWheel(component, picker->selectedRowInComponent(component) + rows);
    }
    return false;
  }
  for (View* v = hit; v != nullptr; v = v->superview()) {
    auto* sv = dynamic_cast<ui::ScrollView*>(v);
    if (sv == nullptr || !sv->scrollEnabled) continue;
    auto keep = sv->weak_from_this().lock();
    // Within the list only: the wheel never pulls a footer or header far enough to load.
    const double offset = sv->contentOffset().y;
    const double room = dy > 0 ? offset - sv->minOffsetY() : sv->maxOffsetY() - offset;
    const double step = std::min(std::abs(dy), std::max(0.0, room));
    if (step < 0.5) return false;
    sv->touchDown();
    sv->moveFinger(dy > 0 ? step : -step);
    sv->lift();
    return true;
  }
  return false;
}

}  // namespace lk::qt
