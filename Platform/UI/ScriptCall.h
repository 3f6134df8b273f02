#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace lk::ui {

// A call of a page function as applications write it into a web view:
// "javascript:name(1.5, -2, 'text');" with number and quoted string arguments. The headless
// toolkit has no script engine; it reads such calls to act on the pages it knows (a map page
// marks a position).
struct ScriptCall {
  using Argument = std::variant<double, std::string>;

  std::string function;
  std::vector<Argument> arguments;

  // The call, or nothing when the text is anything else (other syntax, an unclosed string, a
  // bad escape, text after the call).
  [[nodiscard]] static std::optional<ScriptCall> parse(std::string_view script);
};

}  // namespace lk::ui
