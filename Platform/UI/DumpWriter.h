#pragma once

#include <string>
#include <string_view>

namespace lk::ui {

// Collects the lines of a screen dump with two spaces of indentation per nesting level.
class DumpWriter {
 public:
  void line(std::string_view text);
  void indent() { ++depth_; }
  void outdent() {
    if (depth_ > 0) --depth_;
  }
  [[nodiscard]] const std::string& text() const { return text_; }

 private:
  std::string text_;
  int depth_ = 0;
};

}  // namespace lk::ui
