#pragma once

#include <concepts>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lk {

// One value of a query string or form body. Text is escaped on the way out with the
// form-urlencoded byte rule (see escape); a value that is already in its wire form, such as the
// Base64 text of a photo, is made with preEscaped and goes out as it is.
class FormValue {
 public:
  FormValue(std::string text) : text_(std::move(text)) {}  // NOLINT: implicit by design
  FormValue(const char* text) : text_(text) {}             // NOLINT
  FormValue(std::string_view text) : text_(text) {}        // NOLINT
  template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char>) FormValue(T number)
      : text_(std::to_string(number)) {}  // NOLINT

  static FormValue preEscaped(std::string wireText);

  // The form-urlencoded byte rule: letters, digits and "*", "-", ".", "_" stay; a space becomes
  // "+"; every other byte of the UTF-8 text becomes "%" and two upper-case hex digits. Every text
  // a caller formats into a URL or a form body goes through it (user-typed text and names that
  // came from the service alike), so "A&B" or "C#" cannot break the request.
  static std::string escape(std::string_view text);

  [[nodiscard]] const std::string& text() const { return text_; }
  [[nodiscard]] bool isPreEscaped() const { return preEscaped_; }
  // The value as it goes on the wire.
  [[nodiscard]] std::string encoded() const { return preEscaped_ ? text_ : escape(text_); }

  bool operator==(const FormValue&) const = default;

 private:
  std::string text_;
  bool preEscaped_ = false;
};

// Names and values of a query or form, kept in the order they were given (which is the order
// they go on the wire).
using HttpParameters = std::vector<std::pair<std::string, FormValue>>;

}  // namespace lk
