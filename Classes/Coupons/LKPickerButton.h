#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Platform/UI/Button.h"
#include "Platform/UI/Label.h"

namespace lk {

// The chooser's button in a header bar: a label that turns white while a finger is down and
// gray again when it lifts, leaves or is cancelled; a completed tap runs the click action.
class LKPickerButton : public ui::Button {
 public:
  static constexpr double kWidth = 152;
  static constexpr double kHeight = 32;

  explicit LKPickerButton(ui::Rect frame = {0, 0, kWidth, kHeight}, std::string title = {});

  [[nodiscard]] const std::shared_ptr<ui::Label>& label() const { return label_; }
  void setTitle(const std::string& title);
  // The action of a completed tap (the delegate and its selector in one).
  void setDelegateAndClickAction(std::function<void()> action);

  // The finger's phases.
  void touchDown();
  void touchUp(bool inside);
  void touchCancelled();

  [[nodiscard]] static ui::Color normalColor();

 private:
  std::shared_ptr<ui::Label> label_;
  std::function<void()> click_;
};

}  // namespace lk
