#pragma once

#include <string>
#include <string_view>

namespace lk {

// Text from the service placed inside a quoted string of a script call into one of our pages.
class ScriptLiteral {
 public:
  ScriptLiteral() = delete;

  // The body of a single- or double-quoted script string that reads back as `text`: backslash,
  // both quotes, line breaks, U+2028 and U+2029 escaped; "<" as "\x3C" (no "</script>" or
  // "<!--" can form); other control characters as "\xHH". Bytes that are not UTF-8 become
  // U+FFFD. Everything else passes unchanged.
  [[nodiscard]] static std::string escape(std::string_view text);
};

}  // namespace lk
