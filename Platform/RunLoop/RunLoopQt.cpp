// The run loop on Qt's event loop: posts, timers and socket watches become Qt events, so that
// the transfers and the picture queues run unchanged inside a window's event loop.
#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
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

class RunLoopQt final : public DrivableRunLoop {
 public:
  RunLoopQt() : owner_(std::this_thread::get_id()) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, &context_, [this] { runDueTimers(); });
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wake_, &QTimer::timeout, &context_, [] {});
  }

  ~RunLoopQt() override {
    // Notifiers of watches nobody removed go with the loop.
    watches_.clear();
  }

  void post(Task task) override {
    bool first = false;
    {
      std::lock_guard lock(postedMutex_);
      first = posted_.empty();
      posted_.push_back(std::move(task));
    }
    // One queued call drains everything posted until it runs.
    if (first)
      QMetaObject::invokeMethod(
          &context_, [this] { runPosted(); }, Qt::QueuedConnection);
  }

  TimerId schedule(Duration delay, Task task, Duration repeat) override {
    if (delay < Duration::zero()) delay = Duration::zero();
    const TimerId id = ++lastId_;
    timers_.add(id, now() + delay, std::move(task), repeat);
    armTimer();
    return id;
  }

  void cancel(TimerId id) override {
    timers_.cancel(id);
    armTimer();
  }

  bool isScheduled(TimerId id) const override { return timers_.contains(id); }

  WatchId watch(int fd, unsigned events, IoCallback callback) override {
    const WatchId id = ++lastId_;
    auto w = std::make_unique<Watch>();
    w->callback = std::make_shared<IoCallback>(std::move(callback));
    w->read = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    w->write = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    QObject::connect(w->read.get(), &QSocketNotifier::activated, &context_,
                     [this, id] { socketReady(id, kReadable); });
    QObject::connect(w->write.get(), &QSocketNotifier::activated, &context_,
                     [this, id] { socketReady(id, kWritable); });
    watches_.emplace(id, std::move(w));
    modifyWatch(id, events);
    return id;
  }

  void modifyWatch(WatchId id, unsigned events) override {
    auto it = watches_.find(id);
    if (it == watches_.end()) return;
    it->second->read->setEnabled((events & kReadable) != 0);
    it->second->write->setEnabled((events & kWritable) != 0);
  }

  void unwatch(WatchId id) override {
    auto it = watches_.find(id);
    if (it == watches_.end()) return;
    // The notifier may be the one whose signal is being delivered: it is disabled now and
    // deleted once control is back in Qt's loop.
    for (auto* notifier : {it->second->read.release(), it->second->write.release()}) {
      notifier->setEnabled(false);
      notifier->deleteLater();
    }
    watches_.erase(it);
  }

  TimePoint now() const override { return Clock::now(); }
  bool isVirtualClock() const override { return false; }
  bool isLoopThread() const override { return std::this_thread::get_id() == owner_; }

  void runUntilIdle() override {
    for (;;) {
      const auto before = turns_;
      runPosted();
      runDueTimers();
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      if (turns_ == before) break;
    }
  }

  void runFor(Duration d) override {
    // Turn by turn, as the poll loop does: a socket that stays ready must not hold it past `d`.
    const TimePoint end = Clock::now() + d;
    while (Clock::now() < end)
      waitForEvents(end - Clock::now());
  }

  bool runUntil(const std::function<bool()>& done, Duration timeout) override {
    const TimePoint end = Clock::now() + timeout;
    while (!done()) {
      const auto left = end - Clock::now();
      if (left <= Duration::zero()) return done();
      waitForEvents(left);
    }
    return true;
  }

  void run() override {
    QEventLoop loop;
    running_.push_back(&loop);
    stopped_ = false;
    loop.exec();
    running_.pop_back();
  }

  void stop() override {
    stopped_ = true;
    if (!running_.empty()) running_.back()->quit();
  }

  std::optional<TimePoint> nextTimer() const override { return timers_.nextDue(); }

 private:
  struct Watch {
    std::shared_ptr<IoCallback> callback;
    std::unique_ptr<QSocketNotifier> read;
    std::unique_ptr<QSocketNotifier> write;
  };

  static int milliseconds(Duration d) {
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(d).count();
    return static_cast<int>(std::clamp<long long>(ms, 0, 3600 * 1000));
  }

  // Handles what arrives within `most` (at least one wake-up: a wait never outlasts it).
  void waitForEvents(Duration most) {
    wake_.start(std::max(1, milliseconds(most)));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }

  void armTimer() {
    if (timers_.empty()) {
      timer_.stop();
      return;
    }
    timer_.start(milliseconds(*timers_.nextDue() - now()));
  }

  void runPosted() {
    std::vector<Task> tasks;
    {
      std::lock_guard lock(postedMutex_);
      tasks.swap(posted_);
    }
    for (auto& task : tasks)
      task();
    turns_ += tasks.size();
  }

  void socketReady(WatchId id, unsigned events) {
    auto it = watches_.find(id);
    if (it == watches_.end()) return;
    auto callback = it->second->callback;  // keeps it alive if the callback unwatches
    ++turns_;
    (*callback)(events);
  }

  void runDueTimers() {
    timers_.runDue(now(), [this] { ++turns_; });
    armTimer();
  }

  const std::thread::id owner_;
  QObject context_;  // lives on the loop's thread; queued calls and signals land here
  QTimer timer_;     // armed for the earliest timer
  QTimer wake_;      // ends a wait of runFor and runUntil
  std::vector<QEventLoop*> running_;
  bool stopped_ = false;
  std::uint64_t turns_ = 0;  // work done, so runUntilIdle can tell when nothing ran

  std::mutex postedMutex_;
  std::vector<Task> posted_;

  std::uint64_t lastId_ = 0;
  TimerQueue timers_;
  std::map<WatchId, std::unique_ptr<Watch>> watches_;
};

}  // namespace

std::unique_ptr<DrivableRunLoop> makeQtRunLoop() {
  return std::make_unique<RunLoopQt>();
}

}  // namespace lk
