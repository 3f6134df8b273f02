#include "Platform/RunLoop/RunLoop.h"

#include <cassert>
#include <cstdio>
#include <cstdlib>

namespace lk {

namespace {
RunLoop* gInstalled = nullptr;

RunLoop& defaultLoop() {
  static std::unique_ptr<RunLoop> loop = makeDefaultRunLoop();
  return *loop;
}
}  // namespace

RunLoop& RunLoop::main() {
  return gInstalled != nullptr ? *gInstalled : defaultLoop();
}

void RunLoop::setMain(RunLoop* loop) {
  gInstalled = loop;
}

void ScopedTimer::start(Duration delay, RunLoop::Task task, Duration repeat) {
  cancel();
  loop_ = &RunLoop::main();
  id_ = loop_->schedule(delay, std::move(task), repeat);
}

void ScopedTimer::cancel() {
  if (loop_ != nullptr && id_ != 0) loop_->cancel(id_);
  loop_ = nullptr;
  id_ = 0;
}

bool ScopedTimer::isActive() const {
  return loop_ != nullptr && loop_->isScheduled(id_);
}

#ifndef NDEBUG
void assertOnMainThread() {
  if (!RunLoop::main().isLoopThread()) {
    std::fprintf(stderr, "main-thread-only code ran on another thread\n");
    std::abort();
  }
}
#endif

}  // namespace lk
