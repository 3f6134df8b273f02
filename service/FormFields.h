#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace lk::service {

// Name/value pairs of a query string or a form body. Percent escapes are decoded where they are
// well formed ("%" with two hex digits); anything else, "+" included, is kept as it arrived,
// because the client inserts most values unescaped. The last of repeated names wins.
class FormFields {
 public:
  FormFields() = default;
  static FormFields parse(std::string_view text);
  static std::string percentDecode(std::string_view text);

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
};

}  // namespace lk::service
