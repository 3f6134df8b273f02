#pragma once

#include <string>
#include <string_view>

namespace lk::ui {

// Collects the lines of a screen dump with two spaces of indentation per nesting level.
//
// Texts come from the service and may hold anything. Every line is passed through visible(), so
// a line break, an escape sequence or a stray byte inside a text shows as an escape and the
// lines and their indentation are the writer's alone.
class DumpWriter {
 public:
  void line(std::string_view text);
  void indent() { ++depth_; }
  void outdent() {
    if (depth_ > 0) --depth_;
  }
  [[nodiscard]] const std::string& text() const { return text_; }

  // `text` with every character a terminal would act on written as an escape: "\n", "\r", "\t",
  // other C0 controls and DEL as "\xHH", C1 controls and the Unicode line and paragraph
  // separators as "\uHHHH", and bytes that are not UTF-8 as "\xHH". Other text is unchanged.
  [[nodiscard]] static std::string visible(std::string_view text);

 private:
  std::string text_;
  int depth_ = 0;
};

}  // namespace lk::ui
