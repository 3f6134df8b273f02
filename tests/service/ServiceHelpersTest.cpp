#include <gtest/gtest.h>

#include <boost/json.hpp>

#include "service/Base64.h"
#include "service/Compression.h"
#include "service/FaultInjector.h"
#include "service/FormFields.h"
#include "service/JsonText.h"
#include "service/RequestChecks.h"
#include "service/RequestLog.h"
#include "service/ShopCatalog.h"
#include "tests/service/ServiceTestClient.h"

namespace lk::service {
namespace {

TEST(FormFields, DecodesWellFormedEscapesOnly) {
  auto fields = FormFields::parse("a=1%2B2&b=%E5%B7%9D&c=50%&d=%zz&e=x+y&f&=v&a=last");
  EXPECT_EQ(fields.text("a"), "last");
  EXPECT_EQ(fields.text("b"), "川");
  EXPECT_EQ(fields.text("c"), "50%");
  EXPECT_EQ(fields.text("d"), "%zz");
  EXPECT_EQ(fields.text("e"), "x+y");  // values arrive unescaped; "+" is a plus
  EXPECT_TRUE(fields.has("f"));
  EXPECT_EQ(fields.text("f"), "");
  EXPECT_EQ(FormFields::parse("n=12").integer("n", 0), 12);
  EXPECT_FALSE(FormFields::parse("n=12x").integer("n", 0).has_value());
  EXPECT_FALSE(FormFields::parse("n=").integer("n", 0).has_value());
  EXPECT_FALSE(FormFields::parse("n=99999999999999999999").integer("n", 0).has_value());
  EXPECT_EQ(FormFields::parse("").integer("n", 7), 7);
  EXPECT_FALSE(FormFields::parse("x=nan").number("x").has_value());
  EXPECT_DOUBLE_EQ(FormFields::parse("x=116.404000").number("x").value(), 116.404);
}

TEST(Base64, SkipsLineBreaksAndRefusesForeignCharacters) {
  const std::string bytes("\xFF\xD8\x00\x01\x02", 5);
  const std::string text = Base64::encode(bytes);
  EXPECT_EQ(text, "/9gAAQI=");
  EXPECT_EQ(Base64::decode("/9gA\nAQI=").value(), bytes);
  EXPECT_EQ(Base64::decode("/9gAAQI=\r\n").value(), bytes);
  EXPECT_EQ(Base64::encode("abc"), "YWJj");
  EXPECT_FALSE(Base64::decode("/9gAAQI").has_value());   // not a multiple of four
  EXPECT_FALSE(Base64::decode("/9g*AQI=").has_value());  // foreign character
  EXPECT_FALSE(Base64::decode("YQ==YWJj").has_value());  // data after padding
}

TEST(ShopCatalogHighlight, MarksEveryOccurrenceAndEscapesMarkup) {
  EXPECT_EQ(ShopCatalog::highlight("川菜馆川菜", {"川菜"}, false), "<em>川菜</em>馆<em>川菜</em>");
  EXPECT_EQ(ShopCatalog::highlight("Tony's", {"tony"}, true), "<em>Tony</em>&#39;s");
  EXPECT_EQ(ShopCatalog::highlight("B&C 烘焙", {"b&c"}, true), "<em>B&amp;C</em> 烘焙");
  // Overlapping terms make one mark.
  EXPECT_EQ(ShopCatalog::highlight("abcd", {"abc", "bcd"}, false), "<em>abcd</em>");
  EXPECT_EQ(ShopCatalog::highlight("abc", {}, false), "abc");
  EXPECT_NEAR(ShopCatalog::distanceMetres(116.404, 39.915, 116.404, 39.925), 1112, 5);
}

TEST(RequestLog, HidesPasswordsAndSessionIds) {
  EXPECT_EQ(RequestLog::maskSecrets("a=1&login_loginpass=secret&ssid=abc"),
            "a=1&login_loginpass=***&ssid=***");
  EXPECT_EQ(RequestLog::maskSecrets("/client/user/0/want?ssid=abc&p=0"),
            "/client/user/0/want?ssid=***&p=0");
  EXPECT_EQ(RequestLog::maskSecrets("xssid=keep"), "xssid=keep");
  EXPECT_EQ(RequestLog::line("POST", "/p", "a\nb", 200, 41234), "POST\t/p\ta b\t200\tconn=41234");
  const std::string longBody(RequestLog::kBodyLimit + 10, 'x');
  EXPECT_NE(RequestLog::line("POST", "/p", longBody, 413, 1).find("(4106 bytes)"),
            std::string::npos);
}

TEST(FaultInjector, ParsesRulesAndCountsThem) {
  EXPECT_TRUE(FaultInjector::parseRule("/client delay=10").has_value());
  EXPECT_FALSE(FaultInjector::parseRule("client drop").has_value());
  EXPECT_FALSE(FaultInjector::parseRule("/client status=99").has_value());
  EXPECT_FALSE(FaultInjector::parseRule("/client explode").has_value());
  EXPECT_FALSE(FaultInjector::parseRule("/client drop times=0").has_value());
  FaultInjector faults;
  faults.addRule(*FaultInjector::parseRule("/client/shop status=500 times=2"));
  faults.addRule(*FaultInjector::parseRule("/client delay=5"));
  EXPECT_EQ(faults.match("/client/shop/1/info").status, 500);
  EXPECT_EQ(faults.match("/client/shop/1/info").delayMs, 5);
  EXPECT_FALSE(faults.match("/client/shop/1/info").status.has_value());
  EXPECT_FALSE(faults.match("/pic/1.jpg").any());
}

TEST(Compression, BothFormsInflateToTheOriginal) {
  const std::string text = "{\"list\":[\"北京\",\"上海\"]}";
  EXPECT_EQ(test::ServiceTestClient::gunzip(Compression::gzip(text)).value(), text);
  const std::string prefixed = Compression::lengthPrefixedZlib(text);
  EXPECT_EQ(static_cast<unsigned char>(prefixed[3]), text.size());
  EXPECT_EQ(test::ServiceTestClient::unzlibPrefixed(prefixed).value(), text);
  EXPECT_EQ(test::ServiceTestClient::gunzip(Compression::gzip("")).value(), "");
}

TEST(RequestChecks, CountsAsTheClientCounts) {
  EXPECT_EQ(RequestChecks::utf16Length("ab川"), 3u);
  EXPECT_EQ(RequestChecks::utf16Length("\xF0\x9F\x98\x80"), 2u);  // one emoji, two units
  bool cut = false;
  EXPECT_EQ(RequestChecks::firstCharacters("川菜馆", 2, cut), "川菜");
  EXPECT_TRUE(cut);
  EXPECT_EQ(RequestChecks::firstCharacters("川菜", 2, cut), "川菜");
  EXPECT_FALSE(cut);
  EXPECT_TRUE(RequestChecks::isValidUtf8("川菜 ok"));
  EXPECT_FALSE(RequestChecks::isValidUtf8("\xE5\xB7"));
  EXPECT_FALSE(RequestChecks::isValidUtf8("\xC0\xAF"));
  EXPECT_FALSE(RequestChecks::pathId("12a").has_value());
  EXPECT_FALSE(RequestChecks::pathId("99999999999").has_value());
  EXPECT_EQ(RequestChecks::pathId("0042"), 42);
}

TEST(JsonText, WritesShortNumbersAndRawUtf8) {
  boost::json::object o;
  o["score"] = 4.8;
  o["id"] = 131;
  o["x"] = 116.404;
  o["name"] = "北京\"\n";
  o["none"] = nullptr;
  EXPECT_EQ(JsonText::serialize(o),
            "{\"score\":4.8,\"id\":131,\"x\":116.404,\"name\":\"北京\\\"\\n\",\"none\":null}");
}

}  // namespace
}  // namespace lk::service
