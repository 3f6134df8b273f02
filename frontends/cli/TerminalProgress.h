#pragma once

#include <iosfwd>
#include <string>

#include "frontends/commands/WaitObserver.h"

namespace lk::cli {

// The terminal's side of a wait: Ctrl-C stops it, and once the network has been busy for a
// second a single line (rewritten in place, erased when the wait ends) says that the client is
// waiting for the service.
class TerminalProgress final : public WaitObserver {
 public:
  static constexpr Duration kDelay = seconds(1);

  // `showLine` false (output that is not a terminal): Ctrl-C still stops waiting, but no line
  // with terminal controls is written.
  explicit TerminalProgress(std::ostream& terminal, bool showLine = true)
      : terminal_(terminal), showLine_(showLine) {}

  bool takeInterrupt() override;
  void networkBusy(Duration busy) override;
  void waitEnded() override;

  // The text of the line after `busy` (without the carriage return and erasing).
  [[nodiscard]] static std::string lineFor(Duration busy);

 private:
  std::ostream& terminal_;
  bool showLine_;
  std::string shown_;
};

}  // namespace lk::cli
