#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace lk {

using Clock = std::chrono::steady_clock;
using TimePoint = Clock::time_point;
using Duration = Clock::duration;

// Seconds as a double ("after 0.01 s") turned into the loop's duration.
constexpr Duration seconds(double s) {
  return std::chrono::duration_cast<Duration>(std::chrono::duration<double>(s));
}

// The main thread's run loop. Everything of the client runs on it; other threads only post().
// This is all a backend must supply; a graphical front end supplies one that posts onto its
// toolkit's loop. Front ends and tests that drive the loop themselves use DrivableRunLoop.
class RunLoop {
 public:
  using Task = std::function<void()>;
  using TimerId = std::uint64_t;  // 0 is never a valid id
  using WatchId = std::uint64_t;
  enum IoEvent : unsigned { kReadable = 1u, kWritable = 2u, kIoError = 4u };
  using IoCallback = std::function<void(unsigned events)>;

  RunLoop() = default;
  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;
  virtual ~RunLoop() = default;

  // Runs `task` on the loop's thread soon. Safe from any thread.
  virtual void post(Task task) = 0;

  // Runs `task` once after `delay` (and then every `repeat`, when repeat > 0). Calls due at the
  // same moment run in the order they were scheduled.
  virtual TimerId schedule(Duration delay, Task task, Duration repeat = Duration::zero()) = 0;
  virtual void cancel(TimerId id) = 0;
  [[nodiscard]] virtual bool isScheduled(TimerId id) const = 0;

  // Watches a socket for readiness; the callback runs on the loop with the ready events.
  virtual WatchId watch(int fd, unsigned events, IoCallback callback) = 0;
  virtual void modifyWatch(WatchId id, unsigned events) = 0;
  virtual void unwatch(WatchId id) = 0;

  // The loop's clock: real, or virtual in tests.
  [[nodiscard]] virtual TimePoint now() const = 0;
  // True when called on the loop's own thread.
  [[nodiscard]] virtual bool isLoopThread() const = 0;

  // The process's main loop. The linked backend's default loop is created on first use unless a
  // test or a front end installed its own.
  static RunLoop& main();
  static void setMain(RunLoop* loop);  // not owned; nullptr restores the default
};

// The default main loop, supplied by the run-loop backend the program links.
std::unique_ptr<RunLoop> makeDefaultRunLoop();

// A delayed call that cancels itself when it goes away or is rescheduled.
class ScopedTimer {
 public:
  ScopedTimer() = default;
  ScopedTimer(const ScopedTimer&) = delete;
  ScopedTimer& operator=(const ScopedTimer&) = delete;
  ~ScopedTimer() { cancel(); }

  void start(Duration delay, RunLoop::Task task, Duration repeat = Duration::zero());
  void cancel();
  [[nodiscard]] bool isActive() const;

 private:
  RunLoop* loop_ = nullptr;
  RunLoop::TimerId id_ = 0;
};

// Debug builds check that main-thread-only code runs on the main loop's thread.
#ifndef NDEBUG
void assertOnMainThread();
#else
inline void assertOnMainThread() {}
#endif

}  // namespace lk
