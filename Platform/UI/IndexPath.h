#pragma once

#include <compare>
#include <string>

namespace lk::ui {

// A row of a table (section, row), or a column's selected row of a picker.
struct IndexPath {
  int section = 0;
  int row = 0;
  friend auto operator<=>(const IndexPath&, const IndexPath&) = default;
  [[nodiscard]] std::string text() const {
    return std::to_string(section) + "." + std::to_string(row);
  }
};

}  // namespace lk::ui
