#pragma once

#include <memory>

#include "Classes/Toolkit/LKNavigationController.h"

namespace lk {

namespace ui {
class ImageView;
}

// How to allow positioning: one picture, presented modally in a stack of its own where
// positioning was refused, with "返回" to dismiss it.
class HelpViewController : public LKNavigationController {
 public:
  static constexpr const char* kTitle = "帮助";
  static constexpr const char* kBackTitle = "返回";
  static constexpr const char* kPicture = "help_positioning";

  HelpViewController();

  // The help in a stack of its own, as the screens present it.
  [[nodiscard]] static std::shared_ptr<ui::ViewController> inNavigationStack();

  void back() override;
  void loadView() override;

  [[nodiscard]] const std::shared_ptr<ui::ImageView>& picture() const { return picture_; }

 private:
  std::shared_ptr<ui::ImageView> picture_;
};

}  // namespace lk
