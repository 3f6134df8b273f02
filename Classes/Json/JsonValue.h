#pragma once

#include <boost/json/array.hpp>
#include <boost/json/object.hpp>
#include <boost/json/value.hpp>

#include <optional>
#include <string>
#include <string_view>

#include "Classes/Json/JsonNode.h"

// Conversions of JSON members as every decoder of the client reads them. They never throw and
// never overflow: a number is truncated toward zero and saturated to the target's range, a string
// is read the way the phone's number parsing reads text (leading white space, an optional sign,
// the leading digits: "12abc" is 12, "3.7" is 3 as an integer), true is 1, anything else is 0.
namespace lk::json {

using boost::json::array;
using boost::json::object;
using boost::json::value;

[[nodiscard]] int toInt(const value& v);
[[nodiscard]] long long toInt64(const value& v);
[[nodiscard]] double toDouble(const value& v);
[[nodiscard]] float toFloat(const value& v);
// A number is true when not 0; a string when, after white space, a sign and leading zeros, it
// starts with "Y", "y", "T", "t" or a digit 1 to 9.
[[nodiscard]] bool toBool(const value& v);
// A string as it is, a number as its decimal text; null, objects, arrays and booleans are absent.
[[nodiscard]] std::optional<std::string> toString(const value& v);

// Text conversions shared with the above (for values that arrive as plain text).
[[nodiscard]] int intFromText(std::string_view text);
[[nodiscard]] long long int64FromText(std::string_view text);
[[nodiscard]] double doubleFromText(std::string_view text);
[[nodiscard]] bool boolFromText(std::string_view text);

// Members of an object; a missing member reads like null.
[[nodiscard]] const value* member(const object& o, std::string_view key);
[[nodiscard]] int intMember(const object& o, std::string_view key);
[[nodiscard]] long long int64Member(const object& o, std::string_view key);
[[nodiscard]] double doubleMember(const object& o, std::string_view key);
[[nodiscard]] float floatMember(const object& o, std::string_view key);
[[nodiscard]] bool boolMember(const object& o, std::string_view key);
[[nodiscard]] std::optional<std::string> stringMember(const object& o, std::string_view key);
// The string member, or "" when absent.
[[nodiscard]] std::string textMember(const object& o, std::string_view key);
[[nodiscard]] const array* arrayMember(const object& o, std::string_view key);
[[nodiscard]] const object* objectMember(const object& o, std::string_view key);

// The same conversions on a view (of a parsed Document or of a Boost.JSON value): an absent
// member reads like null.
[[nodiscard]] int toInt(Node v);
[[nodiscard]] long long toInt64(Node v);
[[nodiscard]] double toDouble(Node v);
[[nodiscard]] float toFloat(Node v);
[[nodiscard]] bool toBool(Node v);
[[nodiscard]] std::optional<std::string> toString(Node v);
// toString, or "" when absent.
[[nodiscard]] std::string toText(Node v);

[[nodiscard]] int intMember(Node o, std::string_view key);
[[nodiscard]] long long int64Member(Node o, std::string_view key);
[[nodiscard]] double doubleMember(Node o, std::string_view key);
[[nodiscard]] float floatMember(Node o, std::string_view key);
[[nodiscard]] bool boolMember(Node o, std::string_view key);
[[nodiscard]] std::optional<std::string> stringMember(Node o, std::string_view key);
[[nodiscard]] std::string textMember(Node o, std::string_view key);
// The member when it is an array, or when it is an object; else absent.
[[nodiscard]] Node arrayMember(Node o, std::string_view key);
[[nodiscard]] Node objectMember(Node o, std::string_view key);

// Parses UTF-8 JSON text. On failure returns nullopt and, when `error` is given, its message.
[[nodiscard]] std::optional<value> parse(std::string_view text, std::string* error = nullptr);

}  // namespace lk::json
