#pragma once

#include <optional>
#include <vector>

#include "Platform/UI/Geometry.h"

namespace lk::ui {
class AlertView;
class ActionSheet;
class NavigationBar;
class PickerView;
class TextField;
class Toolbar;
}  // namespace lk::ui

namespace lk::qt {

// Where the window puts the parts of the toolkit's controls that have no views of their own
// (alert and sheet buttons, bar items, picker rows). Painting and clicking both use it, so a
// click lands on what is painted there. Rectangles are in the control's own coordinates.
struct ChromeLayout {
  struct Alert {
    ui::Rect box;
    ui::Rect title;
    ui::Rect message;
    std::optional<ui::Rect> field;
    std::vector<ui::Rect> buttons;  // by button index
  };
  static Alert alert(const ui::AlertView& alert);

  struct Sheet {
    ui::Rect box;
    ui::Rect title;
    std::vector<ui::Rect> buttons;
  };
  static Sheet sheet(const ui::ActionSheet& sheet);

  struct NavBar {
    std::optional<ui::Rect> back;
    std::optional<ui::Rect> left;
    std::optional<ui::Rect> right;
    std::optional<ui::Rect> titleView;
  };
  static NavBar navigationBar(const ui::NavigationBar& bar);

  // The items of a toolbar that show text, each with its place.
  struct ToolbarItem {
    std::size_t index;  // in the toolbar's items
    ui::Rect rect;
  };
  static std::vector<ToolbarItem> toolbar(const ui::Toolbar& toolbar);

  static constexpr double kPickerRowHeight = 36;
  // The columns of a picker's wheels.
  static std::vector<ui::Rect> pickerColumns(const ui::PickerView& picker);

  // The clear button of a text field.
  static ui::Rect clearButton(const ui::TextField& field);

  // The on-screen keyboard (window coordinates) and its keys that do something.
  static ui::Rect keyboard();
  static ui::Rect keyboardReturnKey();
  static ui::Rect keyboardDeleteKey();
};

}  // namespace lk::qt
