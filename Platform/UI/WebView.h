#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Platform/UI/View.h"
#include "Platform/UI/WebViewDelegate.h"

namespace lk::ui {

// A page of the application's own (map pages) and the script calls made into it. The headless
// toolkit does not run scripts: it records them, and answers them through a script handler that
// a graphical front end (with a real engine) or a test installs. Loading finishes on the next
// turn of the run loop.
//
// Marking pages: a page whose HTML carries data-marker-function="NAME" marks a position when
// NAME(x, y) or NAME(x, y, 'label') is called in it. The view reads such calls itself (a small
// native handler in place of the engine), so the marker is part of its state and its dump line.
// A page that also carries data-marker-query="QUERY" lets the user move its marker, and answers
// QUERY() with the marker's position as "x,y" (nothing before it is marked).
class WebView : public View {
 public:
  using ScriptHandler = std::function<std::string(const std::string& script)>;

  explicit WebView(Rect frame = {});
  ~WebView() override;

  // The delegate must outlive the view or be cleared.
  void setDelegate(WebViewDelegate* delegate) { delegate_ = delegate; }
  [[nodiscard]] WebViewDelegate* delegate() const { return delegate_; }

  void loadHTMLString(std::string html, std::string baseURL = {});
  [[nodiscard]] const std::string& html() const { return html_; }
  [[nodiscard]] bool isLoading() const { return loading_; }

  // Runs `script` in the page: recorded, and answered by the handler, else by the native
  // handler of a marking page (empty for anything else).
  std::string stringByEvaluatingJavaScriptFromString(const std::string& script);
  [[nodiscard]] const std::vector<std::string>& evaluatedScripts() const { return scripts_; }
  void setScriptHandler(ScriptHandler handler) { handler_ = std::move(handler); }

  struct Marker {
    double x = 0;
    double y = 0;
    std::string label;
  };
  // The position the loaded marking page shows, once marked.
  [[nodiscard]] const std::optional<Marker>& marker() const { return marker_; }
  // The function a loaded page marks with, from its data-marker-function attribute.
  [[nodiscard]] const std::string& markerFunction() const { return markerFunction_; }
  // The function that reports the marker, from data-marker-query; empty: the marker stays put.
  [[nodiscard]] const std::string& markerQueryFunction() const { return markerQuery_; }
  // A finger drags the marker of a loaded page to (x, y). False when the page has no movable
  // marker yet or a coordinate is not finite.
  bool moveMarker(double x, double y);

  // "web: <n> bytes", the marker and the last script run.
  [[nodiscard]] std::string dumpLine() const override;

 private:
  WebViewDelegate* delegate_ = nullptr;
  std::string html_;
  std::string baseURL_;
  bool loading_ = false;
  std::uint64_t generation_ = 0;
  std::vector<std::string> scripts_;
  ScriptHandler handler_;
  std::string markerFunction_;
  std::string markerQuery_;
  std::optional<Marker> marker_;
};

}  // namespace lk::ui
