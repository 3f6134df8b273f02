#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Platform/UI/Image.h"
#include "Platform/UI/View.h"

namespace lk::ui {

// A button of a navigation bar or toolbar: a title, an image or a custom view.
class BarButtonItem : public std::enable_shared_from_this<BarButtonItem> {
 public:
  enum class Style { kPlain, kBordered, kDone };
  enum class System { kNone, kFlexibleSpace, kFixedSpace };
  using Action = std::function<void(BarButtonItem&)>;

  BarButtonItem() = default;
  BarButtonItem(const BarButtonItem&) = delete;
  BarButtonItem& operator=(const BarButtonItem&) = delete;
  virtual ~BarButtonItem() = default;

  static std::shared_ptr<BarButtonItem> withTitle(std::string title, Style style, Action action);
  static std::shared_ptr<BarButtonItem> withImage(Image image, Style style, Action action);
  // The item shows `view`; taps reach the view's own controls (a custom back button).
  static std::shared_ptr<BarButtonItem> withCustomView(std::shared_ptr<View> view);
  static std::shared_ptr<BarButtonItem> flexibleSpace();

  [[nodiscard]] const std::string& title() const { return title_; }
  void setTitle(std::string t) { title_ = std::move(t); }
  [[nodiscard]] const Image& image() const { return image_; }
  void setImage(Image image) { image_ = std::move(image); }
  [[nodiscard]] Style style() const { return style_; }
  void setStyle(Style s) { style_ = s; }
  [[nodiscard]] System systemItem() const { return system_; }
  [[nodiscard]] bool isEnabled() const { return enabled_; }
  void setEnabled(bool on) { enabled_ = on; }
  [[nodiscard]] int tag() const { return tag_; }
  void setTag(int t) { tag_ = t; }
  [[nodiscard]] double width() const { return width_; }
  void setWidth(double w) { width_ = w; }
  [[nodiscard]] const std::shared_ptr<View>& customView() const { return customView_; }
  void setCustomView(std::shared_ptr<View> view) { customView_ = std::move(view); }
  void setAction(Action action) { action_ = std::move(action); }

  // A finger's tap: runs the action (or taps the custom view's button) when enabled.
  bool tap();
  // The text a user sees: the title, the custom view's button title, or the image's name.
  [[nodiscard]] std::string label() const;
  // "[title]", with " (disabled)" when not enabled.
  [[nodiscard]] std::string dumpText() const;

 private:
  std::string title_;
  Image image_;
  Style style_ = Style::kPlain;
  System system_ = System::kNone;
  bool enabled_ = true;
  int tag_ = 0;
  double width_ = 0;
  std::shared_ptr<View> customView_;
  Action action_;
};

}  // namespace lk::ui
