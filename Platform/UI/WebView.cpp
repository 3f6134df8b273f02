#include "Platform/UI/WebView.h"

#include <cstdio>

#include "Platform/RunLoop/RunLoop.h"
#include "Platform/UI/ScriptCall.h"

namespace lk::ui {

namespace {

// The value of data-marker-function="..." in the page, or "".
std::string markerFunctionOf(const std::string& html) {
  static constexpr std::string_view kAttribute = "data-marker-function=\"";
  const auto at = html.find(kAttribute);
  if (at == std::string::npos) return {};
  const auto start = at + kAttribute.size();
  const auto end = html.find('"', start);
  if (end == std::string::npos) return {};
  return html.substr(start, end - start);
}

std::string coordinate(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6g", value);
  return buffer;
}

}  // namespace

WebView::WebView(Rect frame) : View(frame) {}

WebView::~WebView() = default;

void WebView::loadHTMLString(std::string html, std::string baseURL) {
  html_ = std::move(html);
  baseURL_ = std::move(baseURL);
  markerFunction_ = markerFunctionOf(html_);
  marker_.reset();
  loading_ = true;
  std::uint64_t generation = ++generation_;
  auto keep = weak_from_this().lock();
  if (delegate_ != nullptr) delegate_->webViewDidStartLoad(*this);
  // A newer load supersedes this one; a view that went away hears nothing.
  std::weak_ptr<View> weak = weak_from_this();
  RunLoop::main().post([weak, generation] {
    auto v = std::static_pointer_cast<WebView>(weak.lock());
    if (!v || v->generation_ != generation || !v->loading_) return;
    v->loading_ = false;
    if (v->delegate_ != nullptr) v->delegate_->webViewDidFinishLoad(*v);
  });
}

std::string WebView::stringByEvaluatingJavaScriptFromString(const std::string& script) {
  scripts_.push_back(script);
  if (!markerFunction_.empty() && !loading_) {
    if (auto call = ScriptCall::parse(script);
        call && call->function == markerFunction_ && call->arguments.size() == 3) {
      const auto* x = std::get_if<double>(&call->arguments[0]);
      const auto* y = std::get_if<double>(&call->arguments[1]);
      const auto* label = std::get_if<std::string>(&call->arguments[2]);
      if (x != nullptr && y != nullptr && label != nullptr) marker_ = Marker{*x, *y, *label};
    }
  }
  return handler_ ? handler_(script) : std::string();
}

std::string WebView::dumpLine() const {
  std::string line = "web: " + std::to_string(html_.size()) + " bytes";
  if (loading_) line += " (loading)";
  if (marker_) {
    line += "  marker: " + marker_->label + " at (" + coordinate(marker_->x) + ", " +
            coordinate(marker_->y) + ")";
  }
  if (!scripts_.empty()) line += "  last script: " + scripts_.back();
  return line;
}

}  // namespace lk::ui
