#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

#include "Platform/Net/UrlTransfer.h"
#include "tests/net/TransferRecorder.h"
#include "tests/support/Gate.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/RawSocketServer.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

using test::TransferRecorder;

constexpr auto kPatience = std::chrono::seconds(10);  // real time, only spent when broken

using test::Gate;

// Lets a server handler write one byte each time the test asks for it.
class Dripper {
 public:
  void release() {
    std::lock_guard lock(mutex_);
    ++allowed_;
    changed_.notify_all();
  }
  void stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }
  // False once stopped.
  bool waitForNext() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stopped_ || allowed_ > 0; });
    if (stopped_) return false;
    --allowed_;
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int allowed_ = 0;
  bool stopped_ = false;
};

class UrlTransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mainLoop = std::make_unique<test::ScopedMainLoop>(virtualClock);
    auto& s = http.server();
    s.Get("/hello", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("X-Greeting", "salut");
      res.set_content("hi there", "text/plain");
    });
    s.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
      res.status = 404;
      res.set_content("no such page", "text/plain");
    });
    s.Get("/big", [](const httplib::Request&, httplib::Response& res) {
      std::string body(3 * 1024 * 1024, 'x');
      for (std::size_t i = 0; i < body.size(); i += 997)
        body[i] = static_cast<char>('a' + (i % 26));
      res.set_content(body, "application/octet-stream");
    });
    s.Get("/old",
          [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/hello", 302); });
    s.Post("/see-other", [](const httplib::Request&, httplib::Response& res) {
      res.set_redirect("/echo-method", 303);
    });
    s.Get("/loop",
          [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/loop", 302); });
    s.Get("/port", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(std::to_string(req.remote_port), "text/plain");
    });
    s.Get("/huge", [](const httplib::Request&, httplib::Response& res) {
      // No declared length: the client only learns the size as the body arrives.
      res.set_chunked_content_provider("application/octet-stream",
                                       [](std::size_t offset, httplib::DataSink& sink) {
                                         if (offset >= 8 * 1024 * 1024) {
                                           sink.done();
                                           return true;
                                         }
                                         const std::string piece(64 * 1024, 'h');
                                         sink.write(piece.data(), piece.size());
                                         return true;
                                       });
    });
    s.Get("/drip", [this](const httplib::Request&, httplib::Response& res) {
      res.set_chunked_content_provider("text/plain", [this](std::size_t, httplib::DataSink& sink) {
        if (!drip.waitForNext()) return false;
        sink.write("d", 1);
        return true;
      });
    });
    s.Get("/echo-method", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.method, "text/plain");
    });
    s.Post("/echo", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.get_header_value("Content-Type") + "|" +
                          req.get_header_value("Content-Length") + "|" + req.body,
                      "text/plain");
    });
    s.Get("/away", [](const httplib::Request& req, httplib::Response& res) {
      res.set_redirect(req.get_param_value("to"), 302);
    });
    s.Get("/auth", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content("auth=" + req.get_header_value("Authorization"), "text/plain");
    });
    s.Get("/home",
          [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/auth", 302); });
    s.Get("/echo-headers", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content("note=" + req.get_header_value("X-Note") +
                          ";injected=" + req.get_header_value("X-Injected"),
                      "text/plain");
    });
    s.Get("/set-cookie", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("Set-Cookie", "session=abc; Path=/");
      res.set_content("ok", "text/plain");
    });
    s.Get("/echo-cookie", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content("cookie:" + req.get_header_value("Cookie"), "text/plain");
    });
    s.Get("/stall", [this, mainLoop = &loop()](const httplib::Request&, httplib::Response& res) {
      stalled = true;
      mainLoop->post([] {});  // wakes the loop so that it sees the flag
      gate.wait();
      res.set_content("late", "text/plain");
    });
    s.Get("/stall-after-first-byte", [this](const httplib::Request&, httplib::Response& res) {
      res.set_chunked_content_provider("text/plain",
                                       [this](std::size_t offset, httplib::DataSink& sink) {
                                         if (offset == 0) {
                                           sink.write("a", 1);
                                           return true;
                                         }
                                         gate.wait();
                                         sink.done();
                                         return true;
                                       });
    });
    s.Get("/dribble", [](const httplib::Request&, httplib::Response& res) {
      res.set_chunked_content_provider("text/plain",
                                       [](std::size_t offset, httplib::DataSink& sink) {
                                         if (offset >= 8) {
                                           sink.done();
                                           return true;
                                         }
                                         std::this_thread::sleep_for(std::chrono::milliseconds(60));
                                         sink.write("z", 1);
                                         return true;
                                       });
    });
    http.start();
  }

  void TearDown() override {
    gate.open();
    drip.stop();
    http.stop();
    mainLoop.reset();
  }

  bool runUntilEnded(TransferRecorder& r) {
    return loop().runUntil([&] { return r.ended(); }, kPatience);
  }

  DrivableRunLoop& loop() { return mainLoop->loop(); }

  bool virtualClock = false;
  std::unique_ptr<test::ScopedMainLoop> mainLoop;
  test::LoopbackHttpServer http;
  Gate gate;
  std::atomic<bool> stalled{false};
  Dripper drip;
};

TEST_F(UrlTransferTest, GetDeliversHeadThenBodyThenFinish) {
  TransferRecorder r;
  r.start(http.url("/hello"));
  EXPECT_TRUE(r.calls.empty()) << "nothing is called before the loop runs";
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_TRUE(r.finished);
  ASSERT_TRUE(r.response);
  EXPECT_EQ(r.response->statusCode, 200);
  EXPECT_EQ(r.response->valueForHeaderField("x-greeting"), "salut");
  EXPECT_EQ(r.response->expectedContentLength(), 8);
  EXPECT_EQ(r.body, "hi there");
  EXPECT_EQ(r.calls.front(), "response");
  EXPECT_EQ(r.calls.back(), "finish");
}

TEST_F(UrlTransferTest, ErrorStatusIsAnAnswerNotAFailure) {
  TransferRecorder r;
  r.start(http.url("/missing"));
  ASSERT_TRUE(runUntilEnded(r));
  EXPECT_TRUE(r.finished);
  EXPECT_EQ(r.response->statusCode, 404);
  EXPECT_EQ(r.body, "no such page");
}

TEST_F(UrlTransferTest, LargeBodyArrivesIntactInSeveralPieces) {
  TransferRecorder r;
  r.start(http.url("/big"));
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_TRUE(r.finished);
  ASSERT_EQ(r.body.size(), 3u * 1024 * 1024);
  for (std::size_t i = 0; i < r.body.size(); i += 997)
    ASSERT_EQ(r.body[i], static_cast<char>('a' + (i % 26))) << i;
  EXPECT_GT(r.chunks, 1);
}

TEST_F(UrlTransferTest, RedirectIsToldThenFollowed) {
  TransferRecorder r;
  r.start(http.url("/old"));
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_TRUE(r.finished);
  ASSERT_EQ(r.redirects.size(), 1u);
  EXPECT_EQ(r.redirects[0].url, http.url("/hello"));
  EXPECT_EQ(r.redirectResponses[0].statusCode, 302);
  EXPECT_EQ(r.response->statusCode, 200);
  EXPECT_EQ(r.body, "hi there") << "the redirect's own body is not delivered";
  EXPECT_EQ(r.transfer->originalRequest().url, http.url("/old"));
  EXPECT_EQ(r.transfer->currentRequest().url, http.url("/hello"));
  EXPECT_EQ(r.calls.front(), "redirect");
}

TEST_F(UrlTransferTest, CredentialsFollowARedirectOnlyToTheSameOrigin) {
  test::LoopbackHttpServer other;
  other.server().Get("/auth", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content("auth=" + req.get_header_value("Authorization"), "text/plain");
  });
  other.start();
  for (const std::string& path :
       std::vector<std::string>{"/home", "/away?to=" + other.url("/auth")}) {
    TransferRecorder r;
    UrlRequest request;
    request.url = http.url(path);
    request.setValueForHeaderField("Basic dTpw", "Authorization");
    r.start(request);
    ASSERT_TRUE(runUntilEnded(r));
    EXPECT_EQ(r.body, path == "/home" ? "auth=Basic dTpw" : "auth=") << path;
  }
}

TEST_F(UrlTransferTest, PostAnsweredWithSeeOtherContinuesAsGet) {
  TransferRecorder r;
  UrlRequest request;
  request.url = http.url("/see-other");
  request.httpMethod = "POST";
  request.body = "a=1";
  r.start(request);
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_TRUE(r.finished);
  ASSERT_EQ(r.redirects.size(), 1u);
  EXPECT_EQ(r.redirects[0].httpMethod, "GET");
  EXPECT_FALSE(r.redirects[0].body);
  EXPECT_EQ(r.body, "GET");
}

TEST_F(UrlTransferTest, EndlessRedirectsFailInsteadOfLooping) {
  TransferRecorder r;
  r.start(http.url("/loop"));
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->code, UrlError::kHTTPTooManyRedirects);
}

TEST_F(UrlTransferTest, PostSendsBodyAndHeaderFieldsAsGiven) {
  TransferRecorder r;
  UrlRequest request;
  request.url = http.url("/echo");
  request.httpMethod = "POST";
  request.body = "k=%E4%B8%AD&x=1";
  request.setValueForHeaderField("application/x-www-form-urlencoded", "Content-Type");
  request.setValueForHeaderField("15", "Content-Length");
  r.start(request);
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.body, "application/x-www-form-urlencoded|15|k=%E4%B8%AD&x=1");
}

TEST_F(UrlTransferTest, HeaderValuesCannotSmuggleInAnotherField) {
  TransferRecorder r;
  UrlRequest request;
  request.url = http.url("/echo-headers");
  request.setValueForHeaderField("a\r\nX-Injected: 1", "X-Note");
  r.start(request);
  ASSERT_TRUE(runUntilEnded(r));
  EXPECT_EQ(r.body, "note=a  X-Injected: 1;injected=");
}

TEST_F(UrlTransferTest, CookiesAreNeitherStoredNorSent) {
  TransferRecorder first;
  first.start(http.url("/set-cookie"));
  ASSERT_TRUE(runUntilEnded(first));
  TransferRecorder second;
  second.start(http.url("/echo-cookie"));
  ASSERT_TRUE(runUntilEnded(second));
  EXPECT_EQ(second.body, "cookie:");
}

TEST_F(UrlTransferTest, ManyTransfersAtOnceAllComplete) {
  std::vector<std::unique_ptr<TransferRecorder>> all;
  // Fewer than the server's worker threads: each keeps its connection open for a while.
  for (int i = 0; i < 6; ++i) {
    all.push_back(std::make_unique<TransferRecorder>());
    all.back()->start(http.url(i % 2 == 0 ? "/hello" : "/missing"));
  }
  ASSERT_TRUE(loop().runUntil(
      [&] {
        for (auto& r : all)
          if (!r->ended()) return false;
        return true;
      },
      kPatience));
  for (int i = 0; i < 6; ++i) {
    EXPECT_TRUE(all[i]->finished);
    EXPECT_EQ(all[i]->response->statusCode, i % 2 == 0 ? 200 : 404);
  }
}

TEST_F(UrlTransferTest, StartedCountCountsEveryStart) {
  const auto before = UrlTransfer::startedCount();
  TransferRecorder r;
  r.start(http.url("/hello"));
  EXPECT_EQ(UrlTransfer::startedCount(), before + 1);
  ASSERT_TRUE(runUntilEnded(r));
}

TEST_F(UrlTransferTest, CancelledTransferNeverCallsBack) {
  TransferRecorder r;
  r.start(http.url("/hello"));
  r.transfer->cancel();
  r.transfer->cancel();  // twice is harmless
  loop().runUntil([] { return false; }, std::chrono::milliseconds(200));
  EXPECT_TRUE(r.calls.empty());
}

TEST_F(UrlTransferTest, CancelWhileTheServerIsStillThinking) {
  TransferRecorder r;
  r.start(http.url("/stall"));
  ASSERT_TRUE(loop().runUntil([&] { return stalled.load(); }, kPatience));
  r.transfer.reset();
  gate.open();
  loop().runUntil([] { return false; }, std::chrono::milliseconds(200));
  EXPECT_TRUE(r.calls.empty());
}

// The owner may destroy its transfer inside any callback; nothing may follow, and ASan checks
// that the transport does not touch the freed transfer.
TEST_F(UrlTransferTest, DestroyingTheTransferInsideEachCallbackEndsIt) {
  struct Case {
    const char* path;
    const char* at;
  };
  for (const Case c : {Case{"/hello", "response"}, Case{"/big", "data"}, Case{"/old", "redirect"},
                       Case{"/hello", "finish"}}) {
    TransferRecorder r;
    r.onCallback = [&](const std::string& which) {
      if (which == c.at) r.transfer.reset();
    };
    r.start(http.url(c.path));
    ASSERT_TRUE(loop().runUntil([&] { return r.transfer == nullptr; }, kPatience)) << c.at;
    const auto seen = r.calls.size();
    loop().runUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(r.calls.size(), seen) << "callbacks after destruction at " << c.at;
    EXPECT_EQ(r.calls.back(), c.at);
  }
  TransferRecorder failing;
  failing.onCallback = [&](const std::string&) { failing.transfer.reset(); };
  failing.start(http.url("/").replace(0, 7, "http://no-such-host.invalid"));
  ASSERT_TRUE(loop().runUntil([&] { return failing.transfer == nullptr; }, kPatience));
  EXPECT_EQ(failing.calls, std::vector<std::string>{"fail"});
}

TEST_F(UrlTransferTest, ANewTransferMayStartInsideACallback) {
  TransferRecorder second;
  TransferRecorder first;
  first.onCallback = [&](const std::string& which) {
    if (which == "finish") {
      first.transfer.reset();
      second.start(http.url("/missing"));
    }
  };
  first.start(http.url("/hello"));
  ASSERT_TRUE(runUntilEnded(second));
  EXPECT_TRUE(first.finished);
  EXPECT_EQ(second.response->statusCode, 404);
}

TEST_F(UrlTransferTest, RefusedConnectionFailsWithCannotConnect) {
  TransferRecorder r;
  r.start("http://127.0.0.1:" + std::to_string(test::unusedLoopbackPort()) + "/x");
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->domain, kUrlErrorDomain);
  EXPECT_EQ(r.error->code, UrlError::kCannotConnectToHost);
}

TEST_F(UrlTransferTest, UnknownHostFailsWithCannotFindHost) {
  TransferRecorder r;
  r.start("http://lokavo-test.invalid/client/x");
  EXPECT_TRUE(r.calls.empty()) << "failures are reported later, never inside start";
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->code, UrlError::kCannotFindHost);
}

TEST_F(UrlTransferTest, MalformedUrlFailsLater) {
  TransferRecorder r;
  r.start("not a url at all");
  EXPECT_TRUE(r.calls.empty());
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->code, UrlError::kBadURL);
}

TEST_F(UrlTransferTest, ConnectionClosedMidAnswerIsConnectionLost) {
  test::RawSocketServer raw("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly a part");
  TransferRecorder r;
  r.start(raw.url("/x"));
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->code, UrlError::kNetworkConnectionLost);
  EXPECT_EQ(r.body, "only a part");
}

TEST_F(UrlTransferTest, TransferThatKeepsMovingIsNotCutByTheTimeOut) {
  TransferRecorder r;
  UrlRequest request;
  request.url = http.url("/dribble");
  request.timeoutInterval = seconds(0.25);  // the whole answer takes about 0.5 s
  r.start(request);
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_TRUE(r.finished) << (r.error ? r.error->description : "");
  EXPECT_EQ(r.body, "zzzzzzzz");
}

TEST_F(UrlTransferTest, UploadThatKeepsLeavingTheMachineIsNotCutByTheTimeOut) {
  const std::string body(1024 * 1024, 'u');
  // About a second to read it all, far longer than the time-out below.
  test::RawSocketServer slow("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok",
                             {body.size(), 1024, std::chrono::milliseconds(1)});
  TransferRecorder r;
  UrlRequest request;
  request.url = slow.url("/upload");
  request.httpMethod = "POST";
  request.body = body;
  request.timeoutInterval = seconds(0.3);
  r.start(request);
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_TRUE(r.finished) << r.error->description;
  EXPECT_EQ(r.body, "ok");
}

TEST_F(UrlTransferTest, BodyPastTheMaximumIsRefusedAsItArrives) {
  TransferRecorder r;
  UrlRequest request;
  request.url = http.url("/huge");
  request.maximumBodyLength = 256 * 1024;
  r.start(request);
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->code, UrlError::kDataLengthExceedsMaximum);
  EXPECT_LE(r.body.size(), request.maximumBodyLength) << "nothing past the maximum is handed on";
}

TEST_F(UrlTransferTest, DeclaredLengthPastTheMaximumIsRefusedBeforeTheBody) {
  TransferRecorder r;
  UrlRequest request;
  request.url = http.url("/big");  // 3 MiB with a Content-Length
  request.maximumBodyLength = 1024 * 1024;
  r.start(request);
  ASSERT_TRUE(runUntilEnded(r));
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->code, UrlError::kDataLengthExceedsMaximum);
  EXPECT_TRUE(r.body.empty());
}

TEST_F(UrlTransferTest, BodyOfExactlyTheMaximumArrives) {
  TransferRecorder r;
  UrlRequest request;
  request.url = http.url("/hello");
  request.maximumBodyLength = 8;
  r.start(request);
  ASSERT_TRUE(runUntilEnded(r));
  EXPECT_TRUE(r.finished);
  EXPECT_EQ(r.body, "hi there");
}

// The connection cache outlives the transfers: a request after a pause goes over the connection
// the previous one opened.
TEST_F(UrlTransferTest, RequestsWithAnIdlePauseBetweenThemShareOneConnection) {
  TransferRecorder first;
  first.start(http.url("/port"));
  ASSERT_TRUE(runUntilEnded(first));
  ASSERT_TRUE(first.finished);
  loop().runUntil([] { return false; }, std::chrono::milliseconds(300));
  TransferRecorder second;
  second.start(http.url("/port"));
  ASSERT_TRUE(runUntilEnded(second));
  ASSERT_TRUE(second.finished);
  EXPECT_FALSE(first.body.empty());
  EXPECT_EQ(second.body, first.body) << "the second request came from another client port";
}

TEST_F(UrlTransferTest, RequestsOnOneHostAtOnceAreLimitedAndAllAnswered) {
  std::vector<std::unique_ptr<TransferRecorder>> all;
  for (int i = 0; i < 12; ++i) {
    all.push_back(std::make_unique<TransferRecorder>());
    all.back()->start(http.url("/port"));
  }
  ASSERT_TRUE(loop().runUntil(
      [&] { return std::all_of(all.begin(), all.end(), [](const auto& r) { return r->ended(); }); },
      kPatience));
  std::set<std::string> ports;
  for (const auto& r : all) {
    ASSERT_TRUE(r->finished);
    ports.insert(r->body);
  }
  EXPECT_LE(ports.size(), 2u) << "more connections to one host than the limit";
}

class UrlTransferVirtualClockTest : public UrlTransferTest {
 protected:
  UrlTransferVirtualClockTest() { virtualClock = true; }
};

TEST_F(UrlTransferVirtualClockTest, SilentServerFailsAfterTwentySecondsWithTimedOut) {
  TransferRecorder r;
  r.start(http.url("/stall"));
  ASSERT_TRUE(loop().runUntil([&] { return stalled.load(); }, kPatience));
  loop().runFor(seconds(19));
  EXPECT_TRUE(r.calls.empty());
  loop().runFor(seconds(1.5));
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->domain, kUrlErrorDomain);
  EXPECT_EQ(r.error->code, UrlError::kTimedOut);
}

TEST_F(UrlTransferVirtualClockTest, TwentySecondsWithoutProgressAfterSomeDataTimesOut) {
  TransferRecorder r;
  r.start(http.url("/stall-after-first-byte"));
  ASSERT_TRUE(loop().runUntil([&] { return r.body == "a"; }, kPatience));
  loop().runFor(seconds(19));
  EXPECT_FALSE(r.ended());
  loop().runFor(seconds(1.5));
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->code, UrlError::kTimedOut);
}

TEST_F(UrlTransferVirtualClockTest, IdleClientLeavesNoTimerAndKeepsItsConnection) {
  TransferRecorder first;
  first.start(http.url("/port"));
  ASSERT_TRUE(runUntilEnded(first));
  loop().runUntilIdle();
  EXPECT_FALSE(loop().nextTimer()) << "an idle transport keeps a timer on the loop";
  loop().runFor(seconds(60));  // a long pause on the loop's clock
  TransferRecorder second;
  second.start(http.url("/port"));
  ASSERT_TRUE(runUntilEnded(second));
  EXPECT_EQ(second.body, first.body);
}

// A body dripped slowly enough to never look silent still ends at the overall deadline.
TEST_F(UrlTransferVirtualClockTest, DrippedBodyEndsAtTheDeadlineWithTimedOut) {
  TransferRecorder r;
  UrlRequest request;
  request.url = http.url("/drip");
  r.start(request);
  std::size_t expected = 0;
  for (int step = 0; step < 6; ++step) {  // 6 × 19 s = 114 s: each pause under the time-out
    drip.release();
    ++expected;
    ASSERT_TRUE(loop().runUntil([&] { return r.body.size() == expected; }, kPatience)) << step;
    loop().runFor(seconds(19));
    ASSERT_FALSE(r.ended()) << "cut after " << (step + 1) * 19 << " s";
  }
  drip.release();
  ASSERT_TRUE(loop().runUntil([&] { return r.body.size() == expected + 1; }, kPatience));
  loop().runFor(seconds(7));  // 121 s since the start
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->domain, kUrlErrorDomain);
  EXPECT_EQ(r.error->code, UrlError::kTimedOut);
}

}  // namespace
}  // namespace lk
