#include <gtest/gtest.h>

#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequest.h"

namespace lk {
namespace {

TEST(FormValueEscape, KeepsUnreservedFormCharactersAndEscapesEverythingElse) {
  EXPECT_EQ(FormValue::escape("AZaz09*-._"), "AZaz09*-._");
  EXPECT_EQ(FormValue::escape("a b"), "a+b");
  EXPECT_EQ(FormValue::escape("A&B"), "A%26B");
  EXPECT_EQ(FormValue::escape("C#"), "C%23");
  EXPECT_EQ(FormValue::escape("1+1=2%"), "1%2B1%3D2%25");
  EXPECT_EQ(FormValue::escape("~/?"), "%7E%2F%3F");
  EXPECT_EQ(FormValue::escape("中"), "%E4%B8%AD");
}

TEST(FormValueEscape, NumbersAndPreEscapedValues) {
  EXPECT_EQ(FormValue(15).encoded(), "15");
  EXPECT_EQ(FormValue(-3L).encoded(), "-3");
  EXPECT_EQ(FormValue::preEscaped("ab+/=\ncd").encoded(), "ab+/=\ncd");
  EXPECT_EQ(FormValue("ab+/=").encoded(), "ab%2B%2F%3D");
}

TEST(MakeParamtersString, PairsInGivenOrderEscapedAndJoined) {
  EXPECT_EQ(HttpRequest::makeParamtersString({{"k", "A&B"}, {"xda_from", "iPhone"}, {"p", 0}}),
            "k=A%26B&xda_from=iPhone&p=0");
  EXPECT_EQ(HttpRequest::makeParamtersString({{"k", "A&B"}, {"p", 0}}),
            HttpRequest::makeBody({{"k", "A&B"}, {"p", 0}}));
  EXPECT_EQ(HttpRequest::makeParamtersString({}), std::nullopt);
  EXPECT_EQ(HttpRequest::makeBody({}), std::nullopt);
}

TEST(MakeURL, AddsTheQueryOrLeavesTheUrlAlone) {
  EXPECT_EQ(HttpRequest::makeURL("http://h/client/search/0/q", {{"k", "C#"}, {"n", 15}}),
            "http://h/client/search/0/q?k=C%23&n=15");
  EXPECT_EQ(HttpRequest::makeURL("http://h/client/x", {}), "http://h/client/x");
}

TEST(MakeURLWithOrderedParams, KeepsOrderAndSkipsPairsWithoutValue) {
  const std::vector<HttpRequestParameter> params = {
      HttpRequestParameter::parameterWithName("z", "last?"),
      HttpRequestParameter::parameterWithName("gone", std::nullopt),
      HttpRequestParameter::parameterWithName("a", 1)};
  EXPECT_EQ(HttpRequest::makeURLWithOrderedParams("http://h/x", params),
            "http://h/x?z=last%3F&a=1");
  EXPECT_EQ(HttpRequest::makeURLWithOrderedParams("http://h/x", {}), "http://h/x");
  EXPECT_EQ(HttpRequest::makeURLWithOrderedParams(
                "http://h/x", {HttpRequestParameter::parameterWithName("gone", std::nullopt)}),
            "http://h/x");
}

TEST(Authorization, BasicHeaderOfNameAndPassword) {
  EXPECT_EQ(HttpRequest::stringOfAuthorizationHeaderWithUsername("Aladdin", "open sesame"),
            "Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
  EXPECT_EQ(HttpRequest::stringEncodedWithBase64("中文"), "5Lit5paH");
  const UrlRequest request = HttpRequest::makeRequest("http://h/x", "u", std::nullopt);
  EXPECT_EQ(request.valueForHeaderField("Authorization"), "Basic dTo=");
  EXPECT_FALSE(HttpRequest::makeRequest("http://h/x").valueForHeaderField("Authorization"));
}

TEST(MakeRequest, EscapesTheUrlAndSetsTransportRules) {
  const UrlRequest request = HttpRequest::makeRequest("http://h/client/q?k=中 文&x=%2B");
  EXPECT_EQ(request.url, "http://h/client/q?k=%E4%B8%AD%20%E6%96%87&x=%2B");
  EXPECT_EQ(request.timeoutInterval, seconds(20));
  EXPECT_FALSE(request.handlesCookies);
  EXPECT_EQ(request.cachePolicy, UrlCachePolicy::kReloadRevalidatingCacheData);
}

}  // namespace
}  // namespace lk
