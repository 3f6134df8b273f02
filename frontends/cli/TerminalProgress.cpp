#include "frontends/cli/TerminalProgress.h"

#include <chrono>
#include <ostream>

#include "frontends/cli/InterruptSignal.h"

namespace lk::cli {

namespace {
// Back to the start of the line and erase it.
constexpr const char* kEraseLine = "\r\x1b[K";
}  // namespace

bool TerminalProgress::takeInterrupt() {
  return InterruptSignal::take();
}

std::string TerminalProgress::lineFor(Duration busy) {
  static constexpr const char* kTurns[] = {"|", "/", "-", "\\"};
  const auto quarter = std::chrono::duration_cast<std::chrono::milliseconds>(busy).count() / 250;
  const auto whole = std::chrono::duration_cast<std::chrono::seconds>(busy).count();
  return std::string(kTurns[quarter % 4]) + " waiting for the service (" + std::to_string(whole) +
         " s; Ctrl-C stops waiting)";
}

void TerminalProgress::networkBusy(Duration busy) {
  if (!showLine_ || busy < kDelay) return;
  std::string line = lineFor(busy);
  if (line == shown_) return;
  shown_ = std::move(line);
  terminal_ << kEraseLine << shown_ << std::flush;
}

void TerminalProgress::waitEnded() {
  if (shown_.empty()) return;
  shown_.clear();
  terminal_ << kEraseLine << std::flush;
}

}  // namespace lk::cli
