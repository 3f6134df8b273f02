#include "Platform/RunLoop/RunLoop.h"

#include "Platform/RunLoop/DrivableRunLoop.h"

#include <gtest/gtest.h>
#include <vector>

#include "tests/support/TestSupport.h"

namespace lk {
namespace {

TEST(RunLoopVirtualClock, DelayedCallsRunWhenTheirTimeComesAndNotBefore) {
  test::ScopedMainLoop main;
  std::vector<int> order;
  main->schedule(seconds(15), [&] { order.push_back(15); });
  main->schedule(seconds(0.01), [&] { order.push_back(1); });
  main->runUntilIdle();
  EXPECT_TRUE(order.empty());
  main->runFor(seconds(14.99));
  EXPECT_EQ(order, std::vector<int>{1});
  main->runFor(seconds(0.01));
  EXPECT_EQ(order, (std::vector<int>{1, 15}));
}

TEST(RunLoopVirtualClock, CallsDueAtTheSameMomentRunInScheduleOrder) {
  test::ScopedMainLoop main;
  std::vector<int> order;
  for (int i = 0; i < 5; ++i)
    main->schedule(seconds(1), [&order, i] { order.push_back(i); });
  main->runFor(seconds(1));
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(RunLoopVirtualClock, CancelledCallNeverRuns) {
  test::ScopedMainLoop main;
  bool ran = false;
  auto id = main->schedule(seconds(1), [&] { ran = true; });
  EXPECT_TRUE(main->isScheduled(id));
  main->cancel(id);
  EXPECT_FALSE(main->isScheduled(id));
  main->runFor(seconds(5));
  EXPECT_FALSE(ran);
  main->cancel(id);  // twice is harmless
}

TEST(RunLoopVirtualClock, TimerCancelledByAnEarlierTimerOfTheSamePassDoesNotRun) {
  test::ScopedMainLoop main;
  bool secondRan = false;
  RunLoop::TimerId second = 0;
  main->schedule(seconds(1), [&] { main->cancel(second); });
  second = main->schedule(seconds(1), [&] { secondRan = true; });
  main->runFor(seconds(2));
  EXPECT_FALSE(secondRan);
}

TEST(RunLoopVirtualClock, RepeatingTimerFiresEachPeriodUntilCancelled) {
  test::ScopedMainLoop main;
  int count = 0;
  auto id = main->schedule(
      seconds(1), [&] { ++count; }, seconds(1));
  main->runFor(seconds(3.5));
  EXPECT_EQ(count, 3);
  main->cancel(id);
  main->runFor(seconds(3));
  EXPECT_EQ(count, 3);
}

TEST(RunLoopVirtualClock, ZeroDelayRescheduleDoesNotStarveRunUntilIdle) {
  test::ScopedMainLoop main;
  int count = 0;
  std::function<void()> again = [&] {
    if (++count < 100) main->schedule(Duration::zero(), again);
  };
  main->schedule(Duration::zero(), again);
  main->runUntilIdle();
  EXPECT_EQ(count, 100);
}

// Real-clock behaviour (posting, sockets, timers, stop) is the contract every backend owes:
// RunLoopContractPollTest.cpp.

TEST(RunLoopInstalling, ScopedLoopsNestAndRestoreTheOuterOne) {
  test::ScopedMainLoop outer;
  {
    test::ScopedMainLoop inner;
    EXPECT_EQ(&RunLoop::main(), &inner.loop());
    EXPECT_EQ(&DrivableRunLoop::main(), &inner.loop());
  }
  EXPECT_EQ(&RunLoop::main(), &outer.loop());
  EXPECT_EQ(&DrivableRunLoop::main(), &outer.loop());
}

TEST(RunLoopInstallingDeathTest, DrivingALoopItDidNotInstallIsRefused) {
  test::ScopedMainLoop driven;
  const auto other = makePollRunLoop(true);
  RunLoop::setMain(other.get());  // a front end's loop, installed without DrivableRunLoop::setMain
  EXPECT_DEATH((void)DrivableRunLoop::main(), "not a drivable loop");
  RunLoop::setMain(&driven.loop());
}

}  // namespace
}  // namespace lk
