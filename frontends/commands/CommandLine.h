#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lk::cli {

// Splits a command line into words. Words are separated by blanks; "double" or 'single' quotes
// keep blanks inside a word, and a backslash outside single quotes takes the next character as
// it is. A "#" at the start of a word begins a comment. Returns nullopt, with the reason in
// `error`, when a quote is left open or the line ends in a backslash.
class CommandLine {
 public:
  [[nodiscard]] static std::optional<std::vector<std::string>> split(std::string_view line,
                                                                     std::string* error = nullptr);
};

}  // namespace lk::cli
