#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "Platform/RunLoop/RunLoop.h"

namespace lk {

// A run loop that its owner runs by hand: the command-line front end, tests and benchmarks.
// The client itself never drives the loop; it only posts, schedules and watches.
class DrivableRunLoop : public RunLoop {
 public:
  [[nodiscard]] virtual bool isVirtualClock() const = 0;

  // Ways to run it. Each returns when its condition holds; none busy-waits.
  // Runs what is ready now (posted tasks, ready sockets, due timers) until nothing is.
  virtual void runUntilIdle() = 0;
  // Runs for `d` of the loop's clock. With a virtual clock, time jumps from timer to timer.
  virtual void runFor(Duration d) = 0;
  // Runs until `done()` holds or `timeout` of real time passed; returns done(). With a virtual
  // clock the clock does not move here: sockets are served in real time, timers wait for runFor.
  virtual bool runUntil(const std::function<bool()>& done, Duration timeout) = 0;
  // Runs until stop() is called.
  virtual void run() = 0;
  virtual void stop() = 0;

  // The earliest pending timer, if any (front ends use it to decide the loop is idle).
  [[nodiscard]] virtual std::optional<TimePoint> nextTimer() const = 0;

  // The installed main loop, for the code that drives it. Installing one without setMain below
  // (or none at all) and asking for it here is a programming error.
  static DrivableRunLoop& main();
  // Installs `loop` as RunLoop::main() too (not owned; nullptr restores the default) and returns
  // the drivable loop installed before, if any.
  static DrivableRunLoop* setMain(DrivableRunLoop* loop);
};

// A real-clock or virtual-clock loop on poll(2).
std::unique_ptr<DrivableRunLoop> makePollRunLoop(bool virtualClock = false);
// A real-clock loop on Qt's event loop (RunLoopQt.cpp, linked only by the window front end and
// its tests). Needs a Qt application object on the calling thread.
std::unique_ptr<DrivableRunLoop> makeQtRunLoop();

}  // namespace lk
