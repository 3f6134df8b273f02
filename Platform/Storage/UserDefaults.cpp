#include "Platform/Storage/UserDefaults.h"

#include <boost/json/array.hpp>

#include <cmath>
#include <limits>

#include "Platform/Log/Log.h"
#include "Platform/Storage/AppDirectories.h"

namespace lk {

namespace {

UserDefaults* gInstalled = nullptr;

long long integerFromText(std::string_view t) {
  std::size_t i = 0;
  while (i < t.size() && (t[i] == ' ' || (t[i] >= '\t' && t[i] <= '\r')))
    ++i;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  long long n = 0;
  constexpr long long kMax = std::numeric_limits<long long>::max();
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
    const int digit = t[i] - '0';
    if (n > (kMax - digit) / 10) return negative ? std::numeric_limits<long long>::min() : kMax;
    n = n * 10 + digit;
  }
  return negative ? -n : n;
}

long long integerFromDouble(double d) {
  if (std::isnan(d)) return 0;
  constexpr auto lo = static_cast<double>(std::numeric_limits<long long>::min());
  constexpr auto hi = static_cast<double>(std::numeric_limits<long long>::max());
  if (d <= lo) return std::numeric_limits<long long>::min();
  if (d >= hi) return std::numeric_limits<long long>::max();
  return static_cast<long long>(d);
}

UserDefaults& defaultStore() {
  static std::unique_ptr<UserDefaults> store = [] {
    const auto dir = AppDirectories::dataDirectory();
    std::string error;
    if (!AppDirectories::ensureDirectory(dir, &error)) {
      logf("cannot create the data directory %s: %s", dir.c_str(), error.c_str());
    }
    return makeDefaultUserDefaults(dir / UserDefaults::kFileName);
  }();
  return *store;
}

}  // namespace

std::optional<std::string> UserDefaults::stringForKey(std::string_view key) const {
  auto v = objectForKey(key);
  if (!v || !v->is_string()) return std::nullopt;
  return std::string(v->get_string());
}

std::optional<long long> UserDefaults::integerForKey(std::string_view key) const {
  auto v = objectForKey(key);
  if (!v) return std::nullopt;
  if (v->is_int64()) return v->get_int64();
  if (v->is_uint64()) {
    const auto u = v->get_uint64();
    return u > static_cast<std::uint64_t>(std::numeric_limits<long long>::max())
               ? std::numeric_limits<long long>::max()
               : static_cast<long long>(u);
  }
  if (v->is_double()) return integerFromDouble(v->get_double());
  if (v->is_bool()) return v->get_bool() ? 1 : 0;
  if (v->is_string()) return integerFromText(v->get_string());
  return std::nullopt;
}

std::optional<bool> UserDefaults::boolForKey(std::string_view key) const {
  auto v = objectForKey(key);
  if (!v || !v->is_bool()) return std::nullopt;
  return v->get_bool();
}

std::vector<std::string> UserDefaults::stringArrayForKey(std::string_view key) const {
  std::vector<std::string> out;
  auto v = objectForKey(key);
  if (!v || !v->is_array()) return out;
  for (const auto& item : v->get_array()) {
    if (item.is_string()) out.emplace_back(item.get_string());
  }
  return out;
}

void UserDefaults::setString(std::string_view key, std::string_view value) {
  setObject(key, boost::json::value(value));
}

void UserDefaults::setInteger(std::string_view key, long long value) {
  setObject(key, boost::json::value(value));
}

void UserDefaults::setBool(std::string_view key, bool value) {
  setObject(key, boost::json::value(value));
}

void UserDefaults::setStringArray(std::string_view key, const std::vector<std::string>& values) {
  boost::json::array array;
  array.reserve(values.size());
  for (const auto& s : values)
    array.emplace_back(s);
  setObject(key, boost::json::value(std::move(array)));
}

UserDefaults& UserDefaults::standardUserDefaults() {
  return gInstalled != nullptr ? *gInstalled : defaultStore();
}

void UserDefaults::setStandardUserDefaults(UserDefaults* store) {
  gInstalled = store;
}

}  // namespace lk
