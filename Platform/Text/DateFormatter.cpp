#include "Platform/Text/DateFormatter.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace lk {
namespace {

struct Field {
  std::string_view token;
  int tm::*member;
  int offset;  // stored value = shown value - offset
  int width;
};

const tm kZero{};

// tm_year counts from 1900 and tm_mon from 0.
const Field kFields[] = {
    {"yyyy", &tm::tm_year, 1900, 4}, {"MM", &tm::tm_mon, 1, 2}, {"dd", &tm::tm_mday, 0, 2},
    {"HH", &tm::tm_hour, 0, 2},      {"mm", &tm::tm_min, 0, 2}, {"ss", &tm::tm_sec, 0, 2},
};

const Field* fieldAt(std::string_view pattern, std::size_t i) {
  for (const Field& f : kFields) {
    if (pattern.substr(i, f.token.size()) == f.token) return &f;
  }
  return nullptr;
}

}  // namespace

Date dateFromSeconds(double seconds) {
  // The clock counts nanoseconds in 64 bits: about ±292 years around 1970 fit (1677 to 2262);
  // anything beyond is clamped, NaN reads as 0.
  constexpr double kLimit = 9.2e9;
  if (std::isnan(seconds)) seconds = 0;
  const double clamped = std::fmax(-kLimit, std::fmin(kLimit, seconds));
  return Date(std::chrono::duration_cast<Date::duration>(
      std::chrono::microseconds(static_cast<long long>(std::llround(clamped * 1e6)))));
}

double secondsSince1970(Date date) {
  return std::chrono::duration<double>(date.time_since_epoch()).count();
}

std::string DateFormatter::stringFromDate(Date date) const {
  const auto secs = std::chrono::floor<std::chrono::seconds>(date.time_since_epoch()).count();
  const std::time_t t = static_cast<std::time_t>(secs);
  tm local{};
  if (localtime_r(&t, &local) == nullptr) return {};
  std::string out;
  for (std::size_t i = 0; i < pattern_.size();) {
    if (const Field* f = fieldAt(pattern_, i)) {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%0*d", f->width, local.*(f->member) + f->offset);
      out += buf;
      i += f->token.size();
    } else {
      out += pattern_[i++];
    }
  }
  return out;
}

std::optional<Date> DateFormatter::dateFromString(std::string_view text) const {
  tm fields = kZero;
  fields.tm_mday = 1;
  fields.tm_year = 70;
  std::size_t pos = 0;
  for (std::size_t i = 0; i < pattern_.size();) {
    if (const Field* f = fieldAt(pattern_, i)) {
      // One digit or more, up to the field's width (a year may have more).
      const std::size_t maxDigits =
          f->member == &tm::tm_year ? 6 : static_cast<std::size_t>(f->width);
      std::size_t digits = 0;
      long value = 0;
      while (pos < text.size() && digits < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
      }
      if (digits == 0) return std::nullopt;
      fields.*(f->member) = static_cast<int>(value) - f->offset;
      i += f->token.size();
    } else {
      if (pos >= text.size() || text[pos] != pattern_[i]) return std::nullopt;
      ++pos;
      ++i;
    }
  }
  if (pos != text.size()) return std::nullopt;
  tm normalised = fields;
  normalised.tm_isdst = -1;
  const std::time_t t = std::mktime(&normalised);
  if (t == static_cast<std::time_t>(-1) && (fields.tm_year != 69 || fields.tm_mon != 11)) {
    return std::nullopt;
  }
  // mktime rolls 30 February over into March; such a text names no date.
  if (normalised.tm_year != fields.tm_year || normalised.tm_mon != fields.tm_mon ||
      normalised.tm_mday != fields.tm_mday || normalised.tm_hour != fields.tm_hour ||
      normalised.tm_min != fields.tm_min || normalised.tm_sec != fields.tm_sec) {
    return std::nullopt;
  }
  return std::chrono::system_clock::from_time_t(t);
}

}  // namespace lk
