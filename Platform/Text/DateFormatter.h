#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace lk {

// A moment in time (the phone's date object).
using Date = std::chrono::system_clock::time_point;

// The moment `seconds` after 1970-01-01 00:00 UTC (fractions kept to the microsecond; values
// beyond the clock's range, about 1677 to 2262, are clamped).
[[nodiscard]] Date dateFromSeconds(double seconds);
[[nodiscard]] double secondsSince1970(Date date);

// Calendar dates in the user's time zone (the process's TZ) with a fixed pattern. The pattern
// understands "yyyy", "MM", "dd", "HH", "mm" and "ss"; every other character stands for itself.
// Only the Gregorian calendar and Western digits are supported, which is what the client's
// locale ("zh_CN") uses for these numeric patterns.
class DateFormatter {
 public:
  DateFormatter(std::string locale, std::string pattern)
      : locale_(std::move(locale)), pattern_(std::move(pattern)) {}

  [[nodiscard]] const std::string& locale() const { return locale_; }
  [[nodiscard]] const std::string& pattern() const { return pattern_; }

  [[nodiscard]] std::string stringFromDate(Date date) const;
  // The local moment the text names (missing time fields are 0), or nothing when the text does
  // not follow the pattern or names no real date (month 13, 30 February).
  [[nodiscard]] std::optional<Date> dateFromString(std::string_view text) const;

 private:
  std::string locale_;
  std::string pattern_;
};

}  // namespace lk
