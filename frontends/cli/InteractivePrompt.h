#pragma once

namespace lk::cli {

class CliSession;

// The session at a terminal: commands read with line editing and history, Ctrl-C discarding the
// line at the prompt and stopping a wait, a progress line while the service is slow, Ctrl-D or
// "quit" ending it. The client's loop keeps running while the prompt waits for keys, so an
// answer that arrives then is taken in.
class InteractivePrompt {
 public:
  static constexpr const char* kPrompt = "lokavo> ";

  // Runs until the session ends.
  static void run(CliSession& session);
};

}  // namespace lk::cli
