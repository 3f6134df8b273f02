// The run loop on poll(2), with an eventfd to wake it from other threads.
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Platform/RunLoop/DrivableRunLoop.h"
#include "Platform/RunLoop/TimerQueue.h"

namespace lk {
namespace {

class RunLoopPoll final : public DrivableRunLoop {
 public:
  explicit RunLoopPoll(bool virtualClock)
      : virtual_(virtualClock),
        virtualNow_(Clock::now()),
        owner_(std::this_thread::get_id()),
        wakeFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

  ~RunLoopPoll() override {
    if (wakeFd_ >= 0) ::close(wakeFd_);
  }

  void post(Task task) override {
    {
      std::lock_guard lock(postedMutex_);
      posted_.push_back(std::move(task));
    }
    wake();
  }

  TimerId schedule(Duration delay, Task task, Duration repeat) override {
    if (delay < Duration::zero()) delay = Duration::zero();
    const TimerId id = ++lastId_;
    timers_.add(id, now() + delay, std::move(task), repeat);
    return id;
  }

  void cancel(TimerId id) override { timers_.cancel(id); }

  bool isScheduled(TimerId id) const override { return timers_.contains(id); }

  WatchId watch(int fd, unsigned events, IoCallback callback) override {
    const WatchId id = ++lastId_;
    watches_.emplace(id, Watch{fd, events, std::make_shared<IoCallback>(std::move(callback))});
    return id;
  }

  void modifyWatch(WatchId id, unsigned events) override {
    auto it = watches_.find(id);
    if (it != watches_.end()) it->second.events = events;
  }

  void unwatch(WatchId id) override { watches_.erase(id); }

  TimePoint now() const override { return virtual_ ? virtualNow_ : Clock::now(); }
  bool isVirtualClock() const override { return virtual_; }

  void runUntilIdle() override {
    while (step(Duration::zero())) {
    }
  }

  void runFor(Duration d) override {
    const TimePoint end = now() + d;
    if (virtual_) {
      for (;;) {
        runUntilIdle();
        const auto next = timers_.nextDue();
        if (!next || *next > end) break;
        virtualNow_ = std::max(virtualNow_, *next);
      }
      virtualNow_ = std::max(virtualNow_, end);
      runUntilIdle();
      return;
    }
    while (Clock::now() < end)
      step(end - Clock::now());
  }

  bool runUntil(const std::function<bool()>& done, Duration timeout) override {
    const TimePoint end = Clock::now() + timeout;
    while (!done()) {
      const auto left = end - Clock::now();
      if (left <= Duration::zero()) return done();
      step(left);
    }
    return true;
  }

  void run() override {
    stopped_ = false;
    while (!stopped_)
      step(std::chrono::hours(1));
  }

  void stop() override {
    stopped_ = true;
    wake();
  }

  std::optional<TimePoint> nextTimer() const override { return timers_.nextDue(); }

  bool isLoopThread() const override { return std::this_thread::get_id() == owner_; }

 private:
  struct Watch {
    int fd;
    unsigned events;
    std::shared_ptr<IoCallback> callback;
  };

  void wake() {
    const std::uint64_t one = 1;
    if (wakeFd_ >= 0) {
      [[maybe_unused]] auto n = ::write(wakeFd_, &one, sizeof one);
    }
  }

  // One turn: posted tasks, then sockets (waiting at most `maxWait` when nothing else is ready),
  // then due timers. Returns whether anything ran.
  bool step(Duration maxWait) {
    bool ran = runPosted();

    Duration wait = ran ? Duration::zero() : maxWait;
    if (const auto next = timers_.nextDue()) {
      const auto untilTimer = *next - now();
      if (virtual_) {
        if (untilTimer <= Duration::zero()) wait = Duration::zero();
      } else {
        wait = std::min(wait, std::max(untilTimer, Duration::zero()));
      }
    }
    ran = pollSockets(wait) || ran;
    ran = runDueTimers() || ran;
    return ran;
  }

  bool runPosted() {
    std::vector<Task> tasks;
    {
      std::lock_guard lock(postedMutex_);
      tasks.swap(posted_);
    }
    for (auto& task : tasks)
      task();
    return !tasks.empty();
  }

  bool pollSockets(Duration wait) {
    std::vector<pollfd> fds;
    std::vector<WatchId> ids;
    fds.push_back({wakeFd_, POLLIN, 0});
    ids.push_back(0);
    for (const auto& [id, w] : watches_) {
      short ev = 0;
      if (w.events & kReadable) ev |= POLLIN;
      if (w.events & kWritable) ev |= POLLOUT;
      if (ev == 0) continue;
      fds.push_back({w.fd, ev, 0});
      ids.push_back(id);
    }
    using std::chrono::milliseconds;
    auto ms = std::chrono::ceil<milliseconds>(wait).count();
    if (ms > 3600 * 1000) ms = 3600 * 1000;
    int n = ::poll(fds.data(), fds.size(), static_cast<int>(ms));
    if (n <= 0) return false;

    bool ran = false;
    if (fds[0].revents != 0) {  // woken by post() or stop(): let the caller take another turn
      std::uint64_t count = 0;
      [[maybe_unused]] auto r = ::read(wakeFd_, &count, sizeof count);
      ran = true;
    }
    for (std::size_t i = 1; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      auto it = watches_.find(ids[i]);
      if (it == watches_.end()) continue;  // unwatched by an earlier callback
      unsigned events = 0;
      if (fds[i].revents & POLLIN) events |= kReadable;
      if (fds[i].revents & POLLOUT) events |= kWritable;
      if (fds[i].revents & (POLLERR | POLLHUP | POLLNVAL)) events |= kIoError;
      auto callback = it->second.callback;  // keeps it alive if the callback unwatches
      (*callback)(events);
      ran = true;
    }
    return ran;
  }

  bool runDueTimers() {
    return timers_.runDue(now(), [] {}) > 0;
  }

  const bool virtual_;
  TimePoint virtualNow_;
  const std::thread::id owner_;
  const int wakeFd_;
  bool stopped_ = false;

  std::mutex postedMutex_;
  std::vector<Task> posted_;

  std::uint64_t lastId_ = 0;
  TimerQueue timers_;
  std::map<WatchId, Watch> watches_;
};

}  // namespace

std::unique_ptr<DrivableRunLoop> makePollRunLoop(bool virtualClock) {
  return std::make_unique<RunLoopPoll>(virtualClock);
}

std::unique_ptr<RunLoop> makeDefaultRunLoop() {
  return makePollRunLoop(false);
}

}  // namespace lk
