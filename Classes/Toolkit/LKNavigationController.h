#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Platform/UI/BarButtonItem.h"
#include "Platform/UI/ImageView.h"
#include "Platform/UI/ViewController.h"

namespace lk {

// The base of every screen in a navigation stack: the screen background, the custom back
// button, bar buttons of two sizes, and the shadow strip under the bar.
class LKNavigationController : public ui::ViewController {
 public:
  static constexpr const char* kDefaultBackTitle = "返回";
  // Bar buttons: fewer than 3 characters get the short background, others the long one.
  static constexpr double kShortButtonWidth = 51;
  static constexpr double kLongButtonWidth = 77;
  static constexpr double kButtonHeight = 30;

  LKNavigationController();

  // 0: the ordinary bar shadow; non-zero: the strip of screens whose bar holds a search field.
  // Set before the view is built.
  int shadowType = 0;
  [[nodiscard]] const std::shared_ptr<ui::ImageView>& navShadow() const { return navShadow_; }
  // True from viewDidAppear until viewWillDisappear.
  [[nodiscard]] bool isShowing() const { return isShowing_; }

  void loadView() override;
  void viewDidUnload() override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;

  // The title of the screen directly below this one, or "返回" on the root or when that title
  // is empty.
  [[nodiscard]] std::string defaultBackTitle() const;
  // Replaces the toolkit's back item by a custom left button showing `title`; it calls back().
  void setBackTitle(const std::string& title);
  // Pops this screen, animated.
  virtual void back();
  // Adds `view` to the screen's view and keeps the shadow strip in front.
  void addSubview(const std::shared_ptr<ui::View>& view);

  // A bar button of the two sizes, bold 12-point title, running `action` on touch-up.
  static std::shared_ptr<ui::BarButtonItem> buttonItemWithTitle(const std::string& title,
                                                                std::function<void()> action);
  // The same, sending `action` to `delegate` (which must outlive the button's screen).
  template <typename T>
  static std::shared_ptr<ui::BarButtonItem> buttonItemWithTitle(const std::string& title,
                                                                void (T::*action)(), T* delegate) {
    return buttonItemWithTitle(title, [action, delegate] { (delegate->*action)(); });
  }
  // The width of a bar or back button for `title`.
  static double buttonWidthForTitle(const std::string& title);
  // The background picture of a navigation bar: translucent for a non-zero tag.
  static std::string navigationBarBackgroundForTag(int tag);

 private:
  std::shared_ptr<ui::ImageView> navShadow_;
  bool isShowing_ = false;
};

}  // namespace lk
