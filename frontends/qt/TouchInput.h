#pragma once

#include <memory>

#include "Platform/UI/Geometry.h"

namespace lk::ui {
class View;
class ScrollView;
class PickerView;
class Button;
}  // namespace lk::ui

namespace lk::qt {

// A pointer on the phone's screen turned into touches, in window points: a click is a tap at
// that point, a press-drag-release is a finger dragging what is under it (a list scrolls, pulls
// past its ends load or refresh; a picker wheel turns), the wheel scrolls a list within its
// range. Parts of controls without views of their own (alert buttons, bar items, the title
// view, the keyboard's keys) are found where the painter puts them.
class TouchInput {
 public:
  // Movement below this many points between press and release is still a tap.
  static constexpr double kTapSlop = 6;

  // `root` null: the key window at the time of each event.
  explicit TouchInput(ui::View* root = nullptr) : root_(root) {}

  // A tap at `point`. Returns whether something took it.
  bool tap(ui::Point point);

  void press(ui::Point point);
  void move(ui::Point point);
  // Ends the touch: a tap when the finger hardly moved. Returns whether something took it.
  bool release(ui::Point point);
  [[nodiscard]] bool isTouching() const { return touching_; }
  // The button under a finger that is down, painted pressed.
  [[nodiscard]] const ui::View* pressedButton() const;

  // The wheel over `point`: `dy` points, positive moving the content down (towards its top).
  bool wheel(ui::Point point, double dy);

 private:
  [[nodiscard]] ui::View* root() const;
  bool tapChrome(ui::Point point, bool& modal);

  ui::View* root_;
  bool touching_ = false;
  bool dragging_ = false;
  ui::Point start_;
  ui::Point last_;
  std::weak_ptr<ui::View> scroll_;  // the list the finger drags
  std::weak_ptr<ui::View> picker_;  // or the picker whose wheel it turns
  int pickerComponent_ = -1;
  std::weak_ptr<ui::View> pressed_;
};

}  // namespace lk::qt
