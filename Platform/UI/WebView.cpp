#include "Platform/UI/WebView.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "Platform/RunLoop/RunLoop.h"
#include "Platform/UI/ScriptCall.h"

namespace lk::ui {

namespace {

// The value of the attribute NAME="..." in the page, or "".
std::string attributeOf(const std::string& html, std::string_view name) {
  const std::string prefix = std::string(name) + "=\"";
  const auto at = html.find(prefix);
  if (at == std::string::npos) return {};
  const auto start = at + prefix.size();
  const auto end = html.find('"', start);
  if (end == std::string::npos) return {};
  return html.substr(start, end - start);
}

std::string coordinate(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6g", value);
  return buffer;
}

// A number as a script engine turns it into text: the shortest text that reads back the same,
// with a point whatever the locale.
std::string scriptNumber(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

WebView::WebView(Rect frame) : View(frame) {}

WebView::~WebView() = default;

void WebView::loadHTMLString(std::string html, std::string baseURL) {
  html_ = std::move(html);
  baseURL_ = std::move(baseURL);
  markerFunction_ = attributeOf(html_, "data-marker-function");
  markerQuery_ = markerFunction_.empty() ? std::string() : attributeOf(html_, "data-marker-query");
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
  std::string answer;
  if (!markerFunction_.empty() && !loading_) {
    if (auto call = ScriptCall::parse(script);
        call && call->function == markerFunction_ &&
        (call->arguments.size() == 2 || call->arguments.size() == 3)) {
      const auto* x = std::get_if<double>(&call->arguments[0]);
      const auto* y = std::get_if<double>(&call->arguments[1]);
      const std::string* label =
          call->arguments.size() == 3 ? std::get_if<std::string>(&call->arguments[2]) : nullptr;
      if (x != nullptr && y != nullptr && (call->arguments.size() == 2 || label != nullptr))
        marker_ = Marker{*x, *y, label != nullptr ? *label : std::string()};
    } else if (call && !markerQuery_.empty() && call->function == markerQuery_ &&
               call->arguments.empty() && marker_) {
      answer = scriptNumber(marker_->x) + "," + scriptNumber(marker_->y);
    }
  }
  return handler_ ? handler_(script) : answer;
}

bool WebView::moveMarker(double x, double y) {
  if (markerQuery_.empty() || loading_ || !marker_ || !std::isfinite(x) || !std::isfinite(y))
    return false;
  marker_->x = x;
  marker_->y = y;
  return true;
}

std::string WebView::dumpLine() const {
  std::string line = "web: " + std::to_string(html_.size()) + " bytes";
  if (loading_) line += " (loading)";
  if (marker_) {
    line += "  marker: " + (marker_->label.empty() ? std::string() : marker_->label + " at ") +
            "(" + coordinate(marker_->x) + ", " + coordinate(marker_->y) + ")";
    if (!markerQuery_.empty()) line += " (movable)";
  }
  if (!scripts_.empty()) line += "  last script: " + scripts_.back();
  return line;
}

}  // namespace lk::ui
