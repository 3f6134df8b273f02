#include "Platform/Dispatch/SerialQueue.h"

namespace lk {

SerialQueue::SerialQueue(std::string name) : name_(std::move(name)) {}

SerialQueue::~SerialQueue() {
  {
    std::lock_guard lock(mutex_);
    jobs_.clear();
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void SerialQueue::add(Job job) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    jobs_.push_back(std::move(job));
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
  }
  wake_.notify_one();
}

void SerialQueue::cancelAll() {
  std::lock_guard lock(mutex_);
  jobs_.clear();
  if (!running_) idle_.notify_all();
}

void SerialQueue::waitUntilAllJobsAreFinished() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return jobs_.empty() && !running_; });
}

std::size_t SerialQueue::pendingCount() const {
  std::lock_guard lock(mutex_);
  return jobs_.size() + (running_ ? 1 : 0);
}

void SerialQueue::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (stopping_) break;
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    running_ = true;
    lock.unlock();
    job();
    job = nullptr;  // its captures go away off the lock too
    lock.lock();
    running_ = false;
    if (jobs_.empty()) idle_.notify_all();
  }
  running_ = false;
  idle_.notify_all();
}

}  // namespace lk
