#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lk {

// Telephone numbers as the service writes them ("010-6512 3456", "(010) 8888.1234").
class TelephoneNumber {
 public:
  TelephoneNumber() = delete;

  // The number to dial: spaces, "-", "(", ")" and "." dropped, then an optional leading "+"
  // and 3 to 20 digits. Anything else ("转", letters, ";", a second "+") dials nothing.
  [[nodiscard]] static std::optional<std::string> dialable(std::string_view shown);
  // "tel:" followed by the dialable number, or nothing.
  [[nodiscard]] static std::optional<std::string> telURL(std::string_view shown);
};

}  // namespace lk
