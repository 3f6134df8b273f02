#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "Platform/RunLoop/RunLoop.h"
#include "frontends/commands/CliOptions.h"
#include "frontends/commands/CommandDispatcher.h"
#include "frontends/commands/WaitObserver.h"

namespace lk {
class lokavoAppDelegate;
namespace ui {
class Application;
}
}  // namespace lk

namespace lk::cli {

// One run of the client driven by text commands: launches the application, runs each command,
// lets the main loop settle and prints the screen.
class CliSession {
 public:
  CliSession(std::ostream& out, CliOptions options = {});
  CliSession(const CliSession&) = delete;
  CliSession& operator=(const CliSession&) = delete;
  ~CliSession();

  // Launches the client: the delegate, the stored state, the first screen.
  void start();
  // Ends the client (the application is told it terminates).
  void finish();

  // Runs one command line and prints what it did. Returns false when the session should end.
  // A line that cannot be read or a command that does not apply is counted in failedCommands().
  bool execute(std::string_view line);
  // Runs lines from `in` until "quit" or the end of input. With `echo` each command is printed
  // as "> command" first; a `prompt` is shown before each line is read.
  void run(std::istream& in, bool echo, const char* prompt = nullptr);
  // The commands so far that did not apply (unknown, malformed or refused). A wait the person
  // stopped is not one of them: the command ran.
  [[nodiscard]] int failedCommands() const { return failedCommands_; }

  // "city: NAME (ID)", the tab titles of the shown set, the selected tab.
  [[nodiscard]] std::string startupState() const;
  void printScreen();
  // How a wait of the session ended.
  enum class WaitEnd { kDone, kBound, kInterrupted };
  // Runs the main loop until nothing is ready, no request is in flight and no timer is due
  // soon, for at most the settle bound of the loop's clock, or until the person stops waiting.
  WaitEnd settle();
  void setSettleBound(Duration bound) { settleBound_ = bound; }
  // Runs the main loop until `done()` holds, `bound` of the loop's clock has passed or the
  // person stops waiting. `done` is checked between turns of the loop.
  WaitEnd runLoopUntil(const std::function<bool()>& done, Duration bound);
  // Not owned; must outlive the session or be cleared. Null: waits cannot be interrupted.
  void setWaitObserver(WaitObserver* observer) { waitObserver_ = observer; }

  [[nodiscard]] CommandDispatcher& dispatcher() { return dispatcher_; }
  [[nodiscard]] lokavoAppDelegate& appDelegate() { return *delegate_; }
  [[nodiscard]] static ui::Application& application();
  [[nodiscard]] const CliOptions& options() const { return options_; }
  [[nodiscard]] std::ostream& out() { return out_; }

 private:
  std::ostream& out_;
  CliOptions options_;
  std::unique_ptr<lokavoAppDelegate> delegate_;
  CommandDispatcher dispatcher_;
  Duration settleBound_ = seconds(10);
  bool started_ = false;
  bool interrupted_ = false;    // the current command stopped waiting
  bool ignoreNetwork_ = false;  // until the network is quiet: the person stopped waiting for it
  int failedCommands_ = 0;
  WaitObserver* waitObserver_ = nullptr;
};

}  // namespace lk::cli
