#include "frontends/qt/ChromeLayout.h"

#include <algorithm>

#include "Platform/UI/ActionSheet.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/BarButtonItem.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/NavigationBar.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/PickerView.h"
#include "Platform/UI/TextField.h"
#include "Platform/UI/TextMeasure.h"
#include "Platform/UI/Toolbar.h"
#include "Platform/UI/ViewController.h"

namespace lk::qt {

using ui::Font;
using ui::Rect;
using ui::TextMeasure;

namespace {
constexpr double kAlertWidth = 284;
constexpr double kAlertInset = 12;
constexpr double kButtonHeight = 40;
constexpr double kBarItemHeight = 30;

double textHeight(const std::string& text, const Font& font, double width) {
  if (text.empty()) return 0;
  return TextMeasure::sizeOfText(text, font, width).height;
}

// The width a bar item takes: its custom view's, its own, or its title's with padding.
double itemWidth(const ui::BarButtonItem& item) {
  if (item.customView()) return item.customView()->frame().width();
  if (item.width() > 0) return item.width();
  if (!item.title().empty())
    return std::max(50.0, TextMeasure::widthOfText(item.title(), Font::boldSystem(12)) + 20);
  return 40;
}

double itemHeight(const ui::BarButtonItem& item) {
  if (item.customView()) return std::min(44.0, item.customView()->frame().height());
  return kBarItemHeight;
}
}  // namespace

ChromeLayout::Alert ChromeLayout::alert(const ui::AlertView& alert) {
  Alert out;
  const double inner = kAlertWidth - 2 * kAlertInset;
  double y = kAlertInset + 4;
  const double th = textHeight(alert.title(), Font::boldSystem(17), inner);
  out.title = Rect{kAlertInset, y, inner, th};
  y += th + (th > 0 ? 6 : 0);
  const double mh = textHeight(alert.message(), Font::system(15), inner);
  out.message = Rect{kAlertInset, y, inner, mh};
  y += mh + (mh > 0 ? 10 : 0);
  if (alert.textFieldAtIndex(0)) {
    out.field = Rect{kAlertInset, y, inner, 29};
    y += 29 + 10;
  }
  const int n = alert.numberOfButtons();
  if (n == 2) {
    const double w = (inner - 8) / 2;
    out.buttons.push_back(Rect{kAlertInset, y, w, kButtonHeight});
    out.buttons.push_back(Rect{kAlertInset + w + 8, y, w, kButtonHeight});
    y += kButtonHeight + kAlertInset;
  } else {
    for (int i = 0; i < n; ++i) {
      out.buttons.push_back(Rect{kAlertInset, y, inner, kButtonHeight});
      y += kButtonHeight + 8;
    }
    y += kAlertInset - (n > 0 ? 8 : 0);
  }
  const double x = (alert.frame().width() - kAlertWidth) / 2;
  // Centred, raised above the keyboard while the field is being typed into.
  double top = (alert.frame().height() - y) / 2;
  if (out.field) top = std::min(top, 264 - y - 8);
  top = std::max(top, 24.0);
  auto shift = [&](Rect r) { return Rect{r.x() + x, r.y() + top, r.width(), r.height()}; };
  out.box = Rect{x, top, kAlertWidth, y};
  out.title = shift(out.title);
  out.message = shift(out.message);
  if (out.field) out.field = shift(*out.field);
  for (auto& b : out.buttons)
    b = shift(b);
  return out;
}

ChromeLayout::Sheet ChromeLayout::sheet(const ui::ActionSheet& sheet) {
  Sheet out;
  const double width = sheet.frame().width();
  const double inner = width - 40;
  double y = 12;
  const double th = textHeight(sheet.title(), Font::system(13), inner);
  out.title = Rect{20, y, inner, th};
  y += th + (th > 0 ? 10 : 0);
  for (int i = 0; i < sheet.numberOfButtons(); ++i) {
    if (i == sheet.cancelButtonIndex() && i > 0) y += 8;
    out.buttons.push_back(Rect{20, y, inner, 44});
    y += 44 + 8;
  }
  y += 8;
  const double top = sheet.frame().height() - y;
  out.box = Rect{0, top, width, y};
  out.title = Rect{out.title.x(), out.title.y() + top, out.title.width(), out.title.height()};
  for (auto& b : out.buttons)
    b = Rect{b.x(), b.y() + top, b.width(), b.height()};
  return out;
}

ChromeLayout::NavBar ChromeLayout::navigationBar(const ui::NavigationBar& bar) {
  NavBar out;
  const double w = bar.frame().width();
  const double h = bar.frame().height();
  if (auto back = bar.backButtonTitle()) {
    const double bw = std::max(50.0, TextMeasure::widthOfText(*back, Font::boldSystem(12)) + 24);
    out.back = Rect{5, (h - kBarItemHeight) / 2, std::min(bw, w / 3), kBarItemHeight};
  } else if (auto left = bar.leftItem()) {
    const double ih = itemHeight(*left);
    out.left = Rect{5, (h - ih) / 2, itemWidth(*left), ih};
  }
  if (auto right = bar.rightItem()) {
    const double iw = itemWidth(*right);
    const double ih = itemHeight(*right);
    out.right = Rect{w - 5 - iw, (h - ih) / 2, iw, ih};
  }
  if (bar.owner() != nullptr && bar.owner()->topViewController() != nullptr) {
    if (const auto& tv = bar.owner()->topViewController()->navigationItem().titleView) {
      const auto& f = tv->frame();
      out.titleView = Rect{(w - f.width()) / 2, std::max(0.0, (h - f.height()) / 2), f.width(),
                           std::min(h, f.height())};
    }
  }
  return out;
}

std::vector<ChromeLayout::ToolbarItem> ChromeLayout::toolbar(const ui::Toolbar& toolbar) {
  // Items with text share the bar from left to right, as a finger finds them.
  std::vector<std::size_t> shown;
  for (std::size_t i = 0; i < toolbar.items().size(); ++i) {
    const auto& item = toolbar.items()[i];
    if (item->systemItem() == ui::BarButtonItem::System::kNone &&
        item->label().find_first_not_of(' ') != std::string::npos) {
      shown.push_back(i);
    }
  }
  std::vector<ToolbarItem> out;
  if (shown.empty()) return out;
  const double share = toolbar.frame().width() / static_cast<double>(shown.size());
  const double h = toolbar.frame().height();
  for (std::size_t k = 0; k < shown.size(); ++k) {
    const auto& item = *toolbar.items()[shown[k]];
    const double iw = std::min(share - 10, itemWidth(item));
    // The first item keeps to the left edge, the last to the right, the others centre.
    double x = k * share + (share - iw) / 2;
    if (shown.size() > 1 && k == 0) x = 6;
    if (shown.size() > 1 && k + 1 == shown.size()) x = toolbar.frame().width() - 6 - iw;
    out.push_back({shown[k], Rect{x, (h - kBarItemHeight) / 2, iw, kBarItemHeight}});
  }
  return out;
}

std::vector<Rect> ChromeLayout::pickerColumns(const ui::PickerView& picker) {
  std::vector<Rect> out;
  const int n = picker.numberOfComponents();
  if (n <= 0) return out;
  const double inner = picker.frame().width() - 20;
  const double w = inner / n;
  for (int i = 0; i < n; ++i)
    out.push_back(Rect{10 + i * w, 0, w, picker.frame().height()});
  return out;
}

Rect ChromeLayout::clearButton(const ui::TextField& field) {
  const auto& f = field.frame();
  return Rect{f.width() - 25, (f.height() - 19) / 2, 19, 19};
}

Rect ChromeLayout::keyboard() {
  return ui::Keyboard::shared().frame();
}

Rect ChromeLayout::keyboardReturnKey() {
  const Rect k = keyboard();
  return Rect{k.maxX() - 82, k.maxY() - 48, 78, 42};
}

Rect ChromeLayout::keyboardDeleteKey() {
  const Rect k = keyboard();
  return Rect{k.maxX() - 46, k.y() + 116, 42, 42};
}

}  // namespace lk::qt
