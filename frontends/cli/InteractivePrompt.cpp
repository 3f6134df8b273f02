#include "frontends/cli/InteractivePrompt.h"

#include <unistd.h>

#include <iostream>
#include <string>

#include "Platform/RunLoop/DrivableRunLoop.h"
#include "frontends/cli/InterruptSignal.h"
#include "frontends/cli/LineEditor.h"
#include "frontends/cli/TerminalProgress.h"
#include "frontends/commands/CliSession.h"

namespace lk::cli {

namespace {

// Runs the client's loop until a key can be read or Ctrl-C came.
void runLoopUntilInput() {
  DrivableRunLoop& loop = DrivableRunLoop::main();
  bool ready = false;
  const auto input = loop.watch(STDIN_FILENO, RunLoop::kReadable | RunLoop::kIoError,
                                [&ready](unsigned) { ready = true; });
  RunLoop::WatchId interrupt = 0;
  if (InterruptSignal::fd() >= 0) {
    interrupt = loop.watch(InterruptSignal::fd(), RunLoop::kReadable,
                           [](unsigned) { InterruptSignal::drainWakeups(); });
  }
  while (!ready && !InterruptSignal::pending()) {
    (void)loop.runUntil([&ready] { return ready || InterruptSignal::pending(); },
                        std::chrono::hours(1));
  }
  loop.unwatch(input);
  if (interrupt != 0) loop.unwatch(interrupt);
}

}  // namespace

void InteractivePrompt::run(CliSession& session) {
  InterruptSignal::install();
  TerminalProgress progress(std::cout, ::isatty(STDOUT_FILENO) != 0);
  session.setWaitObserver(&progress);
  std::cout << "Type \"help\" for the commands and the notation, \"quit\" or Ctrl-D to end.\n"
            << std::flush;
  {
    LineEditor editor("lokavo", kPrompt, runLoopUntilInput);
    std::string line;
    for (;;) {
      const LineEditor::Read read = editor.readLine(line);
      if (read == LineEditor::Read::kEnd) break;
      if (read == LineEditor::Read::kDiscarded) continue;
      if (!session.execute(line)) break;
      std::cout << std::flush;
    }
  }
  std::cout << "\n" << std::flush;
  session.setWaitObserver(nullptr);
}

}  // namespace lk::cli
