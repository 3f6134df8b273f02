#pragma once

#include <string>

#include "Platform/UI/Geometry.h"
#include "Platform/UI/IndexPath.h"

namespace lk::ui {

class View;
class ScrollView;
class TableView;

// Finger and keyboard input for tests and front ends, on what the key window shows (or on a
// given root). Every operation goes through the same callbacks a touch would and returns
// whether something took it. Targets are searched from the top-most view down.
class ScreenInput {
 public:
  // `root` null: the key window at the time of each call.
  explicit ScreenInput(View* root = nullptr) : root_(root) {}

  // Taps what shows `text`: an alert or sheet button, a button, a bar item ("back" or the back
  // button's title for the back button), a toolbar item, a tab, or else the first visible row
  // whose content shows the text.
  bool tap(const std::string& text);
  bool tapRow(const std::string& text);
  // A finger at `point` (window coordinates), as a graphical front end reports a click: the
  // top-most view there that takes touches gets it (a button, a row, a bar item by its third of
  // the bar, a tab, a segment, a toolbar item, or a view with a tap handler).
  bool tapAt(Point point);
  bool tapRow(IndexPath indexPath);
  bool tapBack();
  // Gives the focus to the text field or view that shows `text` (its text or placeholder).
  bool focus(const std::string& text);

  // The keyboard, on the focused input.
  bool type(const std::string& utf8);
  bool deleteBackward();
  bool pressReturn();
  bool tapClearButton();

  // The top-most alert's or sheet's button.
  bool chooseAlertButton(const std::string& title);
  // The top-most picker's wheel.
  bool turnPicker(int component, int row);

  // Drags the top-most list: dy > 0 moves the finger down (pulls the list down), dy < 0 up.
  bool dragList(double dy);
  [[nodiscard]] ScrollView* topScrollView() const;
  [[nodiscard]] TableView* topTableView() const;

  // The text dump of the root.
  [[nodiscard]] std::string dump() const;

 private:
  [[nodiscard]] View* root() const;
  View* root_;
};

}  // namespace lk::ui
