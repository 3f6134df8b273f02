#include "Classes/Shop/ShopMapInfoViewController.h"

#include <charconv>
#include <cmath>

#include "Classes/Shop/AlbumNavigationBar.h"
#include "Classes/Util/ScriptLiteral.h"
#include "Platform/Log/Log.h"
#include "Platform/Resources/AppResources.h"

namespace lk {

namespace {

// "%lf" as the C locale writes it (six decimals, a point), whatever the process's locale is.
std::string cNumber(double value) {
  char buffer[512];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

}  // namespace

ShopMapInfoViewController::ShopMapInfoViewController(Location location) : location_(location) {}

ShopMapInfoViewController::~ShopMapInfoViewController() {
  if (webView_) webView_->setDelegate(nullptr);
}

std::optional<std::string> ShopMapInfoViewController::markScript(Location location,
                                                                 const std::string& name) {
  if (!std::isfinite(location.x) || !std::isfinite(location.y)) return std::nullopt;
  return "javascript:map(" + cNumber(location.x) + ", " + cNumber(location.y) + ", '" +
         ScriptLiteral::escape(name) + "');";
}

void ShopMapInfoViewController::loadView() {
  LKNavigationController::loadView();
  webView_ = std::make_shared<ui::WebView>(ui::Rect{0, 0, 320, 416});
  webView_->setDelegate(this);
  addSubview(webView_);
  loadingView_ = std::make_shared<LoadingView>();
  addSubview(loadingView_);
}

void ShopMapInfoViewController::viewDidLoad() {
  LKNavigationController::viewDidLoad();
  setTitle(kTitle);
  AlbumNavigationBar::addCloseButton(*this);
  if (auto page = AppResources::contentsOfResource("map", "html")) {
    webView_->loadHTMLString(std::move(*page));
  } else {
    logLine("The map page is missing");
  }
}

void ShopMapInfoViewController::webViewDidFinishLoad(ui::WebView& webView) {
  if (auto script = markScript(location_, shopName_)) {
    (void)webView.stringByEvaluatingJavaScriptFromString(*script);
  }
  if (loadingView_) loadingView_->removeFromSuperview();
}

}  // namespace lk
