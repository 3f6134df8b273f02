#pragma once

#include "Platform/RunLoop/RunLoop.h"

namespace lk::cli {

// What the front end around a session offers while a command waits for the client: a way for
// the person to stop waiting, and a place to show that a request is taking its time. The
// session asks on every step of a wait (a few dozen times a second).
class WaitObserver {
 public:
  WaitObserver() = default;
  WaitObserver(const WaitObserver&) = delete;
  WaitObserver& operator=(const WaitObserver&) = delete;
  virtual ~WaitObserver() = default;

  // Whether the person asked to stop waiting since the last call (the request is then used up).
  virtual bool takeInterrupt() { return false; }
  // The network has been busy for `busy` during the current wait.
  virtual void networkBusy(Duration /*busy*/) {}
  // The wait is over; called before the command prints anything.
  virtual void waitEnded() {}
};

}  // namespace lk::cli
