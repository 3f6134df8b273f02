#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lk::ui {
class View;
}

namespace lk::cli {

// What a finger can tap on the screen, in the order a "tap TEXT" looks: an alert or action
// sheet on top (only its buttons, as nothing behind it takes touches), the navigation bar, the
// screen content in dump order (buttons, text fields, visible rows, toolbar items), the tab bar
// last. Nothing of a screen covered by a full-screen modal screen is a target.
class ScreenTargets {
 public:
  struct Target {
    std::string kind;                // "button", "row 0.3", "tab", ...
    std::vector<std::string> texts;  // what it shows
    std::function<bool()> tap;
  };

  // The targets under `root` (the key window when null).
  [[nodiscard]] static std::vector<Target> collect(ui::View* root = nullptr);

  // The first target showing exactly `text`, else the first whose text contains it.
  [[nodiscard]] static const Target* find(const std::vector<Target>& targets,
                                          const std::string& text);
};

}  // namespace lk::cli
