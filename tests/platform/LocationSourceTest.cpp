#include "Platform/Location/LocationSource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/Log/Log.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

constexpr LocationCoordinate kTiananmen{39.9087, 116.3975};
constexpr LocationCoordinate kWangfujing{39.9150, 116.4040};

// Writes down what the source reports, in order.
struct Recorder : LocationSourceDelegate {
  void locationManagerDidUpdateToLocation(LocationSource& /*manager*/, const LocationFix& fix,
                                          const std::optional<LocationFix>& old) override {
    events.push_back("fix " +
                     strprintf("%.4f,%.4f", fix.coordinate.latitude, fix.coordinate.longitude));
    olds.push_back(old);
  }
  void locationManagerDidFailWithError(LocationSource& /*manager*/,
                                       const PlatformError& error) override {
    events.push_back("failure " + std::to_string(error.code));
    domains.push_back(error.domain);
  }
  std::vector<std::string> events;
  std::vector<std::optional<LocationFix>> olds;
  std::vector<std::string> domains;
};

class LocationSourceTest : public ::testing::Test {
 protected:
  LocationSourceTest() {
    LocationScript::reset();
    source->setDelegate(&recorder);
  }
  ~LocationSourceTest() override {
    source.reset();
    LocationScript::reset();
  }

  test::ScopedMainLoop loop;
  Recorder recorder;
  std::unique_ptr<LocationSource> source = makeLocationSource();
};

TEST_F(LocationSourceTest, WithoutAScriptEveryStartIsRefused) {
  source->startUpdatingLocation();
  EXPECT_TRUE(recorder.events.empty()) << "never inside the start";
  loop->runUntilIdle();
  EXPECT_EQ(recorder.events, std::vector<std::string>{"failure 1"});
  EXPECT_EQ(recorder.domains, std::vector<std::string>{kLocationErrorDomain});
  EXPECT_EQ(LocationScript::describe(), "failure 1");
}

TEST_F(LocationSourceTest, AFixedPositionComesOnEveryStartWithThePreviousFix) {
  LocationScript::deliverPosition(kWangfujing);
  source->startUpdatingLocation();
  loop->runFor(seconds(60));
  EXPECT_EQ(recorder.events, std::vector<std::string>{"fix 39.9150,116.4040"})
      << "one fix per start, not a stream";
  source->stopUpdatingLocation();
  source->startUpdatingLocation();
  loop->runUntilIdle();
  ASSERT_EQ(recorder.events.size(), 2u);
  EXPECT_FALSE(recorder.olds[0]);
  ASSERT_TRUE(recorder.olds[1]);
  EXPECT_DOUBLE_EQ(recorder.olds[1]->coordinate.latitude, kWangfujing.latitude);
  EXPECT_EQ(LocationScript::describe(), "position 39.915000,116.404000");
}

TEST_F(LocationSourceTest, FailureCodesAndSilence) {
  LocationScript::deliverFailure(LocationError::kLocationUnknown);
  source->startUpdatingLocation();
  loop->runUntilIdle();
  LocationScript::staySilent();
  source->stopUpdatingLocation();
  source->startUpdatingLocation();
  loop->runFor(seconds(600));
  EXPECT_EQ(recorder.events, std::vector<std::string>{"failure 0"});
  EXPECT_EQ(LocationScript::describe(), "silent");
}

TEST_F(LocationSourceTest, AStopBeforeTheDeliveryDeliversNothing) {
  LocationScript::deliverPosition(kWangfujing);
  source->startUpdatingLocation();
  source->stopUpdatingLocation();
  loop->runUntilIdle();
  EXPECT_TRUE(recorder.events.empty());
}

TEST_F(LocationSourceTest, QueuedEventsComeOneByOneOnlyWhileUpdating) {
  LocationScript::staySilent();
  LocationScript::queueFix(kTiananmen);
  LocationScript::queueFailure(LocationError::kNetwork);
  LocationScript::queueFix(kWangfujing);
  loop->runUntilIdle();
  EXPECT_TRUE(recorder.events.empty()) << "a stopped source keeps the queue";
  EXPECT_EQ(LocationScript::queuedCount(), 3u);

  // The delegate stops the source after the first event: the rest waits for the next start.
  struct StopAfterFirst : Recorder {
    void locationManagerDidUpdateToLocation(LocationSource& manager, const LocationFix& fix,
                                            const std::optional<LocationFix>& old) override {
      Recorder::locationManagerDidUpdateToLocation(manager, fix, old);
      manager.stopUpdatingLocation();
    }
  } stopping;
  source->setDelegate(&stopping);
  source->startUpdatingLocation();
  loop->runUntilIdle();
  EXPECT_EQ(stopping.events, std::vector<std::string>{"fix 39.9087,116.3975"});
  EXPECT_EQ(LocationScript::queuedCount(), 2u);

  source->setDelegate(&recorder);
  source->startUpdatingLocation();
  loop->runUntilIdle();
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"failure 2", "fix 39.9150,116.4040"}));
  EXPECT_EQ(LocationScript::queuedCount(), 0u);
}

TEST_F(LocationSourceTest, QueueingDeliversLaterNotInsideTheCall) {
  LocationScript::staySilent();
  source->startUpdatingLocation();
  loop->runUntilIdle();
  LocationScript::queueFix(kTiananmen);
  LocationScript::queueFix(kWangfujing);
  EXPECT_TRUE(recorder.events.empty()) << "queueing delivers later, not inside the call";
  loop->runUntilIdle();
  EXPECT_EQ(recorder.events.size(), 2u);
}

TEST_F(LocationSourceTest, TheDistanceFilterDropsNearbyFixesOfOneRun) {
  LocationScript::staySilent();
  source->setDistanceFilter(500);
  EXPECT_EQ(source->distanceFilter(), 500);
  source->startUpdatingLocation();
  LocationScript::queueFix(kTiananmen);
  LocationScript::queueFix({kTiananmen.latitude + 0.001, kTiananmen.longitude});  // ~110 m
  LocationScript::queueFix(kWangfujing);                                          // ~900 m
  loop->runUntilIdle();
  EXPECT_EQ(recorder.events,
            (std::vector<std::string>{"fix 39.9087,116.3975", "fix 39.9150,116.4040"}));
  // A new run reports the first fix whatever the distance.
  source->stopUpdatingLocation();
  source->startUpdatingLocation();
  LocationScript::queueFix(kWangfujing);
  loop->runUntilIdle();
  EXPECT_EQ(recorder.events.size(), 3u);
}

TEST_F(LocationSourceTest, AChangedScriptReachesASourceThatIsUpdating) {
  LocationScript::staySilent();
  source->startUpdatingLocation();
  loop->runFor(seconds(30));
  EXPECT_TRUE(recorder.events.empty());
  LocationScript::deliverPosition(kWangfujing);
  loop->runUntilIdle();
  EXPECT_EQ(recorder.events, std::vector<std::string>{"fix 39.9150,116.4040"});
}

TEST(LocationDistance, MetresBetweenTwoPositions) {
  EXPECT_NEAR(distanceInMetres(kTiananmen, kWangfujing), 900, 50);
  EXPECT_DOUBLE_EQ(distanceInMetres(kTiananmen, kTiananmen), 0);
  // A quarter of the equator.
  EXPECT_NEAR(distanceInMetres({0, 0}, {0, 90}), 10007543, 10);
}

}  // namespace
}  // namespace lk
