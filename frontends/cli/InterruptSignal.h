#pragma once

namespace lk::cli {

// Ctrl-C at the terminal, caught instead of ending the program: the signal only marks a request
// to interrupt, which the prompt (discard the line) or a wait (stop waiting) takes up. A byte
// on a pipe wakes a run loop that watches fd().
class InterruptSignal {
 public:
  // Installs the handler for SIGINT (once; later calls do nothing).
  static void install();
  // Whether an interrupt came and was not taken yet.
  [[nodiscard]] static bool pending();
  // Takes the pending interrupt, if any.
  static bool take();
  // Empties the wake-up pipe (a loop watching fd() calls it when woken), leaving the mark.
  static void drainWakeups();
  // The read end of the wake-up pipe (-1 before install()).
  [[nodiscard]] static int fd();
  // Marks an interrupt as the signal does (tests, and a 0x03 byte when the terminal sends one).
  static void raise();
};

}  // namespace lk::cli
