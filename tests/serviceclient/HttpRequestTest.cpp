#include "Classes/ServiceClient/HttpRequest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "Classes/ServiceClient/ByteBuffer.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Platform/Net/NetworkActivityIndicator.h"
#include "tests/serviceclient/RequestRecorder.h"
#include "tests/support/Compression.h"
#include "tests/support/Gate.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

using test::RequestRecorder;

constexpr auto kPatience = std::chrono::seconds(10);  // real time, only spent when broken
const std::string kJson = R"({"list":[{"id":1,"name":"老王面馆"}]})";

using test::Gate;

class HttpRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mainLoop = std::make_unique<test::ScopedMainLoop>(virtualClock);
    loopForWake = &loop();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    NetworkActivityIndicator::setObserver([this](bool visible) { indicator.push_back(visible); });
    auto& s = http.server();
    s.Get("/client/json", [this](const httplib::Request& req, httplib::Response& res) {
      ++hits;
      lastQuery = req.get_param_value("tn");
      res.set_content(kJson, "application/json");
    });
    s.Get("/client/gz", [this](const httplib::Request& req, httplib::Response& res) {
      ++hits;
      {
        std::lock_guard lock(seenMutex);
        seenTarget = req.target;
      }
      res.set_content(test::gzipBytes(kJson), "application/octet-stream");
    });
    s.Get("/client/zlib", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(test::lengthPrefixedZlib(kJson), "application/octet-stream");
    });
    s.Get("/client/missing", [this](const httplib::Request&, httplib::Response& res) {
      ++hits;
      res.status = 404;
      res.set_content("not here", "text/plain");
    });
    s.Get("/client/broken", [this](const httplib::Request&, httplib::Response& res) {
      ++hits;
      res.status = 500;
      res.set_content("oops", "text/plain");
    });
    s.Get("/client/moved", [](const httplib::Request&, httplib::Response& res) {
      res.set_redirect("/client/json", 302);
    });
    s.Get("/client/big", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string(2 * 1024 * 1024, 'b'), "application/octet-stream");
    });
    s.Get("/client/endless", [](const httplib::Request&, httplib::Response& res) {
      // A compressed-looking answer that never ends and declares no length.
      res.set_chunked_content_provider("application/octet-stream",
                                       [](std::size_t, httplib::DataSink& sink) {
                                         const std::string piece(256 * 1024, '\x1f');
                                         return sink.write(piece.data(), piece.size());
                                       });
    });
    s.Get("/client/echo-query", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.get_param_value("k") + "|" + req.get_header_value("Authorization"),
                      "text/plain");
    });
    s.Post("/client/form", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.get_header_value("Content-Length") + "|" +
                          std::to_string(req.body.size()) + "|" + req.get_param_value("content") +
                          "|" + req.get_param_value("shop_id"),
                      "text/plain");
    });
    s.Get("/client/echo-header", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.get_header_value("X-Client") + "|" + req.get_param_value("k"),
                      "text/plain");
    });
    s.Post("/client/echo-post", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.get_header_value("X-Client") + "|" + req.body, "text/plain");
    });
    s.Post("/client/raw", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.body, "text/plain");
    });
    s.Get("/client/stall", [this](const httplib::Request&, httplib::Response& res) {
      arrived();
      gate.wait();
      res.set_content("late", "text/plain");
    });
    s.Post("/client/stall", [this](const httplib::Request&, httplib::Response& res) {
      arrived();
      gate.wait();
      res.set_content("late", "text/plain");
    });
    s.Post("/client/trickle", [this](const httplib::Request&, httplib::Response& res) {
      res.set_chunked_content_provider("text/plain",
                                       [this](std::size_t offset, httplib::DataSink& sink) {
                                         if (offset == 0) {
                                           sink.write("{", 1);
                                           return true;
                                         }
                                         gate.wait();
                                         sink.done();
                                         return true;
                                       });
    });
    http.start();
  }

  void TearDown() override {
    gate.open();
    http.stop();
    NetworkActivityIndicator::setObserver(nullptr);
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    mainLoop.reset();
  }

  void arrived() {
    stalled = true;
    loopForWake->post([] {});  // wakes the loop so that it sees the flag
  }

  DrivableRunLoop& loop() { return mainLoop->loop(); }
  bool runUntilEnded(RequestRecorder& r) {
    return loop().runUntil([&] { return r.ended(); }, kPatience);
  }
  std::string url(const std::string& path) { return http.url("/client" + path); }

  bool virtualClock = false;
  std::unique_ptr<test::ScopedMainLoop> mainLoop;
  RunLoop* loopForWake = nullptr;
  test::LoopbackHttpServer http;
  Gate gate;
  std::atomic<int> hits{0};
  std::atomic<bool> stalled{false};
  std::string lastQuery;
  std::mutex seenMutex;
  std::string seenTarget;
  std::vector<bool> indicator;
};

TEST_F(HttpRequestTest, GetSucceedsWithStatusHeadersAndBytes) {
  RequestRecorder r;
  r.request->requestGET(url("/json"));
  EXPECT_EQ(HttpRequest::networkActivityCount(), 1);
  EXPECT_TRUE(NetworkActivityIndicator::isVisible());
  ASSERT_TRUE(runUntilEnded(r));
  EXPECT_EQ(r.calls.back(), "succeeded");
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.data, kJson);
  EXPECT_EQ(r.request->headerFields().at("Content-Type"), "application/json");
  EXPECT_EQ(r.request->tag(), 7);
  EXPECT_EQ(r.request->urlConnection(), nullptr);
  EXPECT_EQ(HttpRequest::networkActivityCount(), 0);
  EXPECT_FALSE(NetworkActivityIndicator::isVisible());
  EXPECT_EQ(r.percents.back(), 1.0f);
}

TEST_F(HttpRequestTest, ErrorStatusesArriveThroughSucceededAndAreNotCached) {
  for (const char* path : {"/missing", "/broken"}) {
    RequestRecorder first;
    first.request->requestGET(url(path), true);
    ASSERT_TRUE(runUntilEnded(first));
    EXPECT_TRUE(first.succeeded);
    EXPECT_EQ(first.status, std::string(path) == "/missing" ? 404 : 500);

    // An error page must not come back later as a success with status 200.
    RequestRecorder second;
    second.request->requestGET(url(path), true);
    EXPECT_FALSE(second.ended()) << path << " was answered from the cache";
    ASSERT_TRUE(runUntilEnded(second));
    EXPECT_NE(second.status, 200);
  }
  EXPECT_EQ(hits, 4);
  EXPECT_TRUE(HttpRequestCacheCenter::sharedInstance().dataDictionary().empty());
}

TEST_F(HttpRequestTest, CachedAnswerIsServedBeforeTheStartCallReturns) {
  RequestRecorder first;
  first.request->requestGETWithGZip(url("/gz"));
  ASSERT_TRUE(runUntilEnded(first));
  ASSERT_EQ(first.status, 200);
  indicator.clear();

  const auto transfersBefore = UrlTransfer::startedCount();
  RequestRecorder second;
  second.request->requestGETWithGZip(url("/gz"));
  ASSERT_TRUE(second.succeeded) << "not answered synchronously";
  EXPECT_EQ(second.status, 200);
  EXPECT_EQ(second.data, first.data) << "the raw, still compressed bytes";
  EXPECT_EQ(decompressGZip(second.data), kJson);
  EXPECT_FALSE(second.request->URLRequest());
  EXPECT_EQ(UrlTransfer::startedCount(), transfersBefore);
  EXPECT_TRUE(indicator.empty()) << "the activity indicator flickered";
  EXPECT_EQ(hits, 1);

  // A GET without caching is still answered from what an earlier request stored.
  RequestRecorder plain;
  plain.request->requestGET(url("/gz?tn=gz"));
  EXPECT_TRUE(plain.succeeded);
  EXPECT_EQ(hits, 1);
}

TEST_F(HttpRequestTest, EnteringTheBackgroundSendsEveryGetToTheNetworkAgain) {
  RequestRecorder first;
  first.request->requestGETWithGZip(url("/gz"));
  ASSERT_TRUE(runUntilEnded(first));
  HttpRequestCacheCenter::sharedInstance().distoryCacheData();
  RequestRecorder second;
  second.request->requestGETWithGZip(url("/gz"));
  EXPECT_FALSE(second.ended());
  ASSERT_TRUE(runUntilEnded(second));
  EXPECT_EQ(hits, 2);
}

TEST_F(HttpRequestTest, CompressionParameterJoinsAnExistingQueryOrStartsOne) {
  RequestRecorder bare;
  bare.request->requestGETWithGZip(url("/gz"));
  ASSERT_TRUE(runUntilEnded(bare));
  {
    std::lock_guard lock(seenMutex);
    EXPECT_EQ(seenTarget, "/client/gz?tn=gz");
  }
  RequestRecorder withQuery;
  withQuery.request->requestGETWithGZip(url("/gz?p=0&n=15"));
  ASSERT_TRUE(runUntilEnded(withQuery));
  {
    std::lock_guard lock(seenMutex);
    EXPECT_EQ(seenTarget, "/client/gz?p=0&n=15&tn=gz");
  }
  EXPECT_TRUE(HttpRequestCacheCenter::sharedInstance().dataForURL(url("/gz?p=0&n=15&tn=gz")));
}

TEST_F(HttpRequestTest, BothCompressedFormatsDecodeToTheJson) {
  RequestRecorder gz;
  gz.request->requestGETWithGZip(url("/gz"));
  RequestRecorder zl;
  zl.request->requestGETWithGZip(url("/zlib"));
  ASSERT_TRUE(runUntilEnded(gz));
  ASSERT_TRUE(runUntilEnded(zl));
  EXPECT_EQ(decompressGZip(gz.data), kJson);
  EXPECT_EQ(decompressGZip(zl.data), kJson);
}

TEST_F(HttpRequestTest, RedirectIsToldAndTheFinalAnswerDelivered) {
  RequestRecorder r;
  r.request->requestGET(url("/moved"), true);
  ASSERT_TRUE(runUntilEnded(r));
  EXPECT_EQ(r.redirectedTo, std::vector<std::string>{url("/json")});
  EXPECT_EQ(r.data, kJson);
  EXPECT_TRUE(HttpRequestCacheCenter::sharedInstance().dataForURL(url("/moved")))
      << "stored under the URL that was asked for";
}

TEST_F(HttpRequestTest, ProgressIsBytesSoFarOverContentLength) {
  RequestRecorder r;
  r.request->requestGET(url("/big"));
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_GE(r.percents.size(), 2u);
  for (std::size_t i = 1; i < r.percents.size(); ++i)
    EXPECT_GT(r.percents[i], r.percents[i - 1]);
  EXPECT_EQ(r.percents.back(), 1.0f);
}

TEST_F(HttpRequestTest, UserTextWithFormCharactersReachesTheServiceIntact) {
  for (const std::string text : {"A&B", "C#", "1+1=2%", "老 王"}) {
    RequestRecorder r;
    r.request->requestGET(url("/echo-query"), HttpParameters{{"k", text}});
    ASSERT_TRUE(runUntilEnded(r));
    EXPECT_EQ(r.data, text + "|") << text;
  }
}

TEST_F(HttpRequestTest, PostFormWithChineseTextCarriesItsEncodedByteCount) {
  RequestRecorder r;
  const std::string content = "好吃 & 便宜 #1";
  r.request->requestPOST(url("/form"), HttpParameters{{"shop_id", 42}, {"content", content}});
  ASSERT_TRUE(runUntilEnded(r));
  const std::string body =
      *HttpRequest::makeParamtersString({{"shop_id", 42}, {"content", content}});
  EXPECT_EQ(r.data, std::to_string(body.size()) + "|" + std::to_string(body.size()) + "|" +
                        content + "|42");
  EXPECT_EQ(r.request->URLRequest()->valueForHeaderField("Content-Type"),
            "application/x-www-form-urlencoded");
}

TEST_F(HttpRequestTest, PostBodyStringGoesOutUnchangedWithItsUtf8Length) {
  RequestRecorder r;
  const std::string body = "content=中文&img=ab+/=\ncd";
  r.request->requestPOSTBody(url("/raw"), body);
  ASSERT_TRUE(runUntilEnded(r));
  EXPECT_EQ(r.data, body);
  EXPECT_EQ(r.request->URLRequest()->valueForHeaderField("Content-Length"),
            std::to_string(body.size()));
}

TEST_F(HttpRequestTest, ExtraHeaderFieldsGoOutWithGetAndPost) {
  RequestRecorder get;
  get.request->requestGET(url("/echo-header"), HttpParameters{{"k", "v w"}},
                          HttpRequest::HeaderFields{{"X-Client", "lokavo"}});
  ASSERT_TRUE(runUntilEnded(get));
  EXPECT_EQ(get.data, "lokavo|v w");

  // This POST escapes its body once more like a URL; a form-escaped body has nothing left to
  // escape, so it goes out unchanged. It never arms the watchdog but is counted while it runs.
  RequestRecorder post;
  post.request = std::make_unique<HttpRequest>();
  post.request->setDelegate(&post);
  post.request->requestPOST(url("/echo-post"), HttpParameters{{"k", "A&B 中"}},
                            HttpRequest::HeaderFields{{"X-Client", "lokavo"}});
  EXPECT_FALSE(post.request->timeoutTimer().isActive());
  EXPECT_EQ(HttpRequest::networkActivityCount(), 1);
  ASSERT_TRUE(runUntilEnded(post));
  EXPECT_EQ(post.data, "lokavo|k=A%26B+%E4%B8%AD");
  EXPECT_EQ(HttpRequest::networkActivityCount(), 0);
}

TEST_F(HttpRequestTest, AuthorisedGetSendsBasicHeaderAndSkipsTheCache) {
  HttpRequestCacheCenter::sharedInstance().cacheData(std::string("stale"), url("/echo-query?k=x"));
  RequestRecorder r;
  r.request->requestGET(url("/echo-query"), HttpParameters{{"k", "x"}}, "user", "pw");
  ASSERT_TRUE(runUntilEnded(r));
  EXPECT_EQ(r.data, "x|Basic dXNlcjpwdw==");
}

TEST_F(HttpRequestTest, DebugLinesNeverCarrySecrets) {
  test::LogCapture log;
  RequestRecorder get;
  get.request->requestGET(url("/echo-query?ssid=S3CR3T&k=1"));
  RequestRecorder post;
  post.request->requestPOST(
      url("/raw"),
      HttpParameters{
          {"login_loginname", "bob"}, {"login_loginpass", "hunter2"}, {"ssid", "S3CR3T"}},
      "bob", "pa55");
  ASSERT_TRUE(runUntilEnded(get));
  ASSERT_TRUE(runUntilEnded(post));
  for (const auto& line : log.lines()) {
    EXPECT_EQ(line.find("S3CR3T"), std::string::npos) << line;
    EXPECT_EQ(line.find("hunter2"), std::string::npos) << line;
    EXPECT_EQ(line.find("pa55"), std::string::npos) << line;
  }
  EXPECT_TRUE(log.contains("GET: " + url("/echo-query?ssid=***&k=1")));
  EXPECT_TRUE(
      log.contains("POST: " + url("/raw") +
                   " BODY: login_loginname=bob&login_loginpass=***&ssid=*** AUTH: bob|***"));
}

TEST_F(HttpRequestTest, TypedLoginAndActivationFieldsStayOutOfDebugLines) {
  test::LogCapture log;
  RequestRecorder post;
  post.request->requestPOST(url("/raw"), HttpParameters{{"login_username", "alice"},
                                                        {"login_verifycode", "7391"},
                                                        {"nickName", "小吃货"},
                                                        {"xda_from", "iPhone"}});
  ASSERT_TRUE(runUntilEnded(post));
  EXPECT_TRUE(
      log.contains("BODY: login_username=***&login_verifycode=***&nickName=***"
                   "&xda_from=iPhone AUTH:"));
  for (const auto& line : log.lines()) {
    EXPECT_EQ(line.find("alice"), std::string::npos) << line;
    EXPECT_EQ(line.find("7391"), std::string::npos) << line;
    EXPECT_EQ(line.find("%E5%B0%8F"), std::string::npos) << line;
  }
}

TEST_F(HttpRequestTest, TransportFailuresArriveWithTheirCodes) {
  RequestRecorder refused;
  refused.request->requestGET("http://127.0.0.1:" + std::to_string(test::unusedLoopbackPort()) +
                              "/client/x");
  RequestRecorder unknown;
  unknown.request->requestGET("http://lokavo.invalid/client/x");
  EXPECT_EQ(HttpRequest::networkActivityCount(), 2);
  ASSERT_TRUE(runUntilEnded(refused));
  ASSERT_TRUE(runUntilEnded(unknown));
  ASSERT_TRUE(refused.error);
  EXPECT_EQ(refused.error->code, -1004);
  ASSERT_TRUE(unknown.error);
  EXPECT_EQ(unknown.error->code, -1003);
  EXPECT_EQ(HttpRequest::networkActivityCount(), 0);
  EXPECT_FALSE(NetworkActivityIndicator::isVisible());
}

TEST_F(HttpRequestTest, AnswerFarLongerThanAnyRealOneFailsAsItArrives) {
  RequestRecorder r;
  r.request->requestGETWithGZip(url("/endless"));
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->code, UrlError::kDataLengthExceedsMaximum);
  EXPECT_LE(r.request->recievedData().size(), UrlRequest::kDefaultMaximumBodyLength);
  EXPECT_EQ(HttpRequest::networkActivityCount(), 0);
  EXPECT_FALSE(HttpRequestCacheCenter::sharedInstance().dataForURL(
      HttpRequest::makeRequest(url("/endless?tn=gz")).url));
}

TEST_F(HttpRequestTest, CancelledRequestIsSilentAndTheCounterNeverGoesNegative) {
  RequestRecorder fast;
  RequestRecorder slow;
  fast.request->requestGET(url("/json"));
  slow.request->requestGET(url("/stall"));
  EXPECT_EQ(HttpRequest::networkActivityCount(), 2);
  ASSERT_TRUE(runUntilEnded(fast));
  EXPECT_EQ(HttpRequest::networkActivityCount(), 1);

  fast.request->cancel();  // after completion: must not take the slow request's unit
  fast.request->cancel();
  EXPECT_EQ(HttpRequest::networkActivityCount(), 1);
  EXPECT_TRUE(NetworkActivityIndicator::isVisible());

  slow.request->cancel();
  EXPECT_EQ(HttpRequest::networkActivityCount(), 0);
  EXPECT_FALSE(NetworkActivityIndicator::isVisible());
  slow.request->cancel();
  EXPECT_EQ(HttpRequest::networkActivityCount(), 0);
  gate.open();
  loop().runUntil([] { return false; }, std::chrono::milliseconds(150));
  EXPECT_TRUE(slow.calls.empty());

  HttpRequest::setNetworkActivityIndicator(-1);
  EXPECT_EQ(HttpRequest::networkActivityCount(), 0);
}

TEST_F(HttpRequestTest, DestroyingARunningRequestCancelsIt) {
  RequestRecorder r;
  r.request->requestGET(url("/stall"));
  ASSERT_TRUE(loop().runUntil([&] { return stalled.load(); }, kPatience));
  r.request.reset();
  EXPECT_EQ(HttpRequest::networkActivityCount(), 0);
  gate.open();
  loop().runUntil([] { return false; }, std::chrono::milliseconds(150));
  EXPECT_TRUE(r.calls.empty());
}

// Owners release their request inside its callbacks; ASan checks that nothing touches it after.
TEST_F(HttpRequestTest, ReleasingTheRequestInsideEachCallback) {
  struct Case {
    std::string path;
    std::string at;
  };
  for (const Case& c : {Case{"/json", "succeeded"}, Case{"/big", "percent"},
                        Case{"/moved", "redirect"}, Case{"/missing", "succeeded"}}) {
    RequestRecorder r;
    r.onCallback = [&](const std::string& which) {
      if (which == c.at) r.request.reset();
    };
    r.request->requestGET(url(c.path), true);
    ASSERT_TRUE(loop().runUntil([&] { return r.request == nullptr; }, kPatience)) << c.at;
    const auto seen = r.calls.size();
    loop().runUntil([] { return false; }, std::chrono::milliseconds(50));
    EXPECT_EQ(r.calls.size(), seen) << c.at;
    EXPECT_EQ(HttpRequest::networkActivityCount(), 0) << c.at;
  }

  RequestRecorder failing;
  failing.onCallback = [&](const std::string&) { failing.request.reset(); };
  failing.request->requestGET("http://lokavo.invalid/client/x");
  ASSERT_TRUE(loop().runUntil([&] { return failing.request == nullptr; }, kPatience));
  EXPECT_EQ(failing.calls, std::vector<std::string>{"failed"});

  // The cache-hit path calls back inside the start call itself.
  ASSERT_TRUE(HttpRequestCacheCenter::sharedInstance().dataForURL(url("/json")));
  RequestRecorder hit;
  hit.onCallback = [&](const std::string&) { hit.request.reset(); };
  hit.request->requestGET(url("/json"), true);
  EXPECT_EQ(hit.request, nullptr);
  EXPECT_EQ(hit.calls, std::vector<std::string>{"succeeded"});
}

class HttpRequestVirtualClockTest : public HttpRequestTest {
 protected:
  HttpRequestVirtualClockTest() { virtualClock = true; }
};

TEST_F(HttpRequestVirtualClockTest, SilentServiceFailsAfterTwentySecondsWithMinus1001) {
  RequestRecorder r;
  r.request->requestGET(url("/stall"));
  ASSERT_TRUE(loop().runUntil([&] { return stalled.load(); }, kPatience));
  loop().runFor(seconds(19));
  EXPECT_FALSE(r.ended());
  loop().runFor(seconds(1.5));
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->code, -1001);
  EXPECT_EQ(r.error->domain, kUrlErrorDomain);
  EXPECT_EQ(HttpRequest::networkActivityCount(), 0);
}

TEST_F(HttpRequestVirtualClockTest, WatchdogFailsAPostWithoutAnswerAfter45Seconds) {
  auto request = std::make_unique<HttpRequest>();
  RequestRecorder r;
  r.request = std::move(request);
  r.request->setDelegate(&r);
  ASSERT_TRUE(r.request->usingTimeout());
  r.request->setTransferTimeoutInterval(seconds(120));  // let the watchdog speak first
  r.request->requestPOST(url("/stall"), HttpParameters{{"a", 1}});
  EXPECT_TRUE(r.request->timeoutTimer().isActive());
  ASSERT_TRUE(loop().runUntil([&] { return stalled.load(); }, kPatience));
  loop().runFor(seconds(44));
  EXPECT_FALSE(r.ended());
  loop().runFor(seconds(2));
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->domain, "errorTimeOut");
  EXPECT_EQ(r.error->code, -1001);
  EXPECT_FALSE(r.request->timeoutTimer().isActive());
  EXPECT_EQ(HttpRequest::networkActivityCount(), 0);
}

TEST_F(HttpRequestVirtualClockTest, WatchdogKeepsWaitingOnceDataArrived) {
  RequestRecorder r;
  r.request = std::make_unique<HttpRequest>();
  r.request->setDelegate(&r);
  r.request->setTransferTimeoutInterval(seconds(300));
  r.request->requestPOST(url("/trickle"), HttpParameters{{"a", 1}});
  ASSERT_TRUE(loop().runUntil([&] { return !r.request->recievedData().empty(); }, kPatience));
  loop().runFor(seconds(100));
  EXPECT_FALSE(r.ended());
  EXPECT_TRUE(r.request->timeoutTimer().isActive());
  gate.open();
  ASSERT_TRUE(runUntilEnded(r));
  EXPECT_TRUE(r.succeeded);
  EXPECT_EQ(r.data, "{");
}

TEST_F(HttpRequestVirtualClockTest, AnAnswerThatKeepsDrippingEndsAtTheDeadlineWithMinus1001) {
  RequestRecorder r;
  r.request = std::make_unique<HttpRequest>();
  r.request->setDelegate(&r);
  r.request->setTransferTimeoutInterval(seconds(300));  // silence alone would never end it
  r.request->requestPOST(url("/trickle"), HttpParameters{{"a", 1}});
  ASSERT_TRUE(loop().runUntil([&] { return !r.request->recievedData().empty(); }, kPatience));
  loop().runFor(seconds(110));
  EXPECT_FALSE(r.ended()) << "the watchdog re-arms while data has arrived";
  loop().runFor(seconds(11));
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->domain, kUrlErrorDomain);
  EXPECT_EQ(r.error->code, -1001);
  EXPECT_FALSE(r.request->timeoutTimer().isActive());
  EXPECT_EQ(HttpRequest::networkActivityCount(), 0);
}

TEST_F(HttpRequestVirtualClockTest, TheSystemsConstructorLeavesTheWatchdogOff) {
  RequestRecorder r;
  EXPECT_FALSE(r.request->usingTimeout());
  r.request->setTransferTimeoutInterval(seconds(120));
  r.request->requestPOST(url("/stall"), HttpParameters{{"a", 1}});
  EXPECT_FALSE(r.request->timeoutTimer().isActive());
  ASSERT_TRUE(loop().runUntil([&] { return stalled.load(); }, kPatience));
  loop().runFor(seconds(100));
  EXPECT_FALSE(r.ended());
}

TEST_F(HttpRequestVirtualClockTest, ReleasingTheRequestWhenTheWatchdogFails) {
  RequestRecorder r;
  r.request = std::make_unique<HttpRequest>();
  r.request->setDelegate(&r);
  r.request->setTransferTimeoutInterval(seconds(120));
  r.onCallback = [&](const std::string&) { r.request.reset(); };
  r.request->requestPOST(url("/stall"), HttpParameters{{"a", 1}});
  ASSERT_TRUE(loop().runUntil([&] { return stalled.load(); }, kPatience));
  loop().runFor(seconds(46));
  EXPECT_EQ(r.request, nullptr);
  EXPECT_EQ(r.calls, std::vector<std::string>{"failed"});
  EXPECT_EQ(HttpRequest::networkActivityCount(), 0);
}

}  // namespace
}  // namespace lk
