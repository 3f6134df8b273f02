// The location service's attempt, step by step on the virtual clock: fixes and failures come from
// the scripted location source's queue, the position lookup goes to a loopback server.
#include "Classes/Location/LocationService.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "Classes/Location/LKLocation.h"
#include "Classes/Location/LocationNotifications.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Location/LocationSource.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "tests/support/Compression.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

constexpr LocationCoordinate kStale{39.90, 116.39};
constexpr LocationCoordinate kWangfujing{39.915, 116.404};
constexpr const char* kWangfujingLookup =
    "/client/user/0/pos?longti=116.403999&lati=39.915001&tn=gz";

constexpr const char* kBeijingAnswer = R"({
  "address": "北京市东城区王府井附近",
  "point": {"x": "116.403999", "y": "39.915001"},
  "address_detail": {"city": "北京", "city_code": 131, "district": "东城区", "street": "王府井"}
})";

// The position lookup of the service: answers what the test says, writes down the targets.
class PositionServer {
 public:
  PositionServer() {
    http_.server().Get(
        "/client/user/0/pos", [this](const httplib::Request& req, httplib::Response& res) {
          std::lock_guard lock(mutex_);
          targets_.push_back(req.target);
          res.status = status_;
          res.set_content(gzipped_ ? test::gzipBytes(body_) : body_, "application/octet-stream");
        });
    http_.start();
  }
  void answer(int status, std::string body, bool gzipped = true) {
    std::lock_guard lock(mutex_);
    status_ = status;
    body_ = std::move(body);
    gzipped_ = gzipped;
  }
  std::vector<std::string> targets() const {
    std::lock_guard lock(mutex_);
    return targets_;
  }
  std::string baseURL() const { return http_.url("/client"); }

 private:
  mutable std::mutex mutex_;
  int status_ = 200;
  std::string body_ = kBeijingAnswer;
  bool gzipped_ = true;
  std::vector<std::string> targets_;
  test::LoopbackHttpServer http_;
};

class LocationServiceTest : public ::testing::Test {
 protected:
  LocationServiceTest() {
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL(server.baseURL());
    LocationScript::staySilent();
    auto& center = NotificationCenter::defaultCenter();
    observers.push_back(center.addObserver(
        kLocationSuccessed, [this](const Notification&) { events.push_back("success"); }));
    observers.push_back(center.addObserver(kLocationFailed, [this](const Notification& n) {
      const auto* error = std::any_cast<PlatformError>(&n.object);
      events.push_back(error != nullptr ? "failed " + std::to_string(error->code) : "failed");
    }));
  }
  ~LocationServiceTest() override {
    observers.clear();
    LocationService::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL("");
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
  }

  static LocationService& service() { return LocationService::sharedInstance(); }
  // Lets the queued events be delivered and a lookup in flight be answered.
  void settle() {
    loop->runUntilIdle();
    ASSERT_TRUE(loop->runUntil([] { return service().request() == nullptr; }, seconds(10)));
    loop->runUntilIdle();
  }
  void twoFixes(LocationCoordinate second = kWangfujing) {
    LocationScript::queueFix(kStale);
    LocationScript::queueFix(second);
  }

  test::ScopedMainLoop loop;
  test::ScopedClientStorage storage;
  PositionServer server;
  std::vector<std::string> events;
  std::vector<ObserverToken> observers;
};

TEST_F(LocationServiceTest, OneFixIsThrownAwayAndTheRestartTimesOut) {
  service().startLocation();
  EXPECT_TRUE(service().isLocating());
  loop->runFor(seconds(5));
  LocationScript::queueFix(kWangfujing);
  loop->runUntilIdle();
  EXPECT_TRUE(service().hasAbandonOnce());
  EXPECT_TRUE(service().isLocating());
  EXPECT_TRUE(service().locationManager().isUpdating()) << "asked again after the first fix";
  // The time-out counts from the restart at 5 s, not from the first start.
  loop->runFor(seconds(10.5));
  EXPECT_TRUE(events.empty());
  loop->runFor(seconds(4.6));
  EXPECT_EQ(events, std::vector<std::string>{"failed"});
  EXPECT_TRUE(server.targets().empty());
  EXPECT_FALSE(service().location());
}

TEST_F(LocationServiceTest, TheSecondFixIsLookedUpLongitudeFirst) {
  twoFixes();
  service().startLocation();
  settle();
  EXPECT_EQ(server.targets(), std::vector<std::string>{kWangfujingLookup});
  EXPECT_EQ(events, std::vector<std::string>{"success"});
  EXPECT_FALSE(service().isLocating());
  EXPECT_FALSE(service().hasAbandonOnce());
  const auto& location = service().location();
  ASSERT_TRUE(location);
  EXPECT_EQ(location->x(), "116.403999");
  EXPECT_EQ(location->y(), "39.915001");
  EXPECT_EQ(location->address(), "北京市东城区王府井附近");
  EXPECT_EQ(location->cityName(), "北京");
  EXPECT_EQ(location->area(), "东城区");
  EXPECT_EQ(location->cityId(), 131);
  // No time-out after the attempt ended.
  loop->runFor(seconds(60));
  EXPECT_EQ(events.size(), 1u);
}

TEST_F(LocationServiceTest, TheLookupURLNarrowsToSinglePrecisionWithSixDecimals) {
  ServiceEndpoints::setServiceURL("http://h/client");
  EXPECT_EQ(LocationService::positionURL(39.915, 116.404),
            "http://h/client/user/0/pos?longti=116.403999&lati=39.915001");
  EXPECT_EQ(LocationService::positionURL(-33.8688, 151.2093),
            "http://h/client/user/0/pos?longti=151.209305&lati=-33.868801");
}

TEST_F(LocationServiceTest, ALateFixAfterTheTimeOutStillSucceeds) {
  service().startLocation();
  loop->runFor(seconds(15));
  EXPECT_EQ(events, std::vector<std::string>{"failed"});
  EXPECT_TRUE(service().isLocating()) << "the attempt goes on";
  EXPECT_TRUE(service().locationManager().isUpdating());
  twoFixes();
  settle();
  EXPECT_EQ(events, (std::vector<std::string>{"failed", "success"}));
  EXPECT_EQ(server.targets().size(), 1u);
}

TEST_F(LocationServiceTest, AStartAfterTheTimeOutIsToldOnTheNextTurnWithoutRestarting) {
  service().startLocation();
  loop->runFor(seconds(15));
  ASSERT_EQ(events.size(), 1u);
  service().startLocation();
  EXPECT_EQ(events.size(), 1u) << "not inside the call: the caller may not be showing yet";
  loop->runUntilIdle();
  EXPECT_EQ(events, (std::vector<std::string>{"failed", "failed"}));
  // Neither the manager nor the time-out started again.
  loop->runFor(seconds(60));
  EXPECT_EQ(events.size(), 2u);
  EXPECT_FALSE(service().hasAbandonOnce()) << "no fix came, none was thrown away";
}

TEST_F(LocationServiceTest, AFixBeforeTheLatecomerIsToldAnswersItInstead) {
  service().startLocation();
  loop->runFor(seconds(15));
  twoFixes();  // delivered on the next turn, before the latecomer would be told
  service().startLocation();
  settle();
  EXPECT_EQ(events, (std::vector<std::string>{"failed", "success"}));
}

TEST_F(LocationServiceTest, AStartBeforeTheTimeOutWaitsQuietly) {
  service().startLocation();
  loop->runFor(seconds(10));
  service().startLocation();
  loop->runFor(seconds(4.99));
  EXPECT_TRUE(events.empty()) << "the time-out was not re-armed";
  loop->runFor(seconds(0.02));
  EXPECT_EQ(events, std::vector<std::string>{"failed"});
}

TEST_F(LocationServiceTest, AFixAtZeroZeroFailsAndLeavesTheServiceIdle) {
  LocationScript::queueFix({0, 0});
  service().startLocation();
  loop->runUntilIdle();
  EXPECT_EQ(events, std::vector<std::string>{"failed"});
  EXPECT_FALSE(service().isLocating());
  EXPECT_FALSE(service().locationManager().isUpdating());
  loop->runFor(seconds(30));
  EXPECT_EQ(events.size(), 1u) << "the time-out went with the attempt";
  // The next start is a new attempt.
  twoFixes();
  service().startLocation();
  settle();
  EXPECT_EQ(events, (std::vector<std::string>{"failed", "success"}));
}

TEST_F(LocationServiceTest, RefusalEndsTheAttemptWithTheErrorAttached) {
  LocationScript::queueFailure(LocationError::kDenied);
  service().startLocation();
  loop->runUntilIdle();
  EXPECT_EQ(events, std::vector<std::string>{"failed 1"});
  EXPECT_FALSE(service().isLocating());
  EXPECT_FALSE(service().locationManager().isUpdating());
  loop->runFor(seconds(30));
  EXPECT_EQ(events.size(), 1u);
}

TEST_F(LocationServiceTest, PositionUnknownOnlyLogsAndTheTimeOutStillAnnounces) {
  test::LogCapture log;
  LocationScript::queueFailure(LocationError::kLocationUnknown);
  service().startLocation();
  loop->runFor(seconds(1));
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(service().isLocating());
  EXPECT_TRUE(service().locationManager().isUpdating());
  EXPECT_TRUE(log.contains("locationManager didFailWithError")) << "logged all the same";
  loop->runFor(seconds(14));
  EXPECT_EQ(events, std::vector<std::string>{"failed"});
  // A fix may still come.
  twoFixes();
  settle();
  EXPECT_EQ(events.back(), "success");
}

TEST_F(LocationServiceTest, AThrownAwayFixIsRememberedAcrossAFailedAttempt) {
  LocationScript::queueFix(kStale);
  LocationScript::queueFailure(LocationError::kNetwork);
  service().startLocation();
  loop->runUntilIdle();
  EXPECT_EQ(events, std::vector<std::string>{"failed 2"});
  EXPECT_TRUE(service().hasAbandonOnce());
  // The first fix of the next attempt is looked up at once.
  LocationScript::queueFix(kWangfujing);
  service().startLocation();
  settle();
  EXPECT_EQ(events.back(), "success");
  EXPECT_EQ(server.targets(), std::vector<std::string>{kWangfujingLookup});
}

TEST_F(LocationServiceTest, ACachedLookupAnswersInsideTheFixCallback) {
  HttpRequestCacheCenter::sharedInstance().cacheData(
      test::gzipBytes(kBeijingAnswer),
      HttpRequest::makeRequest(server.baseURL() + "/user/0/pos"
                                                  "?longti=116.403999&lati=39.915001"
                                                  "&tn=gz")
          .url);
  // An observer that asks again at once, as a screen may.
  int starts = 0;
  auto again = NotificationCenter::defaultCenter().addObserver(kLocationSuccessed, [&](auto&) {
    ++starts;
    service().startLocation();
  });
  twoFixes();
  service().startLocation();
  loop->runUntilIdle();
  EXPECT_TRUE(server.targets().empty()) << "answered from the response cache";
  EXPECT_EQ(events, std::vector<std::string>{"success"});
  EXPECT_EQ(starts, 1);
  ASSERT_TRUE(service().location());
  EXPECT_EQ(service().location()->area(), "东城区");
  EXPECT_EQ(service().request(), nullptr);
  // The observer's start began a new attempt that the state after the callback must not undo.
  EXPECT_TRUE(service().isLocating());
  EXPECT_TRUE(service().locationManager().isUpdating());
  EXPECT_FALSE(service().hasAbandonOnce());
  loop->runFor(seconds(15));
  EXPECT_EQ(events.back(), "failed") << "the new attempt has its own time-out";
}

TEST_F(LocationServiceTest, AFailedLookupKeepsThePreviousLocation) {
  twoFixes();
  service().startLocation();
  settle();
  const std::shared_ptr<LKLocation> held = service().location();
  ASSERT_TRUE(held);

  for (const auto& [status, body] : std::vector<std::pair<int, std::string>>{
           {404, R"({"errNo": 404})"},
           {200, "{}"},
           {200, R"({"point": {"x": "", "y": "39.9"}, "address": "别处"})"},
           {200, R"({"point": null, "address": "别处"})"},
           {200, "[1, 2]"},
       }) {
    HttpRequestCacheCenter::sharedInstance().distoryCacheData();
    server.answer(status, body);
    events.clear();
    twoFixes();
    service().startLocation();
    settle();
    EXPECT_EQ(events, std::vector<std::string>{"failed"}) << status << " " << body;
    EXPECT_FALSE(service().isLocating());
    EXPECT_EQ(service().location(), held);
    EXPECT_EQ(held->x(), "116.403999") << body;
    EXPECT_EQ(held->address(), "北京市东城区王府井附近") << body;
  }
}

TEST_F(LocationServiceTest, AnAnswerThatIsNotJSONIsLoggedAndFails) {
  test::LogCapture log;
  server.answer(200, "<html>", true);
  twoFixes();
  service().startLocation();
  settle();
  EXPECT_EQ(events, std::vector<std::string>{"failed"});
  EXPECT_TRUE(log.contains("Request shop info, error:"));
}

TEST_F(LocationServiceTest, ANetworkFailureOfTheLookupFails) {
  ServiceEndpoints::setServiceURL("http://127.0.0.1:" + std::to_string(test::unusedLoopbackPort()) +
                                  "/client");
  twoFixes();
  service().startLocation();
  settle();
  EXPECT_EQ(events, std::vector<std::string>{"failed"});
  EXPECT_FALSE(service().isLocating());
  EXPECT_FALSE(service().location());
}

TEST_F(LocationServiceTest, ALaterLookupUpdatesTheSameLocationAndMissingKeysLeaveFieldsEmpty) {
  twoFixes();
  service().startLocation();
  settle();
  const std::shared_ptr<LKLocation> held = service().location();
  server.answer(200, R"({"point": {"x": "121.47", "y": 31}})");
  twoFixes({31.23, 121.47});
  service().startLocation();
  settle();
  EXPECT_EQ(events.back(), "success");
  EXPECT_EQ(service().location(), held) << "screens holding it see the new place";
  EXPECT_EQ(held->x(), "121.47");
  EXPECT_EQ(held->y(), "31") << "a number is read as its text";
  EXPECT_EQ(held->address(), "");
  EXPECT_EQ(held->cityId(), 0);
  EXPECT_EQ(held->area(), "");
}

TEST_F(LocationServiceTest, TheManagerIsFilteredTo500MetresAndDestructionCancelsTheLookup) {
  EXPECT_EQ(service().locationManager().distanceFilter(), 500);
  server.answer(200, kBeijingAnswer);
  twoFixes();
  service().startLocation();
  ASSERT_TRUE(loop->runUntil([] { return service().request() != nullptr; }, seconds(5)));
  LocationService::resetSharedInstanceForTesting();
  loop->runFor(seconds(2));
  EXPECT_TRUE(events.empty());
}

}  // namespace
}  // namespace lk
