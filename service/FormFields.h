#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace lk::service {

// Name/value pairs of a query string or a form body. "+" stands for a space, as in every
// form-urlencoded text; percent escapes are decoded where they are well formed ("%" with two hex
// digits) and anything else is kept as it arrived. The last of repeated names wins. At most
// `kMaxFields` pairs are read: a text with more is `overfull()` and holds none of them.
class FormFields {
 public:
  static constexpr std::size_t kMaxFields = 256;

  FormFields() = default;
  static FormFields parse(std::string_view text);
  // Decodes percent escapes only: "+" stays a plus (paths and raw query strings).
  static std::string percentDecode(std::string_view text);
  // Form-urlencoded decoding: percent escapes and "+" as a space.
  static std::string formDecode(std::string_view text);

  [[nodiscard]] bool overfull() const { return overfull_; }
  // True when every name and value is well-formed UTF-8.
  [[nodiscard]] bool isValidUtf8() const;

  [[nodiscard]] bool has(const std::string& name) const { return fields_.count(name) > 0; }
  [[nodiscard]] std::optional<std::string> get(const std::string& name) const;
  // The value, or `fallback` when absent.
  [[nodiscard]] std::string text(const std::string& name, const std::string& fallback = {}) const;
  // Strict integer: the whole value must be an optional sign and decimal digits within range.
  // Absent gives `fallback`; present but malformed gives nullopt.
  [[nodiscard]] std::optional<long long> integer(const std::string& name, long long fallback) const;
  // Strict decimal number (finite). Absent gives nullopt through `present`.
  [[nodiscard]] std::optional<double> number(const std::string& name) const;
  [[nodiscard]] const std::map<std::string, std::string>& all() const { return fields_; }

  static std::optional<long long> parseInteger(std::string_view text);
  static std::optional<double> parseNumber(std::string_view text);

 private:
  std::map<std::string, std::string> fields_;
  bool overfull_ = false;
};

}  // namespace lk::service
