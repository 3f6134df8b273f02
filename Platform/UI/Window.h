#pragma once

#include <memory>

#include "Platform/UI/View.h"

namespace lk::ui {

class ViewController;

// The root of a view tree, covering the screen (320 × 480; the status bar takes the top 20).
// Windows register with the application while they live.
class Window : public View {
 public:
  explicit Window(Rect frame = {0, 0, 320, 480});
  ~Window() override;

  // Installs the screen whose view fills the application frame (below the status bar).
  void setRootViewController(std::shared_ptr<ViewController> vc);
  [[nodiscard]] ViewController* rootViewController() const { return root_.get(); }

  // Makes this the key window and shows it; the root screen appears.
  void makeKeyAndVisible();
  [[nodiscard]] bool isKeyWindow() const;
  [[nodiscard]] bool isVisible() const { return visible_; }

 private:
  std::shared_ptr<ViewController> root_;
  bool visible_ = false;
};

}  // namespace lk::ui
