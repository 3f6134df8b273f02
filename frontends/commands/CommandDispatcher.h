#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lk::cli {

// What a command did.
struct CommandResult {
  enum class Outcome {
    kDone,      // it ran; the screen is printed after it
    kRejected,  // unknown, malformed or not applicable now: nothing changed
    kQuit,      // the session ends
  };
  Outcome outcome = Outcome::kDone;
  // Printed before the screen (kDone) or as the one-line reason (kRejected). May be empty.
  std::string message;
  // Whether the screen is printed after a command that ran.
  bool showScreen = true;

  static CommandResult done(std::string message = {}) {
    return {Outcome::kDone, std::move(message), true};
  }
  // Output of its own only (help): no screen after it.
  static CommandResult info(std::string text) { return {Outcome::kDone, std::move(text), false}; }
  static CommandResult rejected(std::string reason) {
    return {Outcome::kRejected, std::move(reason), false};
  }
  static CommandResult quit() { return {Outcome::kQuit, {}, false}; }
};

// Commands by name, matched without regard to case. Each group of commands registers itself
// (see ShellCommands.h); a new group is a new file with one register function.
class CommandDispatcher {
 public:
  using Handler = std::function<CommandResult(const std::vector<std::string>& args)>;

  struct Command {
    std::string name;
    std::string usage;  // e.g. "tab N|TITLE"
    std::string help;   // one line
    Handler run;
    // What "help NAME" adds below the usage and the line of help: arguments, what is printed,
    // when the command does not apply. May be empty.
    std::string details = {};
  };

  // A command of the same name replaces the earlier one.
  void add(Command command);
  // Runs words[0] with the remaining words as its arguments. An empty line does nothing. An
  // unknown name is refused with the nearest known one as a suggestion.
  CommandResult dispatch(const std::vector<std::string>& words) const;
  [[nodiscard]] bool has(const std::string& name) const { return find(name) != nullptr; }
  [[nodiscard]] const Command* find(const std::string& name) const;
  // The known name closest to `name` in edits, when one is close enough to be a slip.
  [[nodiscard]] std::optional<std::string> nearest(const std::string& name) const;
  // One line per command: usage and help, in name order.
  [[nodiscard]] std::string helpText() const;
  // The usage, help and details of one command, or nothing for an unknown name.
  [[nodiscard]] std::optional<std::string> helpFor(const std::string& name) const;

 private:
  std::map<std::string, Command> commands_;  // by lower-case name
};

}  // namespace lk::cli
