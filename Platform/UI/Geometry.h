#pragma once

#include <algorithm>

namespace lk::ui {

// Points, sizes and rectangles in the screen's points (320 wide on the handset).
struct Point {
  double x = 0;
  double y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  double width = 0;
  double height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  Point origin;
  Size size;

  Rect() = default;
  Rect(double x, double y, double w, double h) : origin{x, y}, size{w, h} {}
  Rect(Point o, Size s) : origin(o), size(s) {}

  [[nodiscard]] double x() const { return origin.x; }
  [[nodiscard]] double y() const { return origin.y; }
  [[nodiscard]] double width() const { return size.width; }
  [[nodiscard]] double height() const { return size.height; }
  [[nodiscard]] double maxX() const { return origin.x + size.width; }
  [[nodiscard]] double maxY() const { return origin.y + size.height; }
  [[nodiscard]] bool isEmpty() const { return size.width <= 0 || size.height <= 0; }
  [[nodiscard]] bool contains(Point p) const {
    return p.x >= origin.x && p.x < maxX() && p.y >= origin.y && p.y < maxY();
  }
  [[nodiscard]] bool intersects(const Rect& o) const {
    return origin.x < o.maxX() && o.origin.x < maxX() && origin.y < o.maxY() && o.origin.y < maxY();
  }
  [[nodiscard]] Rect intersection(const Rect& o) const {
    double x0 = std::max(origin.x, o.origin.x), y0 = std::max(origin.y, o.origin.y);
    double x1 = std::min(maxX(), o.maxX()), y1 = std::min(maxY(), o.maxY());
    if (x1 <= x0 || y1 <= y0) return Rect{};
    return Rect{x0, y0, x1 - x0, y1 - y0};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Content insets of a scroll view.
struct EdgeInsets {
  double top = 0;
  double left = 0;
  double bottom = 0;
  double right = 0;
  friend bool operator==(const EdgeInsets&, const EdgeInsets&) = default;
};

}  // namespace lk::ui
