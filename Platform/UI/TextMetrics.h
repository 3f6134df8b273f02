#pragma once

#include <string_view>

#include "Platform/UI/Font.h"

namespace lk::ui {

// Where text sizes come from. The headless toolkit measures deterministically (TextMeasure); a
// graphical front end installs metrics of the faces it paints with, so that wrapping and "does
// it fit" decisions match what appears on its screen.
class TextMetrics {
 public:
  TextMetrics() = default;
  TextMetrics(const TextMetrics&) = delete;
  TextMetrics& operator=(const TextMetrics&) = delete;
  virtual ~TextMetrics() = default;

  // The advance of one character.
  virtual double advance(char32_t c, const Font& font) = 0;
  // The width of one line of text (without line breaks).
  virtual double widthOfText(std::u32string_view text, const Font& font) {
    double w = 0;
    for (char32_t c : text)
      w += advance(c, font);
    return w;
  }
  // The distance between the baselines of two lines.
  virtual double lineHeight(const Font& font) = 0;
};

}  // namespace lk::ui
