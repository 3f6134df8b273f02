#pragma once

#include <cstdint>
#include <string>

namespace lk::ui {

// An RGBA colour with components in [0, 1].
struct Color {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 0;

  static Color clear() { return {0, 0, 0, 0}; }
  static Color white() { return {1, 1, 1, 1}; }
  static Color black() { return {0, 0, 0, 1}; }
  static Color gray(double level, double a = 1) { return {level, level, level, a}; }
  static Color rgb(int r, int g, int b, double a = 1) {
    return {r / 255.0, g / 255.0, b / 255.0, a};
  }

  [[nodiscard]] bool isClear() const { return alpha <= 0; }
  // "#rrggbb" or "#rrggbbaa" when not opaque; stable text for dumps and recorded drawings.
  [[nodiscard]] std::string hex() const;

  friend bool operator==(const Color&, const Color&) = default;
};

}  // namespace lk::ui
