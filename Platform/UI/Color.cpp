#include "Platform/UI/Color.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace lk::ui {

namespace {
int byte(double component) {
  return static_cast<int>(std::lround(std::clamp(component, 0.0, 1.0) * 255.0));
}
}  // namespace

std::string Color::hex() const {
  char buf[16];
  if (byte(alpha) == 255) {
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", byte(red), byte(green), byte(blue));
  } else {
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x%02x", byte(red), byte(green), byte(blue),
                  byte(alpha));
  }
  return buf;
}

}  // namespace lk::ui
