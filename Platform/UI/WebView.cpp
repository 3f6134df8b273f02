#include "Platform/UI/WebView.h"

#include "Platform/RunLoop/RunLoop.h"

namespace lk::ui {

WebView::WebView(Rect frame) : View(frame) {}

WebView::~WebView() = default;

void WebView::loadHTMLString(std::string html, std::string baseURL) {
  html_ = std::move(html);
  baseURL_ = std::move(baseURL);
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
  return handler_ ? handler_(script) : std::string();
}

std::string WebView::dumpLine() const {
  std::string line = "web: " + std::to_string(html_.size()) + " bytes";
  if (loading_) line += " (loading)";
  if (!scripts_.empty()) line += "  last script: " + scripts_.back();
  return line;
}

}  // namespace lk::ui
