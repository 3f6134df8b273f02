#include "Platform/RunLoop/RunLoop.h"

#include "Platform/RunLoop/DrivableRunLoop.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>
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

TEST(ScopedTimer, CancelsOnDestructionAndOnRestart) {
  test::ScopedMainLoop main;
  int fired = 0;
  {
    ScopedTimer timer;
    timer.start(seconds(1), [&] { fired += 1; });
    EXPECT_TRUE(timer.isActive());
  }
  ScopedTimer timer;
  timer.start(seconds(1), [&] { fired += 10; });
  timer.start(seconds(2), [&] { fired += 100; });
  main->runFor(seconds(3));
  EXPECT_EQ(fired, 100);
  EXPECT_FALSE(timer.isActive());
}

TEST(RunLoopPosting, TasksPostedFromAnotherThreadRunOnTheLoop) {
  test::ScopedMainLoop main(false);
  std::atomic<bool> onLoopThread{false};
  bool ran = false;
  std::thread worker([&] {
    main->post([&] {
      onLoopThread = main->isLoopThread();
      ran = true;
    });
  });
  EXPECT_TRUE(main->runUntil([&] { return ran; }, std::chrono::seconds(5)));
  worker.join();
  EXPECT_TRUE(onLoopThread);
}

TEST(RunLoopSockets, ReadinessCallbackRunsAndUnwatchStopsIt) {
  test::ScopedMainLoop main(false);
  int fds[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
  int reads = 0;
  RunLoop::WatchId id = 0;
  id = main->watch(fds[0], RunLoop::kReadable, [&](unsigned events) {
    EXPECT_TRUE(events & RunLoop::kReadable);
    char buf[8];
    [[maybe_unused]] auto n = ::read(fds[0], buf, sizeof buf);
    ++reads;
    main->unwatch(id);
  });
  ASSERT_EQ(::write(fds[1], "x", 1), 1);
  EXPECT_TRUE(main->runUntil([&] { return reads == 1; }, std::chrono::seconds(5)));
  ASSERT_EQ(::write(fds[1], "y", 1), 1);
  main->runFor(std::chrono::milliseconds(20));
  EXPECT_EQ(reads, 1);
  ::close(fds[0]);
  ::close(fds[1]);
}

TEST(RunLoopRealClock, RunForWaitsWithoutSpinningAndFiresTimers) {
  test::ScopedMainLoop main(false);
  bool fired = false;
  main->schedule(std::chrono::milliseconds(30), [&] { fired = true; });
  const auto start = Clock::now();
  main->runFor(std::chrono::milliseconds(60));
  EXPECT_TRUE(fired);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(60));
}

TEST(RunLoopRealClock, StopEndsRunAtOnce) {
  test::ScopedMainLoop main(false);
  bool later = false;
  main->schedule(std::chrono::milliseconds(5), [&] { main->stop(); });
  // Had the stop been missed, this would run (and stop the loop a second later).
  main->schedule(std::chrono::seconds(1), [&] {
    later = true;
    main->stop();
  });
  const auto start = Clock::now();
  main->run();
  EXPECT_FALSE(later);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
}

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
