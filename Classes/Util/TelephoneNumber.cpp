#include "Classes/Util/TelephoneNumber.h"

namespace lk {

std::optional<std::string> TelephoneNumber::dialable(std::string_view shown) {
  std::string number;
  std::size_t digits = 0;
  for (const char c : shown) {
    if (c == ' ' || c == '-' || c == '(' || c == ')' || c == '.') continue;
    if (c == '+' && number.empty()) {
      number += c;
    } else if (c >= '0' && c <= '9') {
      number += c;
      ++digits;
    } else {
      return std::nullopt;
    }
  }
  if (digits < 3 || digits > 20) return std::nullopt;
  return number;
}

std::optional<std::string> TelephoneNumber::telURL(std::string_view shown) {
  auto number = dialable(shown);
  if (!number) return std::nullopt;
  return "tel:" + *number;
}

}  // namespace lk
