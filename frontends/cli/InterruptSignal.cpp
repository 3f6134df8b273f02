#include "frontends/cli/InterruptSignal.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

namespace lk::cli {

namespace {

std::atomic<bool> gPending{false};
int gPipe[2] = {-1, -1};

void onSignal(int /*signal*/) {
  InterruptSignal::raise();
}

}  // namespace

void InterruptSignal::install() {
  if (gPipe[0] >= 0) return;
  if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    gPipe[0] = gPipe[1] = -1;
  }
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a blocked poll returns at once and the loop looks at the flag.
  action.sa_flags = 0;
  ::sigaction(SIGINT, &action, nullptr);
}

bool InterruptSignal::pending() {
  return gPending.load();
}

bool InterruptSignal::take() {
  drainWakeups();
  return gPending.exchange(false);
}

void InterruptSignal::drainWakeups() {
  if (gPipe[0] < 0) return;
  char drain[64];
  while (::read(gPipe[0], drain, sizeof drain) > 0) {
  }
}

int InterruptSignal::fd() {
  return gPipe[0];
}

void InterruptSignal::raise() {
  // Only async-signal-safe calls: an atomic store and write(2).
  gPending.store(true);
  if (gPipe[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(gPipe[1], &byte, 1);
  }
}

}  // namespace lk::cli
