#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Classes/Toolkit/LKNavigationController.h"
#include "Platform/UI/WebView.h"
#include "Platform/UI/WebViewDelegate.h"

namespace lk {

class MarkLocationDelegate;

// "标注位置": the application's position-marking page, centred on a given position, with a
// marker the user moves. "返回" reads the marker back, tells the delegate and closes the screen.
class MarkLocationViewController : public LKNavigationController, public ui::WebViewDelegate {
 public:
  static constexpr const char* kTitle = "标注位置";
  static constexpr double kMaxX = 180;
  static constexpr double kMaxY = 90;

  struct Location {
    double x = 0;
    double y = 0;
  };

  // `delegate` is not owned; it must outlive the screen (the form below it on the stack does).
  MarkLocationViewController(MarkLocationDelegate* delegate, Location location);
  ~MarkLocationViewController() override;

  [[nodiscard]] MarkLocationDelegate* delegate() const { return delegate_; }
  [[nodiscard]] Location location() const { return location_; }
  [[nodiscard]] const std::shared_ptr<ui::WebView>& webView() const { return webView_; }

  // "javascript:map(x, y);" with six decimals in the C locale; nothing for a position that is
  // not finite.
  [[nodiscard]] static std::optional<std::string> centreScript(Location location);
  // The page's answer "x,y": both parts whole finite numbers (spaces around them allowed) with
  // |x| <= 180 and |y| <= 90; anything else is no position.
  [[nodiscard]] static std::optional<Location> parsePosition(std::string_view text);

  void loadView() override;
  void viewDidLoad() override;
  void webViewDidFinishLoad(ui::WebView& webView) override;
  // "返回": reads the marker, tells the delegate, pops this screen.
  void back() override;

 private:
  MarkLocationDelegate* delegate_;
  Location location_;
  std::shared_ptr<ui::WebView> webView_;
};

}  // namespace lk
