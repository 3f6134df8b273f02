#include <httplib.h>

#include <chrono>
#include <thread>
#include <vector>

#include "tests/service/RawConnection.h"
#include "tests/service/SharedService.h"

namespace lk::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class Connections : public SharedService {
 protected:
  static int statusLines(const std::string& text, const std::string& status) {
    int count = 0;
    for (auto at = text.find("HTTP/1.1 " + status); at != std::string::npos;
         at = text.find("HTTP/1.1 " + status, at + 1)) {
      ++count;
    }
    return count;
  }
  static std::string post(const std::string& headers, const std::string& body) {
    return "POST /client/submit/0/reportInfo HTTP/1.1\r\nHost: 127.0.0.1\r\n"
           "Content-Type: application/x-www-form-urlencoded\r\n" +
           headers + "\r\n" + body;
  }
};

TEST_F(Connections, SearchAnswersWhileHundredsOfConnectionsIdleOrDrip) {
  std::vector<RawConnection> idle;
  for (int i = 0; i < 200; ++i) {
    idle.emplace_back(service().port());
    ASSERT_TRUE(idle.back().connected());
  }
  std::vector<RawConnection> slow;
  for (int i = 0; i < 24; ++i) {
    slow.emplace_back(service().port());
    ASSERT_TRUE(slow.back().send("GET /client/search/0/q?ci=131&p=0&n=1 HTTP/1.1\r\nHo"));
  }
  // The slow ones go on dripping a header byte now and then while the search runs.
  std::thread drip([&slow] {
    for (int round = 0; round < 3; ++round) {
      std::this_thread::sleep_for(300ms);
      for (auto& connection : slow)
        (void)connection.send("s");
    }
  });
  std::this_thread::sleep_for(200ms);

  httplib::Client client("127.0.0.1", service().port());
  client.set_connection_timeout(1, 0);
  client.set_read_timeout(1, 0);
  const auto started = Clock::now();
  const auto answer = client.Get("/client/search/0/q?k=&ci=131&sort=1&p=0&n=15");
  const auto took = Clock::now() - started;
  drip.join();
  ASSERT_TRUE(answer) << "no answer within 1 s";
  EXPECT_EQ(answer->status, 200);
  EXPECT_LT(took, 1s);
  // None of the slow requests was answered half-read.
  for (auto& connection : slow)
    EXPECT_EQ(connection.receive(10ms), "");
}

TEST_F(Connections, PipelinedRequestsAreAllAnswered) {
  RawConnection connection(service().port());
  const std::string get = "GET /client/index/0/province HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
  ASSERT_TRUE(connection.send(get + post("Content-Length: 11\r\n", "content=abc") +
                              "GET /client/missing HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"));
  const std::string answers = connection.receiveAnswers(3, 10s);
  EXPECT_EQ(statusLines(answers, "200"), 2) << answers.substr(0, 300);
  EXPECT_EQ(statusLines(answers, "404"), 1);
}

TEST_F(Connections, MalformedOrConflictingContentLengthIsRefused) {
  for (const std::string header :
       {"Content-Length: abc\r\n", "Content-Length: 1e3\r\n", "Content-Length:  11\r\n",
        "Content-Length: +11\r\n", "Content-Length: -1\r\n", "Content-Length: 0x0b\r\n",
        "Content-Length: 11\r\nContent-Length: 12\r\n",
        "Content-Length: 11\r\nTransfer-Encoding: chunked\r\n"}) {
    RawConnection connection(service().port());
    ASSERT_TRUE(connection.send(post(header, "content=abc")));
    const std::string answer = connection.receive(5s);
    EXPECT_EQ(answer.rfind("HTTP/1.1 400 ", 0), 0u) << header << answer.substr(0, 200);
    EXPECT_NE(answer.find("\"errNo\":400"), std::string::npos) << header;
  }
  // A repeated, equal length is the same length.
  RawConnection connection(service().port());
  ASSERT_TRUE(connection.send(post("Content-Length: 11\r\nContent-Length: 11\r\n", "content=abc")));
  EXPECT_EQ(connection.receiveAnswers(1, 5s).rfind("HTTP/1.1 200 ", 0), 0u);
}

TEST_F(Connections, AConnectionServesAHundredRequestsAtMost) {
  RawConnection connection(service().port());
  std::string requests;
  for (int i = 0; i < 101; ++i)
    requests += "GET /client/missing HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
  ASSERT_TRUE(connection.send(requests));
  const std::string answers = connection.receive(10s);
  EXPECT_EQ(statusLines(answers, "404"), 100);
  EXPECT_NE(answers.find("Connection: close"), std::string::npos);
}

TEST(ConnectionTimeouts, SlowRequestsGet408AndIdleConnectionsAreClosed) {
  ServiceLauncher::Options options;
  options.templateDatabase = ServiceLauncher::sharedTemplate();
  options.arguments = {"--request-timeout", "1", "--idle-timeout", "1"};
  ServiceLauncher service(options);
  ASSERT_TRUE(service.running()) << service.errorOutput();

  RawConnection idle(service.port());
  RawConnection slow(service.port());
  ASSERT_TRUE(slow.send("GET /client/index/0/province HTTP/1.1\r\n"));
  std::string answer;
  for (int i = 0; i < 8 && answer.empty(); ++i) {
    (void)slow.send("X");  // a byte now and then keeps no request alive
    answer = slow.receive(500ms);
  }
  EXPECT_EQ(answer.rfind("HTTP/1.1 408 ", 0), 0u) << answer;
  EXPECT_TRUE(idle.closedWithin(4s));

  // A kept-alive connection is closed after its idle time, not before.
  RawConnection kept(service.port());
  ASSERT_TRUE(kept.send("GET /client/index/0/province HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"));
  EXPECT_EQ(kept.receiveAnswers(1, 5s).rfind("HTTP/1.1 200 ", 0), 0u);
  EXPECT_TRUE(kept.closedWithin(4s));
}

TEST(ConnectionCap, AtTheLimitTheLongestIdleConnectionMakesRoom) {
  ServiceLauncher::Options options;
  options.templateDatabase = ServiceLauncher::sharedTemplate();
  options.arguments = {"--idle-timeout", "120"};
  ServiceLauncher service(options);
  ASSERT_TRUE(service.running()) << service.errorOutput();
  std::vector<RawConnection> idle;
  for (int i = 0; i < 1000; ++i) {
    idle.emplace_back(service.port());
    ASSERT_TRUE(idle.back().connected());
  }
  std::this_thread::sleep_for(300ms);  // all taken in
  RawConnection late(service.port());
  ASSERT_TRUE(late.send("GET /client/index/0/province HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"));
  EXPECT_EQ(late.receiveAnswers(1, 5s).rfind("HTTP/1.1 200 ", 0), 0u);
  EXPECT_TRUE(idle.front().closedWithin(2s));
  EXPECT_FALSE(idle.back().closedWithin(100ms));
}

}  // namespace
}  // namespace lk::test
