#include "Classes/Json/JsonValue.h"

#include <boost/json/parse.hpp>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>

namespace lk::json {
namespace {

std::string_view skipSpace(std::string_view t) {
  std::size_t i = 0;
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t' || t[i] == '\n' || t[i] == '\r' ||
                          t[i] == '\f' || t[i] == '\v')) {
    ++i;
  }
  return t.substr(i);
}

template <typename Int>
Int saturate(double d) {
  if (std::isnan(d)) return 0;
  constexpr auto lo = static_cast<double>(std::numeric_limits<Int>::min());
  constexpr auto hi = static_cast<double>(std::numeric_limits<Int>::max());
  if (d <= lo) return std::numeric_limits<Int>::min();
  if (d >= hi) return std::numeric_limits<Int>::max();
  return static_cast<Int>(d);  // truncates toward zero
}

template <typename Int>
Int saturate(long long n) {
  if (n < std::numeric_limits<Int>::min()) return std::numeric_limits<Int>::min();
  if (n > std::numeric_limits<Int>::max()) return std::numeric_limits<Int>::max();
  return static_cast<Int>(n);
}

}  // namespace

long long int64FromText(std::string_view text) {
  std::string_view t = skipSpace(text);
  bool negative = false;
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
    negative = t[0] == '-';
    t.remove_prefix(1);
  }
  long long n = 0;
  for (char c : t) {
    if (c < '0' || c > '9') break;
    const int digit = c - '0';
    if (n > (LLONG_MAX - digit) / 10) return negative ? LLONG_MIN : LLONG_MAX;
    n = n * 10 + digit;
  }
  return negative ? -n : n;
}

int intFromText(std::string_view text) {
  return saturate<int>(int64FromText(text));
}

double doubleFromText(std::string_view text) {
  std::string_view t = skipSpace(text);
  if (!t.empty() && t[0] == '+') t.remove_prefix(1);
  double d = 0;
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), d);
  if (ec == std::errc::result_out_of_range) {
    // from_chars leaves d untouched here: a negative exponent underflows to 0, else the sign
    // of the text gives the direction of the overflow.
    const auto e = t.find_first_of("eE");
    if (e != std::string_view::npos && e + 1 < t.size() && t[e + 1] == '-') return 0.0;
    return !t.empty() && t[0] == '-' ? -HUGE_VAL : HUGE_VAL;
  }
  if (ec != std::errc()) return 0.0;
  (void)ptr;
  return d;
}

bool boolFromText(std::string_view text) {
  std::string_view t = skipSpace(text);
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) t.remove_prefix(1);
  while (!t.empty() && t[0] == '0')
    t.remove_prefix(1);
  if (t.empty()) return false;
  const char c = t[0];
  return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

long long toInt64(Node v) {
  switch (v.kind()) {
    case Node::Kind::kInt64:
      return v.getInt64();
    case Node::Kind::kUint64:
      return v.getUint64() > static_cast<std::uint64_t>(LLONG_MAX)
                 ? LLONG_MAX
                 : static_cast<long long>(v.getUint64());
    case Node::Kind::kDouble:
      return saturate<long long>(v.getDouble());
    case Node::Kind::kString:
      return int64FromText(v.getString());
    case Node::Kind::kBool:
      return v.getBool() ? 1 : 0;
    default:
      return 0;
  }
}

int toInt(Node v) {
  if (v.kind() == Node::Kind::kDouble) return saturate<int>(v.getDouble());
  return saturate<int>(toInt64(v));
}

double toDouble(Node v) {
  switch (v.kind()) {
    case Node::Kind::kInt64:
      return static_cast<double>(v.getInt64());
    case Node::Kind::kUint64:
      return static_cast<double>(v.getUint64());
    case Node::Kind::kDouble:
      return v.getDouble();
    case Node::Kind::kString:
      return doubleFromText(v.getString());
    case Node::Kind::kBool:
      return v.getBool() ? 1.0 : 0.0;
    default:
      return 0.0;
  }
}

float toFloat(Node v) {
  return static_cast<float>(toDouble(v));
}

bool toBool(Node v) {
  switch (v.kind()) {
    case Node::Kind::kInt64:
      return v.getInt64() != 0;
    case Node::Kind::kUint64:
      return v.getUint64() != 0;
    case Node::Kind::kDouble:
      return v.getDouble() != 0.0;
    case Node::Kind::kString:
      return boolFromText(v.getString());
    case Node::Kind::kBool:
      return v.getBool();
    default:
      return false;
  }
}

std::optional<std::string> toString(Node v) {
  switch (v.kind()) {
    case Node::Kind::kString:
      return std::string(v.getString());
    case Node::Kind::kInt64:
      return std::to_string(v.getInt64());
    case Node::Kind::kUint64:
      return std::to_string(v.getUint64());
    case Node::Kind::kDouble: {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.15g", v.getDouble());
      return std::string(buf);
    }
    default:
      return std::nullopt;
  }
}

std::string toText(Node v) {
  if (v.isString()) return std::string(v.getString());
  return toString(v).value_or(std::string());
}

int intMember(Node o, std::string_view key) {
  return toInt(o.member(key));
}

long long int64Member(Node o, std::string_view key) {
  return toInt64(o.member(key));
}

double doubleMember(Node o, std::string_view key) {
  return toDouble(o.member(key));
}

float floatMember(Node o, std::string_view key) {
  return static_cast<float>(doubleMember(o, key));
}

bool boolMember(Node o, std::string_view key) {
  return toBool(o.member(key));
}

std::optional<std::string> stringMember(Node o, std::string_view key) {
  return toString(o.member(key));
}

std::string textMember(Node o, std::string_view key) {
  return toText(o.member(key));
}

Node arrayMember(Node o, std::string_view key) {
  const Node v = o.member(key);
  return v.isArray() ? v : Node();
}

Node objectMember(Node o, std::string_view key) {
  const Node v = o.member(key);
  return v.isObject() ? v : Node();
}

long long toInt64(const value& v) {
  return toInt64(Node(v));
}

int toInt(const value& v) {
  return toInt(Node(v));
}

double toDouble(const value& v) {
  return toDouble(Node(v));
}

float toFloat(const value& v) {
  return toFloat(Node(v));
}

bool toBool(const value& v) {
  return toBool(Node(v));
}

std::optional<std::string> toString(const value& v) {
  return toString(Node(v));
}

const value* member(const object& o, std::string_view key) {
  return o.if_contains(key);
}

int intMember(const object& o, std::string_view key) {
  const value* v = member(o, key);
  return v != nullptr ? toInt(*v) : 0;
}

long long int64Member(const object& o, std::string_view key) {
  const value* v = member(o, key);
  return v != nullptr ? toInt64(*v) : 0;
}

double doubleMember(const object& o, std::string_view key) {
  const value* v = member(o, key);
  return v != nullptr ? toDouble(*v) : 0.0;
}

float floatMember(const object& o, std::string_view key) {
  return static_cast<float>(doubleMember(o, key));
}

bool boolMember(const object& o, std::string_view key) {
  const value* v = member(o, key);
  return v != nullptr && toBool(*v);
}

std::optional<std::string> stringMember(const object& o, std::string_view key) {
  const value* v = member(o, key);
  return v != nullptr ? toString(*v) : std::nullopt;
}

std::string textMember(const object& o, std::string_view key) {
  return stringMember(o, key).value_or(std::string());
}

const array* arrayMember(const object& o, std::string_view key) {
  const value* v = member(o, key);
  return v != nullptr ? v->if_array() : nullptr;
}

const object* objectMember(const object& o, std::string_view key) {
  const value* v = member(o, key);
  return v != nullptr ? v->if_object() : nullptr;
}

std::optional<value> parse(std::string_view text, std::string* error) {
  boost::system::error_code ec;
  value v = boost::json::parse(text, ec);
  if (ec) {
    if (error != nullptr) *error = ec.message();
    return std::nullopt;
  }
  return v;
}

}  // namespace lk::json
