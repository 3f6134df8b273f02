// The encoders that carry service text into a page's script call and into "tel:".
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Classes/Shop/ShopMapInfoViewController.h"
#include "Classes/Util/ScriptLiteral.h"
#include "Classes/Util/TelephoneNumber.h"
#include "Platform/UI/ScriptCall.h"

namespace lk {
namespace {

// What a script engine would read back from '…escaped…'.
std::string readBack(const std::string& name) {
  auto call = ui::ScriptCall::parse("f('" + ScriptLiteral::escape(name) + "')");
  if (!call || call->arguments.size() != 1) return "<unreadable>";
  const auto* text = std::get_if<std::string>(&call->arguments[0]);
  return text != nullptr ? *text : "<not a string>";
}

TEST(ScriptLiteral, PlainTextPassesUnchanged) {
  EXPECT_EQ(ScriptLiteral::escape("糖水铺子（王府井店） 2F"), "糖水铺子（王府井店） 2F");
  EXPECT_EQ(ScriptLiteral::escape(""), "");
}

TEST(ScriptLiteral, QuotesBackslashesAndLineBreaksCannotEndTheString) {
  EXPECT_EQ(ScriptLiteral::escape("Tony's 牛排"), "Tony\\'s 牛排");
  EXPECT_EQ(ScriptLiteral::escape(R"(a"b\c)"), R"(a\"b\\c)");
  EXPECT_EQ(ScriptLiteral::escape("a\nb\rc"), "a\\nb\\rc");
  EXPECT_EQ(ScriptLiteral::escape("a\xE2\x80\xA8"
                                  "b\xE2\x80\xA9"),
            "a\\u2028b\\u2029");
}

TEST(ScriptLiteral, MarkupAndControlCharactersAreEscaped) {
  EXPECT_EQ(ScriptLiteral::escape("</script><!--"), "\\x3C/script>\\x3C!--");
  EXPECT_EQ(ScriptLiteral::escape(std::string("a\0b\x1b\t\x7f", 6)), "a\\x00b\\x1B\\x09\\x7F");
  EXPECT_EQ(ScriptLiteral::escape("bad \xff\xfe byte"), "bad \\uFFFD\\uFFFD byte");
}

TEST(ScriptLiteral, HostileNamesReadBackAsThemselves) {
  for (const std::string name :
       {"Tony's 牛排", "');alert(1);//", "\\'", "x\\", "line\nbreak", "</script><script>x()",
        "tab\tand\x01", "\xE2\x80\xA8sep", "\"double\"", "😀 emoji"}) {
    EXPECT_EQ(readBack(name), name) << name;
  }
}

TEST(MapScript, APlainNameGivesTheCallItself) {
  EXPECT_EQ(ShopMapInfoViewController::markScript({116.4, 39.9}, "店"),
            "javascript:map(116.400000, 39.900000, '店');");
  EXPECT_EQ(ShopMapInfoViewController::markScript({-0.5, 12}, "A B"),
            "javascript:map(-0.500000, 12.000000, 'A B');");
}

TEST(MapScript, NoCallForCoordinatesThatAreNotNumbers) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(ShopMapInfoViewController::markScript({nan, 1}, "店"));
  EXPECT_FALSE(ShopMapInfoViewController::markScript({1, inf}, "店"));
}

TEST(MapScript, AnApostropheInTheNameKeepsTheCallWhole) {
  const auto script = ShopMapInfoViewController::markScript({116.4, 39.9}, "Tony's 牛排");
  ASSERT_TRUE(script);
  const auto call = ui::ScriptCall::parse(*script);
  ASSERT_TRUE(call);
  EXPECT_EQ(call->function, "map");
  ASSERT_EQ(call->arguments.size(), 3u);
  EXPECT_EQ(std::get<std::string>(call->arguments[2]), "Tony's 牛排");
  EXPECT_DOUBLE_EQ(std::get<double>(call->arguments[0]), 116.4);
}

TEST(ScriptCall, RefusesWhatIsNotOneWellFormedCall) {
  EXPECT_FALSE(ui::ScriptCall::parse("map(1, 2, 'Tony's')"));
  EXPECT_FALSE(ui::ScriptCall::parse("map(1, 2, 'open"));
  EXPECT_FALSE(ui::ScriptCall::parse("map(1, 2, 'x'); steal()"));
  EXPECT_FALSE(ui::ScriptCall::parse("map(1 2)"));
  EXPECT_FALSE(ui::ScriptCall::parse("map(1, 2, 'a\\x4')"));
  EXPECT_FALSE(ui::ScriptCall::parse("map(1e999, 2, 'x')"));
  EXPECT_TRUE(ui::ScriptCall::parse("javascript:map();"));
}

TEST(TelephoneNumber, SeparatorsAreDroppedFromTheDialledNumber) {
  EXPECT_EQ(TelephoneNumber::dialable("010-6512 3456"), "01065123456");
  EXPECT_EQ(TelephoneNumber::dialable("(010) 8888.1234"), "01088881234");
  EXPECT_EQ(TelephoneNumber::dialable("+86 10 6512-3456"), "+861065123456");
  EXPECT_EQ(TelephoneNumber::telURL("110"), "tel:110");
}

TEST(TelephoneNumber, AnythingElseDialsNothing) {
  for (const std::string shown :
       {"", "12", "010-1234567转8", "010;1234567", "1234567,p123", "12+34567", "++8612345",
        "tel:110", "010‐12345678" /* U+2010 */, "123456789012345678901", "abc", "+", "１２３"}) {
    EXPECT_FALSE(TelephoneNumber::dialable(shown)) << shown;
  }
  EXPECT_TRUE(TelephoneNumber::dialable("12345678901234567890")) << "twenty digits still dial";
}

}  // namespace
}  // namespace lk
