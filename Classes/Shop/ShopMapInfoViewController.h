#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Classes/Toolkit/LKNavigationController.h"
#include "Classes/Toolkit/LoadingView.h"
#include "Platform/UI/WebView.h"
#include "Platform/UI/WebViewDelegate.h"

namespace lk {

// The shop's position ("地图") on the application's map page, presented in a stack of its own;
// "返回" closes it. The page marks the position with the shop's name once it has loaded.
class ShopMapInfoViewController : public LKNavigationController, public ui::WebViewDelegate {
 public:
  static constexpr const char* kTitle = "地图";

  struct Location {
    double x = 0;
    double y = 0;
  };

  explicit ShopMapInfoViewController(Location location);
  ~ShopMapInfoViewController() override;

  void setShopName(std::string name) { shopName_ = std::move(name); }
  [[nodiscard]] const std::string& shopName() const { return shopName_; }
  [[nodiscard]] Location location() const { return location_; }
  [[nodiscard]] const std::shared_ptr<ui::WebView>& webView() const { return webView_; }
  [[nodiscard]] const std::shared_ptr<LoadingView>& loadingView() const { return loadingView_; }

  // "javascript:map(x, y, 'name');" with the numbers in the C locale and the name as a script
  // string; nothing when a coordinate is not finite.
  [[nodiscard]] static std::optional<std::string> markScript(Location location,
                                                             const std::string& name);

  void loadView() override;
  void viewDidLoad() override;
  void webViewDidFinishLoad(ui::WebView& webView) override;

 private:
  Location location_;
  std::string shopName_;
  std::shared_ptr<ui::WebView> webView_;
  std::shared_ptr<LoadingView> loadingView_;
};

}  // namespace lk
