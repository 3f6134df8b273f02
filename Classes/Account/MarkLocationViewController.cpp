#include "Classes/Account/MarkLocationViewController.h"

#include <charconv>
#include <cmath>

#include "Classes/Account/MarkLocationDelegate.h"
#include "Classes/Util/CoordinateText.h"
#include "Platform/Log/Log.h"
#include "Platform/Resources/AppResources.h"
#include "Platform/UI/NavigationController.h"

namespace lk {

namespace {

std::string_view withoutSpaces(std::string_view text) {
  constexpr std::string_view kSpaces = " \t\r\n";
  const auto first = text.find_first_not_of(kSpaces);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kSpaces);
  return text.substr(first, last - first + 1);
}

// The whole text as one finite number.
std::optional<double> wholeNumber(std::string_view text) {
  text = withoutSpaces(text);
  if (text.empty()) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

}  // namespace

MarkLocationViewController::MarkLocationViewController(MarkLocationDelegate* delegate,
                                                       Location location)
    : delegate_(delegate), location_(location) {}

MarkLocationViewController::~MarkLocationViewController() {
  if (webView_) webView_->setDelegate(nullptr);
}

std::optional<std::string> MarkLocationViewController::centreScript(Location location) {
  if (!std::isfinite(location.x) || !std::isfinite(location.y)) return std::nullopt;
  return "javascript:map(" + sixDecimals(location.x) + ", " + sixDecimals(location.y) + ");";
}

std::optional<MarkLocationViewController::Location> MarkLocationViewController::parsePosition(
    std::string_view text) {
  const auto comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const auto x = wholeNumber(text.substr(0, comma));
  const auto y = wholeNumber(text.substr(comma + 1));
  if (!x || !y || std::abs(*x) > kMaxX || std::abs(*y) > kMaxY) return std::nullopt;
  return Location{*x, *y};
}

void MarkLocationViewController::loadView() {
  LKNavigationController::loadView();
  webView_ = std::make_shared<ui::WebView>(ui::Rect{0, 0, 320, 416});
  webView_->setDelegate(this);
  addSubview(webView_);
}

void MarkLocationViewController::viewDidLoad() {
  LKNavigationController::viewDidLoad();
  setTitle(kTitle);
  setBackTitle(kDefaultBackTitle);
  if (auto page = AppResources::contentsOfResource("marker", "html")) {
    webView_->loadHTMLString(std::move(*page));
  } else {
    logLine("The position-marking page is missing");
  }
}

void MarkLocationViewController::webViewDidFinishLoad(ui::WebView& webView) {
  if (auto script = centreScript(location_)) {
    (void)webView.stringByEvaluatingJavaScriptFromString(*script);
  }
}

void MarkLocationViewController::back() {
  // Popping may release this screen: it stays alive until the delegate has been told.
  auto keepAlive = shared_from_this();
  std::optional<Location> marked;
  if (webView_) {
    marked = parsePosition(
        webView_->stringByEvaluatingJavaScriptFromString("javascript:getMarkerPosition();"));
  }
  if (delegate_ != nullptr) {
    if (marked) {
      delegate_->locationGotSucceed(marked->x, marked->y);
    } else {
      delegate_->locationGotFailed();
    }
  }
  if (auto* stack = navigationController()) stack->popViewController(true);
}

}  // namespace lk
