#include "tests/support/contract/RunLoopContract.h"

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

namespace lk::test {

using std::chrono::milliseconds;

void RunLoopContract::SetUp() {
  loop_ = GetParam().make();
  previous_ = DrivableRunLoop::setMain(loop_.get());
}

void RunLoopContract::TearDown() {
  DrivableRunLoop::setMain(previous_);
  loop_.reset();
}

std::string backendName(const ::testing::TestParamInfo<RunLoopBackend>& info) {
  return info.param.name;
}

namespace {

TEST_P(RunLoopContract, DelayedCallsRunInTheirOrderAndNotBefore) {
  std::vector<int> order;
  loop().schedule(milliseconds(60), [&] { order.push_back(60); });
  loop().schedule(milliseconds(10), [&] { order.push_back(10); });
  loop().runUntilIdle();
  EXPECT_TRUE(order.empty());
  EXPECT_TRUE(loop().runUntil([&] { return order.size() == 2; }, std::chrono::seconds(5)));
  EXPECT_EQ(order, (std::vector<int>{10, 60}));
}

TEST_P(RunLoopContract, CallsDueAtTheSameMomentRunInScheduleOrder) {
  std::vector<int> order;
  for (int i = 0; i < 5; ++i)
    loop().schedule(milliseconds(5), [&order, i] { order.push_back(i); });
  loop().runFor(milliseconds(40));
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_P(RunLoopContract, CancelledCallNeverRunsAndAnEarlierTimerMayCancelALaterOne) {
  bool ran = false;
  auto id = loop().schedule(milliseconds(5), [&] { ran = true; });
  EXPECT_TRUE(loop().isScheduled(id));
  loop().cancel(id);
  EXPECT_FALSE(loop().isScheduled(id));
  bool secondRan = false;
  RunLoop::TimerId second = 0;
  loop().schedule(milliseconds(5), [&] { loop().cancel(second); });
  second = loop().schedule(milliseconds(5), [&] { secondRan = true; });
  loop().runFor(milliseconds(40));
  EXPECT_FALSE(ran);
  EXPECT_FALSE(secondRan);
  loop().cancel(id);  // twice is harmless
}

TEST_P(RunLoopContract, RepeatingTimerFiresEachPeriodUntilCancelled) {
  int count = 0;
  RunLoop::TimerId id = 0;
  id = loop().schedule(
      milliseconds(5),
      [&] {
        if (++count == 3) loop().cancel(id);
      },
      milliseconds(5));
  EXPECT_TRUE(loop().runUntil([&] { return count == 3; }, std::chrono::seconds(5)));
  loop().runFor(milliseconds(30));
  EXPECT_EQ(count, 3);
  EXPECT_FALSE(loop().isScheduled(id));
}

TEST_P(RunLoopContract, ZeroDelayRescheduleDoesNotStarveTheLoop) {
  int count = 0;
  std::function<void()> again = [&] {
    if (++count < 100) loop().schedule(Duration::zero(), again);
  };
  loop().schedule(Duration::zero(), again);
  loop().runUntilIdle();
  EXPECT_EQ(count, 100);
}

TEST_P(RunLoopContract, PostedTasksRunInOrderOnTheLoopThread) {
  std::vector<int> order;
  for (int i = 0; i < 3; ++i)
    loop().post([&order, i] { order.push_back(i); });
  loop().runUntilIdle();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));

  std::atomic<bool> onLoopThread{false};
  bool ran = false;
  std::thread worker([&] {
    loop().post([&] {
      onLoopThread = loop().isLoopThread();
      ran = true;
    });
  });
  EXPECT_TRUE(loop().runUntil([&] { return ran; }, std::chrono::seconds(5)));
  worker.join();
  EXPECT_TRUE(onLoopThread);
}

TEST_P(RunLoopContract, SocketReadinessRunsTheCallbackAndUnwatchStopsIt) {
  int fds[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
  int reads = 0;
  RunLoop::WatchId id = 0;
  id = loop().watch(fds[0], RunLoop::kReadable, [&](unsigned events) {
    EXPECT_TRUE(events & RunLoop::kReadable);
    char buf[8];
    [[maybe_unused]] auto n = ::read(fds[0], buf, sizeof buf);
    ++reads;
    loop().unwatch(id);  // from inside its own callback
  });
  ASSERT_EQ(::write(fds[1], "x", 1), 1);
  EXPECT_TRUE(loop().runUntil([&] { return reads == 1; }, std::chrono::seconds(5)));
  ASSERT_EQ(::write(fds[1], "y", 1), 1);
  loop().runFor(milliseconds(30));
  EXPECT_EQ(reads, 1);
  ::close(fds[0]);
  ::close(fds[1]);
}

TEST_P(RunLoopContract, ModifyWatchSwitchesBetweenReadingAndWriting) {
  int fds[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
  unsigned seen = 0;
  int calls = 0;
  const auto id = loop().watch(fds[0], 0, [&](unsigned events) {
    seen |= events;
    ++calls;
  });
  loop().runFor(milliseconds(20));
  EXPECT_EQ(calls, 0);  // watching for nothing
  loop().modifyWatch(id, RunLoop::kWritable);
  EXPECT_TRUE(
      loop().runUntil([&] { return (seen & RunLoop::kWritable) != 0; }, std::chrono::seconds(5)));
  EXPECT_EQ(seen & RunLoop::kReadable, 0u);  // nothing was written to it
  loop().unwatch(id);
  ::close(fds[0]);
  ::close(fds[1]);
}

TEST_P(RunLoopContract, RunForWaitsItsTimeWithoutSpinning) {
  bool fired = false;
  loop().schedule(milliseconds(30), [&] { fired = true; });
  const auto start = Clock::now();
  loop().runFor(milliseconds(60));
  EXPECT_TRUE(fired);
  EXPECT_GE(Clock::now() - start, milliseconds(60));
  EXPECT_LT(Clock::now() - start, milliseconds(1000));
}

TEST_P(RunLoopContract, RunUntilGivesUpAtItsTimeout) {
  const auto start = Clock::now();
  EXPECT_FALSE(loop().runUntil([] { return false; }, milliseconds(40)));
  EXPECT_GE(Clock::now() - start, milliseconds(40));
}

TEST_P(RunLoopContract, StopEndsRunAtOnce) {
  bool later = false;
  loop().schedule(milliseconds(5), [&] { loop().stop(); });
  // Had the stop been missed, this would run (and stop the loop a second later).
  loop().schedule(std::chrono::seconds(1), [&] {
    later = true;
    loop().stop();
  });
  const auto start = Clock::now();
  loop().run();
  EXPECT_FALSE(later);
  EXPECT_LT(Clock::now() - start, milliseconds(500));
}

TEST_P(RunLoopContract, NextTimerNamesTheEarliestPendingCall) {
  EXPECT_FALSE(loop().nextTimer().has_value());
  const auto before = loop().now();
  loop().schedule(milliseconds(500), [] {});
  const auto soon = loop().schedule(milliseconds(100), [] {});
  ASSERT_TRUE(loop().nextTimer().has_value());
  EXPECT_GE(*loop().nextTimer(), before + milliseconds(100));
  EXPECT_LT(*loop().nextTimer(), before + milliseconds(500));
  loop().cancel(soon);
  EXPECT_GE(*loop().nextTimer(), before + milliseconds(500));
}

TEST_P(RunLoopContract, ScopedTimerCancelsOnDestructionAndOnRestart) {
  int fired = 0;
  {
    ScopedTimer timer;
    timer.start(milliseconds(5), [&] { fired += 1; });
  }
  ScopedTimer timer;
  timer.start(milliseconds(5), [&] { fired += 10; });
  timer.start(milliseconds(10), [&] { fired += 100; });
  EXPECT_TRUE(loop().runUntil([&] { return fired != 0; }, std::chrono::seconds(5)));
  loop().runFor(milliseconds(20));
  EXPECT_EQ(fired, 100);
  EXPECT_FALSE(timer.isActive());
}

}  // namespace
}  // namespace lk::test
