#include "tests/support/FakeTransport.h"

#include <gtest/gtest.h>

#include <string>

#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "tests/serviceclient/RequestRecorder.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

using test::FakeTransport;
using test::RequestRecorder;

constexpr const char* kA = "http://directory.test/client/a";
constexpr const char* kB = "http://directory.test/client/b";

class FakeTransportTest : public ::testing::Test {
 protected:
  FakeTransportTest() { HttpRequestCacheCenter::resetSharedInstanceForTesting(); }
  ~FakeTransportTest() override { HttpRequestCacheCenter::resetSharedInstanceForTesting(); }

  test::ScopedMainLoop loop;
  FakeTransport transport;
};

TEST_F(FakeTransportTest, RecordsEveryRequestInOrderWithMethodHeadersAndBody) {
  transport.answer(kA, "one");
  transport.answer(kB, "two");
  RequestRecorder first;
  RequestRecorder second;
  first.request->requestGET(kA, false);
  second.request->requestPOST(kB, HttpParameters{{"name", "ab"}});
  loop->runFor(seconds(1));
  ASSERT_EQ(transport.requests().size(), 2u);
  EXPECT_EQ(transport.requests()[0].httpMethod, "GET");
  EXPECT_EQ(transport.requests()[0].url, kA);
  EXPECT_FALSE(transport.requests()[0].body.has_value());
  EXPECT_EQ(transport.requests()[1].httpMethod, "POST");
  EXPECT_EQ(transport.requests()[1].body, "name=ab");
  EXPECT_FALSE(transport.requests()[1].headerFields.empty());
  EXPECT_EQ(first.data, "one");
  EXPECT_EQ(second.data, "two");
}

TEST_F(FakeTransportTest, AnswersArriveAfterTheirDelayOnTheVirtualClock) {
  transport.answer(kA, "late", FakeTransport::Body::kRaw, seconds(5));
  RequestRecorder recorder;
  recorder.request->requestGET(kA, false);
  EXPECT_EQ(transport.inFlight(), 1u);
  loop->runFor(seconds(4.9));
  EXPECT_FALSE(recorder.ended());
  loop->runFor(seconds(0.2));
  EXPECT_TRUE(recorder.succeeded);
  EXPECT_EQ(transport.inFlight(), 0u);
}

TEST_F(FakeTransportTest, NothingIsDeliveredInsideTheCallThatStarted) {
  transport.answer(kA, "now");
  RequestRecorder recorder;
  recorder.request->requestGET(kA, false);
  EXPECT_FALSE(recorder.ended());
  loop->runUntilIdle();
  EXPECT_TRUE(recorder.succeeded);
}

TEST_F(FakeTransportTest, FailuresCarryThePlatformErrorCode) {
  transport.fail(kA, UrlError::kTimedOut, seconds(2));
  RequestRecorder recorder;
  recorder.request->requestGET(kA, false);
  loop->runFor(seconds(3));
  ASSERT_TRUE(recorder.error.has_value());
  EXPECT_EQ(recorder.error->domain, kUrlErrorDomain);
  EXPECT_EQ(recorder.error->code, UrlError::kTimedOut);
}

TEST_F(FakeTransportTest, AURLWithoutAnAnswerCannotBeReached) {
  RequestRecorder recorder;
  recorder.request->requestGET(kB, false);
  loop->runFor(seconds(1));
  ASSERT_TRUE(recorder.error.has_value());
  EXPECT_EQ(recorder.error->code, UrlError::kCannotConnectToHost);
  EXPECT_EQ(transport.requestCount(kB), 1u);
}

TEST_F(FakeTransportTest, AnswersForOneURLAreUsedInTurnAndTheLastOneStays) {
  transport.fail(kA, UrlError::kNotConnectedToInternet);
  transport.answer(kA, "second");
  std::vector<std::string> heard;
  for (int i = 0; i < 3; ++i) {
    RequestRecorder recorder;
    recorder.request->requestGET(kA, false);
    loop->runFor(seconds(1));
    heard.push_back(recorder.succeeded ? recorder.data : "failed");
  }
  EXPECT_EQ(heard, (std::vector<std::string>{"failed", "second", "second"}));
}

TEST_F(FakeTransportTest, CancelledOrDestroyedRequestsHearNothing) {
  transport.answer(kA, "x", FakeTransport::Body::kRaw, seconds(1));
  RequestRecorder cancelled;
  cancelled.request->requestGET(kA, false);
  cancelled.request->cancel();
  auto destroyed = std::make_unique<RequestRecorder>();
  destroyed->request->requestGET(kA, false);
  destroyed->request.reset();
  loop->runFor(seconds(2));
  EXPECT_TRUE(cancelled.calls.empty());
  EXPECT_TRUE(destroyed->calls.empty());
  EXPECT_EQ(transport.inFlight(), 0u);
}

TEST_F(FakeTransportTest, CompressedBodiesGoOnTheWireEncoded) {
  transport.answer(kA, "hello", FakeTransport::Body::kGzip);
  RequestRecorder recorder;
  recorder.request->requestGET(kA, false);
  loop->runFor(seconds(1));
  EXPECT_EQ(recorder.data, FakeTransport::encode("hello", FakeTransport::Body::kGzip));
  EXPECT_NE(recorder.data, "hello");
}

TEST_F(FakeTransportTest, RespondersAnswerByPathAndTheTableComesFirst) {
  transport.respond(R"(/client/page/\d+)", [](const FakeTransport::Request& request) {
    FakeTransport::Answer answer;
    answer.body = request.path() + " " + request.queryValue("q").value_or("-") + " " +
                  request.queryValue("empty").value_or("-") + " " +
                  request.queryValue("none").value_or("-");
    return answer;
  });
  transport.answer("http://directory.test/client/page/7", "from the table");
  RequestRecorder scripted;
  scripted.request->requestGET("http://directory.test/client/page/12?q=a%20b+c&empty=", false);
  RequestRecorder tabled;
  tabled.request->requestGET("http://directory.test/client/page/7", false);
  RequestRecorder unmatched;
  unmatched.request->requestGET("http://directory.test/client/page/x", false);
  loop->runFor(seconds(1));
  EXPECT_EQ(scripted.data, "/client/page/12 a b c  -");
  EXPECT_EQ(tabled.data, "from the table");
  ASSERT_TRUE(unmatched.error.has_value());
  EXPECT_EQ(unmatched.error->code, UrlError::kCannotConnectToHost);
}

TEST(FakeTransportScope, TheBackendIsBackAfterTheScope) {
  test::ScopedMainLoop loop;
  {
    FakeTransport outer;
    {
      FakeTransport inner;
      EXPECT_EQ(UrlTransfer::setFactory(&inner), &inner);
    }
    EXPECT_EQ(UrlTransfer::setFactory(&outer), &outer);
  }
  EXPECT_EQ(UrlTransfer::setFactory(nullptr), nullptr);
}

}  // namespace
}  // namespace lk
