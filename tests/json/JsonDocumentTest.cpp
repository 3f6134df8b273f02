// A parsed Document must accept exactly what json::parse accepts and read every value the same
// way, on the edges where the two parsers behind them differ.
#include "Classes/Json/JsonDocument.h"

#include <gtest/gtest.h>

#include <boost/json/serialize.hpp>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "Classes/Json/JsonValue.h"

namespace lk::json {
namespace {

Document documentOf(std::string_view text) {
  auto document = Document::parse(text);
  EXPECT_TRUE(document.has_value()) << text;
  return document ? std::move(*document) : *Document::parse("null");
}

// The text as json::parse reads it, and as the document reads it, both written out again.
void expectSameValue(std::string_view text) {
  const auto reference = parse(text);
  ASSERT_TRUE(reference.has_value()) << text;
  const auto document = Document::parse(text);
  ASSERT_TRUE(document.has_value()) << text;
  EXPECT_EQ(boost::json::serialize(document->root().toValue()), boost::json::serialize(*reference))
      << text;
}

TEST(JsonDocument, RefusesWhatJsonParseRefusesWithItsMessage) {
  const std::vector<std::string> refused = {
      "",
      "{} x",                        // trailing garbage
      "{\"a\":1}}",                  // a stray closing brace
      "[1,]",                        // trailing comma
      "\xEF\xBB\xBF{}",              // a byte-order mark
      "\"\xC3\x28\"",                // invalid UTF-8 in a string
      "\"\xED\xA0\x80\"",            // an encoded surrogate
      "\"\\ud800\"",                 // a lone escaped surrogate
      "\"a\x01\"",                   // a raw control character
      "{\"a\" 1}",                   // a missing colon
      "0.1e",                        // an unfinished number
      "01",                          // a leading zero
      "NaN",                         //
      "// c\n{}",                    // comments
      std::string("{\"a\":1}\0", 8)  // a NUL after the value
  };
  for (const auto& text : refused) {
    std::string expected;
    std::string got;
    EXPECT_FALSE(parse(text, &expected).has_value()) << text;
    EXPECT_FALSE(Document::parse(text, &got).has_value()) << text;
    EXPECT_EQ(got, expected) << text;
  }
}

TEST(JsonDocument, NestingStopsAtThirtyTwoLevels) {
  const auto nested = [](int depth) { return std::string(depth, '[') + std::string(depth, ']'); };
  EXPECT_TRUE(Document::parse(nested(32)).has_value());
  EXPECT_FALSE(Document::parse(nested(33)).has_value());
  EXPECT_FALSE(Document::parse(nested(5000)).has_value());
  std::string objects;
  for (int i = 0; i < 33; ++i)
    objects += "{\"a\":";
  objects += "1" + std::string(33, '}');
  EXPECT_FALSE(Document::parse(objects).has_value());
}

TEST(JsonDocument, RepeatedKeysReadTheLastValueInTheFirstPlace) {
  const auto document = documentOf(R"({"a":1,"b":2,"a":"x","b":null,"c":3})");
  EXPECT_EQ(document.root().member("a").getString(), "x");
  EXPECT_EQ(document.root().member("b").kind(), Node::Kind::kNull);
  EXPECT_TRUE(document.root().member("b").exists());
  EXPECT_EQ(textMember(document.root(), "a"), "x");
  expectSameValue(R"({"a":1,"b":2,"a":"x","b":null,"c":3})");
  expectSameValue(R"({"m":{"k":[1],"k":{"k":2,"k":3}}})");
}

TEST(JsonDocument, NumbersBeyondTheParsersRangeReadLikeJsonParse) {
  // Integers beyond 64 bits and exponents beyond the double range are doubles, infinite ones
  // included, as json::parse makes them.
  expectSameValue("18446744073709551616");
  expectSameValue("-9223372036854775809");
  expectSameValue("[123456789012345678901234567890]");
  expectSameValue("{\"x\":1e400,\"y\":-1e400}");
  EXPECT_EQ(toInt(documentOf("[1e400]").root().at(0)), INT_MAX);
  EXPECT_EQ(toInt64(documentOf("[-1e400]").root().at(0)), LLONG_MIN);
  EXPECT_TRUE(std::isinf(toDouble(documentOf("{\"x\":1e400}").root().member("x"))));
  EXPECT_EQ(toInt64(documentOf("18446744073709551615").root()), LLONG_MAX);
  EXPECT_EQ(documentOf("9223372036854775808").root().kind(), Node::Kind::kUint64);
  EXPECT_EQ(documentOf("-9223372036854775808").root().getInt64(), LLONG_MIN);
  expectSameValue("[-0, -0.0, 0.0, 1e-400, 5e-324, 1.7976931348623157e308]");
  EXPECT_EQ(toString(documentOf("[-0]").root().at(0)), "0");
  EXPECT_EQ(toString(documentOf("[-0.0]").root().at(0)), "-0");
}

TEST(JsonDocument, AZeroWithAHugeExponentIsZero) {
  // Boost.JSON 1.81 reads the first two as NaN (which converts to true); they are zero.
  // json::parse refuses the last one ("exponent overflow"), though it is JSON.
  const auto document = documentOf("[0e309, -0.0e400, 0e308, 0e37203685477370955]");
  for (const Node zero : document.root().elements()) {
    EXPECT_EQ(zero.kind(), Node::Kind::kDouble);
    EXPECT_EQ(zero.getDouble(), 0.0);
    EXPECT_FALSE(toBool(zero));
  }
}

TEST(JsonDocument, NumbersAsTextConvertLikeNumbers) {
  const auto document =
      documentOf(R"({"i":"  -42x","d":"3.75","b":"Yes","z":"000","big":"99999999999999999999"})");
  const Node root = document.root();
  EXPECT_EQ(intMember(root, "i"), -42);
  EXPECT_FLOAT_EQ(floatMember(root, "d"), 3.75f);
  EXPECT_EQ(intMember(root, "d"), 3);
  EXPECT_TRUE(boolMember(root, "b"));
  EXPECT_FALSE(boolMember(root, "z"));
  EXPECT_EQ(intMember(root, "big"), INT_MAX);
  EXPECT_EQ(int64Member(root, "missing"), 0);
  EXPECT_EQ(stringMember(root, "missing"), std::nullopt);
}

TEST(JsonDocument, StringsKeepEscapesNulsAndWideCharacters) {
  const auto document = documentOf(R"(["a\u0000b","\ud83d\ude00","老王\n\"","\/"])");
  const Node list = document.root();
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list.at(0).getString(), std::string_view("a\0b", 3));
  EXPECT_EQ(list.at(1).getString(), "\xF0\x9F\x98\x80");
  EXPECT_EQ(list.at(2).getString(), "老王\n\"");
  EXPECT_EQ(list.at(3).getString(), "/");
  EXPECT_FALSE(list.at(4).exists());
  expectSameValue(R"({"k\u00e9y":["\t",true,false,null,{}]})");
}

TEST(JsonDocument, ViewsOfTheDocumentAndOfBoostValuesReadAlike) {
  const std::string text =
      R"({"list":[{"id":"7","name":"甲"},3,{"id":8}],"o":{"x":1,"y":[true]},"s":"t","n":null})";
  const auto document = documentOf(text);
  const auto value = *parse(text);
  for (const Node root : {document.root(), Node(value), Node(value.get_object())}) {
    EXPECT_TRUE(root.isObject());
    EXPECT_EQ(root.size(), 4u);
    std::vector<std::string> keys;
    for (const auto& [key, member] : root.members())
      keys.emplace_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"list", "o", "s", "n"}));
    std::vector<int> ids;
    for (const Node item : arrayMember(root, "list").elements())
      ids.push_back(intMember(item, "id"));
    EXPECT_EQ(ids, (std::vector<int>{7, 0, 8}));
    EXPECT_FALSE(arrayMember(root, "o").exists());
    EXPECT_TRUE(objectMember(root, "o").exists());
    EXPECT_FALSE(objectMember(root, "s").exists());
    EXPECT_TRUE(root.member("n").exists());
    EXPECT_FALSE(root.member("absent").exists());
    EXPECT_EQ(root.member("s").size(), 0u);
    EXPECT_TRUE(root.member("s").elements().begin() == root.member("s").elements().end());
    EXPECT_EQ(boost::json::serialize(root.toValue()), boost::json::serialize(value));
  }
}

TEST(JsonDocument, AbsentViewsReadLikeNull) {
  const Node absent;
  EXPECT_FALSE(absent.exists());
  EXPECT_EQ(absent.kind(), Node::Kind::kNull);
  EXPECT_EQ(absent.size(), 0u);
  EXPECT_FALSE(absent.member("a").exists());
  EXPECT_TRUE(absent.toValue().is_null());
  EXPECT_EQ(toString(absent), std::nullopt);
  EXPECT_EQ(textMember(absent, "a"), "");
}

TEST(JsonDocument, ViewsOutliveAMoveOfTheDocument) {
  auto document = documentOf(R"({"a":["kept"]})");
  const Node kept = document.root().member("a").at(0);
  const Document moved = std::move(document);
  EXPECT_EQ(kept.getString(), "kept");
  EXPECT_EQ(moved.root().member("a").at(0).getString(), "kept");
}

TEST(JsonDocument, LargeTextsParseOneAfterAnother) {
  // The parser is reused: a large text after a small one and a small one after it.
  std::string large = "[";
  for (int i = 0; i < 200000; ++i)
    large += std::to_string(i) + ",";
  large += "\"end\"]";
  EXPECT_EQ(documentOf("[1]").root().size(), 1u);
  const auto document = documentOf(large);
  EXPECT_EQ(document.root().size(), 200001u);
  EXPECT_EQ(document.root().at(199999).getInt64(), 199999);
  EXPECT_EQ(documentOf("{\"a\":2}").root().member("a").getInt64(), 2);
}

}  // namespace
}  // namespace lk::json
