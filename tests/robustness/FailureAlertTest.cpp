// What a screen that reports request failures shows for each way the service can misbehave: the
// request engine on the real transport against the stand-in service with faults, the failure's
// code passed to the alert centre as those screens do, the box seen on the front end's screen.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Platform/RunLoop/DrivableRunLoop.h"
#include "tests/robustness/ClientSession.h"

namespace lk::test {
namespace {

// A list screen's way with failures: the code goes to the alert centre.
class AlertingOwner : public HttpRequestDelegate {
 public:
  void requestSucceeded(HttpRequest& request) override {
    status = request.statusCode();
    done = true;
  }
  void requestFailed(HttpRequest& /*request*/, const PlatformError& error) override {
    code = error.code;
    AlertCenter::sharedInstance().showAlertWithErrorCode(error.code);
    done = true;
  }
  bool done = false;
  std::optional<int> status;
  std::optional<int> code;
};

class FailureAlerts : public ::testing::Test {
 protected:
  // Asks `base` for a search page, as a list screen would; returns the screen afterwards.
  std::string fetch(const std::string& base, Duration timeout = seconds(20)) {
    // Every fetch goes to the service: answers stored by an earlier one would be served again.
    HttpRequestCacheCenter::sharedInstance().distoryCacheData();
    owner = std::make_unique<AlertingOwner>();
    request = std::make_unique<HttpRequest>(owner.get(), 0);
    request->setTransferTimeoutInterval(timeout);
    request->requestGETWithGZip(base + "/search/0/q?k=&r=&ci=131&sort=1&p=0&n=15");
    DrivableRunLoop::main().runUntil([this] { return owner->done; }, seconds(30));
    EXPECT_TRUE(owner->done);
    return client.run("dump");
  }
  std::string fetchWith(const std::string& fault, Duration timeout = seconds(20)) {
    client.setFaults("/client/search/0/q " + fault);
    return fetch(client.serviceBaseURL(), timeout);
  }

  ClientSession client;
  std::unique_ptr<AlertingOwner> owner;
  std::unique_ptr<HttpRequest> request;
};

TEST_F(FailureAlerts, AnAnswerLaterThanTheTimeOutSaysTheRequestTimedOut) {
  ASSERT_TRUE(client.serviceRunning()) << client.serviceErrors();
  const std::string screen = fetchWith("delay=2500", seconds(1));
  EXPECT_EQ(owner->code, -1001);
  EXPECT_NE(screen.find("alert: \n  message: 请求超时\n  buttons: [好的]"), std::string::npos)
      << screen;
}

TEST_F(FailureAlerts, ADroppedConnectionIsAnUnknownErrorWithItsCode) {
  ASSERT_TRUE(client.serviceRunning()) << client.serviceErrors();
  const std::string screen = fetchWith("drop");
  EXPECT_EQ(owner->code, -1005);
  EXPECT_NE(screen.find("alert: 错误\n  message: 未知错误,Code:-1005"), std::string::npos)
      << screen;
}

TEST_F(FailureAlerts, OneBoxAtATimeAndTheNextFailureShowsAgainAfterIt) {
  ASSERT_TRUE(client.serviceRunning()) << client.serviceErrors();
  fetchWith("drop");
  const std::string second = fetchWith("delay=2500", seconds(1));
  EXPECT_EQ(owner->code, -1001);
  EXPECT_NE(second.find("message: 未知错误,Code:-1005"), std::string::npos) << second;
  EXPECT_EQ(second.find("请求超时"), std::string::npos) << "dropped, not queued: " << second;
  client.run("alert 好的");
  const std::string third = fetchWith("delay=2500", seconds(1));
  EXPECT_NE(third.find("message: 请求超时"), std::string::npos) << third;
}

TEST_F(FailureAlerts, AServiceThatIsGoneCannotBeConnectedTo) {
  ServiceLauncher::Options options;
  options.templateDatabase = ServiceLauncher::sharedTemplate();
  ServiceLauncher gone(options);
  ASSERT_TRUE(gone.running());
  const std::string base = gone.baseURL();
  gone.stop();
  const std::string screen = fetch(base);
  EXPECT_EQ(owner->code, -1004);
  EXPECT_NE(screen.find("alert: 网络错误\n  message: 无法连接到服务器, 请检查您的网络连接后重试."),
            std::string::npos)
      << screen;
}

TEST_F(FailureAlerts, ErrorStatusesCutAndDamagedBodiesArriveAsAnswersNotFailures) {
  ASSERT_TRUE(client.serviceRunning()) << client.serviceErrors();
  for (const std::string fault : {"status=500", "truncate", "corrupt", "notjson"}) {
    const std::string screen = fetchWith(fault);
    EXPECT_FALSE(owner->code.has_value()) << fault;
    EXPECT_EQ(owner->status, fault == "status=500" ? 500 : 200) << fault;
    EXPECT_EQ(screen.find("alert:"), std::string::npos) << fault << ": " << screen;
  }
}

}  // namespace
}  // namespace lk::test
