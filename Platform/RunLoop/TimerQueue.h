#pragma once
// The pending calls of a run loop, ordered by when they fall due: what every backend keeps the
// same way, so that they agree on order, repeats and cancelling within a pass.
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Platform/RunLoop/RunLoop.h"

namespace lk {

class TimerQueue {
 public:
  using TimerId = RunLoop::TimerId;
  using Task = RunLoop::Task;

  void add(TimerId id, TimePoint due, Task task, Duration repeat) {
    const Key key{due, id};
    timers_.emplace(key, Timer{std::make_shared<Task>(std::move(task)), repeat});
    keys_.emplace(id, key);
  }

  void cancel(TimerId id) {
    auto it = keys_.find(id);
    if (it == keys_.end()) return;
    timers_.erase(it->second);
    keys_.erase(it);
  }

  [[nodiscard]] bool contains(TimerId id) const { return keys_.count(id) != 0; }
  [[nodiscard]] bool empty() const { return timers_.empty(); }

  [[nodiscard]] std::optional<TimePoint> nextDue() const {
    if (timers_.empty()) return std::nullopt;
    return timers_.begin()->first.due;
  }

  // Runs the calls already due at `now` when the pass starts: a zero-delay call scheduled by a
  // firing timer (or a repeat) waits for the next pass, so a self-rescheduling call cannot starve
  // the loop. `beforeEach` runs before each call. Returns how many were due when the pass
  // started (cancelled ones included).
  template <typename BeforeEach>
  int runDue(TimePoint now, BeforeEach&& beforeEach) {
    std::vector<Key> due;
    for (const auto& entry : timers_) {
      if (entry.first.due > now) break;
      due.push_back(entry.first);
    }
    for (const Key& key : due) {
      auto it = timers_.find(key);
      if (it == timers_.end()) continue;  // cancelled by an earlier timer of this pass
      Timer timer = std::move(it->second);
      timers_.erase(it);
      keys_.erase(key.seq);
      if (timer.repeat > Duration::zero()) {
        const Key next{std::max(key.due + timer.repeat, now), key.seq};
        timers_.emplace(next, Timer{timer.task, timer.repeat});
        keys_.emplace(key.seq, next);
      }
      beforeEach();
      (*timer.task)();
    }
    return static_cast<int>(due.size());
  }

 private:
  struct Key {
    TimePoint due;
    TimerId seq;
    bool operator<(const Key& o) const { return due != o.due ? due < o.due : seq < o.seq; }
  };
  struct Timer {
    std::shared_ptr<Task> task;
    Duration repeat;
  };

  std::map<Key, Timer> timers_;
  std::unordered_map<TimerId, Key> keys_;
};

}  // namespace lk
