#pragma once

#include <string>

namespace lk::ui {

class WebView;

// Told how a web view's page loads. Every callback is optional.
class WebViewDelegate {
 public:
  WebViewDelegate() = default;
  WebViewDelegate(const WebViewDelegate&) = delete;
  WebViewDelegate& operator=(const WebViewDelegate&) = delete;
  virtual ~WebViewDelegate() = default;

  virtual void webViewDidStartLoad(WebView& /*webView*/) {}
  virtual void webViewDidFinishLoad(WebView& /*webView*/) {}
  virtual void webViewDidFailLoad(WebView& /*webView*/, const std::string& /*error*/) {}
};

}  // namespace lk::ui
