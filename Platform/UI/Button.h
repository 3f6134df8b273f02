#pragma once

#include <functional>
#include <string>

#include "Platform/UI/Font.h"
#include "Platform/UI/Image.h"
#include "Platform/UI/View.h"

namespace lk::ui {

// A tappable control. Its action runs on touch-up inside, only while enabled and shown.
class Button : public View {
 public:
  using Action = std::function<void(Button&)>;

  explicit Button(Rect frame = {}, std::string title = {});

  [[nodiscard]] const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }
  [[nodiscard]] const Image& image() const { return image_; }
  void setImage(Image image) { image_ = std::move(image); }
  // Shown instead of the image while a finger is down on the button; none keeps the image.
  [[nodiscard]] const Image& highlightedImage() const { return highlightedImage_; }
  void setHighlightedImage(Image image) { highlightedImage_ = std::move(image); }
  [[nodiscard]] const Image& backgroundImage() const { return backgroundImage_; }
  void setBackgroundImage(Image image) { backgroundImage_ = std::move(image); }
  [[nodiscard]] const Font& font() const { return font_; }
  void setFont(Font font) { font_ = std::move(font); }
  [[nodiscard]] const Color& titleColor() const { return titleColor_; }
  void setTitleColor(const Color& c) { titleColor_ = c; }
  [[nodiscard]] bool isEnabled() const { return enabled_; }
  void setEnabled(bool on) { enabled_ = on; }
  [[nodiscard]] bool isSelected() const { return selected_; }
  // The name of a button that shows neither title nor picture (a transparent button over drawn
  // text); front ends and dumps use it. Never drawn.
  [[nodiscard]] const std::string& accessibilityLabel() const { return accessibilityLabel_; }
  void setAccessibilityLabel(std::string text) { accessibilityLabel_ = std::move(text); }
  void setSelected(bool on) { selected_ = on; }

  // The touch-up-inside action (target/action of the handset toolkit). One per button.
  void setAction(Action action) { action_ = std::move(action); }
  [[nodiscard]] bool hasAction() const { return static_cast<bool>(action_); }

  // A finger's tap: runs the action when the button is enabled, interactive and visible.
  // Returns whether it ran.
  bool tap();
  // Runs the action regardless of visibility (controls that pass on a programmatic send).
  void sendAction();

  // What the dump and "tap by text" match: the title, else the image's name, else the
  // accessibility label.
  [[nodiscard]] std::string label() const;
  [[nodiscard]] std::string dumpLine() const override;

 private:
  std::string title_;
  std::string accessibilityLabel_;
  Image image_;
  Image highlightedImage_;
  Image backgroundImage_;
  Font font_ = Font::boldSystem(15);
  Color titleColor_ = Color::white();
  bool enabled_ = true;
  bool selected_ = false;
  Action action_;
};

}  // namespace lk::ui
