#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "Platform/RunLoop/RunLoop.h"
#include "frontends/cli/CliOptions.h"
#include "frontends/cli/CommandDispatcher.h"

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
  bool execute(std::string_view line);
  // Runs lines from `in` until "quit" or the end of input. With `echo` each command is printed
  // as "> command" first; a `prompt` is shown before each line is read.
  void run(std::istream& in, bool echo, const char* prompt = nullptr);

  // "city: NAME (ID)", the tab titles of the shown set, the selected tab.
  [[nodiscard]] std::string startupState() const;
  void printScreen();
  // Runs the main loop until nothing is ready, no request is in flight and no timer is due
  // soon, for at most the settle bound of the loop's clock.
  void settle();
  void setSettleBound(Duration bound) { settleBound_ = bound; }

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
};

}  // namespace lk::cli
