#pragma once

#include <string>

#include "Platform/UI/Font.h"
#include "Platform/UI/TextAlignment.h"
#include "Platform/UI/View.h"

namespace lk::ui {

// A static text.
class Label : public View {
 public:
  explicit Label(Rect frame = {}, std::string text = {});

  [[nodiscard]] const std::string& text() const { return text_; }
  void setText(std::string text) { text_ = std::move(text); }
  [[nodiscard]] const Font& font() const { return font_; }
  void setFont(Font font) { font_ = std::move(font); }
  [[nodiscard]] const Color& textColor() const { return textColor_; }
  void setTextColor(const Color& c) { textColor_ = c; }
  [[nodiscard]] const Color& shadowColor() const { return shadowColor_; }
  void setShadowColor(const Color& c) { shadowColor_ = c; }
  [[nodiscard]] Point shadowOffset() const { return shadowOffset_; }
  void setShadowOffset(Point p) { shadowOffset_ = p; }
  [[nodiscard]] TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(TextAlignment a) { alignment_ = a; }
  // 0 means as many lines as the text needs.
  [[nodiscard]] int numberOfLines() const { return numberOfLines_; }
  void setNumberOfLines(int n) { numberOfLines_ = n; }

  [[nodiscard]] std::string dumpLine() const override;

 private:
  std::string text_;
  Font font_ = Font::system(17);
  Color textColor_ = Color::black();
  Color shadowColor_ = Color::clear();
  Point shadowOffset_{0, -1};
  TextAlignment alignment_ = TextAlignment::kLeft;
  int numberOfLines_ = 1;
};

}  // namespace lk::ui
