#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace lk::test {

// A latch that a test server's handler threads wait on until the test lets them go.
class Gate {
 public:
  void open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    cv_.notify_all();
  }
  void wait() {
    std::unique_lock lock(mutex_);
    cv_.wait_for(lock, std::chrono::seconds(30), [this] { return open_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool open_ = false;
};

}  // namespace lk::test
