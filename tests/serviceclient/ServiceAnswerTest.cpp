#include "Classes/ServiceClient/ServiceAnswer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Classes/Json/JsonValue.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "tests/serviceclient/RequestRecorder.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

using test::FakeTransport;

constexpr const char* kURL = "http://directory.test/client/index/0/province";

class ServiceAnswerTest : public ::testing::Test {
 protected:
  ServiceAnswerTest() { HttpRequestCacheCenter::resetSharedInstanceForTesting(); }
  ~ServiceAnswerTest() override { HttpRequestCacheCenter::resetSharedInstanceForTesting(); }

  // Fetches kURL as a screen would (compressed answers are asked for with "tn=gz") and reads
  // the answer.
  Result<boost::json::object> fetch(AnswerEncoding encoding) {
    test::RequestRecorder recorder;
    if (encoding == AnswerEncoding::kCompressed) {
      recorder.request->requestGETWithGZip(kURL, false);
    } else {
      recorder.request->requestGET(kURL, false);
    }
    loop->runFor(seconds(1));
    EXPECT_TRUE(recorder.succeeded);
    return readJsonAnswer(*recorder.request, encoding);
  }

  // The same fetch read as a parsed document.
  Result<json::Document> fetchDocument(AnswerEncoding encoding) {
    test::RequestRecorder recorder;
    if (encoding == AnswerEncoding::kCompressed) {
      recorder.request->requestGETWithGZip(kURL, false);
    } else {
      recorder.request->requestGET(kURL, false);
    }
    loop->runFor(seconds(1));
    EXPECT_TRUE(recorder.succeeded);
    return readJsonDocument(*recorder.request, encoding);
  }

  static std::string compressedURL() { return std::string(kURL) + "?tn=gz"; }

  test::ScopedMainLoop loop;
  FakeTransport transport;
};

TEST_F(ServiceAnswerTest, AnObjectIsReadPlainAndFromBothCompressedFormats) {
  transport.answer(kURL, R"({"errNo":0,"list":[1,2]})");
  auto plain = fetch(AnswerEncoding::kPlain);
  ASSERT_TRUE(plain.ok()) << plain.error().description;
  EXPECT_EQ(plain->at("errNo").as_int64(), 0);

  transport.answer(compressedURL(), R"({"errNo":0})", FakeTransport::Body::kGzip);
  auto gzip = fetch(AnswerEncoding::kCompressed);
  ASSERT_TRUE(gzip.ok()) << gzip.error().description;
  EXPECT_TRUE(gzip->contains("errNo"));

  transport.clearAnswers();
  transport.answer(compressedURL(), R"({"name":"北京"})", FakeTransport::Body::kLengthPrefixed);
  auto prefixed = fetch(AnswerEncoding::kCompressed);
  ASSERT_TRUE(prefixed.ok()) << prefixed.error().description;
  EXPECT_EQ(prefixed->at("name").as_string(), "北京");
}

TEST_F(ServiceAnswerTest, AStatusOtherThan200FailsBeforeTheBodyIsLookedAt) {
  FakeTransport::Answer answer;
  answer.status = 500;
  answer.body = R"({"errNo":0})";  // a readable body does not make a failed status succeed
  transport.answer(kURL, answer);
  transport.answer(compressedURL(), answer);
  for (auto encoding : {AnswerEncoding::kPlain, AnswerEncoding::kCompressed}) {
    auto read = fetch(encoding);
    ASSERT_FALSE(read.ok());
    EXPECT_TRUE(isAnswerStep(read.error(), AnswerStep::kStatus));
    EXPECT_EQ(read.error().domain, kServiceAnswerErrorDomain);
    EXPECT_NE(read.error().description.find("500"), std::string::npos);
  }
}

TEST_F(ServiceAnswerTest, AnUncompressedBodyAskedForCompressedFailsAtDecompression) {
  transport.answer(compressedURL(), R"({"errNo":0})");  // the service ignored "tn=gz"
  auto read = fetch(AnswerEncoding::kCompressed);
  ASSERT_FALSE(read.ok());
  EXPECT_TRUE(isAnswerStep(read.error(), AnswerStep::kDecompression));
}

TEST_F(ServiceAnswerTest, TextThatIsNotJsonFailsAtParsingInBothEncodings) {
  transport.answer(kURL, "<html>busy</html>");
  transport.answer(compressedURL(), "{\"errNo\":", FakeTransport::Body::kGzip);
  for (auto encoding : {AnswerEncoding::kPlain, AnswerEncoding::kCompressed}) {
    auto read = fetch(encoding);
    ASSERT_FALSE(read.ok());
    EXPECT_TRUE(isAnswerStep(read.error(), AnswerStep::kParse));
  }
}

TEST_F(ServiceAnswerTest, JsonThatIsNotAnObjectFailsAtTheLastStep) {
  transport.answer(kURL, "[1,2,3]");
  transport.answer(compressedURL(), "\"text\"", FakeTransport::Body::kGzip);
  for (auto encoding : {AnswerEncoding::kPlain, AnswerEncoding::kCompressed}) {
    auto read = fetch(encoding);
    ASSERT_FALSE(read.ok());
    EXPECT_TRUE(isAnswerStep(read.error(), AnswerStep::kNotObject));
    EXPECT_FALSE(isAnswerStep(read.error(), AnswerStep::kParse));
  }
}

TEST_F(ServiceAnswerTest, AnEmptyBodyIsNotAnAnswer) {
  transport.answer(kURL, "");
  transport.answer(compressedURL(), "");
  EXPECT_TRUE(isAnswerStep(fetch(AnswerEncoding::kPlain).error(), AnswerStep::kParse));
  EXPECT_TRUE(isAnswerStep(fetch(AnswerEncoding::kCompressed).error(), AnswerStep::kDecompression));
}

TEST_F(ServiceAnswerTest, TheDocumentFailsAtTheSameStepsWithTheSameWords) {
  struct Case {
    int status;
    std::string body;
    FakeTransport::Body framing;
  };
  const std::vector<Case> cases = {
      {200, R"({"errNo":0,"k":1,"k":2})", FakeTransport::Body::kGzip},
      {200, R"({"errNo":0})", FakeTransport::Body::kRaw},  // not compressed as asked
      {500, R"({"errNo":0})", FakeTransport::Body::kGzip},
      {200, "{\"errNo\":0} trailing", FakeTransport::Body::kGzip},
      {200, std::string(40, '[') + std::string(40, ']'), FakeTransport::Body::kGzip},
      {200, "\"\xC3\x28\"", FakeTransport::Body::kGzip},
      {200, "[1e400]", FakeTransport::Body::kGzip},
      {200, R"({"n":18446744073709551616})", FakeTransport::Body::kLengthPrefixed},
  };
  for (const auto& c : cases) {
    transport.clearAnswers();
    FakeTransport::Answer answer;
    answer.status = c.status;
    answer.body = c.body;
    answer.encoding = c.framing;
    transport.answer(compressedURL(), answer);
    const auto value = fetch(AnswerEncoding::kCompressed);
    const auto document = fetchDocument(AnswerEncoding::kCompressed);
    ASSERT_EQ(document.ok(), value.ok()) << c.body;
    if (value.ok()) {
      EXPECT_EQ(json::intMember(document->root(), "k"), json::intMember(*value, "k"));
      EXPECT_EQ(json::textMember(document->root(), "n"), json::textMember(*value, "n"));
      continue;
    }
    EXPECT_EQ(document.error().code, value.error().code) << c.body;
    EXPECT_EQ(document.error().description, value.error().description) << c.body;
  }
}

TEST_F(ServiceAnswerTest, AnUnreadableAnswerIsNotServedAgainFromTheResponseCache) {
  auto& store = HttpRequestCacheCenter::sharedInstance();
  const std::string key = HttpRequest::makeRequest(compressedURL()).url;
  // Fetched with the response cache on, as list screens do; read, then fetched again.
  const auto fetchStored = [&] {
    test::RequestRecorder recorder;
    recorder.request->requestGETWithGZip(kURL, true);
    loop->runFor(seconds(1));
    EXPECT_TRUE(recorder.succeeded);
    return readJsonAnswer(*recorder.request, AnswerEncoding::kCompressed).ok();
  };
  transport.answer(compressedURL(), "{\"errNo\":", FakeTransport::Body::kGzip);  // cut short
  transport.answer(compressedURL(), R"({"errNo":0})", FakeTransport::Body::kGzip);
  EXPECT_FALSE(fetchStored());
  EXPECT_EQ(store.dataForURL(key), nullptr);
  EXPECT_TRUE(fetchStored()) << "the service is asked again";
  EXPECT_NE(store.dataForURL(key), nullptr) << "a good answer is kept";
  EXPECT_TRUE(fetchStored());
  EXPECT_EQ(transport.requestCount(compressedURL()), 2u) << "the good answer was served stored";

  // Damaged bytes served from the store go the same way.
  store.cacheData(std::string("not compressed"), key);
  EXPECT_FALSE(fetchStored());
  EXPECT_EQ(store.dataForURL(key), nullptr);
  EXPECT_TRUE(fetchStored());
  EXPECT_EQ(transport.requestCount(compressedURL()), 3u);
}

TEST(ServiceAnswerStep, ErrorsOfOtherDomainsAreNoStep) {
  const PlatformError transfer{kUrlErrorDomain, static_cast<int>(AnswerStep::kStatus), ""};
  EXPECT_FALSE(isAnswerStep(transfer, AnswerStep::kStatus));
}

}  // namespace
}  // namespace lk
