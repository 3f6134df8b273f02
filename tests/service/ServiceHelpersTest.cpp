#include <gtest/gtest.h>

#include <boost/json.hpp>

#include "service/Base64.h"
#include "service/Compression.h"
#include "service/FaultInjector.h"
#include "service/FormFields.h"
#include "service/JsonText.h"
#include "service/RequestChecks.h"
#include "service/RequestFraming.h"
#include "service/RequestLog.h"
#include "service/ShopCatalog.h"
#include "tests/service/ServiceTestClient.h"

namespace lk::service {
namespace {

TEST(FormFields, DecodesWellFormedEscapesAndPlusAsSpace) {
  auto fields = FormFields::parse("a=1%2B2&b=%E5%B7%9D&c=50%&d=%zz&e=x+y&f&=v&a=last&g+h=1");
  EXPECT_EQ(fields.text("a"), "last");
  EXPECT_EQ(fields.text("b"), "川");
  EXPECT_EQ(fields.text("c"), "50%");
  EXPECT_EQ(fields.text("d"), "%zz");
  EXPECT_EQ(fields.text("e"), "x y");
  EXPECT_EQ(fields.text("g h"), "1");
  EXPECT_EQ(FormFields::parse("a=1%2B2").text("a"), "1+2");
  // Paths and raw query strings keep their plus.
  EXPECT_EQ(FormFields::percentDecode("/a+b%20c"), "/a+b c");
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

TEST(FormFields, TooManyFieldsMakeAnOverfullText) {
  std::string text = "a=1";
  for (std::size_t i = 1; i < FormFields::kMaxFields; ++i)
    text += "&k" + std::to_string(i) + "=v";
  EXPECT_FALSE(FormFields::parse(text).overfull());
  EXPECT_EQ(FormFields::parse(text).text("a"), "1");
  const auto over = FormFields::parse(text + "&last=1");
  EXPECT_TRUE(over.overfull());
  EXPECT_TRUE(over.all().empty());
  // Empty pairs ("&&&") are no fields.
  EXPECT_FALSE(FormFields::parse(std::string(10000, '&')).overfull());
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

TEST(RequestLog, HidesPasswordsAndSessionIdsByTheirDecodedNames) {
  EXPECT_EQ(RequestLog::maskSecrets("a=1&login_loginpass=secret&ssid=abc"),
            "a=1&login_loginpass=***&ssid=***");
  EXPECT_EQ(RequestLog::maskSecrets("/client/user/0/want?ssid=abc&p=0"),
            "/client/user/0/want?ssid=***&p=0");
  EXPECT_EQ(RequestLog::maskSecrets("xssid=keep&ssidx=keep&ssid"), "xssid=keep&ssidx=keep&ssid");
  EXPECT_EQ(RequestLog::maskSecrets("login%5Floginpass=secret&%73sid=abc&%73%73id=def"),
            "login%5Floginpass=***&%73sid=***&%73%73id=***");
  EXPECT_EQ(RequestLog::maskSecrets("ssid=&p=1"), "ssid=***&p=1");
}

TEST(RequestLog, EscapesControlCharactersInEveryField) {
  EXPECT_EQ(RequestLog::line("POST", "/p", "a\nb", 200, 41234),
            "POST\t/p\ta\\x0ab\t200\tconn=41234");
  EXPECT_EQ(RequestLog::line("GET", "/a\tb\x1b[2J", "", 404, 1),
            "GET\t/a\\x09b\\x1b[2J\t-\t404\tconn=1");
  EXPECT_EQ(RequestLog::line("G\rT", "/a\\x09", "\x7f", 400, 1),
            "G\\x0dT\t/a\\\\x09\t\\x7f\t400\tconn=1");
  EXPECT_EQ(RequestLog::line("GET", "/川", "", 200, 1), "GET\t/川\t-\t200\tconn=1");
  // A secret that reaches the cut of a long body is masked all the same.
  const std::string body = std::string(RequestLog::kBodyLimit - 6, 'a') + "&ssid=secret";
  const std::string cut = RequestLog::line("POST", "/p", body, 200, 1);
  EXPECT_EQ(cut.find("secret"), std::string::npos);
  EXPECT_NE(cut.find("&ssid=***...(4102 bytes)"), std::string::npos) << cut.substr(4080);
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
  EXPECT_FALSE(RequestChecks::pathId("12a").has_value());
  EXPECT_FALSE(RequestChecks::pathId("99999999999").has_value());
  EXPECT_EQ(RequestChecks::pathId("0042"), 42);
}

TEST(RequestChecks, Utf8IsCheckedStrictly) {
  EXPECT_TRUE(RequestChecks::isValidUtf8("川菜 ok"));
  EXPECT_TRUE(RequestChecks::isValidUtf8("\xF0\x9F\x98\x80"));  // U+1F600
  EXPECT_TRUE(RequestChecks::isValidUtf8("\xF4\x8F\xBF\xBF"));  // U+10FFFF, the last
  EXPECT_TRUE(RequestChecks::isValidUtf8("\xED\x9F\xBF"));      // U+D7FF, before the surrogates
  EXPECT_TRUE(RequestChecks::isValidUtf8("\xEE\x80\x80"));      // U+E000, after them
  EXPECT_TRUE(RequestChecks::isValidUtf8(std::string("a\0b", 3)));
  EXPECT_FALSE(RequestChecks::isValidUtf8("\xE5\xB7"));          // cut short
  EXPECT_FALSE(RequestChecks::isValidUtf8("\xC0\xAF"));          // overlong, two bytes
  EXPECT_FALSE(RequestChecks::isValidUtf8("\xE0\x80\xAF"));      // overlong, three bytes
  EXPECT_FALSE(RequestChecks::isValidUtf8("\xF0\x80\x80\xAF"));  // overlong, four bytes
  EXPECT_FALSE(RequestChecks::isValidUtf8("\xED\xA0\x80"));      // U+D800
  EXPECT_FALSE(RequestChecks::isValidUtf8("\xED\xBF\xBF"));      // U+DFFF
  EXPECT_FALSE(RequestChecks::isValidUtf8("\xF4\x90\x80\x80"));  // U+110000
  EXPECT_FALSE(RequestChecks::isValidUtf8("\xF5\x80\x80\x80"));
  EXPECT_FALSE(RequestChecks::isValidUtf8("\x80"));
  EXPECT_FALSE(RequestChecks::isValidUtf8("\xE5\x41\x80"));  // continuation missing
}

TEST(RequestFraming, FindsTheEndOfARequestFromItsHead) {
  using State = RequestFraming::State;
  auto of = [](std::string_view text) { return RequestFraming::of(text, 1024, 64, 4096); };
  EXPECT_EQ(of("GET / HTTP/1.1\r\nHost: a\r\n").state, State::Incomplete);
  const auto get = of("GET / HTTP/1.1\r\nHost: a\r\n\r\nGET /next");
  EXPECT_EQ(get.state, State::Complete);
  EXPECT_EQ(get.length, 27u);
  const std::string post = "POST / HTTP/1.1\r\ncontent-LENGTH: 5\r\n\r\n";
  EXPECT_EQ(of(post + "abcd").state, State::Incomplete);
  EXPECT_EQ(of(post + "abcdeGET").length, post.size() + 5);
  // Bodies above the buffered size are read as they come; above the limit, left unread.
  const auto big = of("POST / HTTP/1.1\r\nContent-Length: 100\r\n\r\n");
  EXPECT_EQ(big.state, State::Streamed);
  EXPECT_FALSE(big.closeAfter);
  EXPECT_TRUE(of("POST / HTTP/1.1\r\nContent-Length: 5000\r\n\r\n").closeAfter);
  EXPECT_EQ(of("POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n").state, State::Streamed);
  EXPECT_EQ(of("POST / HTTP/1.1\r\nExpect: 100-continue\r\nContent-Length: 5\r\n\r\n").state,
            State::Streamed);
  // A line without CR is no header, as the HTTP library reads it.
  EXPECT_EQ(of("GET / HTTP/1.1\r\nContent-Length: x\n\r\n").state, State::Complete);
  EXPECT_EQ(of(std::string(2000, 'a')).state, State::TooLarge);
  EXPECT_EQ(of("GET /" + std::string(2000, 'a') + " HTTP/1.1\r\n\r\n").state, State::TooLarge);
  for (const char* bad :
       {"Content-Length: abc", "Content-Length: 1e3", "Content-Length:  5", "Content-Length: +5",
        "Content-Length: 5 5", "Content-Length:", "Content-Length: 5\r\nContent-Length: 6",
        "Content-Length: 5\r\nTransfer-Encoding: chunked"}) {
    const auto framing = of(std::string("POST / HTTP/1.1\r\n") + bad + "\r\n\r\nabcde");
    EXPECT_EQ(framing.state, State::Malformed) << bad;
    EXPECT_FALSE(framing.problem.empty());
  }
  EXPECT_EQ(of("POST / HTTP/1.1\r\nContent-Length: 5 \r\nContent-Length:5\r\n\r\nabcde").state,
            State::Complete);
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
