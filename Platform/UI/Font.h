#pragma once

#include <string>

namespace lk::ui {

// A font by family name and point size. The headless toolkit measures text itself (see
// TextMeasure), so a font is only a description a graphical front end can map to a real face.
struct Font {
  std::string name = "system";
  double size = 17;
  bool bold = false;

  static Font system(double size) { return {"system", size, false}; }
  static Font boldSystem(double size) { return {"system", size, true}; }
  static Font named(std::string name, double size) { return {std::move(name), size, false}; }

  friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace lk::ui
