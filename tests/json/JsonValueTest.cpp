#include "Classes/Json/JsonValue.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace lk::json {
namespace {

value parsed(std::string_view text) {
  return *parse(text);
}

TEST(JsonValueInt, NumbersTruncateTowardZeroAndSaturate) {
  EXPECT_EQ(toInt(value(3.7)), 3);
  EXPECT_EQ(toInt(value(-3.7)), -3);
  EXPECT_EQ(toInt(value(1e300)), INT_MAX);
  EXPECT_EQ(toInt(value(-1e300)), INT_MIN);
  EXPECT_EQ(toInt(value(std::nan(""))), 0);
  EXPECT_EQ(toInt(value(INFINITY)), INT_MAX);
  EXPECT_EQ(toInt(parsed("4294967296")), INT_MAX);
  EXPECT_EQ(toInt(parsed("18446744073709551615")), INT_MAX);
  EXPECT_EQ(toInt64(parsed("18446744073709551615")), LLONG_MAX);
}

TEST(JsonValueInt, StringsReadLikeThePhonesNumberParsing) {
  EXPECT_EQ(toInt(value("123")), 123);
  EXPECT_EQ(toInt(value("  -42")), -42);
  EXPECT_EQ(toInt(value("+7")), 7);
  EXPECT_EQ(toInt(value("12abc")), 12);
  EXPECT_EQ(toInt(value("3.7")), 3);
  EXPECT_EQ(toInt(value("abc")), 0);
  EXPECT_EQ(toInt(value("")), 0);
  EXPECT_EQ(toInt(value("99999999999999999999999")), INT_MAX);
  EXPECT_EQ(toInt(value("-99999999999999999999999")), INT_MIN);
}

TEST(JsonValueInt, OtherKindsGiveZeroAndTrueGivesOne) {
  EXPECT_EQ(toInt(value(nullptr)), 0);
  EXPECT_EQ(toInt(value(true)), 1);
  EXPECT_EQ(toInt(value(false)), 0);
  EXPECT_EQ(toInt(parsed("[1]")), 0);
  EXPECT_EQ(toInt(parsed("{\"a\":1}")), 0);
}

TEST(JsonValueDouble, NumbersAndTextPrefixes) {
  EXPECT_DOUBLE_EQ(toDouble(value("116.404")), 116.404);
  EXPECT_DOUBLE_EQ(toDouble(value(" +39.9x")), 39.9);
  EXPECT_DOUBLE_EQ(toDouble(value("x39")), 0.0);
  EXPECT_DOUBLE_EQ(toDouble(parsed("12")), 12.0);
  EXPECT_DOUBLE_EQ(toDouble(value(nullptr)), 0.0);
  EXPECT_TRUE(std::isinf(toDouble(value("1e999"))));
  EXPECT_DOUBLE_EQ(toDouble(value("1e-999")), 0.0);
}

TEST(JsonValueBool, TextAndNumbers) {
  EXPECT_TRUE(toBool(value("1")));
  EXPECT_TRUE(toBool(value("true")));
  EXPECT_TRUE(toBool(value("YES")));
  EXPECT_TRUE(toBool(value(" 007")));
  EXPECT_FALSE(toBool(value("0")));
  EXPECT_FALSE(toBool(value("false")));
  EXPECT_FALSE(toBool(value("")));
  EXPECT_TRUE(toBool(value(2)));
  EXPECT_FALSE(toBool(value(0.0)));
  EXPECT_FALSE(toBool(value(nullptr)));
}

TEST(JsonValueMembers, MissingAndMistypedMembers) {
  const object o = parsed(R"({"id":"123","name":"北京","n":null,"list":[1],"sub":{}})").as_object();
  EXPECT_EQ(intMember(o, "id"), 123);
  EXPECT_EQ(intMember(o, "missing"), 0);
  EXPECT_EQ(stringMember(o, "name"), "北京");
  EXPECT_EQ(stringMember(o, "n"), std::nullopt);
  EXPECT_EQ(textMember(o, "missing"), "");
  EXPECT_EQ(stringMember(o, "id"), "123");
  EXPECT_NE(arrayMember(o, "list"), nullptr);
  EXPECT_EQ(arrayMember(o, "sub"), nullptr);
  EXPECT_NE(objectMember(o, "sub"), nullptr);
  EXPECT_EQ(objectMember(o, "n"), nullptr);
}

TEST(JsonValueParse, ReportsErrorsInsteadOfThrowing) {
  std::string error;
  EXPECT_FALSE(parse("{\"a\":", &error).has_value());
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(parse("").has_value());
  EXPECT_TRUE(parse("[]").has_value());
}

}  // namespace
}  // namespace lk::json
