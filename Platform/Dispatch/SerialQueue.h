#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace lk {

// A background queue that runs one job at a time, in the order given, on a thread of its own
// (started with the first job). Jobs report back by posting to the main run loop.
class SerialQueue {
 public:
  using Job = std::function<void()>;

  explicit SerialQueue(std::string name);
  SerialQueue(const SerialQueue&) = delete;
  SerialQueue& operator=(const SerialQueue&) = delete;
  // Drops the jobs not yet started, waits for the running one and ends the thread.
  ~SerialQueue();

  void add(Job job);
  // Drops the jobs not yet started; the running one finishes.
  void cancelAll();
  // Blocks until every job added so far has run (or was cancelled).
  void waitUntilAllJobsAreFinished();

  [[nodiscard]] std::size_t pendingCount() const;
  [[nodiscard]] const std::string& name() const { return name_; }

 private:
  void run();

  const std::string name_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<Job> jobs_;
  bool running_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace lk
